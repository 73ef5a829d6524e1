<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name></name>
    <message id="columns.custom_default_1">
        <source>Custom 1</source>
        <translation>Eigener Wert 1</translation>
    </message>
    <message id="columns.custom_default_2">
        <source>Custom 2</source>
        <translation>Eigener Wert 2</translation>
    </message>
    <message id="columns.custom_default_3">
        <source>Custom 3</source>
        <translation>Eigener Wert 3</translation>
    </message>
    <message id="not_available">
        <source>n/a</source>
        <translation>k. A.</translation>
    </message>
    <message id="format.bad_date">
        <source>Enter a date such as %1.</source>
        <translation>Geben Sie ein Datum wie %1 ein.</translation>
    </message>
    <message id="format.bad_time">
        <source>Enter a time such as %1.</source>
        <translation>Geben Sie eine Uhrzeit wie %1 ein.</translation>
    </message>
    <message id="prefs.restore_defaults_ask.title">
        <source>Restore every setting to its default?</source>
        <translation>Alle Einstellungen auf die Standardwerte zurücksetzen?</translation>
    </message>
    <message id="prefs.restore_defaults_ask.message">
        <source>The shown values and their column titles, the chart colours, the row size, the report’s contents, deviations in averages, autosaving and reopening the last document all go back to their defaults. This cannot be undone.</source>
        <translation>Die angezeigten Werte und ihre Spaltentitel, die Diagrammfarben, die Zeilengröße, der Inhalt des Berichts, die Abweichungen bei den Durchschnitten, das automatische Sichern und das Öffnen des zuletzt benutzten Dokuments erhalten wieder ihre Standardwerte. Das lässt sich nicht widerrufen.</translation>
    </message>
    <message id="prefs.restore_defaults_ask.restore">
        <source>Restore Defaults</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message id="prefs.restore_defaults_ask.cancel">
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
</TS>
