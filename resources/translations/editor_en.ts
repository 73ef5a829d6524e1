<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="tokenfield.remove">
        <source>Remove %1</source>
        <translation>Remove %1</translation>
    </message>
    <message id="editor.title.add">
        <source>New Reading</source>
        <translation>New Reading</translation>
    </message>
    <message id="editor.title.edit">
        <source>Edit Reading</source>
        <translation>Edit Reading</translation>
    </message>
    <message id="editor.date">
        <source>&amp;Date:</source>
        <translation>&amp;Date:</translation>
    </message>
    <message id="editor.date.accessible">
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message id="editor.time">
        <source>T&amp;ime:</source>
        <translation>T&amp;ime:</translation>
    </message>
    <message id="editor.time.accessible">
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message id="editor.systolic">
        <source>&amp;Systolic:</source>
        <translation>&amp;Systolic:</translation>
    </message>
    <message id="editor.systolic.accessible">
        <source>Systolic pressure</source>
        <translation>Systolic pressure</translation>
    </message>
    <message id="editor.diastolic">
        <source>Di&amp;astolic:</source>
        <translation>Di&amp;astolic:</translation>
    </message>
    <message id="editor.diastolic.accessible">
        <source>Diastolic pressure</source>
        <translation>Diastolic pressure</translation>
    </message>
    <message id="editor.other_values">
        <source>Other Values</source>
        <translation>Other Values</translation>
    </message>
    <message id="editor.pulse">
        <source>&amp;Pulse:</source>
        <translation>&amp;Pulse:</translation>
    </message>
    <message id="editor.weight">
        <source>&amp;Weight:</source>
        <translation>&amp;Weight:</translation>
    </message>
    <message id="editor.pulse.accessible">
        <source>Pulse</source>
        <translation>Pulse</translation>
    </message>
    <message id="editor.weight.accessible">
        <source>Weight</source>
        <translation>Weight</translation>
    </message>
    <message id="editor.custom_label">
        <source>%1:</source>
        <translation>%1:</translation>
    </message>
    <message id="editor.comment">
        <source>&amp;Comment:</source>
        <translation>&amp;Comment:</translation>
    </message>
    <message id="editor.comment.accessible">
        <source>Comment</source>
        <translation>Comment</translation>
    </message>
    <message id="editor.tags">
        <source>Ta&amp;gs:</source>
        <translation>Ta&amp;gs:</translation>
    </message>
    <message id="editor.tags.accessible">
        <source>Tags</source>
        <translation>Tags</translation>
    </message>
    <message id="editor.tags_menu">
        <source>Choose Tags</source>
        <translation>Choose Tags</translation>
    </message>
    <message id="editor.tags_menu.tooltip">
        <source>Choose from the tags of this document</source>
        <translation>Choose from the tags of this document</translation>
    </message>
    <message id="editor.tags_menu.accessible">
        <source>Choose tags</source>
        <translation>Choose tags</translation>
    </message>
    <message id="editor.no_tags">
        <source>No Tags</source>
        <translation>No Tags</translation>
    </message>
    <message id="editor.cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="editor.add">
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message id="editor.save">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="record_bad_systolic.title">
        <source>Systolic pressure out of range</source>
        <translation>Systolic pressure out of range</translation>
    </message>
    <message id="record_bad_systolic.message">
        <source>Enter a systolic pressure from 50 to 300.</source>
        <translation>Enter a systolic pressure from 50 to 300.</translation>
    </message>
    <message id="record_bad_systolic.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="record_bad_diastolic.title">
        <source>Diastolic pressure out of range</source>
        <translation>Diastolic pressure out of range</translation>
    </message>
    <message id="record_bad_diastolic.message">
        <source>Enter a diastolic pressure from 20 to 200.</source>
        <translation>Enter a diastolic pressure from 20 to 200.</translation>
    </message>
    <message id="record_bad_diastolic.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="record_bad_pressure.title">
        <source>Systolic pressure not above diastolic</source>
        <translation>Systolic pressure not above diastolic</translation>
    </message>
    <message id="record_bad_pressure.message">
        <source>The systolic pressure must be higher than the diastolic pressure.</source>
        <translation>The systolic pressure must be higher than the diastolic pressure.</translation>
    </message>
    <message id="record_bad_pressure.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="record_bad_pulse.title">
        <source>Pulse out of range</source>
        <translation>Pulse out of range</translation>
    </message>
    <message id="record_bad_pulse.message">
        <source>Enter a pulse from 20 to 250, or leave the field empty.</source>
        <translation>Enter a pulse from 20 to 250, or leave the field empty.</translation>
    </message>
    <message id="record_bad_pulse.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="record_bad_weight.title">
        <source>Weight out of range</source>
        <translation>Weight out of range</translation>
    </message>
    <message id="record_bad_weight.message">
        <source>Enter a weight from 2 to 400, or leave the field empty.</source>
        <translation>Enter a weight from 2 to 400, or leave the field empty.</translation>
    </message>
    <message id="record_bad_weight.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="record_bad_custom.title">
        <source>Not a number</source>
        <translation>Not a number</translation>
    </message>
    <message id="record_bad_custom.message">
        <source>Enter a number for “%1”, or leave the field empty.</source>
        <translation>Enter a number for “%1”, or leave the field empty.</translation>
    </message>
    <message id="record_bad_custom.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
</TS>
