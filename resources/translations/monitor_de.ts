<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name></name>
    <message id="doc.import_monitor">
        <source>Import from Monitor</source>
        <translation>Vom Messgerät importieren</translation>
    </message>
    <message id="monitor.problem.empty_record">
        <source>The record is empty.</source>
        <translation>Der Datensatz ist leer.</translation>
    </message>
    <message id="monitor.problem.short_record">
        <source>The record has %1 bytes; its flags announce %2.</source>
        <translation>Der Datensatz hat %1 Bytes; seine Kennzeichen kündigen %2 an.</translation>
    </message>
    <message id="monitor.problem.failed_measurement">
        <source>Failed measurement: %1 is %2.</source>
        <translation>Fehlmessung: %1 ist %2.</translation>
    </message>
    <message id="monitor.value.systolic">
        <source>the systolic value</source>
        <translation>der systolische Wert</translation>
    </message>
    <message id="monitor.value.diastolic">
        <source>the diastolic value</source>
        <translation>der diastolische Wert</translation>
    </message>
    <message id="monitor.condition.nan">
        <source>not a number</source>
        <translation>keine Zahl</translation>
    </message>
    <message id="monitor.condition.nres">
        <source>not representable at this resolution</source>
        <translation>bei dieser Auflösung nicht darstellbar</translation>
    </message>
    <message id="monitor.condition.too_high">
        <source>above the measuring range</source>
        <translation>über dem Messbereich</translation>
    </message>
    <message id="monitor.condition.too_low">
        <source>below the measuring range</source>
        <translation>unter dem Messbereich</translation>
    </message>
    <message id="monitor.condition.reserved">
        <source>a reserved value</source>
        <translation>ein reservierter Wert</translation>
    </message>
    <message id="monitor.problem.bad_time_stamp">
        <source>Time stamp %1 is not a date and time.</source>
        <translation>Zeitstempel %1 ist kein Datum mit Uhrzeit.</translation>
    </message>
    <message id="monitor.problem.no_time">
        <source>No time: the record has no time stamp and its line no time.</source>
        <translation>Keine Zeit: Der Datensatz hat keinen Zeitstempel und seine Zeile keine Zeit.</translation>
    </message>
    <message id="monitor.tag.body_movement">
        <source>Body movement</source>
        <translation>Körperbewegung</translation>
    </message>
    <message id="monitor.tag.cuff_too_loose">
        <source>Cuff too loose</source>
        <translation>Manschette zu locker</translation>
    </message>
    <message id="monitor.tag.irregular_pulse">
        <source>Irregular pulse</source>
        <translation>Unregelmäßiger Puls</translation>
    </message>
    <message id="monitor.tag.pulse_above_range">
        <source>Pulse above range</source>
        <translation>Puls über dem Bereich</translation>
    </message>
    <message id="monitor.tag.pulse_below_range">
        <source>Pulse below range</source>
        <translation>Puls unter dem Bereich</translation>
    </message>
    <message id="monitor.tag.improper_position">
        <source>Improper measurement position</source>
        <translation>Falsche Messposition</translation>
    </message>
    <message id="monitor.response.success">
        <source>success</source>
        <translation>erfolgreich</translation>
    </message>
    <message id="monitor.response.op_code_not_supported">
        <source>request not supported</source>
        <translation>Anfrage nicht unterstützt</translation>
    </message>
    <message id="monitor.response.operator_not_supported">
        <source>selection not supported</source>
        <translation>Auswahl nicht unterstützt</translation>
    </message>
    <message id="monitor.response.operand_not_supported">
        <source>record number not supported</source>
        <translation>Datensatznummer nicht unterstützt</translation>
    </message>
    <message id="monitor.response.no_records">
        <source>no records found</source>
        <translation>keine Datensätze gefunden</translation>
    </message>
    <message id="monitor.response.not_completed">
        <source>procedure not completed</source>
        <translation>Vorgang nicht abgeschlossen</translation>
    </message>
    <message id="monitor.response.other">
        <source>response code %1</source>
        <translation>Antwortcode %1</translation>
    </message>
    <message id="monitor.download.cancelled">
        <source>The download was cancelled.</source>
        <translation>Die Übertragung wurde abgebrochen.</translation>
    </message>
    <message id="monitor.download.not_a_monitor">
        <source>The device is not a blood-pressure monitor.</source>
        <translation>Das Gerät ist kein Blutdruckmessgerät.</translation>
    </message>
    <message id="monitor.download.refused">
        <source>The monitor refused to send its records: %1.</source>
        <translation>Das Messgerät hat die Übertragung seiner Messungen abgelehnt: %1.</translation>
    </message>
    <message id="monitor.download.connection_lost">
        <source>The connection to the monitor was lost; the records that came are kept.</source>
        <translation>Die Verbindung zum Messgerät ist abgebrochen; die bis dahin übertragenen Messungen bleiben erhalten.</translation>
    </message>
    <message id="monitor.download.no_answer">
        <source>The monitor did not answer.</source>
        <translation>Das Messgerät hat nicht geantwortet.</translation>
    </message>
    <message id="monitor.replay.empty">
        <source>The session log holds no values.</source>
        <translation>Das Sitzungsprotokoll enthält keine Werte.</translation>
    </message>
    <message id="monitor.replay.no_characteristic">
        <source>The monitor has no characteristic %1.</source>
        <translation>Das Messgerät hat kein Merkmal %1.</translation>
    </message>
    <message id="monitor.replay.no_value">
        <source>The session log holds no further value of %1.</source>
        <translation>Das Sitzungsprotokoll enthält keinen weiteren Wert von %1.</translation>
    </message>
    <message id="monitor.log.bad_hex">
        <source>“%1” is not a value in hex bytes.</source>
        <translation>„%1“ ist kein Wert aus Hex-Bytes.</translation>
    </message>
    <message id="monitor.log.too_long">
        <source>The value is longer than %1 bytes.</source>
        <translation>Der Wert ist länger als %1 Bytes.</translation>
    </message>
    <message id="monitor.log.bad_time">
        <source>“%1” is not a date and time such as 2026-12-07T08:15:02.</source>
        <translation>„%1“ ist kein Zeitpunkt wie 2026-12-07T08:15:02.</translation>
    </message>
    <message id="monitor.log.bad_direction">
        <source>“%1” is neither &lt; (received) nor &gt; (sent).</source>
        <translation>„%1“ ist weder &lt; (empfangen) noch &gt; (gesendet).</translation>
    </message>
    <message id="monitor.log.bad_characteristic">
        <source>“%1” is not a characteristic (four hex digits such as 2a35).</source>
        <translation>„%1“ ist kein Merkmal (vier Hex-Ziffern wie 2a35).</translation>
    </message>
    <message id="monitor.log.error.too_large">
        <source>The session log is larger than %1 MiB.</source>
        <translation>Das Sitzungsprotokoll ist größer als %1 MiB.</translation>
    </message>
    <message id="monitor.log.error.read">
        <source>%1 cannot be read: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message id="tool.ble.usage">
        <source>  tensilo-tool import-ble LOG OUT.tensilo [--into DOC] [--user N]</source>
        <translation>  tensilo-tool import-ble PROTOKOLL AUS.tensilo [--into DOK] [--user N]</translation>
    </message>
    <message id="tool.ble.summary">
        <source>%1 readings imported, %2 already present and skipped, %3 records or lines refused.</source>
        <translation>%1 Messungen importiert, %2 schon vorhanden und übersprungen, %3 Datensätze oder Zeilen abgelehnt.</translation>
    </message>
    <message id="tool.ble.other_users">
        <source>%1 records of other users left out.</source>
        <translation>%1 Datensätze anderer Benutzer ausgelassen.</translation>
    </message>
    <message id="tool.ble.more_problems">
        <source>… and %1 more records or lines refused.</source>
        <translation>… und %1 weitere abgelehnte Datensätze oder Zeilen.</translation>
    </message>
    <message id="tool.ble.error.nothing_read">
        <source>No record of the session log could be read; nothing was written.</source>
        <translation>Kein Datensatz des Sitzungsprotokolls konnte gelesen werden; nichts wurde geschrieben.</translation>
    </message>
    <message id="menu.file.import_monitor">
        <source>Import from &amp;Monitor…</source>
        <translation>Aus &amp;Messgerät importieren…</translation>
    </message>
    <message id="monitor.dialog.title">
        <source>Import from Monitor</source>
        <translation>Aus Messgerät importieren</translation>
    </message>
    <message id="monitor.dialog.unavailable">
        <source>This build of Tensilo cannot reach Bluetooth monitors (it was built without Qt Bluetooth). Session logs can be imported with “tensilo-tool import-ble”.</source>
        <translation>Diese Ausgabe von Tensilo kann keine Bluetooth-Messgeräte erreichen (sie wurde ohne Qt Bluetooth erstellt). Sitzungsprotokolle lassen sich mit „tensilo-tool import-ble“ importieren.</translation>
    </message>
    <message id="monitor.dialog.devices">
        <source>&amp;Monitors:</source>
        <translation>&amp;Messgeräte:</translation>
    </message>
    <message id="monitor.dialog.status">
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message id="monitor.dialog.search">
        <source>&amp;Search Again</source>
        <translation>Erneut &amp;suchen</translation>
    </message>
    <message id="monitor.dialog.download">
        <source>&amp;Download</source>
        <translation>&amp;Herunterladen</translation>
    </message>
    <message id="monitor.dialog.progress">
        <source>Download progress</source>
        <translation>Fortschritt des Herunterladens</translation>
    </message>
    <message id="monitor.dialog.stop">
        <source>S&amp;top</source>
        <translation>&amp;Anhalten</translation>
    </message>
    <message id="monitor.dialog.clock">
        <source>Clock</source>
        <translation>Uhr</translation>
    </message>
    <message id="monitor.dialog.user">
        <source>&amp;User:</source>
        <translation>&amp;Benutzer:</translation>
    </message>
    <message id="monitor.dialog.review">
        <source>Readings from the monitor</source>
        <translation>Messungen aus dem Messgerät</translation>
    </message>
    <message id="monitor.dialog.column.date">
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message id="monitor.dialog.column.systolic">
        <source>Systolic</source>
        <translation>Systolisch</translation>
    </message>
    <message id="monitor.dialog.column.diastolic">
        <source>Diastolic</source>
        <translation>Diastolisch</translation>
    </message>
    <message id="monitor.dialog.column.pulse">
        <source>Pulse</source>
        <translation>Puls</translation>
    </message>
    <message id="monitor.dialog.column.user">
        <source>User</source>
        <translation>Benutzer</translation>
    </message>
    <message id="monitor.dialog.summary">
        <source>New readings: %1. Already in the document: %2. Records refused: %3.</source>
        <translation>Neue Messungen: %1. Bereits im Dokument: %2. Abgelehnte Datensätze: %3.</translation>
    </message>
    <message id="monitor.dialog.save_log">
        <source>Save Session &amp;Log…</source>
        <translation>Sitzungs&amp;protokoll sichern…</translation>
    </message>
    <message id="monitor.dialog.save_log.caption">
        <source>Save Session Log</source>
        <translation>Sitzungsprotokoll sichern</translation>
    </message>
    <message id="monitor.dialog.save_log.filter">
        <source>Session logs (*.log)</source>
        <translation>Sitzungsprotokolle (*.log)</translation>
    </message>
    <message id="monitor.dialog.save_log.failed">
        <source>The session log could not be saved.</source>
        <translation>Das Sitzungsprotokoll konnte nicht gesichert werden.</translation>
    </message>
    <message id="monitor.dialog.cancel">
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message id="monitor.dialog.choose">
        <source>Choose a monitor and press Download. Put the monitor into its transfer mode first if it has one.</source>
        <translation>Wählen Sie ein Messgerät und drücken Sie „Herunterladen“. Schalten Sie das Messgerät vorher in seinen Übertragungsmodus, falls es einen hat.</translation>
    </message>
    <message id="monitor.dialog.none_found">
        <source>No monitor was found. Switch the monitor on or put it into its transfer mode, then press Search Again.</source>
        <translation>Kein Messgerät gefunden. Schalten Sie das Messgerät ein oder in seinen Übertragungsmodus und drücken Sie dann „Erneut suchen“.</translation>
    </message>
    <message id="monitor.dialog.searching">
        <source>Searching for monitors…</source>
        <translation>Suche nach Messgeräten…</translation>
    </message>
    <message id="monitor.dialog.unnamed">
        <source>Unnamed monitor</source>
        <translation>Messgerät ohne Namen</translation>
    </message>
    <message id="monitor.dialog.device">
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message id="monitor.dialog.device_remembered">
        <source>%1 (%2), used before</source>
        <translation>%1 (%2), schon verwendet</translation>
    </message>
    <message id="monitor.dialog.no_adapter">
        <source>This computer has no Bluetooth adapter. Connect one, then press Search Again.</source>
        <translation>Dieser Computer hat keinen Bluetooth-Adapter. Schließen Sie einen an und drücken Sie dann „Erneut suchen“.</translation>
    </message>
    <message id="monitor.dialog.bluetooth_off">
        <source>Bluetooth is switched off. Switch it on in the system’s Bluetooth settings, then press Search Again.</source>
        <translation>Bluetooth ist ausgeschaltet. Schalten Sie es in den Bluetooth-Einstellungen des Systems ein und drücken Sie dann „Erneut suchen“.</translation>
    </message>
    <message id="monitor.dialog.not_allowed">
        <source>The system does not allow Tensilo to search for Bluetooth devices. Allow it in the system’s settings, then press Search Again.</source>
        <translation>Das System erlaubt Tensilo nicht, nach Bluetooth-Geräten zu suchen. Erlauben Sie es in den Einstellungen des Systems und drücken Sie dann „Erneut suchen“.</translation>
    </message>
    <message id="monitor.dialog.search_failed">
        <source>The search for monitors failed: %1</source>
        <translation>Die Suche nach Messgeräten ist fehlgeschlagen: %1</translation>
    </message>
    <message id="monitor.dialog.failed">
        <source>Nothing could be downloaded. %1 If the monitor asks to be paired, pair it in the system’s Bluetooth settings first, then try again.</source>
        <translation>Es konnte nichts heruntergeladen werden. %1 Wenn das Messgerät eine Kopplung verlangt, koppeln Sie es zuerst in den Bluetooth-Einstellungen des Systems und versuchen Sie es dann erneut.</translation>
    </message>
    <message id="monitor.dialog.incomplete">
        <source>The download ended early: %1 The readings that arrived are listed below.</source>
        <translation>Das Herunterladen endete vorzeitig: %1 Die bis dahin empfangenen Messungen stehen unten.</translation>
    </message>
    <message id="monitor.dialog.done">
        <source>Download complete. Check the readings below, then press Import.</source>
        <translation>Herunterladen abgeschlossen. Prüfen Sie die Messungen unten und drücken Sie dann „Importieren“.</translation>
    </message>
    <message id="monitor.dialog.downloading">
        <source>Downloading from %1…</source>
        <translation>Herunterladen von %1…</translation>
    </message>
    <message id="monitor.dialog.received">
        <source>%1 received</source>
        <translation>%1 empfangen</translation>
    </message>
    <message id="monitor.dialog.clock_compare">
        <source>Monitor’s clock: %1. Computer’s clock: %2.</source>
        <translation>Uhr des Messgeräts: %1. Uhr des Computers: %2.</translation>
    </message>
    <message id="monitor.dialog.clock_warning">
        <source>The clocks differ by %1 minutes: set the monitor’s clock, or the times of its readings are off as well.</source>
        <translation>Die Uhren weichen um %1 Minuten ab: Stellen Sie die Uhr des Messgeräts, sonst stimmen auch die Zeiten seiner Messungen nicht.</translation>
    </message>
    <message id="monitor.dialog.no_clock">
        <source>The monitor does not tell its time.</source>
        <translation>Das Messgerät teilt seine Uhrzeit nicht mit.</translation>
    </message>
    <message id="monitor.dialog.all_users">
        <source>All users</source>
        <translation>Alle Benutzer</translation>
    </message>
    <message id="monitor.dialog.user_number">
        <source>User %1</source>
        <translation>Benutzer %1</translation>
    </message>
    <message id="monitor.dialog.refused">
        <source>Refused: %1</source>
        <translation>Abgelehnt: %1</translation>
    </message>
    <message id="monitor.dialog.new">
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message id="monitor.dialog.set_clock">
        <source>Set Monitor’s &amp;Clock</source>
        <translation>&amp;Uhr des Messgeräts stellen</translation>
    </message>
    <message id="monitor.dialog.setting_clock">
        <source>Setting the monitor’s clock to the computer’s…</source>
        <translation>Die Uhr des Messgeräts wird nach der Uhr des Computers gestellt …</translation>
    </message>
    <message id="monitor.dialog.clock_set">
        <source>The monitor’s clock is set to the computer’s (%1).</source>
        <translation>Die Uhr des Messgeräts ist nach der Uhr des Computers gestellt (%1).</translation>
    </message>
    <message id="monitor.dialog.clock_not_set">
        <source>The monitor’s clock could not be set: %1</source>
        <translation>Die Uhr des Messgeräts ließ sich nicht stellen: %1</translation>
    </message>
    <message id="monitor.clock.not_settable">
        <source>The monitor does not let its clock be set.</source>
        <translation>Das Messgerät lässt seine Uhr nicht stellen.</translation>
    </message>
    <message id="monitor.clock.refused">
        <source>The monitor refused the new time.</source>
        <translation>Das Messgerät hat die neue Uhrzeit abgelehnt.</translation>
    </message>
    <message id="monitor.replay.write_refused">
        <source>The monitor refused the value written to %1.</source>
        <translation>Das Messgerät hat den in %1 geschriebenen Wert abgelehnt.</translation>
    </message>
</context>
</TS>
