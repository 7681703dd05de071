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
</context>
</TS>
