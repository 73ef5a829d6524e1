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
</context>
</TS>
