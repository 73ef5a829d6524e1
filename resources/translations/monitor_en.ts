<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="doc.import_monitor">
        <source>Import from Monitor</source>
        <translation>Import from Monitor</translation>
    </message>
    <message id="monitor.problem.empty_record">
        <source>The record is empty.</source>
        <translation>The record is empty.</translation>
    </message>
    <message id="monitor.problem.short_record">
        <source>The record has %1 bytes; its flags announce %2.</source>
        <translation>The record has %1 bytes; its flags announce %2.</translation>
    </message>
    <message id="monitor.problem.failed_measurement">
        <source>Failed measurement: %1 is %2.</source>
        <translation>Failed measurement: %1 is %2.</translation>
    </message>
    <message id="monitor.value.systolic">
        <source>the systolic value</source>
        <translation>the systolic value</translation>
    </message>
    <message id="monitor.value.diastolic">
        <source>the diastolic value</source>
        <translation>the diastolic value</translation>
    </message>
    <message id="monitor.condition.nan">
        <source>not a number</source>
        <translation>not a number</translation>
    </message>
    <message id="monitor.condition.nres">
        <source>not representable at this resolution</source>
        <translation>not representable at this resolution</translation>
    </message>
    <message id="monitor.condition.too_high">
        <source>above the measuring range</source>
        <translation>above the measuring range</translation>
    </message>
    <message id="monitor.condition.too_low">
        <source>below the measuring range</source>
        <translation>below the measuring range</translation>
    </message>
    <message id="monitor.condition.reserved">
        <source>a reserved value</source>
        <translation>a reserved value</translation>
    </message>
    <message id="monitor.problem.bad_time_stamp">
        <source>Time stamp %1 is not a date and time.</source>
        <translation>Time stamp %1 is not a date and time.</translation>
    </message>
    <message id="monitor.problem.no_time">
        <source>No time: the record has no time stamp and its line no time.</source>
        <translation>No time: the record has no time stamp and its line no time.</translation>
    </message>
    <message id="monitor.tag.body_movement">
        <source>Body movement</source>
        <translation>Body movement</translation>
    </message>
    <message id="monitor.tag.cuff_too_loose">
        <source>Cuff too loose</source>
        <translation>Cuff too loose</translation>
    </message>
    <message id="monitor.tag.irregular_pulse">
        <source>Irregular pulse</source>
        <translation>Irregular pulse</translation>
    </message>
    <message id="monitor.tag.pulse_above_range">
        <source>Pulse above range</source>
        <translation>Pulse above range</translation>
    </message>
    <message id="monitor.tag.pulse_below_range">
        <source>Pulse below range</source>
        <translation>Pulse below range</translation>
    </message>
    <message id="monitor.tag.improper_position">
        <source>Improper measurement position</source>
        <translation>Improper measurement position</translation>
    </message>
    <message id="monitor.response.success">
        <source>success</source>
        <translation>success</translation>
    </message>
    <message id="monitor.response.op_code_not_supported">
        <source>request not supported</source>
        <translation>request not supported</translation>
    </message>
    <message id="monitor.response.operator_not_supported">
        <source>selection not supported</source>
        <translation>selection not supported</translation>
    </message>
    <message id="monitor.response.operand_not_supported">
        <source>record number not supported</source>
        <translation>record number not supported</translation>
    </message>
    <message id="monitor.response.no_records">
        <source>no records found</source>
        <translation>no records found</translation>
    </message>
    <message id="monitor.response.not_completed">
        <source>procedure not completed</source>
        <translation>procedure not completed</translation>
    </message>
    <message id="monitor.response.other">
        <source>response code %1</source>
        <translation>response code %1</translation>
    </message>
    <message id="monitor.download.cancelled">
        <source>The download was cancelled.</source>
        <translation>The download was cancelled.</translation>
    </message>
    <message id="monitor.download.not_a_monitor">
        <source>The device is not a blood-pressure monitor.</source>
        <translation>The device is not a blood-pressure monitor.</translation>
    </message>
    <message id="monitor.download.refused">
        <source>The monitor refused to send its records: %1.</source>
        <translation>The monitor refused to send its records: %1.</translation>
    </message>
    <message id="monitor.download.connection_lost">
        <source>The connection to the monitor was lost; the records that came are kept.</source>
        <translation>The connection to the monitor was lost; the records that came are kept.</translation>
    </message>
    <message id="monitor.download.no_answer">
        <source>The monitor did not answer.</source>
        <translation>The monitor did not answer.</translation>
    </message>
    <message id="monitor.replay.empty">
        <source>The session log holds no values.</source>
        <translation>The session log holds no values.</translation>
    </message>
    <message id="monitor.replay.no_characteristic">
        <source>The monitor has no characteristic %1.</source>
        <translation>The monitor has no characteristic %1.</translation>
    </message>
    <message id="monitor.replay.no_value">
        <source>The session log holds no further value of %1.</source>
        <translation>The session log holds no further value of %1.</translation>
    </message>
    <message id="monitor.log.bad_hex">
        <source>“%1” is not a value in hex bytes.</source>
        <translation>“%1” is not a value in hex bytes.</translation>
    </message>
    <message id="monitor.log.too_long">
        <source>The value is longer than %1 bytes.</source>
        <translation>The value is longer than %1 bytes.</translation>
    </message>
    <message id="monitor.log.bad_time">
        <source>“%1” is not a date and time such as 2026-12-07T08:15:02.</source>
        <translation>“%1” is not a date and time such as 2026-12-07T08:15:02.</translation>
    </message>
    <message id="monitor.log.bad_direction">
        <source>“%1” is neither &lt; (received) nor &gt; (sent).</source>
        <translation>“%1” is neither &lt; (received) nor &gt; (sent).</translation>
    </message>
    <message id="monitor.log.bad_characteristic">
        <source>“%1” is not a characteristic (four hex digits such as 2a35).</source>
        <translation>“%1” is not a characteristic (four hex digits such as 2a35).</translation>
    </message>
    <message id="monitor.log.error.too_large">
        <source>The session log is larger than %1 MiB.</source>
        <translation>The session log is larger than %1 MiB.</translation>
    </message>
    <message id="monitor.log.error.read">
        <source>%1 cannot be read: %2</source>
        <translation>%1 cannot be read: %2</translation>
    </message>
    <message id="tool.ble.usage">
        <source>  tensilo-tool import-ble LOG OUT.tensilo [--into DOC] [--user N]</source>
        <translation>  tensilo-tool import-ble LOG OUT.tensilo [--into DOC] [--user N]</translation>
    </message>
    <message id="tool.ble.summary">
        <source>%1 readings imported, %2 already present and skipped, %3 records or lines refused.</source>
        <translation>%1 readings imported, %2 already present and skipped, %3 records or lines refused.</translation>
    </message>
    <message id="tool.ble.other_users">
        <source>%1 records of other users left out.</source>
        <translation>%1 records of other users left out.</translation>
    </message>
    <message id="tool.ble.more_problems">
        <source>… and %1 more records or lines refused.</source>
        <translation>… and %1 more records or lines refused.</translation>
    </message>
    <message id="tool.ble.error.nothing_read">
        <source>No record of the session log could be read; nothing was written.</source>
        <translation>No record of the session log could be read; nothing was written.</translation>
    </message>
</context>
</TS>
