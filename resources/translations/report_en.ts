<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="print.Information">
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message id="print.Averages">
        <source>Averages</source>
        <translation>Averages</translation>
    </message>
    <message id="print.Readings">
        <source>Readings</source>
        <translation>Readings</translation>
    </message>
    <message id="print.columns.Label">
        <source>Label</source>
        <translation>Label</translation>
    </message>
    <message id="print.columns.Value">
        <source>Value</source>
        <translation>Value</translation>
    </message>
    <message id="print.columns.Filter">
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message id="print.columns.Systolic">
        <source>Systolic</source>
        <translation>Systolic</translation>
    </message>
    <message id="print.columns.Diastolic">
        <source>Diastolic</source>
        <translation>Diastolic</translation>
    </message>
    <message id="print.columns.PulsePressure">
        <source>Pulse pressure</source>
        <translation>Pulse pressure</translation>
    </message>
    <message id="print.columns.Pulse">
        <source>Pulse</source>
        <translation>Pulse</translation>
    </message>
    <message id="print.columns.Weight">
        <source>Weight</source>
        <translation>Weight</translation>
    </message>
    <message id="print.columns.Date">
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message id="print.columns.Time">
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message id="print.columns.Pressure">
        <source>Pressure</source>
        <translation>Pressure</translation>
    </message>
    <message id="print.columns.Tags">
        <source>Tags</source>
        <translation>Tags</translation>
    </message>
    <message id="print.columns.Comments">
        <source>Comments</source>
        <translation>Comments</translation>
    </message>
    <message id="print.pdf_title">
        <source>Blood pressure report</source>
        <translation>Blood pressure report</translation>
    </message>
    <message id="print.error.page_layout">
        <source>The paper size or margins cannot be used for printing.</source>
        <translation>The paper size or margins cannot be used for printing.</translation>
    </message>
    <message id="print.error.device">
        <source>The report could not be printed.</source>
        <translation>The report could not be printed.</translation>
    </message>
    <message id="print.error.page_range">
        <source>None of the chosen pages exists: the report has %1 pages.</source>
        <translation>None of the chosen pages exists: the report has %1 pages.</translation>
    </message>
    <message id="print.error.pdf_open">
        <source>The file “%1” cannot be written: %2</source>
        <translation>The file “%1” cannot be written: %2</translation>
    </message>
    <message id="print.error.pdf_write">
        <source>The report could not be saved as “%1”: %2</source>
        <translation>The report could not be saved as “%1”: %2</translation>
    </message>
</context>
</TS>
