<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name></name>
    <message id="plist.error.not_plist">
        <source>The data is not a property list.</source>
        <translation>Die Daten sind keine Property-Liste.</translation>
    </message>
    <message id="plist.error.trailer">
        <source>The property list is truncated or its trailer is damaged.</source>
        <translation>Die Property-Liste ist abgeschnitten oder ihr Abschluss ist beschädigt.</translation>
    </message>
    <message id="plist.error.offset">
        <source>Object %1 of the property list lies outside the file.</source>
        <translation>Objekt %1 der Property-Liste liegt außerhalb der Datei.</translation>
    </message>
    <message id="plist.error.object">
        <source>Object %1 of the property list is malformed.</source>
        <translation>Objekt %1 der Property-Liste ist fehlerhaft.</translation>
    </message>
    <message id="plist.error.reference">
        <source>Object %1 of the property list refers to an object that does not exist.</source>
        <translation>Objekt %1 der Property-Liste verweist auf ein Objekt, das es nicht gibt.</translation>
    </message>
    <message id="plist.error.cycle">
        <source>Object %1 of the property list contains itself.</source>
        <translation>Objekt %1 der Property-Liste enthält sich selbst.</translation>
    </message>
    <message id="plist.error.depth">
        <source>The property list is nested more than %1 levels deep.</source>
        <translation>Die Property-Liste ist tiefer als %1 Ebenen verschachtelt.</translation>
    </message>
    <message id="plist.error.key">
        <source>A dictionary of the property list (object %1) has a key that is not a string, or the same key twice.</source>
        <translation>Ein Verzeichnis der Property-Liste (Objekt %1) hat einen Schlüssel, der kein Text ist, oder denselben Schlüssel zweimal.</translation>
    </message>
    <message id="plist.error.xml">
        <source>The XML property list is malformed (line %1): %2</source>
        <translation>Die XML-Property-Liste ist fehlerhaft (Zeile %1): %2</translation>
    </message>
</context>
</TS>
