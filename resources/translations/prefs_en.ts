<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="columns.custom_default_1">
        <source>Custom 1</source>
        <translation>Custom 1</translation>
    </message>
    <message id="columns.custom_default_2">
        <source>Custom 2</source>
        <translation>Custom 2</translation>
    </message>
    <message id="columns.custom_default_3">
        <source>Custom 3</source>
        <translation>Custom 3</translation>
    </message>
    <message id="not_available">
        <source>n/a</source>
        <translation>n/a</translation>
    </message>
    <message id="format.bad_date">
        <source>Enter a date such as %1.</source>
        <translation>Enter a date such as %1.</translation>
    </message>
    <message id="format.bad_time">
        <source>Enter a time such as %1.</source>
        <translation>Enter a time such as %1.</translation>
    </message>
</context>
</TS>
