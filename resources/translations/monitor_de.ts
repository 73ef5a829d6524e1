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
</context>
</TS>
