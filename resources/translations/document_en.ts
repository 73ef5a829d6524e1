<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="doc.ins_record">
        <source>Add Reading</source>
        <translation>Add Reading</translation>
    </message>
    <message id="doc.del_record">
        <source>Delete Reading</source>
        <translation>Delete Reading</translation>
    </message>
    <message id="doc.edit_record">
        <source>Edit Reading</source>
        <translation>Edit Reading</translation>
    </message>
    <message id="doc.replace_with_average">
        <source>Replace with Average</source>
        <translation>Replace with Average</translation>
    </message>
    <message id="doc.ins_filter">
        <source>Add Filter</source>
        <translation>Add Filter</translation>
    </message>
    <message id="doc.del_filter">
        <source>Delete Filter</source>
        <translation>Delete Filter</translation>
    </message>
    <message id="doc.rename_filter">
        <source>Rename Filter</source>
        <translation>Rename Filter</translation>
    </message>
    <message id="doc.change_filter">
        <source>Change Filter</source>
        <translation>Change Filter</translation>
    </message>
    <message id="doc.information.list_changed">
        <source>Change Information</source>
        <translation>Change Information</translation>
    </message>
    <message id="doc.information.item_changed">
        <source>Edit Information</source>
        <translation>Edit Information</translation>
    </message>
    <message id="doc.information.new_item.label">
        <source>Label</source>
        <translation>Label</translation>
    </message>
    <message id="doc.information.new_item.descr">
        <source>Description</source>
        <translation>Description</translation>
    </message>
</context>
</TS>
