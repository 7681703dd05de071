<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name></name>
    <message id="api_error.generic">
        <source>Something went wrong. Please try again.</source>
        <translation>Something went wrong. Please try again.</translation>
    </message>
    <message id="api_error.offline">
        <source>You appear to be offline.</source>
        <translation>You appear to be offline.</translation>
    </message>
    <message id="api_error.timeout">
        <source>The request timed out.</source>
        <translation>The request timed out.</translation>
    </message>
    <message id="api_error.unauthorized">
        <source>Please sign in again.</source>
        <translation>Please sign in again.</translation>
    </message>
    <message id="api_error.rate_limited">
        <source>Too many requests. Please wait a moment.</source>
        <translation>Too many requests. Please wait a moment.</translation>
    </message>
    <message id="settings.language.device">
        <source>Device language</source>
        <translation>Device language</translation>
    </message>
    <message id="vorlie">
        <source>vorlie</source>
        <translation>vorlie</translation>
    </message>
    <message id="status.tired.text">
        <source>Tired</source>
        <translation>Tired</translation>
    </message>
    <message id="status.miss_you.text">
        <source>Miss you</source>
        <translation>Miss you</translation>
    </message>
    <message id="status.love_you.text">
        <source>Love you</source>
        <translation>Love you</translation>
    </message>
    <message id="status.shopping.text">
        <source>Shopping</source>
        <translation>Shopping</translation>
    </message>
    <message id="status.need_cash.text">
        <source>Need cash</source>
        <translation>Need cash</translation>
    </message>
    <message id="status.working.text">
        <source>Working</source>
        <translation>Working</translation>
    </message>
    <message id="status.chilling.text">
        <source>Chilling</source>
        <translation>Chilling</translation>
    </message>
    <message id="status.stressed.text">
        <source>Stressed</source>
        <translation>Stressed</translation>
    </message>
    <message id="status.out.text">
        <source>Out</source>
        <translation>Out</translation>
    </message>
    <message id="status.home.text">
        <source>Home</source>
        <translation>Home</translation>
    </message>
    <message id="status.on_my_way.text">
        <source>On my way</source>
        <translation>On my way</translation>
    </message>
    <message id="status.thinking_of_you.text">
        <source>Thinking of you</source>
        <translation>Thinking of you</translation>
    </message>
    <message id="status.busy.text">
        <source>Busy</source>
        <translation>Busy</translation>
    </message>
    <message id="status.call_me.text">
        <source>Call me</source>
        <translation>Call me</translation>
    </message>
    <message id="status.bored.text">
        <source>Bored</source>
        <translation>Bored</translation>
    </message>
    <message id="status.hungry.text">
        <source>Hungry</source>
        <translation>Hungry</translation>
    </message>
    <message id="status.gym.text">
        <source>Gym</source>
        <translation>Gym</translation>
    </message>
    <message id="status.studying.text">
        <source>Studying</source>
        <translation>Studying</translation>
    </message>
    <message id="status.good_mood.text">
        <source>Good mood</source>
        <translation>Good mood</translation>
    </message>
    <message id="status.bad_mood.text">
        <source>Bad mood</source>
        <translation>Bad mood</translation>
    </message>
    <message id="status.need_hug.text">
        <source>Need a hug</source>
        <translation>Need a hug</translation>
    </message>
    <message id="status.updated_yesterday">
        <source>Yesterday</source>
        <translation>Yesterday</translation>
    </message>
    <message id="notification.open">
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message id="notification.partner_status_changed">
        <source>%1 has a new status</source>
        <translation>%1 has a new status</translation>
    </message>
    <message id="notification.reaction_received">
        <source>Someone reacted to your status</source>
        <translation>Someone reacted to your status</translation>
    </message>
    <message id="notification.connection_requested">
        <source>You have a new connection request</source>
        <translation>You have a new connection request</translation>
    </message>
    <message id="notification.connection_accepted">
        <source>Your connection request was accepted</source>
        <translation>Your connection request was accepted</translation>
    </message>
    <message id="notification.status_reminder">
        <source>How are you? Let them know with a status.</source>
        <translation>How are you? Let them know with a status.</translation>
    </message>
    <message id="onboarding.auth.wrong_password">
        <source>This e-mail address already has an account, but the password is wrong.</source>
        <translation>This e-mail address already has an account, but the password is wrong.</translation>
    </message>
    <message id="onboarding.auth.generic_error">
        <source>Signing in did not work. Please try again.</source>
        <translation>Signing in did not work. Please try again.</translation>
    </message>
    <message id="status_picker.update_failed">
        <source>Your status could not be updated.</source>
        <translation>Your status could not be updated.</translation>
    </message>
    <message id="notification.someone_status_changed">
        <source>One of your people has a new status.</source>
        <translation>One of your people has a new status.</translation>
    </message>
    <message id="action.close">
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message id="action.continue">
        <source>Continue</source>
        <translation>Continue</translation>
    </message>
    <message id="action.retry">
        <source>Retry</source>
        <translation>Retry</translation>
    </message>
    <message id="avatar.accessibility_label">
        <source>Avatar</source>
        <translation>Avatar</translation>
    </message>
    <message id="connection.state.accepted">
        <source>Connected</source>
        <translation>Connected</translation>
    </message>
    <message id="connection.state.none">
        <source>Not connected</source>
        <translation>Not connected</translation>
    </message>
    <message id="connection.state.pending">
        <source>Invitation pending</source>
        <translation>Invitation pending</translation>
    </message>
    <message id="home.change_my_status">
        <source>Change my status</source>
        <translation>Change my status</translation>
    </message>
    <message id="home.no_main_person.title">
        <source>No main person yet</source>
        <translation>No main person yet</translation>
    </message>
    <message id="home.no_main_person.subtitle">
        <source>Connect with someone to see their status here.</source>
        <translation>Connect with someone to see their status here.</translation>
    </message>
    <message id="sync.offline">
        <source>Offline</source>
        <translation>Offline</translation>
    </message>
    <message id="sync.offline_updated">
        <source>Offline · updated %1</source>
        <translation>Offline · updated %1</translation>
    </message>
    <message id="home.sign_in_again">
        <source>Sign in again</source>
        <translation>Sign in again</translation>
    </message>
    <message id="home.no_status">
        <source>No status</source>
        <translation>No status</translation>
    </message>
    <message id="home.status_saved_toast">
        <source>Status saved</source>
        <translation>Status saved</translation>
    </message>
    <message id="home.you">
        <source>You</source>
        <translation>You</translation>
    </message>
    <message id="home.syncing">
        <source>Syncing</source>
        <translation>Syncing</translation>
    </message>
    <message id="mac.signin.title">
        <source>Sign in to vorlie</source>
        <translation>Sign in to vorlie</translation>
    </message>
    <message id="mac.signin.keyring_unavailable">
        <source>No keyring is available, so vorlie cannot keep you signed in. Start your desktop's keyring (Secret Service) and try again.</source>
        <translation>No keyring is available, so vorlie cannot keep you signed in. Start your desktop's keyring (Secret Service) and try again.</translation>
    </message>
    <message id="mac.signin.keyring_locked">
        <source>Your keyring is locked. Unlock it to stay signed in.</source>
        <translation>Your keyring is locked. Unlock it to stay signed in.</translation>
    </message>
    <message id="menubar.my_status_prefix">
        <source>My status:</source>
        <translation>My status:</translation>
    </message>
    <message id="menubar.open_vorlie">
        <source>Open vorlie</source>
        <translation>Open vorlie</translation>
    </message>
    <message id="menubar.quit">
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message id="menubar.settings">
        <source>Settings…</source>
        <translation>Settings…</translation>
    </message>
    <message id="menubar.show_panel">
        <source>Show status</source>
        <translation>Show status</translation>
    </message>
    <message id="onboarding.auth.email_placeholder">
        <source>Email address</source>
        <translation>Email address</translation>
    </message>
    <message id="onboarding.auth.password_placeholder">
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message id="settings.general">
        <source>General</source>
        <translation>General</translation>
    </message>
    <message id="settings.language">
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message id="settings.launch_at_login">
        <source>Start at login</source>
        <translation>Start at login</translation>
    </message>
    <message id="settings.notifications">
        <source>Notifications</source>
        <translation>Notifications</translation>
    </message>
    <message id="settings.notifications.partner_status_changed">
        <source>My main person's new status</source>
        <translation>My main person's new status</translation>
    </message>
    <message id="settings.notifications.status_reminder">
        <source>Status reminders</source>
        <translation>Status reminders</translation>
    </message>
    <message id="settings.notifications.automation_status_changed">
        <source>Automatic status changes</source>
        <translation>Automatic status changes</translation>
    </message>
    <message id="settings.show_menu_bar_icon">
        <source>Show icon in the system tray</source>
        <translation>Show icon in the system tray</translation>
    </message>
    <message id="settings.sign_out">
        <source>Sign out</source>
        <translation>Sign out</translation>
    </message>
    <message id="status_picker.title">
        <source>Set your status</source>
        <translation>Set your status</translation>
    </message>
    <message id="status_picker.recent">
        <source>Recent</source>
        <translation>Recent</translation>
    </message>
    <message id="status_picker.favorites">
        <source>Favourites</source>
        <translation>Favourites</translation>
    </message>
    <message id="status_picker.mood">
        <source>Mood</source>
        <translation>Mood</translation>
    </message>
    <message id="status_picker.activity">
        <source>Activity</source>
        <translation>Activity</translation>
    </message>
    <message id="status_picker.location">
        <source>Location</source>
        <translation>Location</translation>
    </message>
    <message id="status_picker.relationship">
        <source>Relationship</source>
        <translation>Relationship</translation>
    </message>
    <message id="status_picker.custom_placeholder">
        <source>Write your own status…</source>
        <translation>Write your own status…</translation>
    </message>
    <message id="status_picker.send">
        <source>Publish status</source>
        <translation>Publish status</translation>
    </message>
    <message id="status_picker.toggle_favorite">
        <source>Shift+Return or the menu key marks it as a favourite</source>
        <translation>Shift+Return or the menu key marks it as a favourite</translation>
    </message>
    <message id="status_picker.favorite">
        <source>Favourite</source>
        <translation>Favourite</translation>
    </message>
    <message id="tab.settings">
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message id="widget.display_name">
        <source>Main person</source>
        <translation>Main person</translation>
    </message>
    <message id="widget.description">
        <source>Your main person's latest status at a glance.</source>
        <translation>Your main person's latest status at a glance.</translation>
    </message>
    <message id="widget.configuration.title">
        <source>Main person</source>
        <translation>Main person</translation>
    </message>
    <message id="widget.configuration.show_updated_time">
        <source>Show when it was updated</source>
        <translation>Show when it was updated</translation>
    </message>
    <message id="widget.no_main_person">
        <source>No main person yet</source>
        <translation>No main person yet</translation>
    </message>
    <message id="widget.no_status">
        <source>No status</source>
        <translation>No status</translation>
    </message>
    <message id="widget.host.add_small">
        <source>Add small widget</source>
        <translation>Add small widget</translation>
    </message>
    <message id="widget.host.add_medium">
        <source>Add medium widget</source>
        <translation>Add medium widget</translation>
    </message>
    <message id="widget.host.remove">
        <source>Remove this widget</source>
        <translation>Remove this widget</translation>
    </message>
</context>
</TS>
