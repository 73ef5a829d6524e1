<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name></name>
    <message id="doc.import_fhir">
        <source>Import FHIR Bundle</source>
        <translation>FHIR-Bundle importieren</translation>
    </message>
    <message id="doc.import_health">
        <source>Import from Apple Health</source>
        <translation>Aus Apple Health importieren</translation>
    </message>
    <message id="import.skipped.pulse_unjoined">
        <source>pulses without a blood pressure within two minutes</source>
        <translation>Pulswerte ohne Blutdruck innerhalb von zwei Minuten</translation>
    </message>
    <message id="import.skipped.weight_unjoined">
        <source>weights without a blood pressure within two minutes</source>
        <translation>Gewichte ohne Blutdruck innerhalb von zwei Minuten</translation>
    </message>
    <message id="import.skipped.unit">
        <source>values in the unit “%1”</source>
        <translation>Werte in der Einheit „%1“</translation>
    </message>
    <message id="import.error.too_large">
        <source>The file is too large to import.</source>
        <translation>Die Datei ist zu groß zum Importieren.</translation>
    </message>
    <message id="import.error.open">
        <source>“%1” could not be opened: %2</source>
        <translation>„%1“ konnte nicht geöffnet werden: %2</translation>
    </message>
    <message id="import.fhir.error.too_deep">
        <source>The file is nested more than %1 levels deep; it is not a FHIR Bundle of readings.</source>
        <translation>Die Datei ist tiefer als %1 Ebenen verschachtelt; sie ist kein FHIR-Bundle mit Messwerten.</translation>
    </message>
    <message id="import.fhir.error.json">
        <source>The file is not valid JSON (at byte %1: %2).</source>
        <translation>Die Datei ist kein gültiges JSON (bei Byte %1: %2).</translation>
    </message>
    <message id="import.fhir.error.not_bundle">
        <source>The file is not a FHIR Bundle.</source>
        <translation>Die Datei ist kein FHIR-Bundle.</translation>
    </message>
    <message id="import.fhir.skipped.no_resource">
        <source>entries without a resource</source>
        <translation>Einträge ohne Ressource</translation>
    </message>
    <message id="import.problem.no_time">
        <source>The observation has no date and time.</source>
        <translation>Die Beobachtung hat kein Datum und keine Uhrzeit.</translation>
    </message>
    <message id="import.problem.bad_time">
        <source>“%1” is not a date and time with a time zone.</source>
        <translation>„%1“ ist kein Datum mit Uhrzeit und Zeitzone.</translation>
    </message>
    <message id="import.problem.bad_pressure">
        <source>The blood pressure lacks a systolic or diastolic value in mmHg or kPa.</source>
        <translation>Dem Blutdruck fehlt ein systolischer oder diastolischer Wert in mmHg oder kPa.</translation>
    </message>
    <message id="import.problem.no_value">
        <source>The observation has no numeric value.</source>
        <translation>Die Beobachtung hat keinen Zahlenwert.</translation>
    </message>
    <message id="import.health.error.entities">
        <source>The file declares entities, which an Apple Health export does not do; it is not read.</source>
        <translation>Die Datei deklariert Entitäten, was ein Apple-Health-Export nicht tut; sie wird nicht gelesen.</translation>
    </message>
    <message id="import.health.error.xml">
        <source>The file is damaged at line %1: %2</source>
        <translation>Die Datei ist in Zeile %1 beschädigt: %2</translation>
    </message>
    <message id="import.health.error.not_health">
        <source>The file is not an Apple Health export.</source>
        <translation>Die Datei ist kein Apple-Health-Export.</translation>
    </message>
    <message id="import.health.skipped.untyped">
        <source>records without a type</source>
        <translation>Einträge ohne Typ</translation>
    </message>
    <message id="tool.fhir.exported">
        <source>%1 readings exported.</source>
        <translation>%1 Messungen exportiert.</translation>
    </message>
    <message id="tool.fhir.custom_left_out">
        <source>%1 readings had custom values, which FHIR has no code for; those values were left out.</source>
        <translation>%1 Messungen hatten eigene Werte, für die FHIR keinen Code hat; diese Werte wurden weggelassen.</translation>
    </message>
    <message id="tool.import.problem_entry">
        <source>entry %1: %2</source>
        <translation>Eintrag %1: %2</translation>
    </message>
    <message id="tool.import.more_problems">
        <source>… and %1 more refused.</source>
        <translation>… und %1 weitere abgelehnt.</translation>
    </message>
    <message id="tool.import.skipped">
        <source>%2: %1 left out</source>
        <translation>%2: %1 weggelassen</translation>
    </message>
    <message id="tool.import.error.nothing_read">
        <source>No reading could be read; nothing was written.</source>
        <translation>Es konnte keine Messung gelesen werden; nichts wurde geschrieben.</translation>
    </message>
    <message id="tool.import.summary">
        <source>%1 readings imported, %2 already present and skipped, %3 refused, %4 other entries left out.</source>
        <translation>%1 Messungen importiert, %2 bereits vorhanden und übersprungen, %3 abgelehnt, %4 andere Einträge weggelassen.</translation>
    </message>
    <message id="tool.import.error.unknown_kind">
        <source>“%1” is neither CSV, a FHIR Bundle, an Apple Health export nor a monitor’s session log; nothing was imported.</source>
        <translation>„%1“ ist weder CSV noch ein FHIR-Bundle, ein Apple-Health-Export oder ein Sitzungsprotokoll eines Messgeräts; nichts wurde importiert.</translation>
    </message>
    <message id="tool.exchange.usage">
        <source>  tensilo-tool export-fhir FILE OUT.json [--all] [--patient NAME]
  tensilo-tool import FILE OUT.tensilo [--into DOC]</source>
        <translation>  tensilo-tool export-fhir DATEI AUS.json [--all] [--patient NAME]
  tensilo-tool import DATEI AUS.tensilo [--into DOKUMENT]</translation>
    </message>
</context>
</TS>
