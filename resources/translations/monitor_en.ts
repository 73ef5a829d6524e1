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
    <message id="menu.file.import_monitor">
        <source>Import from &amp;Monitor…</source>
        <translation>Import from &amp;Monitor…</translation>
    </message>
    <message id="monitor.dialog.title">
        <source>Import from Monitor</source>
        <translation>Import from Monitor</translation>
    </message>
    <message id="monitor.dialog.unavailable">
        <source>This build of Tensilo cannot reach Bluetooth monitors (it was built without Qt Bluetooth). Session logs can be imported with “tensilo-tool import-ble”.</source>
        <translation>This build of Tensilo cannot reach Bluetooth monitors (it was built without Qt Bluetooth). Session logs can be imported with “tensilo-tool import-ble”.</translation>
    </message>
    <message id="monitor.dialog.devices">
        <source>&amp;Monitors:</source>
        <translation>&amp;Monitors:</translation>
    </message>
    <message id="monitor.dialog.status">
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message id="monitor.dialog.search">
        <source>&amp;Search Again</source>
        <translation>&amp;Search Again</translation>
    </message>
    <message id="monitor.dialog.download">
        <source>&amp;Download</source>
        <translation>&amp;Download</translation>
    </message>
    <message id="monitor.dialog.progress">
        <source>Download progress</source>
        <translation>Download progress</translation>
    </message>
    <message id="monitor.dialog.stop">
        <source>S&amp;top</source>
        <translation>S&amp;top</translation>
    </message>
    <message id="monitor.dialog.clock">
        <source>Clock</source>
        <translation>Clock</translation>
    </message>
    <message id="monitor.dialog.user">
        <source>&amp;User:</source>
        <translation>&amp;User:</translation>
    </message>
    <message id="monitor.dialog.review">
        <source>Readings from the monitor</source>
        <translation>Readings from the monitor</translation>
    </message>
    <message id="monitor.dialog.column.date">
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message id="monitor.dialog.column.systolic">
        <source>Systolic</source>
        <translation>Systolic</translation>
    </message>
    <message id="monitor.dialog.column.diastolic">
        <source>Diastolic</source>
        <translation>Diastolic</translation>
    </message>
    <message id="monitor.dialog.column.pulse">
        <source>Pulse</source>
        <translation>Pulse</translation>
    </message>
    <message id="monitor.dialog.column.user">
        <source>User</source>
        <translation>User</translation>
    </message>
    <message id="monitor.dialog.summary">
        <source>New readings: %1. Already in the document: %2. Records refused: %3.</source>
        <translation>New readings: %1. Already in the document: %2. Records refused: %3.</translation>
    </message>
    <message id="monitor.dialog.save_log">
        <source>Save Session &amp;Log…</source>
        <translation>Save Session &amp;Log…</translation>
    </message>
    <message id="monitor.dialog.save_log.caption">
        <source>Save Session Log</source>
        <translation>Save Session Log</translation>
    </message>
    <message id="monitor.dialog.save_log.filter">
        <source>Session logs (*.log)</source>
        <translation>Session logs (*.log)</translation>
    </message>
    <message id="monitor.dialog.save_log.failed">
        <source>The session log could not be saved.</source>
        <translation>The session log could not be saved.</translation>
    </message>
    <message id="monitor.dialog.cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="monitor.dialog.choose">
        <source>Choose a monitor and press Download. Put the monitor into its transfer mode first if it has one.</source>
        <translation>Choose a monitor and press Download. Put the monitor into its transfer mode first if it has one.</translation>
    </message>
    <message id="monitor.dialog.none_found">
        <source>No monitor was found. Switch the monitor on or put it into its transfer mode, then press Search Again.</source>
        <translation>No monitor was found. Switch the monitor on or put it into its transfer mode, then press Search Again.</translation>
    </message>
    <message id="monitor.dialog.searching">
        <source>Searching for monitors…</source>
        <translation>Searching for monitors…</translation>
    </message>
    <message id="monitor.dialog.unnamed">
        <source>Unnamed monitor</source>
        <translation>Unnamed monitor</translation>
    </message>
    <message id="monitor.dialog.device">
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message id="monitor.dialog.device_remembered">
        <source>%1 (%2), used before</source>
        <translation>%1 (%2), used before</translation>
    </message>
    <message id="monitor.dialog.no_adapter">
        <source>This computer has no Bluetooth adapter. Connect one, then press Search Again.</source>
        <translation>This computer has no Bluetooth adapter. Connect one, then press Search Again.</translation>
    </message>
    <message id="monitor.dialog.bluetooth_off">
        <source>Bluetooth is switched off. Switch it on in the system’s Bluetooth settings, then press Search Again.</source>
        <translation>Bluetooth is switched off. Switch it on in the system’s Bluetooth settings, then press Search Again.</translation>
    </message>
    <message id="monitor.dialog.not_allowed">
        <source>The system does not allow Tensilo to search for Bluetooth devices. Allow it in the system’s settings, then press Search Again.</source>
        <translation>The system does not allow Tensilo to search for Bluetooth devices. Allow it in the system’s settings, then press Search Again.</translation>
    </message>
    <message id="monitor.dialog.search_failed">
        <source>The search for monitors failed: %1</source>
        <translation>The search for monitors failed: %1</translation>
    </message>
    <message id="monitor.dialog.failed">
        <source>Nothing could be downloaded. %1 If the monitor asks to be paired, pair it in the system’s Bluetooth settings first, then try again.</source>
        <translation>Nothing could be downloaded. %1 If the monitor asks to be paired, pair it in the system’s Bluetooth settings first, then try again.</translation>
    </message>
    <message id="monitor.dialog.incomplete">
        <source>The download ended early: %1 The readings that arrived are listed below.</source>
        <translation>The download ended early: %1 The readings that arrived are listed below.</translation>
    </message>
    <message id="monitor.dialog.done">
        <source>Download complete. Check the readings below, then press Import.</source>
        <translation>Download complete. Check the readings below, then press Import.</translation>
    </message>
    <message id="monitor.dialog.downloading">
        <source>Downloading from %1…</source>
        <translation>Downloading from %1…</translation>
    </message>
    <message id="monitor.dialog.received">
        <source>%1 received</source>
        <translation>%1 received</translation>
    </message>
    <message id="monitor.dialog.clock_compare">
        <source>Monitor’s clock: %1. Computer’s clock: %2.</source>
        <translation>Monitor’s clock: %1. Computer’s clock: %2.</translation>
    </message>
    <message id="monitor.dialog.clock_warning">
        <source>The clocks differ by %1 minutes: set the monitor’s clock, or the times of its readings are off as well.</source>
        <translation>The clocks differ by %1 minutes: set the monitor’s clock, or the times of its readings are off as well.</translation>
    </message>
    <message id="monitor.dialog.no_clock">
        <source>The monitor does not tell its time.</source>
        <translation>The monitor does not tell its time.</translation>
    </message>
    <message id="monitor.dialog.all_users">
        <source>All users</source>
        <translation>All users</translation>
    </message>
    <message id="monitor.dialog.user_number">
        <source>User %1</source>
        <translation>User %1</translation>
    </message>
    <message id="monitor.dialog.refused">
        <source>Refused: %1</source>
        <translation>Refused: %1</translation>
    </message>
    <message id="monitor.dialog.new">
        <source>New</source>
        <translation>New</translation>
    </message>
    <message id="monitor.dialog.set_clock">
        <source>Set Monitor’s &amp;Clock</source>
        <translation>Set Monitor’s &amp;Clock</translation>
    </message>
    <message id="monitor.dialog.setting_clock">
        <source>Setting the monitor’s clock to the computer’s…</source>
        <translation>Setting the monitor’s clock to the computer’s…</translation>
    </message>
    <message id="monitor.dialog.clock_set">
        <source>The monitor’s clock is set to the computer’s (%1).</source>
        <translation>The monitor’s clock is set to the computer’s (%1).</translation>
    </message>
    <message id="monitor.dialog.clock_not_set">
        <source>The monitor’s clock could not be set: %1</source>
        <translation>The monitor’s clock could not be set: %1</translation>
    </message>
    <message id="monitor.clock.not_settable">
        <source>The monitor does not let its clock be set.</source>
        <translation>The monitor does not let its clock be set.</translation>
    </message>
    <message id="monitor.clock.refused">
        <source>The monitor refused the new time.</source>
        <translation>The monitor refused the new time.</translation>
    </message>
    <message id="monitor.replay.write_refused">
        <source>The monitor refused the value written to %1.</source>
        <translation>The monitor refused the value written to %1.</translation>
    </message>
</context>
</TS>
