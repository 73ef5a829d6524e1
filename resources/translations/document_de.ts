<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name></name>
    <message id="doc.ins_record">
        <source>Add Reading</source>
        <translation>Messung hinzufügen</translation>
    </message>
    <message id="doc.del_record">
        <source>Delete Reading</source>
        <translation>Messung löschen</translation>
    </message>
    <message id="doc.edit_record">
        <source>Edit Reading</source>
        <translation>Messung bearbeiten</translation>
    </message>
    <message id="doc.replace_with_average">
        <source>Replace with Average</source>
        <translation>Durch Mittelwert ersetzen</translation>
    </message>
    <message id="doc.ins_filter">
        <source>Add Filter</source>
        <translation>Filter hinzufügen</translation>
    </message>
    <message id="doc.del_filter">
        <source>Delete Filter</source>
        <translation>Filter löschen</translation>
    </message>
    <message id="doc.rename_filter">
        <source>Rename Filter</source>
        <translation>Filter umbenennen</translation>
    </message>
    <message id="doc.change_filter">
        <source>Change Filter</source>
        <translation>Filter ändern</translation>
    </message>
    <message id="doc.information.list_changed">
        <source>Change Information</source>
        <translation>Informationen ändern</translation>
    </message>
    <message id="doc.information.item_changed">
        <source>Edit Information</source>
        <translation>Information bearbeiten</translation>
    </message>
    <message id="doc.information.new_item.label">
        <source>Label</source>
        <translation>Bezeichnung</translation>
    </message>
    <message id="doc.information.new_item.descr">
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
</context>
</TS>
