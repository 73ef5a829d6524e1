<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="csv.columns.ignore">
        <source>(ignore)</source>
        <translation>(ignore)</translation>
    </message>
    <message id="csv.columns.date">
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message id="csv.columns.time">
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message id="csv.columns.instant">
        <source>Date and time (ISO 8601)</source>
        <translation>Date and time (ISO 8601)</translation>
    </message>
    <message id="csv.columns.systolic">
        <source>Systolic</source>
        <translation>Systolic</translation>
    </message>
    <message id="csv.columns.diastolic">
        <source>Diastolic</source>
        <translation>Diastolic</translation>
    </message>
    <message id="csv.columns.pulse">
        <source>Pulse</source>
        <translation>Pulse</translation>
    </message>
    <message id="csv.columns.weight">
        <source>Weight</source>
        <translation>Weight</translation>
    </message>
    <message id="csv.columns.comments">
        <source>Comment</source>
        <translation>Comment</translation>
    </message>
    <message id="csv.columns.tags">
        <source>Tags</source>
        <translation>Tags</translation>
    </message>
    <message id="csv.error.write">
        <source>“%1” could not be written: %2</source>
        <translation>“%1” could not be written: %2</translation>
    </message>
    <message id="csv.error.read">
        <source>“%1” could not be read: %2</source>
        <translation>“%1” could not be read: %2</translation>
    </message>
    <message id="csv.error.too_large">
        <source>The file is larger than %1 MB and is not imported.</source>
        <translation>The file is larger than %1 MB and is not imported.</translation>
    </message>
    <message id="csv.error.empty">
        <source>The file holds no readings.</source>
        <translation>The file holds no readings.</translation>
    </message>
    <message id="csv.error.first_line">
        <source>The first line cannot be read: %1</source>
        <translation>The first line cannot be read: %1</translation>
    </message>
    <message id="csv.error.missing_columns">
        <source>No column holds: %1. Choose the columns in the preview.</source>
        <translation>No column holds: %1. Choose the columns in the preview.</translation>
    </message>
    <message id="csv.problem.too_long">
        <source>The line is longer than %1 characters.</source>
        <translation>The line is longer than %1 characters.</translation>
    </message>
    <message id="csv.problem.too_many_columns">
        <source>The line has more than %1 columns.</source>
        <translation>The line has more than %1 columns.</translation>
    </message>
    <message id="csv.problem.nul">
        <source>The line contains a NUL character.</source>
        <translation>The line contains a NUL character.</translation>
    </message>
    <message id="csv.problem.unclosed_quote">
        <source>A quoted field is not closed before the end of the file.</source>
        <translation>A quoted field is not closed before the end of the file.</translation>
    </message>
    <message id="csv.problem.no_date">
        <source>The date is missing.</source>
        <translation>The date is missing.</translation>
    </message>
    <message id="csv.problem.bad_date">
        <source>“%1” is not a date.</source>
        <translation>“%1” is not a date.</translation>
    </message>
    <message id="csv.problem.bad_time">
        <source>“%1” is not a time.</source>
        <translation>“%1” is not a time.</translation>
    </message>
    <message id="csv.problem.bad_number">
        <source>%1: “%2” is not a number.</source>
        <translation>%1: “%2” is not a number.</translation>
    </message>
    <message id="csv.problem.no_systolic">
        <source>The systolic value is missing.</source>
        <translation>The systolic value is missing.</translation>
    </message>
    <message id="csv.problem.no_diastolic">
        <source>The diastolic value is missing.</source>
        <translation>The diastolic value is missing.</translation>
    </message>
    <message id="csv.problem.bad_systolic">
        <source>Systolic %1 is outside 50 to 300.</source>
        <translation>Systolic %1 is outside 50 to 300.</translation>
    </message>
    <message id="csv.problem.bad_diastolic">
        <source>Diastolic %1 is outside 20 to 200.</source>
        <translation>Diastolic %1 is outside 20 to 200.</translation>
    </message>
    <message id="csv.problem.bad_pressure">
        <source>Systolic %1 is not above diastolic %2.</source>
        <translation>Systolic %1 is not above diastolic %2.</translation>
    </message>
    <message id="csv.problem.bad_pulse">
        <source>Pulse %1 is outside 20 to 250.</source>
        <translation>Pulse %1 is outside 20 to 250.</translation>
    </message>
    <message id="csv.problem.bad_weight">
        <source>Weight %1 is outside 2 to 400.</source>
        <translation>Weight %1 is outside 2 to 400.</translation>
    </message>
    <message id="csv.problem.bad_custom">
        <source>A custom value is not a number.</source>
        <translation>A custom value is not a number.</translation>
    </message>
    <message id="doc.import_records">
        <source>Import Readings</source>
        <translation>Import Readings</translation>
    </message>
    <message id="tool.csv.usage">
        <source>  tensilo-tool export-csv FILE OUT.csv [--all] [--separator comma|semicolon|tab]
  tensilo-tool import-csv IN.csv OUT.tensilo [--into DOC] [--separator comma|semicolon|tab]
               [--encoding utf-8|latin-1] [--date-order dmy|mdy]</source>
        <translation>  tensilo-tool export-csv FILE OUT.csv [--all] [--separator comma|semicolon|tab]
  tensilo-tool import-csv IN.csv OUT.tensilo [--into DOC] [--separator comma|semicolon|tab]
               [--encoding utf-8|latin-1] [--date-order dmy|mdy]</translation>
    </message>
    <message id="tool.csv.error.arguments">
        <source>Wrong number of arguments for “%1”.</source>
        <translation>Wrong number of arguments for “%1”.</translation>
    </message>
    <message id="tool.csv.error.unknown_option">
        <source>Unknown option “%1”.</source>
        <translation>Unknown option “%1”.</translation>
    </message>
    <message id="tool.csv.error.missing_value">
        <source>The option “%1” needs a value.</source>
        <translation>The option “%1” needs a value.</translation>
    </message>
    <message id="tool.csv.error.bad_option_value">
        <source>“%1” is not a value for %2.</source>
        <translation>“%1” is not a value for %2.</translation>
    </message>
    <message id="tool.csv.error.ambiguous_dates">
        <source>The dates could be day/month/year or month/day/year. Choose with --date-order dmy or --date-order mdy.</source>
        <translation>The dates could be day/month/year or month/day/year. Choose with --date-order dmy or --date-order mdy.</translation>
    </message>
    <message id="tool.csv.error.nothing_read">
        <source>No row of the file could be read; nothing was written.</source>
        <translation>No row of the file could be read; nothing was written.</translation>
    </message>
    <message id="tool.csv.problem">
        <source>line %1: %2</source>
        <translation>line %1: %2</translation>
    </message>
    <message id="tool.csv.more_problems">
        <source>… and %1 more rows refused.</source>
        <translation>… and %1 more rows refused.</translation>
    </message>
    <message id="tool.csv.summary">
        <source>%1 readings imported, %2 already present and skipped, %3 rows refused.</source>
        <translation>%1 readings imported, %2 already present and skipped, %3 rows refused.</translation>
    </message>
    <message id="csv.export.title">
        <source>Export Readings as CSV</source>
        <translation>Export Readings as CSV</translation>
    </message>
    <message id="csv.separator.label">
        <source>Separator:</source>
        <translation>Separator:</translation>
    </message>
    <message id="csv.separator.comma">
        <source>Comma ( , )</source>
        <translation>Comma ( , )</translation>
    </message>
    <message id="csv.separator.semicolon">
        <source>Semicolon ( ; )</source>
        <translation>Semicolon ( ; )</translation>
    </message>
    <message id="csv.separator.tab">
        <source>Tab</source>
        <translation>Tab</translation>
    </message>
    <message id="csv.separator.automatic">
        <source>Automatic</source>
        <translation>Automatic</translation>
    </message>
    <message id="csv.separator.detected">
        <source>Automatic: %1</source>
        <translation>Automatic: %1</translation>
    </message>
    <message id="csv.export.all">
        <source>Every reading with every value</source>
        <translation>Every reading with every value</translation>
    </message>
    <message id="csv.export.summary_all">
        <source>Readings to export: %1, with every value.</source>
        <translation>Readings to export: %1, with every value.</translation>
    </message>
    <message id="csv.export.summary_filtered">
        <source>Readings to export: %1 (those the selected filter shows), with the values the preferences show.</source>
        <translation>Readings to export: %1 (those the selected filter shows), with the values the preferences show.</translation>
    </message>
    <message id="csv.export.button">
        <source>Export…</source>
        <translation>Export…</translation>
    </message>
    <message id="csv.cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="csv.export.choose">
        <source>Export Readings</source>
        <translation>Export Readings</translation>
    </message>
    <message id="csv.file_filter">
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>CSV files (*.csv);;All files (*)</translation>
    </message>
    <message id="csv.export.failed">
        <source>The readings could not be exported</source>
        <translation>The readings could not be exported</translation>
    </message>
    <message id="csv.import.title">
        <source>Import Readings from “%1”</source>
        <translation>Import Readings from “%1”</translation>
    </message>
    <message id="csv.encoding.label">
        <source>Encoding:</source>
        <translation>Encoding:</translation>
    </message>
    <message id="csv.encoding.automatic">
        <source>Automatic</source>
        <translation>Automatic</translation>
    </message>
    <message id="csv.date_order.label">
        <source>Dates with slashes:</source>
        <translation>Dates with slashes:</translation>
    </message>
    <message id="csv.date_order.automatic">
        <source>Automatic</source>
        <translation>Automatic</translation>
    </message>
    <message id="csv.date_order.day_first">
        <source>Day/Month/Year</source>
        <translation>Day/Month/Year</translation>
    </message>
    <message id="csv.date_order.month_first">
        <source>Month/Day/Year</source>
        <translation>Month/Day/Year</translation>
    </message>
    <message id="csv.import.column">
        <source>Column</source>
        <translation>Column</translation>
    </message>
    <message id="csv.import.example">
        <source>First value</source>
        <translation>First value</translation>
    </message>
    <message id="csv.import.value">
        <source>Read as</source>
        <translation>Read as</translation>
    </message>
    <message id="csv.import.columns">
        <source>Columns of the file</source>
        <translation>Columns of the file</translation>
    </message>
    <message id="csv.import.column_number">
        <source>Column %1</source>
        <translation>Column %1</translation>
    </message>
    <message id="csv.import.value_of">
        <source>Read column “%1” as</source>
        <translation>Read column “%1” as</translation>
    </message>
    <message id="csv.import.preview">
        <source>The first rows as they will be read</source>
        <translation>The first rows as they will be read</translation>
    </message>
    <message id="csv.import.line">
        <source>Line</source>
        <translation>Line</translation>
    </message>
    <message id="csv.import.status">
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message id="csv.import.ok">
        <source>Will be imported</source>
        <translation>Will be imported</translation>
    </message>
    <message id="csv.import.duplicate">
        <source>Already in the document</source>
        <translation>Already in the document</translation>
    </message>
    <message id="csv.import.problems">
        <source>Rows that are not imported</source>
        <translation>Rows that are not imported</translation>
    </message>
    <message id="csv.import.problem_line">
        <source>Line %1: %2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message id="csv.import.summary">
        <source>Readings to import: %1. Already in the document: %2. Rows refused: %3.</source>
        <translation>Readings to import: %1. Already in the document: %2. Rows refused: %3.</translation>
    </message>
    <message id="csv.import.choose_date_order">
        <source>The dates can be read day first or month first: choose the order above.</source>
        <translation>The dates can be read day first or month first: choose the order above.</translation>
    </message>
    <message id="csv.import.button">
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message id="csv.import.review">
        <source>Review…</source>
        <translation>Review…</translation>
    </message>
</context>
</TS>
