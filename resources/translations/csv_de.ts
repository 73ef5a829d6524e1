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
    <message id="csv.problem.bad_custom">
        <source>A custom value is not a number.</source>
        <translation>Ein eigener Wert ist keine Zahl.</translation>
    </message>
    <message id="doc.import_records">
        <source>Import Readings</source>
        <translation>Messungen importieren</translation>
    </message>
    <message id="tool.csv.usage">
        <source>  tensilo-tool export-csv FILE OUT.csv [--all] [--separator comma|semicolon|tab]
  tensilo-tool import-csv IN.csv OUT.tensilo [--into DOC] [--separator comma|semicolon|tab]
               [--encoding utf-8|latin-1] [--date-order dmy|mdy]</source>
        <translation>  tensilo-tool export-csv DATEI AUS.csv [--all] [--separator comma|semicolon|tab]
  tensilo-tool import-csv EIN.csv AUS.tensilo [--into DOK] [--separator comma|semicolon|tab]
               [--encoding utf-8|latin-1] [--date-order dmy|mdy]</translation>
    </message>
    <message id="tool.csv.error.arguments">
        <source>Wrong number of arguments for “%1”.</source>
        <translation>Falsche Anzahl von Argumenten für „%1“.</translation>
    </message>
    <message id="tool.csv.error.unknown_option">
        <source>Unknown option “%1”.</source>
        <translation>Unbekannte Option „%1“.</translation>
    </message>
    <message id="tool.csv.error.missing_value">
        <source>The option “%1” needs a value.</source>
        <translation>Die Option „%1“ braucht einen Wert.</translation>
    </message>
    <message id="tool.csv.error.bad_option_value">
        <source>“%1” is not a value for %2.</source>
        <translation>„%1“ ist kein Wert für %2.</translation>
    </message>
    <message id="tool.csv.error.ambiguous_dates">
        <source>The dates could be day/month/year or month/day/year. Choose with --date-order dmy or --date-order mdy.</source>
        <translation>Die Daten können Tag/Monat/Jahr oder Monat/Tag/Jahr sein. Wählen Sie mit --date-order dmy oder --date-order mdy.</translation>
    </message>
    <message id="tool.csv.error.nothing_read">
        <source>No row of the file could be read; nothing was written.</source>
        <translation>Keine Zeile der Datei konnte gelesen werden; nichts wurde geschrieben.</translation>
    </message>
    <message id="tool.csv.problem">
        <source>line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message id="tool.csv.more_problems">
        <source>… and %1 more rows refused.</source>
        <translation>… und %1 weitere abgelehnte Zeilen.</translation>
    </message>
    <message id="tool.csv.summary">
        <source>%1 readings imported, %2 already present and skipped, %3 rows refused.</source>
        <translation>%1 Messungen importiert, %2 schon vorhanden und übersprungen, %3 Zeilen abgelehnt.</translation>
    </message>
    <message id="csv.export.title">
        <source>Export Readings as CSV</source>
        <translation>Messungen als CSV exportieren</translation>
    </message>
    <message id="csv.separator.label">
        <source>Separator:</source>
        <translation>Trennzeichen:</translation>
    </message>
    <message id="csv.separator.comma">
        <source>Comma ( , )</source>
        <translation>Komma ( , )</translation>
    </message>
    <message id="csv.separator.semicolon">
        <source>Semicolon ( ; )</source>
        <translation>Semikolon ( ; )</translation>
    </message>
    <message id="csv.separator.tab">
        <source>Tab</source>
        <translation>Tabulator</translation>
    </message>
    <message id="csv.separator.automatic">
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message id="csv.separator.detected">
        <source>Automatic: %1</source>
        <translation>Automatisch: %1</translation>
    </message>
    <message id="csv.export.all">
        <source>Every reading with every value</source>
        <translation>Alle Messungen mit allen Werten</translation>
    </message>
    <message id="csv.export.summary_all">
        <source>Readings to export: %1, with every value.</source>
        <translation>Zu exportierende Messungen: %1, mit allen Werten.</translation>
    </message>
    <message id="csv.export.summary_filtered">
        <source>Readings to export: %1 (those the selected filter shows), with the values the preferences show.</source>
        <translation>Zu exportierende Messungen: %1 (die der gewählte Filter zeigt), mit den Werten, die die Einstellungen zeigen.</translation>
    </message>
    <message id="csv.export.button">
        <source>Export…</source>
        <translation>Exportieren …</translation>
    </message>
    <message id="csv.cancel">
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message id="csv.export.choose">
        <source>Export Readings</source>
        <translation>Messungen exportieren</translation>
    </message>
    <message id="csv.file_filter">
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>CSV-Dateien (*.csv);;Alle Dateien (*)</translation>
    </message>
    <message id="csv.export.failed">
        <source>The readings could not be exported</source>
        <translation>Die Messungen konnten nicht exportiert werden</translation>
    </message>
    <message id="csv.import.title">
        <source>Import Readings from “%1”</source>
        <translation>Messungen aus „%1“ importieren</translation>
    </message>
    <message id="csv.encoding.label">
        <source>Encoding:</source>
        <translation>Zeichenkodierung:</translation>
    </message>
    <message id="csv.encoding.automatic">
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message id="csv.date_order.label">
        <source>Dates with slashes:</source>
        <translation>Daten mit Schrägstrichen:</translation>
    </message>
    <message id="csv.date_order.automatic">
        <source>Automatic</source>
        <translation>Automatisch</translation>
    </message>
    <message id="csv.date_order.day_first">
        <source>Day/Month/Year</source>
        <translation>Tag/Monat/Jahr</translation>
    </message>
    <message id="csv.date_order.month_first">
        <source>Month/Day/Year</source>
        <translation>Monat/Tag/Jahr</translation>
    </message>
    <message id="csv.import.column">
        <source>Column</source>
        <translation>Spalte</translation>
    </message>
    <message id="csv.import.example">
        <source>First value</source>
        <translation>Erster Wert</translation>
    </message>
    <message id="csv.import.value">
        <source>Read as</source>
        <translation>Lesen als</translation>
    </message>
    <message id="csv.import.columns">
        <source>Columns of the file</source>
        <translation>Spalten der Datei</translation>
    </message>
    <message id="csv.import.column_number">
        <source>Column %1</source>
        <translation>Spalte %1</translation>
    </message>
    <message id="csv.import.value_of">
        <source>Read column “%1” as</source>
        <translation>Spalte „%1“ lesen als</translation>
    </message>
    <message id="csv.import.preview">
        <source>The first rows as they will be read</source>
        <translation>Die ersten Zeilen, wie sie gelesen werden</translation>
    </message>
    <message id="csv.import.line">
        <source>Line</source>
        <translation>Zeile</translation>
    </message>
    <message id="csv.import.status">
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message id="csv.import.ok">
        <source>Will be imported</source>
        <translation>Wird importiert</translation>
    </message>
    <message id="csv.import.duplicate">
        <source>Already in the document</source>
        <translation>Schon im Dokument</translation>
    </message>
    <message id="csv.import.problems">
        <source>Rows that are not imported</source>
        <translation>Zeilen, die nicht importiert werden</translation>
    </message>
    <message id="csv.import.problem_line">
        <source>Line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message id="csv.import.summary">
        <source>Readings to import: %1. Already in the document: %2. Rows refused: %3.</source>
        <translation>Zu importierende Messungen: %1. Schon im Dokument: %2. Abgelehnte Zeilen: %3.</translation>
    </message>
    <message id="csv.import.choose_date_order">
        <source>The dates can be read day first or month first: choose the order above.</source>
        <translation>Die Daten lassen sich mit dem Tag oder dem Monat zuerst lesen: Wählen Sie oben die Reihenfolge.</translation>
    </message>
    <message id="csv.import.button">
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message id="csv.import.review">
        <source>Review…</source>
        <translation>Prüfen…</translation>
    </message>
</context>
</TS>
