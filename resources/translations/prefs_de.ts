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
</context>
</TS>
