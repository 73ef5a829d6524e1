<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name></name>
    <message id="print.Information">
        <source>Information</source>
        <translation>Informationen</translation>
    </message>
    <message id="print.Averages">
        <source>Averages</source>
        <translation>Durchschnittswerte</translation>
    </message>
    <message id="print.Readings">
        <source>Readings</source>
        <translation>Messungen</translation>
    </message>
    <message id="print.columns.Label">
        <source>Label</source>
        <translation>Bezeichnung</translation>
    </message>
    <message id="print.columns.Value">
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message id="print.columns.Filter">
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message id="print.columns.Systolic">
        <source>Systolic</source>
        <translation>Systolisch</translation>
    </message>
    <message id="print.columns.Diastolic">
        <source>Diastolic</source>
        <translation>Diastolisch</translation>
    </message>
    <message id="print.columns.PulsePressure">
        <source>Pulse pressure</source>
        <translation>Pulsdruck</translation>
    </message>
    <message id="print.columns.Pulse">
        <source>Pulse</source>
        <translation>Puls</translation>
    </message>
    <message id="print.columns.Weight">
        <source>Weight</source>
        <translation>Gewicht</translation>
    </message>
    <message id="print.columns.Date">
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message id="print.columns.Time">
        <source>Time</source>
        <translation>Uhrzeit</translation>
    </message>
    <message id="print.columns.Pressure">
        <source>Pressure</source>
        <translation>Blutdruck</translation>
    </message>
    <message id="print.columns.Tags">
        <source>Tags</source>
        <translation>Schlagwörter</translation>
    </message>
    <message id="print.columns.Comments">
        <source>Comments</source>
        <translation>Kommentar</translation>
    </message>
    <message id="print.pdf_title">
        <source>Blood pressure report</source>
        <translation>Blutdruckbericht</translation>
    </message>
    <message id="print.error.page_layout">
        <source>The paper size or margins cannot be used for printing.</source>
        <translation>Papierformat oder Ränder lassen sich zum Drucken nicht verwenden.</translation>
    </message>
    <message id="print.error.device">
        <source>The report could not be printed.</source>
        <translation>Der Bericht konnte nicht gedruckt werden.</translation>
    </message>
    <message id="print.error.page_range">
        <source>None of the chosen pages exists: the report has %1 pages.</source>
        <translation>Keine der gewählten Seiten ist vorhanden: Der Bericht hat %1 Seiten.</translation>
    </message>
    <message id="print.error.pdf_open">
        <source>The file “%1” cannot be written: %2</source>
        <translation>Die Datei „%1“ kann nicht geschrieben werden: %2</translation>
    </message>
    <message id="print.error.pdf_write">
        <source>The report could not be saved as “%1”: %2</source>
        <translation>Der Bericht konnte nicht als „%1“ gespeichert werden: %2</translation>
    </message>
</context>
</TS>
