<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="button.add.filter">
        <source>Add a filter</source>
        <translation>Add a filter</translation>
    </message>
    <message id="delete_filter.title">
        <source>Delete Filter</source>
        <translation>Delete Filter</translation>
    </message>
    <message id="delete_filter.message">
        <source>Do you really want to delete the filter “%1”?</source>
        <translation>Do you really want to delete the filter “%1”?</translation>
    </message>
    <message id="delete_filter.yes">
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message id="delete_filter.no">
        <source>No</source>
        <translation>No</translation>
    </message>
    <message id="date.days">
        <source>days</source>
        <translation>days</translation>
    </message>
    <message id="date.weeks">
        <source>weeks</source>
        <translation>weeks</translation>
    </message>
    <message id="date.months">
        <source>months</source>
        <translation>months</translation>
    </message>
    <message id="filters.row.tags_absent">
        <source>are absent</source>
        <translation>are absent</translation>
    </message>
    <message id="filters.row.tags_preent">
        <source>are present</source>
        <translation>are present</translation>
    </message>
    <message id="filters.column.name">
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message id="filters.column.in_menu">
        <source>In filter menu</source>
        <translation>In filter menu</translation>
    </message>
    <message id="filters.column.in_averages">
        <source>In averages</source>
        <translation>In averages</translation>
    </message>
    <message id="filters.compound.accessible">
        <source>Combination of the conditions</source>
        <translation>Combination of the conditions</translation>
    </message>
    <message id="filters.compound.all">
        <source>All</source>
        <translation>All</translation>
    </message>
    <message id="filters.compound.any">
        <source>Any</source>
        <translation>Any</translation>
    </message>
    <message id="filters.compound.none">
        <source>None</source>
        <translation>None</translation>
    </message>
    <message id="filters.compound.suffix">
        <source>of the following are true</source>
        <translation>of the following are true</translation>
    </message>
    <message id="filters.editor.accessible">
        <source>Condition of the filter</source>
        <translation>Condition of the filter</translation>
    </message>
    <message id="filters.editor.add_group">
        <source>Add Group of Conditions</source>
        <translation>Add Group of Conditions</translation>
    </message>
    <message id="filters.editor.add_row">
        <source>Add Condition</source>
        <translation>Add Condition</translation>
    </message>
    <message id="filters.editor.add_row_tooltip">
        <source>Add a condition below (with Alt: a group)</source>
        <translation>Add a condition below (with Alt: a group)</translation>
    </message>
    <message id="filters.editor.no_condition">
        <source>(no condition: every reading passes)</source>
        <translation>(no condition: every reading passes)</translation>
    </message>
    <message id="filters.editor.remove_row">
        <source>Remove Condition</source>
        <translation>Remove Condition</translation>
    </message>
    <message id="filters.editor.replace">
        <source>Replace with Editable Condition</source>
        <translation>Replace with Editable Condition</translation>
    </message>
    <message id="filters.editor.unshowable">
        <source>This condition cannot be shown as rows. It is kept unchanged; edit it as text, or replace it.</source>
        <translation>This condition cannot be shown as rows. It is kept unchanged; edit it as text, or replace it.</translation>
    </message>
    <message id="filters.editor.unshowable_text_accessible">
        <source>Condition as text (read only)</source>
        <translation>Condition as text (read only)</translation>
    </message>
    <message id="filters.key.Date">
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message id="filters.key.Diastolic">
        <source>Diastolic</source>
        <translation>Diastolic</translation>
    </message>
    <message id="filters.key.Pulse">
        <source>Pulse</source>
        <translation>Pulse</translation>
    </message>
    <message id="filters.key.PulsePressure">
        <source>Pulse pressure</source>
        <translation>Pulse pressure</translation>
    </message>
    <message id="filters.key.Systolic">
        <source>Systolic</source>
        <translation>Systolic</translation>
    </message>
    <message id="filters.key.Tags">
        <source>Tags</source>
        <translation>Tags</translation>
    </message>
    <message id="filters.key.Time">
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message id="filters.key.Weight">
        <source>Weight</source>
        <translation>Weight</translation>
    </message>
    <message id="filters.list.accessible">
        <source>Filters</source>
        <translation>Filters</translation>
    </message>
    <message id="filters.op.relative.gt">
        <source>is within the last</source>
        <translation>is within the last</translation>
    </message>
    <message id="filters.op.relative.lt">
        <source>is earlier than the last</source>
        <translation>is earlier than the last</translation>
    </message>
    <message id="filters.op.tags.in">
        <source>include one of</source>
        <translation>include one of</translation>
    </message>
    <message id="filters.op.number.lt">
        <source>is less than</source>
        <translation>is less than</translation>
    </message>
    <message id="filters.op.number.le">
        <source>is at most</source>
        <translation>is at most</translation>
    </message>
    <message id="filters.op.number.eq">
        <source>is</source>
        <translation>is</translation>
    </message>
    <message id="filters.op.number.ne">
        <source>is not</source>
        <translation>is not</translation>
    </message>
    <message id="filters.op.number.ge">
        <source>is at least</source>
        <translation>is at least</translation>
    </message>
    <message id="filters.op.number.gt">
        <source>is greater than</source>
        <translation>is greater than</translation>
    </message>
    <message id="filters.op.date.lt">
        <source>is before</source>
        <translation>is before</translation>
    </message>
    <message id="filters.op.date.le">
        <source>is on or before</source>
        <translation>is on or before</translation>
    </message>
    <message id="filters.op.date.eq">
        <source>is</source>
        <translation>is</translation>
    </message>
    <message id="filters.op.date.ne">
        <source>is not</source>
        <translation>is not</translation>
    </message>
    <message id="filters.op.date.ge">
        <source>is on or after</source>
        <translation>is on or after</translation>
    </message>
    <message id="filters.op.date.gt">
        <source>is after</source>
        <translation>is after</translation>
    </message>
    <message id="filters.op.time.lt">
        <source>is before</source>
        <translation>is before</translation>
    </message>
    <message id="filters.op.time.le">
        <source>is at or before</source>
        <translation>is at or before</translation>
    </message>
    <message id="filters.op.time.eq">
        <source>is</source>
        <translation>is</translation>
    </message>
    <message id="filters.op.time.ne">
        <source>is not</source>
        <translation>is not</translation>
    </message>
    <message id="filters.op.time.ge">
        <source>is at or after</source>
        <translation>is at or after</translation>
    </message>
    <message id="filters.op.time.gt">
        <source>is after</source>
        <translation>is after</translation>
    </message>
    <message id="filters.page.as_text">
        <source>Edit as text</source>
        <translation>Edit as text</translation>
    </message>
    <message id="filters.page.condition">
        <source>Condition</source>
        <translation>Condition</translation>
    </message>
    <message id="filters.page.no_selection">
        <source>Select a filter to edit its condition.</source>
        <translation>Select a filter to edit its condition.</translation>
    </message>
    <message id="filters.page.text_accessible">
        <source>Condition as text</source>
        <translation>Condition as text</translation>
    </message>
    <message id="filters.page.text_cannot_evaluate">
        <source>This condition cannot be applied to readings: %1</source>
        <translation>This condition cannot be applied to readings: %1</translation>
    </message>
    <message id="filters.page.text_error_accessible">
        <source>Error in the condition</source>
        <translation>Error in the condition</translation>
    </message>
    <message id="filters.page.text_placeholder">
        <source>Systolic &gt; 140 AND ANY Tags IN {'medication'}</source>
        <translation>Systolic &gt; 140 AND ANY Tags IN {'medication'}</translation>
    </message>
    <message id="filters.page.text_hint">
        <source>Type the condition and press Return to apply it.</source>
        <translation>Type the condition and press Return to apply it.</translation>
    </message>
    <message id="filters.row.date_accessible">
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message id="filters.row.left_accessible">
        <source>Value</source>
        <translation>Value</translation>
    </message>
    <message id="filters.row.number_accessible">
        <source>Number</source>
        <translation>Number</translation>
    </message>
    <message id="filters.row.operator_accessible">
        <source>Comparison</source>
        <translation>Comparison</translation>
    </message>
    <message id="filters.row.tags_accessible">
        <source>Tags</source>
        <translation>Tags</translation>
    </message>
    <message id="filters.row.tags_count_accessible">
        <source>Presence of tags</source>
        <translation>Presence of tags</translation>
    </message>
    <message id="filters.row.time_accessible">
        <source>Time of day</source>
        <translation>Time of day</translation>
    </message>
    <message id="filters.row.units_accessible">
        <source>Unit</source>
        <translation>Unit</translation>
    </message>
    <message id="filters.unapplied_text.title">
        <source>Condition Not Applied</source>
        <translation>Condition Not Applied</translation>
    </message>
    <message id="filters.unapplied_text.message">
        <source>The condition you typed cannot be applied: %1</source>
        <translation>The condition you typed cannot be applied: %1</translation>
    </message>
    <message id="filters.unapplied_text.keep_editing">
        <source>Keep Editing</source>
        <translation>Keep Editing</translation>
    </message>
    <message id="filters.unapplied_text.discard">
        <source>Discard</source>
        <translation>Discard</translation>
    </message>
</context>
</TS>
