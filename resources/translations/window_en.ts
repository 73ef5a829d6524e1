<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
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
    <message id="window.no">
        <source>No</source>
        <translation>No</translation>
    </message>
    <message id="window.yes">
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
</context>
</TS>
