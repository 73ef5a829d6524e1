<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name></name>
    <message id="button.add.information">
        <source>Add an information item</source>
        <translation>Information hinzufügen</translation>
    </message>
    <message id="button.add.reading">
        <source>Add a reading</source>
        <translation>Messwert hinzufügen</translation>
    </message>
    <message id="delete_info.cancel">
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message id="delete_info.delete">
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message id="delete_info.message">
        <source>You can undo this with Edit › Undo.</source>
        <translation>Sie können das mit Bearbeiten › Rückgängig widerrufen.</translation>
    </message>
    <message id="delete_info.title">
        <source>Delete the selected information?</source>
        <translation>Ausgewählte Informationen löschen?</translation>
    </message>
    <message id="no">
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message id="print.summary.print_averages">
        <source>Averages</source>
        <translation>Mittelwerte</translation>
    </message>
    <message id="print.summary.print_chart">
        <source>Chart</source>
        <translation>Diagramm</translation>
    </message>
    <message id="print.summary.print_information">
        <source>Information</source>
        <translation>Informationen</translation>
    </message>
    <message id="print.summary.print_measurements">
        <source>Readings</source>
        <translation>Messwerte</translation>
    </message>
    <message id="window.averages_table">
        <source>Averages</source>
        <translation>Mittelwerte</translation>
    </message>
    <message id="window.chart">
        <source>Chart of the readings</source>
        <translation>Diagramm der Messwerte</translation>
    </message>
    <message id="window.chart.description">
        <source>%1, from %2 to %3</source>
        <translation>%1, vom %2 bis %3</translation>
    </message>
    <message id="window.chart.reading_value">
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message id="window.chart.reading_when">
        <source>%1, %2</source>
        <translation>%1, %2 Uhr</translation>
    </message>
    <message id="window.column.comments">
        <source>Comments</source>
        <translation>Kommentar</translation>
    </message>
    <message id="window.column.date">
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message id="window.column.diastolic">
        <source>Diastolic</source>
        <translation>Diastolisch</translation>
    </message>
    <message id="window.column.filter">
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message id="window.column.label">
        <source>Label</source>
        <translation>Bezeichnung</translation>
    </message>
    <message id="window.column.pressure">
        <source>Pressure</source>
        <translation>Blutdruck</translation>
    </message>
    <message id="window.column.printed">
        <source>Printed</source>
        <translation>Drucken</translation>
    </message>
    <message id="window.column.pulse">
        <source>Pulse</source>
        <translation>Puls</translation>
    </message>
    <message id="window.column.pulse_pressure">
        <source>Pulse pressure</source>
        <translation>Pulsdruck</translation>
    </message>
    <message id="window.column.systolic">
        <source>Systolic</source>
        <translation>Systolisch</translation>
    </message>
    <message id="window.column.tags">
        <source>Tags</source>
        <translation>Schlagwörter</translation>
    </message>
    <message id="window.column.time">
        <source>Time</source>
        <translation>Uhrzeit</translation>
    </message>
    <message id="window.column.value">
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message id="window.column.weight">
        <source>Weight</source>
        <translation>Gewicht</translation>
    </message>
    <message id="window.counter">
        <source>Number of readings</source>
        <translation>Anzahl der Messwerte</translation>
    </message>
    <message id="window.export_pdf.caption">
        <source>Export as PDF</source>
        <translation>Als PDF exportieren</translation>
    </message>
    <message id="window.export_pdf.failed">
        <source>The PDF could not be written.</source>
        <translation>Die PDF-Datei konnte nicht geschrieben werden.</translation>
    </message>
    <message id="window.export_pdf.filter">
        <source>PDF documents (*.pdf)</source>
        <translation>PDF-Dokumente (*.pdf)</translation>
    </message>
    <message id="window.filter_selector">
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message id="window.filter_selector.label">
        <source>Fi&amp;lter:</source>
        <translation>Fi&amp;lter:</translation>
    </message>
    <message id="window.filter_selector.none">
        <source>No filter shown</source>
        <translation>Kein Filter</translation>
    </message>
    <message id="window.filter_selector.tooltip">
        <source>Show the readings that pass this filter</source>
        <translation>Nur die Messwerte zeigen, die dieser Filter durchlässt</translation>
    </message>
    <message id="window.filters_list">
        <source>Filters</source>
        <translation>Filter</translation>
    </message>
    <message id="window.information_table">
        <source>Information</source>
        <translation>Informationen</translation>
    </message>
    <message id="window.information_table.description">
        <source>Ctrl+Up and Ctrl+Down move the selected items</source>
        <translation>Strg+Pfeil nach oben und Strg+Pfeil nach unten verschieben die ausgewählten Einträge</translation>
    </message>
    <message id="window.menu.add">
        <source>&amp;Add…</source>
        <translation>&amp;Hinzufügen …</translation>
    </message>
    <message id="window.menu.delete">
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message id="window.menu.export_pdf">
        <source>Export as P&amp;DF…</source>
        <translation>Als &amp;PDF exportieren …</translation>
    </message>
    <message id="window.menu.newest_first">
        <source>&amp;Newest First</source>
        <translation>&amp;Neueste zuerst</translation>
    </message>
    <message id="window.menu.oldest_first">
        <source>&amp;Oldest First</source>
        <translation>Ä&amp;lteste zuerst</translation>
    </message>
    <message id="window.menu.page_setup">
        <source>Page Set&amp;up…</source>
        <translation>Sei&amp;te einrichten …</translation>
    </message>
    <message id="window.menu.print">
        <source>&amp;Print…</source>
        <translation>&amp;Drucken …</translation>
    </message>
    <message id="window.menu.print_preview">
        <source>Print Previe&amp;w…</source>
        <translation>Druc&amp;kvorschau …</translation>
    </message>
    <message id="window.menu.replace_with_average">
        <source>Replace with A&amp;verage</source>
        <translation>Durch &amp;Mittelwert ersetzen</translation>
    </message>
    <message id="window.menu.select_all">
        <source>Select A&amp;ll</source>
        <translation>&amp;Alles auswählen</translation>
    </message>
    <message id="window.page.averages">
        <source>&amp;Averages</source>
        <translation>Mi&amp;ttelwerte</translation>
    </message>
    <message id="window.page.averages.tooltip">
        <source>Averages</source>
        <translation>Mittelwerte</translation>
    </message>
    <message id="window.page.chart">
        <source>&amp;Chart</source>
        <translation>&amp;Diagramm</translation>
    </message>
    <message id="window.page.chart.tooltip">
        <source>Chart</source>
        <translation>Diagramm</translation>
    </message>
    <message id="window.page.filters">
        <source>&amp;Filters</source>
        <translation>&amp;Filter</translation>
    </message>
    <message id="window.page.filters.tooltip">
        <source>Filters</source>
        <translation>Filter</translation>
    </message>
    <message id="window.page.information">
        <source>&amp;Information</source>
        <translation>&amp;Informationen</translation>
    </message>
    <message id="window.page.information.tooltip">
        <source>Information</source>
        <translation>Informationen</translation>
    </message>
    <message id="window.page.readings">
        <source>&amp;Readings</source>
        <translation>&amp;Messwerte</translation>
    </message>
    <message id="window.page.readings.tooltip">
        <source>Readings</source>
        <translation>Messwerte</translation>
    </message>
    <message id="window.pages">
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
    <message id="window.print_failed">
        <source>The document could not be printed.</source>
        <translation>Das Dokument konnte nicht gedruckt werden.</translation>
    </message>
    <message id="window.print_options.averages">
        <source>Averages table</source>
        <translation>Tabelle der Mittelwerte</translation>
    </message>
    <message id="window.print_options.chart">
        <source>Chart</source>
        <translation>Diagramm</translation>
    </message>
    <message id="window.print_options.heading">
        <source>The printed report contains:</source>
        <translation>Der gedruckte Bericht enthält:</translation>
    </message>
    <message id="window.print_options.information">
        <source>Information table</source>
        <translation>Tabelle der Informationen</translation>
    </message>
    <message id="window.print_options.readings">
        <source>Readings table</source>
        <translation>Tabelle der Messwerte</translation>
    </message>
    <message id="window.print_options.summary">
        <source>Summary</source>
        <translation>Zusammenfassung</translation>
    </message>
    <message id="window.print_options.summary_line">
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message id="window.print_options.title">
        <source>Report</source>
        <translation>Bericht</translation>
    </message>
    <message id="window.print_preview">
        <source>Print Preview</source>
        <translation>Druckvorschau</translation>
    </message>
    <message id="window.readings_table">
        <source>Readings</source>
        <translation>Messwerte</translation>
    </message>
    <message id="window.toolbar">
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message id="yes">
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message id="menu.file.import">
        <source>&amp;Import</source>
        <translation>&amp;Importieren</translation>
    </message>
    <message id="menu.file.import_csv">
        <source>&amp;Readings from CSV…</source>
        <translation>&amp;Messungen aus CSV…</translation>
    </message>
    <message id="menu.file.export">
        <source>&amp;Export</source>
        <translation>&amp;Exportieren</translation>
    </message>
    <message id="menu.file.export_csv">
        <source>&amp;Readings as CSV…</source>
        <translation>&amp;Messungen als CSV…</translation>
    </message>
    <message id="window.import_csv.caption">
        <source>Import Readings from CSV</source>
        <translation>Messungen aus CSV importieren</translation>
    </message>
    <message id="window.import_csv.filter">
        <source>CSV files (*.csv *.txt);;All files (*)</source>
        <translation>CSV-Dateien (*.csv *.txt);;Alle Dateien (*)</translation>
    </message>
    <message id="window.column.class">
        <source>Class</source>
        <translation>Klasse</translation>
    </message>
    <message id="window.column.class.tooltip">
        <source>Each reading's category under %1. The category describes the reading; it is not a diagnosis.</source>
        <translation>Kategorie jeder Messung nach %1. Die Kategorie beschreibt die Messung; sie ist keine Diagnose.</translation>
    </message>
</context>
</TS>
