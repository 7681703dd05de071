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
</context>
</TS>
