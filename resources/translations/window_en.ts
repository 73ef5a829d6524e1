<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="button.add.information">
        <source>Add an information item</source>
        <translation>Add an information item</translation>
    </message>
    <message id="button.add.reading">
        <source>Add a reading</source>
        <translation>Add a reading</translation>
    </message>
    <message id="delete_info.cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="delete_info.delete">
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message id="delete_info.message">
        <source>You can undo this with Edit › Undo.</source>
        <translation>You can undo this with Edit › Undo.</translation>
    </message>
    <message id="delete_info.title">
        <source>Delete the selected information?</source>
        <translation>Delete the selected information?</translation>
    </message>
    <message id="no">
        <source>No</source>
        <translation>No</translation>
    </message>
    <message id="print.summary.print_averages">
        <source>Averages</source>
        <translation>Averages</translation>
    </message>
    <message id="print.summary.print_chart">
        <source>Chart</source>
        <translation>Chart</translation>
    </message>
    <message id="print.summary.print_information">
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message id="print.summary.print_measurements">
        <source>Readings</source>
        <translation>Readings</translation>
    </message>
    <message id="window.averages_table">
        <source>Averages</source>
        <translation>Averages</translation>
    </message>
    <message id="window.chart">
        <source>Chart of the readings</source>
        <translation>Chart of the readings</translation>
    </message>
    <message id="window.chart.description">
        <source>%1, from %2 to %3</source>
        <translation>%1, from %2 to %3</translation>
    </message>
    <message id="window.chart.reading_value">
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message id="window.chart.reading_when">
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message id="window.column.comments">
        <source>Comments</source>
        <translation>Comments</translation>
    </message>
    <message id="window.column.date">
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message id="window.column.diastolic">
        <source>Diastolic</source>
        <translation>Diastolic</translation>
    </message>
    <message id="window.column.filter">
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message id="window.column.label">
        <source>Label</source>
        <translation>Label</translation>
    </message>
    <message id="window.column.pressure">
        <source>Pressure</source>
        <translation>Pressure</translation>
    </message>
    <message id="window.column.printed">
        <source>Printed</source>
        <translation>Printed</translation>
    </message>
    <message id="window.column.pulse">
        <source>Pulse</source>
        <translation>Pulse</translation>
    </message>
    <message id="window.column.pulse_pressure">
        <source>Pulse pressure</source>
        <translation>Pulse pressure</translation>
    </message>
    <message id="window.column.systolic">
        <source>Systolic</source>
        <translation>Systolic</translation>
    </message>
    <message id="window.column.tags">
        <source>Tags</source>
        <translation>Tags</translation>
    </message>
    <message id="window.column.time">
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message id="window.column.value">
        <source>Value</source>
        <translation>Value</translation>
    </message>
    <message id="window.column.weight">
        <source>Weight</source>
        <translation>Weight</translation>
    </message>
    <message id="window.counter">
        <source>Number of readings</source>
        <translation>Number of readings</translation>
    </message>
    <message id="window.export_pdf.caption">
        <source>Export as PDF</source>
        <translation>Export as PDF</translation>
    </message>
    <message id="window.export_pdf.failed">
        <source>The PDF could not be written.</source>
        <translation>The PDF could not be written.</translation>
    </message>
    <message id="window.export_pdf.filter">
        <source>PDF documents (*.pdf)</source>
        <translation>PDF documents (*.pdf)</translation>
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
        <translation>No filter shown</translation>
    </message>
    <message id="window.filter_selector.tooltip">
        <source>Show the readings that pass this filter</source>
        <translation>Show the readings that pass this filter</translation>
    </message>
    <message id="window.filters_list">
        <source>Filters</source>
        <translation>Filters</translation>
    </message>
    <message id="window.information_table">
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message id="window.information_table.description">
        <source>Ctrl+Up and Ctrl+Down move the selected items</source>
        <translation>Ctrl+Up and Ctrl+Down move the selected items</translation>
    </message>
    <message id="window.menu.add">
        <source>&amp;Add…</source>
        <translation>&amp;Add…</translation>
    </message>
    <message id="window.menu.delete">
        <source>&amp;Delete</source>
        <translation>&amp;Delete</translation>
    </message>
    <message id="window.menu.export_pdf">
        <source>Export as P&amp;DF…</source>
        <translation>Export as P&amp;DF…</translation>
    </message>
    <message id="window.menu.newest_first">
        <source>&amp;Newest First</source>
        <translation>&amp;Newest First</translation>
    </message>
    <message id="window.menu.oldest_first">
        <source>&amp;Oldest First</source>
        <translation>&amp;Oldest First</translation>
    </message>
    <message id="window.menu.page_setup">
        <source>Page Set&amp;up…</source>
        <translation>Page Set&amp;up…</translation>
    </message>
    <message id="window.menu.print">
        <source>&amp;Print…</source>
        <translation>&amp;Print…</translation>
    </message>
    <message id="window.menu.print_preview">
        <source>Print Previe&amp;w…</source>
        <translation>Print Previe&amp;w…</translation>
    </message>
    <message id="window.menu.replace_with_average">
        <source>Replace with A&amp;verage</source>
        <translation>Replace with A&amp;verage</translation>
    </message>
    <message id="window.menu.select_all">
        <source>Select A&amp;ll</source>
        <translation>Select A&amp;ll</translation>
    </message>
    <message id="window.page.averages">
        <source>&amp;Averages</source>
        <translation>&amp;Averages</translation>
    </message>
    <message id="window.page.averages.tooltip">
        <source>Averages</source>
        <translation>Averages</translation>
    </message>
    <message id="window.page.chart">
        <source>&amp;Chart</source>
        <translation>&amp;Chart</translation>
    </message>
    <message id="window.page.chart.tooltip">
        <source>Chart</source>
        <translation>Chart</translation>
    </message>
    <message id="window.page.filters">
        <source>&amp;Filters</source>
        <translation>&amp;Filters</translation>
    </message>
    <message id="window.page.filters.tooltip">
        <source>Filters</source>
        <translation>Filters</translation>
    </message>
    <message id="window.page.information">
        <source>&amp;Information</source>
        <translation>&amp;Information</translation>
    </message>
    <message id="window.page.information.tooltip">
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message id="window.page.readings">
        <source>&amp;Readings</source>
        <translation>&amp;Readings</translation>
    </message>
    <message id="window.page.readings.tooltip">
        <source>Readings</source>
        <translation>Readings</translation>
    </message>
    <message id="window.pages">
        <source>Pages</source>
        <translation>Pages</translation>
    </message>
    <message id="window.print_failed">
        <source>The document could not be printed.</source>
        <translation>The document could not be printed.</translation>
    </message>
    <message id="window.print_options.averages">
        <source>Averages table</source>
        <translation>Averages table</translation>
    </message>
    <message id="window.print_options.chart">
        <source>Chart</source>
        <translation>Chart</translation>
    </message>
    <message id="window.print_options.heading">
        <source>The printed report contains:</source>
        <translation>The printed report contains:</translation>
    </message>
    <message id="window.print_options.information">
        <source>Information table</source>
        <translation>Information table</translation>
    </message>
    <message id="window.print_options.readings">
        <source>Readings table</source>
        <translation>Readings table</translation>
    </message>
    <message id="window.print_options.summary">
        <source>Summary</source>
        <translation>Summary</translation>
    </message>
    <message id="window.print_options.summary_line">
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message id="window.print_options.title">
        <source>Report</source>
        <translation>Report</translation>
    </message>
    <message id="window.print_preview">
        <source>Print Preview</source>
        <translation>Print Preview</translation>
    </message>
    <message id="window.readings_table">
        <source>Readings</source>
        <translation>Readings</translation>
    </message>
    <message id="window.toolbar">
        <source>Toolbar</source>
        <translation>Toolbar</translation>
    </message>
    <message id="yes">
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message id="menu.file.import">
        <source>&amp;Import</source>
        <translation>&amp;Import</translation>
    </message>
    <message id="menu.file.import_csv">
        <source>&amp;Readings from CSV…</source>
        <translation>&amp;Readings from CSV…</translation>
    </message>
    <message id="menu.file.export">
        <source>&amp;Export</source>
        <translation>&amp;Export</translation>
    </message>
    <message id="menu.file.export_csv">
        <source>&amp;Readings as CSV…</source>
        <translation>&amp;Readings as CSV…</translation>
    </message>
    <message id="window.import_csv.caption">
        <source>Import Readings from CSV</source>
        <translation>Import Readings from CSV</translation>
    </message>
    <message id="window.import_csv.filter">
        <source>CSV files (*.csv *.txt);;All files (*)</source>
        <translation>CSV files (*.csv *.txt);;All files (*)</translation>
    </message>
    <message id="window.column.class">
        <source>Class</source>
        <translation>Class</translation>
    </message>
    <message id="window.column.class.tooltip">
        <source>Each reading's category under %1. The category describes the reading; it is not a diagnosis.</source>
        <translation>Each reading's category under %1. The category describes the reading; it is not a diagnosis.</translation>
    </message>
</context>
</TS>
