<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name></name>
    <message id="tokenfield.remove">
        <source>Remove %1</source>
        <translation>%1 entfernen</translation>
    </message>
    <message id="editor.title.add">
        <source>New Reading</source>
        <translation>Neue Messung</translation>
    </message>
    <message id="editor.title.edit">
        <source>Edit Reading</source>
        <translation>Messung bearbeiten</translation>
    </message>
    <message id="editor.date">
        <source>&amp;Date:</source>
        <translation>&amp;Datum:</translation>
    </message>
    <message id="editor.date.accessible">
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message id="editor.time">
        <source>T&amp;ime:</source>
        <translation>&amp;Uhrzeit:</translation>
    </message>
    <message id="editor.time.accessible">
        <source>Time</source>
        <translation>Uhrzeit</translation>
    </message>
    <message id="editor.systolic">
        <source>&amp;Systolic:</source>
        <translation>&amp;Systolisch:</translation>
    </message>
    <message id="editor.systolic.accessible">
        <source>Systolic pressure</source>
        <translation>Systolischer Druck</translation>
    </message>
    <message id="editor.diastolic">
        <source>Di&amp;astolic:</source>
        <translation>D&amp;iastolisch:</translation>
    </message>
    <message id="editor.diastolic.accessible">
        <source>Diastolic pressure</source>
        <translation>Diastolischer Druck</translation>
    </message>
    <message id="editor.other_values">
        <source>Other Values</source>
        <translation>Weitere Werte</translation>
    </message>
    <message id="editor.pulse">
        <source>&amp;Pulse:</source>
        <translation>&amp;Puls:</translation>
    </message>
    <message id="editor.weight">
        <source>&amp;Weight:</source>
        <translation>&amp;Gewicht:</translation>
    </message>
    <message id="editor.pulse.accessible">
        <source>Pulse</source>
        <translation>Puls</translation>
    </message>
    <message id="editor.weight.accessible">
        <source>Weight</source>
        <translation>Gewicht</translation>
    </message>
    <message id="editor.custom_label">
        <source>%1:</source>
        <translation>%1:</translation>
    </message>
    <message id="editor.comment">
        <source>&amp;Comment:</source>
        <translation>&amp;Kommentar:</translation>
    </message>
    <message id="editor.comment.accessible">
        <source>Comment</source>
        <translation>Kommentar</translation>
    </message>
    <message id="editor.tags">
        <source>Ta&amp;gs:</source>
        <translation>Schlag&amp;wörter:</translation>
    </message>
    <message id="editor.tags.accessible">
        <source>Tags</source>
        <translation>Schlagwörter</translation>
    </message>
    <message id="editor.tags_menu">
        <source>Choose Tags</source>
        <translation>Schlagwörter auswählen</translation>
    </message>
    <message id="editor.tags_menu.tooltip">
        <source>Choose from the tags of this document</source>
        <translation>Aus den Schlagwörtern dieses Dokuments auswählen</translation>
    </message>
    <message id="editor.tags_menu.accessible">
        <source>Choose tags</source>
        <translation>Schlagwörter auswählen</translation>
    </message>
    <message id="editor.no_tags">
        <source>No Tags</source>
        <translation>Keine Schlagwörter</translation>
    </message>
    <message id="editor.cancel">
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message id="editor.add">
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message id="editor.save">
        <source>Save</source>
        <translation>Sichern</translation>
    </message>
    <message id="record_bad_systolic.title">
        <source>Systolic pressure out of range</source>
        <translation>Systolischer Druck außerhalb des Bereichs</translation>
    </message>
    <message id="record_bad_systolic.message">
        <source>Enter a systolic pressure from 50 to 300.</source>
        <translation>Geben Sie einen systolischen Druck von 50 bis 300 ein.</translation>
    </message>
    <message id="record_bad_systolic.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="record_bad_diastolic.title">
        <source>Diastolic pressure out of range</source>
        <translation>Diastolischer Druck außerhalb des Bereichs</translation>
    </message>
    <message id="record_bad_diastolic.message">
        <source>Enter a diastolic pressure from 20 to 200.</source>
        <translation>Geben Sie einen diastolischen Druck von 20 bis 200 ein.</translation>
    </message>
    <message id="record_bad_diastolic.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="record_bad_pressure.title">
        <source>Systolic pressure not above diastolic</source>
        <translation>Systolischer Druck nicht über dem diastolischen</translation>
    </message>
    <message id="record_bad_pressure.message">
        <source>The systolic pressure must be higher than the diastolic pressure.</source>
        <translation>Der systolische Druck muss höher sein als der diastolische.</translation>
    </message>
    <message id="record_bad_pressure.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="record_bad_pulse.title">
        <source>Pulse out of range</source>
        <translation>Puls außerhalb des Bereichs</translation>
    </message>
    <message id="record_bad_pulse.message">
        <source>Enter a pulse from 20 to 250, or leave the field empty.</source>
        <translation>Geben Sie einen Puls von 20 bis 250 ein, oder lassen Sie das Feld leer.</translation>
    </message>
    <message id="record_bad_pulse.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="record_bad_weight.title">
        <source>Weight out of range</source>
        <translation>Gewicht außerhalb des Bereichs</translation>
    </message>
    <message id="record_bad_weight.message">
        <source>Enter a weight from 2 to 400, or leave the field empty.</source>
        <translation>Geben Sie ein Gewicht von 2 bis 400 ein, oder lassen Sie das Feld leer.</translation>
    </message>
    <message id="record_bad_weight.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="record_bad_custom.title">
        <source>Not a number</source>
        <translation>Keine Zahl</translation>
    </message>
    <message id="record_bad_custom.message">
        <source>Enter a number for “%1”, or leave the field empty.</source>
        <translation>Geben Sie für „%1“ eine Zahl ein, oder lassen Sie das Feld leer.</translation>
    </message>
    <message id="record_bad_custom.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
</TS>
