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
</context>
</TS>
