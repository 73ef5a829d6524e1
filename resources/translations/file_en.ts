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
    <message id="archive.error.not_archive">
        <source>The file is not a keyed archive.</source>
        <translation>The file is not a keyed archive.</translation>
    </message>
    <message id="archive.error.reference">
        <source>Archived object %1 refers to object %2, which does not exist.</source>
        <translation>Archived object %1 refers to object %2, which does not exist.</translation>
    </message>
    <message id="archive.error.cycle">
        <source>Archived object %1 contains itself.</source>
        <translation>Archived object %1 contains itself.</translation>
    </message>
    <message id="archive.error.depth">
        <source>Archived objects are nested more than %1 levels deep.</source>
        <translation>Archived objects are nested more than %1 levels deep.</translation>
    </message>
    <message id="archive.error.budget">
        <source>The archive refers to its objects too many times to be read.</source>
        <translation>The archive refers to its objects too many times to be read.</translation>
    </message>
    <message id="archive.error.unknown_class">
        <source>The file contains an object of class “%1”, which cannot be read.</source>
        <translation>The file contains an object of class “%1”, which cannot be read.</translation>
    </message>
    <message id="archive.error.malformed">
        <source>Archived object %1 (%2) is malformed.</source>
        <translation>Archived object %1 (%2) is malformed.</translation>
    </message>
    <message id="archive.error.class_record">
        <source>Archived object %1 has no valid class record.</source>
        <translation>Archived object %1 has no valid class record.</translation>
    </message>
    <message id="archive.error.write_depth">
        <source>The data is nested more than %1 levels deep and cannot be saved.</source>
        <translation>The data is nested more than %1 levels deep and cannot be saved.</translation>
    </message>
    <message id="archive.error.write_date">
        <source>A date that is not a valid point in time cannot be saved.</source>
        <translation>A date that is not a valid point in time cannot be saved.</translation>
    </message>
    <message id="archive.error.date_range">
        <source>Object %1 of the file is a date more than 100,000,000 days away from 1970.</source>
        <translation>Object %1 of the file is a date more than 100,000,000 days away from 1970.</translation>
    </message>
    <message id="archive.error.write_type">
        <source>Values of type %1 cannot be saved.</source>
        <translation>Values of type %1 cannot be saved.</translation>
    </message>
    <message id="archive.error.unusable_predicate">
        <source>The file contains a filter condition that cannot be used.</source>
        <translation>The file contains a filter condition that cannot be used.</translation>
    </message>
    <message id="archive.error.predicate_too_large">
        <source>The file contains a filter condition of more than %1 parts; it cannot be used.</source>
        <translation>The file contains a filter condition of more than %1 parts; it cannot be used.</translation>
    </message>
    <message id="doc.file_corrupted">
        <source>The file is damaged: it does not hold a document.</source>
        <translation>The file is damaged: it does not hold a document.</translation>
    </message>
    <message id="doc.file_incomplete">
        <source>The file is incomplete: it holds no readings.</source>
        <translation>The file is incomplete: it holds no readings.</translation>
    </message>
    <message id="doc.file_unreadable">
        <source>The file cannot be read. %1</source>
        <translation>The file cannot be read. %1</translation>
    </message>
    <message id="doc.file_not_document">
        <source>The file is not a Tensilo document, or it is damaged.</source>
        <translation>The file is not a Tensilo document, or it is damaged.</translation>
    </message>
    <message id="error.file_save">
        <source>The document could not be saved. %1</source>
        <translation>The document could not be saved. %1</translation>
    </message>
    <message id="error.file_open">
        <source>The file could not be opened. %1</source>
        <translation>The file could not be opened. %1</translation>
    </message>
    <message id="error.file_too_large">
        <source>It is too large to be a document.</source>
        <translation>It is too large to be a document.</translation>
    </message>
</context>
</TS>
