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
</context>
</TS>
