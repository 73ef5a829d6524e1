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
    <message id="archive.error.not_archive">
        <source>The file is not a keyed archive.</source>
        <translation>Die Datei ist kein Schlüssel-Archiv.</translation>
    </message>
    <message id="archive.error.reference">
        <source>Archived object %1 refers to object %2, which does not exist.</source>
        <translation>Das archivierte Objekt %1 verweist auf Objekt %2, das es nicht gibt.</translation>
    </message>
    <message id="archive.error.cycle">
        <source>Archived object %1 contains itself.</source>
        <translation>Das archivierte Objekt %1 enthält sich selbst.</translation>
    </message>
    <message id="archive.error.depth">
        <source>Archived objects are nested more than %1 levels deep.</source>
        <translation>Die archivierten Objekte sind tiefer als %1 Ebenen verschachtelt.</translation>
    </message>
    <message id="archive.error.budget">
        <source>The archive refers to its objects too many times to be read.</source>
        <translation>Das Archiv verweist zu oft auf seine Objekte, um gelesen zu werden.</translation>
    </message>
    <message id="archive.error.unknown_class">
        <source>The file contains an object of class “%1”, which cannot be read.</source>
        <translation>Die Datei enthält ein Objekt der Klasse „%1“, das nicht gelesen werden kann.</translation>
    </message>
    <message id="archive.error.malformed">
        <source>Archived object %1 (%2) is malformed.</source>
        <translation>Das archivierte Objekt %1 (%2) ist fehlerhaft.</translation>
    </message>
    <message id="archive.error.class_record">
        <source>Archived object %1 has no valid class record.</source>
        <translation>Das archivierte Objekt %1 hat keine gültige Klassenangabe.</translation>
    </message>
    <message id="archive.error.write_depth">
        <source>The data is nested more than %1 levels deep and cannot be saved.</source>
        <translation>Die Daten sind tiefer als %1 Ebenen verschachtelt und können nicht gesichert werden.</translation>
    </message>
    <message id="archive.error.write_date">
        <source>A date that is not a valid point in time cannot be saved.</source>
        <translation>Ein Datum, das kein gültiger Zeitpunkt ist, kann nicht gesichert werden.</translation>
    </message>
    <message id="archive.error.date_range">
        <source>Object %1 of the file is a date more than 100,000,000 days away from 1970.</source>
        <translation>Objekt %1 der Datei ist ein Datum, das mehr als 100.000.000 Tage von 1970 entfernt liegt.</translation>
    </message>
    <message id="archive.error.write_type">
        <source>Values of type %1 cannot be saved.</source>
        <translation>Werte vom Typ %1 können nicht gesichert werden.</translation>
    </message>
    <message id="archive.error.unusable_predicate">
        <source>The file contains a filter condition that cannot be used.</source>
        <translation>Die Datei enthält eine Filterbedingung, die nicht verwendet werden kann.</translation>
    </message>
    <message id="archive.error.predicate_too_large">
        <source>The file contains a filter condition of more than %1 parts; it cannot be used.</source>
        <translation>Die Datei enthält eine Filterbedingung aus mehr als %1 Teilen; sie kann nicht verwendet werden.</translation>
    </message>
    <message id="doc.file_corrupted">
        <source>The file is damaged: it does not hold a document.</source>
        <translation>Die Datei ist beschädigt: Sie enthält kein Dokument.</translation>
    </message>
    <message id="doc.file_incomplete">
        <source>The file is incomplete: it holds no readings.</source>
        <translation>Die Datei ist unvollständig: Sie enthält keine Messwerte.</translation>
    </message>
    <message id="doc.file_unreadable">
        <source>The file cannot be read. %1</source>
        <translation>Die Datei kann nicht gelesen werden. %1</translation>
    </message>
    <message id="doc.file_not_document">
        <source>The file is not a Tensilo document, or it is damaged.</source>
        <translation>Die Datei ist kein Tensilo-Dokument, oder sie ist beschädigt.</translation>
    </message>
    <message id="error.file_save">
        <source>The document could not be saved. %1</source>
        <translation>Das Dokument konnte nicht gesichert werden. %1</translation>
    </message>
    <message id="error.file_open">
        <source>The file could not be opened. %1</source>
        <translation>Die Datei konnte nicht geöffnet werden. %1</translation>
    </message>
    <message id="error.file_too_large">
        <source>It is too large to be a document.</source>
        <translation>Sie ist zu groß für ein Dokument.</translation>
    </message>
</context>
</TS>
