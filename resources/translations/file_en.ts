<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="plist.error.not_plist">
        <source>The data is not a property list.</source>
        <translation>The data is not a property list.</translation>
    </message>
    <message id="plist.error.trailer">
        <source>The property list is truncated or its trailer is damaged.</source>
        <translation>The property list is truncated or its trailer is damaged.</translation>
    </message>
    <message id="plist.error.offset">
        <source>Object %1 of the property list lies outside the file.</source>
        <translation>Object %1 of the property list lies outside the file.</translation>
    </message>
    <message id="plist.error.object">
        <source>Object %1 of the property list is malformed.</source>
        <translation>Object %1 of the property list is malformed.</translation>
    </message>
    <message id="plist.error.reference">
        <source>Object %1 of the property list refers to an object that does not exist.</source>
        <translation>Object %1 of the property list refers to an object that does not exist.</translation>
    </message>
    <message id="plist.error.cycle">
        <source>Object %1 of the property list contains itself.</source>
        <translation>Object %1 of the property list contains itself.</translation>
    </message>
    <message id="plist.error.depth">
        <source>The property list is nested more than %1 levels deep.</source>
        <translation>The property list is nested more than %1 levels deep.</translation>
    </message>
    <message id="plist.error.key">
        <source>A dictionary of the property list (object %1) has a key that is not a string, or the same key twice.</source>
        <translation>A dictionary of the property list (object %1) has a key that is not a string, or the same key twice.</translation>
    </message>
    <message id="plist.error.xml">
        <source>The XML property list is malformed (line %1): %2</source>
        <translation>The XML property list is malformed (line %1): %2</translation>
    </message>
</context>
</TS>
