<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name></name>
    <message id="button.add.filter">
        <source>Add a filter</source>
        <translation>Filter hinzufügen</translation>
    </message>
    <message id="delete_filter.title">
        <source>Delete Filter</source>
        <translation>Filter löschen</translation>
    </message>
    <message id="delete_filter.message">
        <source>Do you really want to delete the filter “%1”?</source>
        <translation>Möchten Sie den Filter „%1“ wirklich löschen?</translation>
    </message>
    <message id="delete_filter.yes">
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message id="delete_filter.no">
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message id="date.days">
        <source>days</source>
        <translation>Tage</translation>
    </message>
    <message id="date.weeks">
        <source>weeks</source>
        <translation>Wochen</translation>
    </message>
    <message id="date.months">
        <source>months</source>
        <translation>Monate</translation>
    </message>
    <message id="filters.row.tags_absent">
        <source>are absent</source>
        <translation>fehlen</translation>
    </message>
    <message id="filters.row.tags_preent">
        <source>are present</source>
        <translation>sind vorhanden</translation>
    </message>
    <message id="filters.column.name">
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message id="filters.column.in_menu">
        <source>In filter menu</source>
        <translation>Im Filtermenü</translation>
    </message>
    <message id="filters.column.in_averages">
        <source>In averages</source>
        <translation>In Mittelwerten</translation>
    </message>
    <message id="filters.compound.accessible">
        <source>Combination of the conditions</source>
        <translation>Verknüpfung der Bedingungen</translation>
    </message>
    <message id="filters.compound.all">
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message id="filters.compound.any">
        <source>Any</source>
        <translation>Mindestens eine</translation>
    </message>
    <message id="filters.compound.none">
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message id="filters.compound.suffix">
        <source>of the following are true</source>
        <translation>der folgenden Bedingungen sind erfüllt</translation>
    </message>
    <message id="filters.editor.accessible">
        <source>Condition of the filter</source>
        <translation>Bedingung des Filters</translation>
    </message>
    <message id="filters.editor.add_group">
        <source>Add Group of Conditions</source>
        <translation>Gruppe von Bedingungen hinzufügen</translation>
    </message>
    <message id="filters.editor.add_row">
        <source>Add Condition</source>
        <translation>Bedingung hinzufügen</translation>
    </message>
    <message id="filters.editor.add_row_tooltip">
        <source>Add a condition below (with Alt: a group)</source>
        <translation>Bedingung darunter hinzufügen (mit Alt: eine Gruppe)</translation>
    </message>
    <message id="filters.editor.no_condition">
        <source>(no condition: every reading passes)</source>
        <translation>(keine Bedingung: alle Messungen passen)</translation>
    </message>
    <message id="filters.editor.remove_row">
        <source>Remove Condition</source>
        <translation>Bedingung entfernen</translation>
    </message>
    <message id="filters.editor.replace">
        <source>Replace with Editable Condition</source>
        <translation>Durch bearbeitbare Bedingung ersetzen</translation>
    </message>
    <message id="filters.editor.unshowable">
        <source>This condition cannot be shown as rows. It is kept unchanged; edit it as text, or replace it.</source>
        <translation>Diese Bedingung lässt sich nicht als Zeilen darstellen. Sie bleibt unverändert; bearbeiten Sie sie als Text oder ersetzen Sie sie.</translation>
    </message>
    <message id="filters.editor.unshowable_text_accessible">
        <source>Condition as text (read only)</source>
        <translation>Bedingung als Text (schreibgeschützt)</translation>
    </message>
    <message id="filters.key.Date">
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message id="filters.key.Diastolic">
        <source>Diastolic</source>
        <translation>Diastolisch</translation>
    </message>
    <message id="filters.key.Pulse">
        <source>Pulse</source>
        <translation>Puls</translation>
    </message>
    <message id="filters.key.PulsePressure">
        <source>Pulse pressure</source>
        <translation>Pulsdruck</translation>
    </message>
    <message id="filters.key.Systolic">
        <source>Systolic</source>
        <translation>Systolisch</translation>
    </message>
    <message id="filters.key.Tags">
        <source>Tags</source>
        <translation>Schlagwörter</translation>
    </message>
    <message id="filters.key.Time">
        <source>Time</source>
        <translation>Uhrzeit</translation>
    </message>
    <message id="filters.key.Weight">
        <source>Weight</source>
        <translation>Gewicht</translation>
    </message>
    <message id="filters.list.accessible">
        <source>Filters</source>
        <translation>Filter</translation>
    </message>
    <message id="filters.op.relative.gt">
        <source>is within the last</source>
        <translation>liegt innerhalb der letzten</translation>
    </message>
    <message id="filters.op.relative.lt">
        <source>is earlier than the last</source>
        <translation>liegt vor den letzten</translation>
    </message>
    <message id="filters.op.tags.in">
        <source>include one of</source>
        <translation>enthalten eines von</translation>
    </message>
    <message id="filters.op.number.lt">
        <source>is less than</source>
        <translation>ist kleiner als</translation>
    </message>
    <message id="filters.op.number.le">
        <source>is at most</source>
        <translation>ist höchstens</translation>
    </message>
    <message id="filters.op.number.eq">
        <source>is</source>
        <translation>ist gleich</translation>
    </message>
    <message id="filters.op.number.ne">
        <source>is not</source>
        <translation>ist ungleich</translation>
    </message>
    <message id="filters.op.number.ge">
        <source>is at least</source>
        <translation>ist mindestens</translation>
    </message>
    <message id="filters.op.number.gt">
        <source>is greater than</source>
        <translation>ist größer als</translation>
    </message>
    <message id="filters.op.date.lt">
        <source>is before</source>
        <translation>ist vor dem</translation>
    </message>
    <message id="filters.op.date.le">
        <source>is on or before</source>
        <translation>ist am oder vor dem</translation>
    </message>
    <message id="filters.op.date.eq">
        <source>is</source>
        <translation>ist am</translation>
    </message>
    <message id="filters.op.date.ne">
        <source>is not</source>
        <translation>ist nicht am</translation>
    </message>
    <message id="filters.op.date.ge">
        <source>is on or after</source>
        <translation>ist am oder nach dem</translation>
    </message>
    <message id="filters.op.date.gt">
        <source>is after</source>
        <translation>ist nach dem</translation>
    </message>
    <message id="filters.op.time.lt">
        <source>is before</source>
        <translation>ist vor</translation>
    </message>
    <message id="filters.op.time.le">
        <source>is at or before</source>
        <translation>ist um oder vor</translation>
    </message>
    <message id="filters.op.time.eq">
        <source>is</source>
        <translation>ist um</translation>
    </message>
    <message id="filters.op.time.ne">
        <source>is not</source>
        <translation>ist nicht um</translation>
    </message>
    <message id="filters.op.time.ge">
        <source>is at or after</source>
        <translation>ist um oder nach</translation>
    </message>
    <message id="filters.op.time.gt">
        <source>is after</source>
        <translation>ist nach</translation>
    </message>
    <message id="filters.page.as_text">
        <source>Edit as text</source>
        <translation>Als Text bearbeiten</translation>
    </message>
    <message id="filters.page.condition">
        <source>Condition</source>
        <translation>Bedingung</translation>
    </message>
    <message id="filters.page.no_selection">
        <source>Select a filter to edit its condition.</source>
        <translation>Wählen Sie einen Filter, um seine Bedingung zu bearbeiten.</translation>
    </message>
    <message id="filters.page.text_accessible">
        <source>Condition as text</source>
        <translation>Bedingung als Text</translation>
    </message>
    <message id="filters.page.text_cannot_evaluate">
        <source>This condition cannot be applied to readings: %1</source>
        <translation>Diese Bedingung lässt sich nicht auf Messungen anwenden: %1</translation>
    </message>
    <message id="filters.page.text_error_accessible">
        <source>Error in the condition</source>
        <translation>Fehler in der Bedingung</translation>
    </message>
    <message id="filters.page.text_placeholder">
        <source>Systolic &gt; 140 AND ANY Tags IN {'medication'}</source>
        <translation>Systolic &gt; 140 AND ANY Tags IN {'Medikamente'}</translation>
    </message>
    <message id="filters.page.text_hint">
        <source>Type the condition and press Return to apply it.</source>
        <translation>Geben Sie die Bedingung ein und drücken Sie die Eingabetaste, um sie anzuwenden.</translation>
    </message>
    <message id="filters.row.date_accessible">
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message id="filters.row.left_accessible">
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message id="filters.row.number_accessible">
        <source>Number</source>
        <translation>Zahl</translation>
    </message>
    <message id="filters.row.operator_accessible">
        <source>Comparison</source>
        <translation>Vergleich</translation>
    </message>
    <message id="filters.row.tags_accessible">
        <source>Tags</source>
        <translation>Schlagwörter</translation>
    </message>
    <message id="filters.row.tags_count_accessible">
        <source>Presence of tags</source>
        <translation>Vorhandensein von Schlagwörtern</translation>
    </message>
    <message id="filters.row.time_accessible">
        <source>Time of day</source>
        <translation>Uhrzeit</translation>
    </message>
    <message id="filters.row.units_accessible">
        <source>Unit</source>
        <translation>Einheit</translation>
    </message>
    <message id="filters.unapplied_text.title">
        <source>Condition Not Applied</source>
        <translation>Bedingung nicht übernommen</translation>
    </message>
    <message id="filters.unapplied_text.message">
        <source>The condition you typed cannot be applied: %1</source>
        <translation>Die eingegebene Bedingung kann nicht übernommen werden: %1</translation>
    </message>
    <message id="filters.unapplied_text.keep_editing">
        <source>Keep Editing</source>
        <translation>Weiter bearbeiten</translation>
    </message>
    <message id="filters.unapplied_text.discard">
        <source>Discard</source>
        <translation>Verwerfen</translation>
    </message>
</context>
</TS>
