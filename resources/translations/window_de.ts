<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name></name>
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
    <message id="window.no">
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message id="window.yes">
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
</context>
</TS>
