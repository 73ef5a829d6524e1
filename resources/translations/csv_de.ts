<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name></name>
    <message id="csv.columns.ignore">
        <source>(ignore)</source>
        <translation>(nicht übernehmen)</translation>
    </message>
    <message id="csv.columns.date">
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message id="csv.columns.time">
        <source>Time</source>
        <translation>Uhrzeit</translation>
    </message>
    <message id="csv.columns.instant">
        <source>Date and time (ISO 8601)</source>
        <translation>Zeitpunkt (ISO 8601)</translation>
    </message>
    <message id="csv.columns.systolic">
        <source>Systolic</source>
        <translation>Systolisch</translation>
    </message>
    <message id="csv.columns.diastolic">
        <source>Diastolic</source>
        <translation>Diastolisch</translation>
    </message>
    <message id="csv.columns.pulse">
        <source>Pulse</source>
        <translation>Puls</translation>
    </message>
    <message id="csv.columns.weight">
        <source>Weight</source>
        <translation>Gewicht</translation>
    </message>
    <message id="csv.columns.comments">
        <source>Comment</source>
        <translation>Kommentar</translation>
    </message>
    <message id="csv.columns.tags">
        <source>Tags</source>
        <translation>Schlagwörter</translation>
    </message>
    <message id="csv.error.write">
        <source>“%1” could not be written: %2</source>
        <translation>„%1“ konnte nicht geschrieben werden: %2</translation>
    </message>
    <message id="csv.error.read">
        <source>“%1” could not be read: %2</source>
        <translation>„%1“ konnte nicht gelesen werden: %2</translation>
    </message>
    <message id="csv.error.too_large">
        <source>The file is larger than %1 MB and is not imported.</source>
        <translation>Die Datei ist größer als %1 MB und wird nicht importiert.</translation>
    </message>
    <message id="csv.error.empty">
        <source>The file holds no readings.</source>
        <translation>Die Datei enthält keine Messungen.</translation>
    </message>
    <message id="csv.error.first_line">
        <source>The first line cannot be read: %1</source>
        <translation>Die erste Zeile kann nicht gelesen werden: %1</translation>
    </message>
    <message id="csv.error.missing_columns">
        <source>No column holds: %1. Choose the columns in the preview.</source>
        <translation>Keine Spalte enthält: %1. Wählen Sie die Spalten in der Vorschau.</translation>
    </message>
    <message id="csv.problem.too_long">
        <source>The line is longer than %1 characters.</source>
        <translation>Die Zeile ist länger als %1 Zeichen.</translation>
    </message>
    <message id="csv.problem.too_many_columns">
        <source>The line has more than %1 columns.</source>
        <translation>Die Zeile hat mehr als %1 Spalten.</translation>
    </message>
    <message id="csv.problem.nul">
        <source>The line contains a NUL character.</source>
        <translation>Die Zeile enthält ein NUL-Zeichen.</translation>
    </message>
    <message id="csv.problem.unclosed_quote">
        <source>A quoted field is not closed before the end of the file.</source>
        <translation>Ein Feld in Anführungszeichen endet nicht vor dem Ende der Datei.</translation>
    </message>
    <message id="csv.problem.no_date">
        <source>The date is missing.</source>
        <translation>Das Datum fehlt.</translation>
    </message>
    <message id="csv.problem.bad_date">
        <source>“%1” is not a date.</source>
        <translation>„%1“ ist kein Datum.</translation>
    </message>
    <message id="csv.problem.bad_time">
        <source>“%1” is not a time.</source>
        <translation>„%1“ ist keine Uhrzeit.</translation>
    </message>
    <message id="csv.problem.bad_number">
        <source>%1: “%2” is not a number.</source>
        <translation>%1: „%2“ ist keine Zahl.</translation>
    </message>
    <message id="csv.problem.no_systolic">
        <source>The systolic value is missing.</source>
        <translation>Der systolische Wert fehlt.</translation>
    </message>
    <message id="csv.problem.no_diastolic">
        <source>The diastolic value is missing.</source>
        <translation>Der diastolische Wert fehlt.</translation>
    </message>
    <message id="csv.problem.bad_systolic">
        <source>Systolic %1 is outside 50 to 300.</source>
        <translation>Systolisch %1 liegt nicht zwischen 50 und 300.</translation>
    </message>
    <message id="csv.problem.bad_diastolic">
        <source>Diastolic %1 is outside 20 to 200.</source>
        <translation>Diastolisch %1 liegt nicht zwischen 20 und 200.</translation>
    </message>
    <message id="csv.problem.bad_pressure">
        <source>Systolic %1 is not above diastolic %2.</source>
        <translation>Systolisch %1 ist nicht größer als diastolisch %2.</translation>
    </message>
    <message id="csv.problem.bad_pulse">
        <source>Pulse %1 is outside 20 to 250.</source>
        <translation>Puls %1 liegt nicht zwischen 20 und 250.</translation>
    </message>
    <message id="csv.problem.bad_weight">
        <source>Weight %1 is outside 2 to 400.</source>
        <translation>Gewicht %1 liegt nicht zwischen 2 und 400.</translation>
    </message>
    <message id="doc.import_records">
        <source>Import Readings</source>
        <translation>Messungen importieren</translation>
    </message>
</context>
</TS>
