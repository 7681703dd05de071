<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en_US">
<context>
    <name></name>
    <message id="api_error.generic">
        <source>Something went wrong. Please try again.</source>
        <translation>Etwas ist schiefgelaufen. Bitte versuche es erneut.</translation>
    </message>
    <message id="api_error.offline">
        <source>You appear to be offline.</source>
        <translation>Du scheinst offline zu sein.</translation>
    </message>
    <message id="api_error.timeout">
        <source>The request timed out.</source>
        <translation>Die Anfrage hat zu lange gedauert.</translation>
    </message>
    <message id="api_error.unauthorized">
        <source>Please sign in again.</source>
        <translation>Bitte melde dich erneut an.</translation>
    </message>
    <message id="api_error.rate_limited">
        <source>Too many requests. Please wait a moment.</source>
        <translation>Zu viele Anfragen. Bitte warte einen Moment.</translation>
    </message>
    <message id="settings.language.device">
        <source>Device language</source>
        <translation>Gerätesprache</translation>
    </message>
    <message id="vorlie">
        <source>vorlie</source>
        <translation>vorlie</translation>
    </message>
    <message id="status.tired.text">
        <source>Tired</source>
        <translation>Müde</translation>
    </message>
    <message id="status.miss_you.text">
        <source>Miss you</source>
        <translation>Vermisse dich</translation>
    </message>
    <message id="status.love_you.text">
        <source>Love you</source>
        <translation>Hab dich lieb</translation>
    </message>
    <message id="status.shopping.text">
        <source>Shopping</source>
        <translation>Shoppen</translation>
    </message>
    <message id="status.need_cash.text">
        <source>Need cash</source>
        <translation>Brauche Geld</translation>
    </message>
    <message id="status.working.text">
        <source>Working</source>
        <translation>Bei der Arbeit</translation>
    </message>
    <message id="status.chilling.text">
        <source>Chilling</source>
        <translation>Am Chillen</translation>
    </message>
    <message id="status.stressed.text">
        <source>Stressed</source>
        <translation>Gestresst</translation>
    </message>
    <message id="status.out.text">
        <source>Out</source>
        <translation>Ausgegangen</translation>
    </message>
    <message id="status.home.text">
        <source>Home</source>
        <translation>Zuhause</translation>
    </message>
    <message id="status.on_my_way.text">
        <source>On my way</source>
        <translation>Bin unterwegs</translation>
    </message>
    <message id="status.thinking_of_you.text">
        <source>Thinking of you</source>
        <translation>Denke an dich</translation>
    </message>
    <message id="status.busy.text">
        <source>Busy</source>
        <translation>Beschäftigt</translation>
    </message>
    <message id="status.call_me.text">
        <source>Call me</source>
        <translation>Ruf mich an</translation>
    </message>
    <message id="status.bored.text">
        <source>Bored</source>
        <translation>Gelangweilt</translation>
    </message>
    <message id="status.hungry.text">
        <source>Hungry</source>
        <translation>Hungrig</translation>
    </message>
    <message id="status.gym.text">
        <source>Gym</source>
        <translation>Fitnessstudio</translation>
    </message>
    <message id="status.studying.text">
        <source>Studying</source>
        <translation>Am Lernen</translation>
    </message>
    <message id="status.good_mood.text">
        <source>Good mood</source>
        <translation>Gute Laune</translation>
    </message>
    <message id="status.bad_mood.text">
        <source>Bad mood</source>
        <translation>Schlechte Laune</translation>
    </message>
    <message id="status.need_hug.text">
        <source>Need a hug</source>
        <translation>Brauche eine Umarmung</translation>
    </message>
    <message id="status.updated_yesterday">
        <source>Yesterday</source>
        <translation>Gestern</translation>
    </message>
    <message id="notification.open">
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message id="notification.partner_status_changed">
        <source>%1 has a new status</source>
        <translation>%1 hat einen neuen Status</translation>
    </message>
    <message id="notification.reaction_received">
        <source>Someone reacted to your status</source>
        <translation>Jemand hat auf deinen Status reagiert</translation>
    </message>
    <message id="notification.connection_requested">
        <source>You have a new connection request</source>
        <translation>Du hast eine neue Verbindungsanfrage</translation>
    </message>
    <message id="notification.connection_accepted">
        <source>Your connection request was accepted</source>
        <translation>Deine Verbindungsanfrage wurde angenommen</translation>
    </message>
    <message id="notification.status_reminder">
        <source>How are you? Let them know with a status.</source>
        <translation>Wie geht es dir? Sag es mit einem Status.</translation>
    </message>
    <message id="onboarding.auth.wrong_password">
        <source>This e-mail address already has an account, but the password is wrong.</source>
        <translation>Zu dieser E-Mail-Adresse gibt es schon ein Konto, aber das Passwort stimmt nicht.</translation>
    </message>
    <message id="onboarding.auth.generic_error">
        <source>Signing in did not work. Please try again.</source>
        <translation>Die Anmeldung hat nicht geklappt. Bitte versuche es noch einmal.</translation>
    </message>
    <message id="status_picker.update_failed">
        <source>Your status could not be updated.</source>
        <translation>Dein Status konnte nicht aktualisiert werden.</translation>
    </message>
    <message id="notification.someone_status_changed">
        <source>One of your people has a new status.</source>
        <translation>Eine deiner Personen hat einen neuen Status.</translation>
    </message>
    <message id="action.close">
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message id="action.continue">
        <source>Continue</source>
        <translation>Weiter</translation>
    </message>
    <message id="action.retry">
        <source>Retry</source>
        <translation>Erneut versuchen</translation>
    </message>
    <message id="avatar.accessibility_label">
        <source>Avatar</source>
        <translation>Profilbild</translation>
    </message>
    <message id="connection.state.accepted">
        <source>Connected</source>
        <translation>Verbunden</translation>
    </message>
    <message id="connection.state.none">
        <source>Not connected</source>
        <translation>Nicht verbunden</translation>
    </message>
    <message id="connection.state.pending">
        <source>Invitation pending</source>
        <translation>Einladung ausstehend</translation>
    </message>
    <message id="home.change_my_status">
        <source>Change my status</source>
        <translation>Meinen Status ändern</translation>
    </message>
    <message id="home.no_main_person.title">
        <source>No main person yet</source>
        <translation>Noch keine Hauptperson</translation>
    </message>
    <message id="home.no_main_person.subtitle">
        <source>Connect with someone to see their status here.</source>
        <translation>Verbinde dich mit jemandem, um hier den Status zu sehen.</translation>
    </message>
    <message id="sync.offline">
        <source>Offline</source>
        <translation>Offline</translation>
    </message>
    <message id="sync.offline_updated">
        <source>Offline · updated %1</source>
        <translation>Offline · aktualisiert %1</translation>
    </message>
    <message id="home.sign_in_again">
        <source>Sign in again</source>
        <translation>Erneut anmelden</translation>
    </message>
    <message id="home.no_status">
        <source>No status</source>
        <translation>Kein Status</translation>
    </message>
    <message id="home.status_saved_toast">
        <source>Status saved</source>
        <translation>Status gespeichert</translation>
    </message>
    <message id="home.you">
        <source>You</source>
        <translation>Du</translation>
    </message>
    <message id="home.syncing">
        <source>Syncing</source>
        <translation>Wird aktualisiert</translation>
    </message>
    <message id="mac.signin.title">
        <source>Sign in to vorlie</source>
        <translation>Bei vorlie anmelden</translation>
    </message>
    <message id="mac.signin.keyring_unavailable">
        <source>No keyring is available, so vorlie cannot keep you signed in. Start your desktop's keyring (Secret Service) and try again.</source>
        <translation>Kein Schlüsselbund verfügbar: vorlie kann deine Anmeldung nicht sicher speichern. Starte den Schlüsselbund deines Desktops (Secret Service) und versuche es noch einmal.</translation>
    </message>
    <message id="mac.signin.keyring_locked">
        <source>Your keyring is locked. Unlock it to stay signed in.</source>
        <translation>Dein Schlüsselbund ist gesperrt. Entsperre ihn, damit du angemeldet bleibst.</translation>
    </message>
    <message id="menubar.my_status_prefix">
        <source>My status:</source>
        <translation>Mein Status:</translation>
    </message>
    <message id="menubar.open_vorlie">
        <source>Open vorlie</source>
        <translation>vorlie öffnen</translation>
    </message>
    <message id="menubar.quit">
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message id="menubar.settings">
        <source>Settings…</source>
        <translation>Einstellungen…</translation>
    </message>
    <message id="menubar.show_panel">
        <source>Show status</source>
        <translation>Status anzeigen</translation>
    </message>
    <message id="onboarding.auth.email_placeholder">
        <source>Email address</source>
        <translation>E-Mail-Adresse</translation>
    </message>
    <message id="onboarding.auth.password_placeholder">
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message id="settings.general">
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message id="settings.language">
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message id="settings.launch_at_login">
        <source>Start at login</source>
        <translation>Beim Anmelden starten</translation>
    </message>
    <message id="settings.notifications">
        <source>Notifications</source>
        <translation>Benachrichtigungen</translation>
    </message>
    <message id="settings.notifications.partner_status_changed">
        <source>My main person's new status</source>
        <translation>Neuer Status meiner Hauptperson</translation>
    </message>
    <message id="settings.notifications.status_reminder">
        <source>Status reminders</source>
        <translation>Status-Erinnerungen</translation>
    </message>
    <message id="settings.notifications.automation_status_changed">
        <source>Automatic status changes</source>
        <translation>Automatische Statusänderungen</translation>
    </message>
    <message id="settings.show_menu_bar_icon">
        <source>Show icon in the system tray</source>
        <translation>Symbol im Infobereich anzeigen</translation>
    </message>
    <message id="settings.sign_out">
        <source>Sign out</source>
        <translation>Abmelden</translation>
    </message>
    <message id="status_picker.title">
        <source>Set your status</source>
        <translation>Status festlegen</translation>
    </message>
    <message id="status_picker.recent">
        <source>Recent</source>
        <translation>Zuletzt verwendet</translation>
    </message>
    <message id="status_picker.favorites">
        <source>Favourites</source>
        <translation>Favoriten</translation>
    </message>
    <message id="status_picker.mood">
        <source>Mood</source>
        <translation>Stimmung</translation>
    </message>
    <message id="status_picker.activity">
        <source>Activity</source>
        <translation>Aktivität</translation>
    </message>
    <message id="status_picker.location">
        <source>Location</source>
        <translation>Ort</translation>
    </message>
    <message id="status_picker.relationship">
        <source>Relationship</source>
        <translation>Beziehung</translation>
    </message>
    <message id="status_picker.custom_placeholder">
        <source>Write your own status…</source>
        <translation>Eigenen Status schreiben …</translation>
    </message>
    <message id="status_picker.send">
        <source>Publish status</source>
        <translation>Status veröffentlichen</translation>
    </message>
    <message id="status_picker.toggle_favorite">
        <source>Shift+Return or the menu key marks it as a favourite</source>
        <translation>Umschalt+Eingabe oder die Menütaste markiert ihn als Favorit</translation>
    </message>
    <message id="status_picker.favorite">
        <source>Favourite</source>
        <translation>Favorit</translation>
    </message>
    <message id="tab.settings">
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message id="widget.display_name">
        <source>Main person</source>
        <translation>Hauptperson</translation>
    </message>
    <message id="widget.description">
        <source>Your main person's latest status at a glance.</source>
        <translation>Der neueste Status deiner Hauptperson auf einen Blick.</translation>
    </message>
    <message id="widget.configuration.title">
        <source>Main person</source>
        <translation>Hauptperson</translation>
    </message>
    <message id="widget.configuration.show_updated_time">
        <source>Show when it was updated</source>
        <translation>Zeit der Aktualisierung anzeigen</translation>
    </message>
    <message id="widget.no_main_person">
        <source>No main person yet</source>
        <translation>Noch keine Hauptperson</translation>
    </message>
    <message id="widget.no_status">
        <source>No status</source>
        <translation>Kein Status</translation>
    </message>
    <message id="widget.host.add_small">
        <source>Add small widget</source>
        <translation>Kleines Widget hinzufügen</translation>
    </message>
    <message id="widget.host.add_medium">
        <source>Add medium widget</source>
        <translation>Mittleres Widget hinzufügen</translation>
    </message>
    <message id="widget.host.remove">
        <source>Remove this widget</source>
        <translation>Dieses Widget entfernen</translation>
    </message>
</context>
</TS>
