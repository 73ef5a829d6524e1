<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="columns.custom_default_1">
        <source>Custom 1</source>
        <translation>Custom 1</translation>
    </message>
    <message id="columns.custom_default_2">
        <source>Custom 2</source>
        <translation>Custom 2</translation>
    </message>
    <message id="columns.custom_default_3">
        <source>Custom 3</source>
        <translation>Custom 3</translation>
    </message>
    <message id="not_available">
        <source>n/a</source>
        <translation>n/a</translation>
    </message>
    <message id="format.bad_date">
        <source>Enter a date such as %1.</source>
        <translation>Enter a date such as %1.</translation>
    </message>
    <message id="format.bad_time">
        <source>Enter a time such as %1.</source>
        <translation>Enter a time such as %1.</translation>
    </message>
    <message id="prefs.restore_defaults_ask.title">
        <source>Restore every setting to its default?</source>
        <translation>Restore every setting to its default?</translation>
    </message>
    <message id="prefs.restore_defaults_ask.message">
        <source>The shown values and their column titles, the chart colours, the row size, the report’s contents, deviations in averages, autosaving and reopening the last document all go back to their defaults. This cannot be undone.</source>
        <translation>The shown values and their column titles, the chart colours, the row size, the report’s contents, deviations in averages, autosaving and reopening the last document all go back to their defaults. This cannot be undone.</translation>
    </message>
    <message id="prefs.restore_defaults_ask.restore">
        <source>Restore Defaults</source>
        <translation>Restore Defaults</translation>
    </message>
    <message id="prefs.restore_defaults_ask.cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
</TS>
