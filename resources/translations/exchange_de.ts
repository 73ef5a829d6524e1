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
    <message id="import.review.title">
        <source>Import “%1”</source>
        <translation>„%1“ importieren</translation>
    </message>
    <message id="import.review.status">
        <source>Import status</source>
        <translation>Stand des Imports</translation>
    </message>
    <message id="import.review.progress">
        <source>Reading progress</source>
        <translation>Fortschritt beim Lesen</translation>
    </message>
    <message id="import.review.table">
        <source>Readings found</source>
        <translation>Gefundene Messungen</translation>
    </message>
    <message id="import.review.summary">
        <source>Summary</source>
        <translation>Zusammenfassung</translation>
    </message>
    <message id="import.review.skipped">
        <source>Left out</source>
        <translation>Ausgelassen</translation>
    </message>
    <message id="import.review.refused_line">
        <source>Refused (line %1)</source>
        <translation>Abgelehnt (Zeile %1)</translation>
    </message>
    <message id="import.review.refused_entry">
        <source>Refused (entry %1)</source>
        <translation>Abgelehnt (Eintrag %1)</translation>
    </message>
    <message id="import.review.new">
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message id="import.review.weight">
        <source>Weight</source>
        <translation>Gewicht</translation>
    </message>
    <message id="import.review.comment">
        <source>Comment, tags or reason</source>
        <translation>Kommentar, Schlagwörter oder Grund</translation>
    </message>
    <message id="import.review.error.kind">
        <source>This kind of file cannot be imported here.</source>
        <translation>Diese Art von Datei kann hier nicht importiert werden.</translation>
    </message>
    <message id="import.review.reading">
        <source>Reading “%1”…</source>
        <translation>„%1“ wird gelesen …</translation>
    </message>
    <message id="import.review.reading_size">
        <source>Reading “%1”… %2 of %3 MB</source>
        <translation>„%1“ wird gelesen … %2 von %3 MB</translation>
    </message>
    <message id="import.review.nothing">
        <source>The file holds no readings; nothing can be imported.</source>
        <translation>Die Datei enthält keine Messungen; es gibt nichts zu importieren.</translation>
    </message>
    <message id="import.review.read">
        <source>Found in “%1”:</source>
        <translation>In „%1“ gefunden:</translation>
    </message>
    <message id="import.review.summary_counts">
        <source>%1 new readings, %2 duplicates (already in the document or repeated in the file), %3 refused.</source>
        <translation>%1 neue Messungen, %2 doppelte (schon im Dokument oder in der Datei wiederholt), %3 abgelehnt.</translation>
    </message>
    <message id="import.review.more_problems">
        <source>The first %1 refused entries are listed.</source>
        <translation>Die ersten %1 abgelehnten Einträge sind aufgeführt.</translation>
    </message>
    <message id="import.review.skipped_line">
        <source>%1 × %2</source>
        <translation>%1 × %2</translation>
    </message>
    <message id="menu.file.import_any">
        <source>Impor&amp;t…</source>
        <translation>Imp&amp;ortieren…</translation>
    </message>
    <message id="menu.file.export_fhir">
        <source>&amp;FHIR Bundle…</source>
        <translation>&amp;FHIR-Bundle…</translation>
    </message>
    <message id="window.import.caption">
        <source>Import Readings</source>
        <translation>Messungen importieren</translation>
    </message>
    <message id="window.import.filter">
        <source>Readings (*.json *.xml *.csv *.txt *.log);;All files (*)</source>
        <translation>Messungen (*.json *.xml *.csv *.txt *.log);;Alle Dateien (*)</translation>
    </message>
    <message id="window.import.failed">
        <source>The file could not be read.</source>
        <translation>Die Datei konnte nicht gelesen werden.</translation>
    </message>
    <message id="window.import.unknown.title">
        <source>This file holds no readings the program can read.</source>
        <translation>Diese Datei enthält keine Messungen, die das Programm lesen kann.</translation>
    </message>
    <message id="window.import.unknown.message">
        <source>“%1” is neither CSV, a FHIR Bundle, an Apple Health export (export.xml) nor a monitor’s session log. Nothing was imported.</source>
        <translation>„%1“ ist weder CSV noch ein FHIR-Bundle, ein Apple-Health-Export (export.xml) oder ein Sitzungsprotokoll eines Messgeräts. Nichts wurde importiert.</translation>
    </message>
    <message id="window.import.unknown.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="window.export_fhir.caption">
        <source>Export FHIR Bundle</source>
        <translation>FHIR-Bundle exportieren</translation>
    </message>
    <message id="window.export_fhir.filter">
        <source>FHIR Bundle (*.json);;All files (*)</source>
        <translation>FHIR-Bundle (*.json);;Alle Dateien (*)</translation>
    </message>
    <message id="window.export_fhir.failed">
        <source>The FHIR Bundle could not be written.</source>
        <translation>Das FHIR-Bundle konnte nicht geschrieben werden.</translation>
    </message>
    <message id="window.export_fhir.custom.title">
        <source>Custom values were left out.</source>
        <translation>Eigene Werte wurden ausgelassen.</translation>
    </message>
    <message id="window.export_fhir.custom.message">
        <source>%1 readings carry custom values. FHIR has no standard code for them, so the Bundle holds these readings without them.</source>
        <translation>%1 Messungen haben eigene Werte. FHIR hat für sie keinen Standardcode; das Bundle enthält diese Messungen ohne sie.</translation>
    </message>
    <message id="window.export_fhir.custom.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="window.export_fhir.which.title">
        <source>Export which readings?</source>
        <translation>Welche Messungen exportieren?</translation>
    </message>
    <message id="window.export_fhir.which.message">
        <source>The filter shows %1 of the %2 readings. Export the filtered readings or all of them?</source>
        <translation>Der Filter zeigt %1 der %2 Messungen. Die gefilterten Messungen exportieren oder alle?</translation>
    </message>
    <message id="window.export_fhir.which.filtered">
        <source>Filtered Readings</source>
        <translation>Gefilterte Messungen</translation>
    </message>
    <message id="window.export_fhir.which.all">
        <source>All Readings</source>
        <translation>Alle Messungen</translation>
    </message>
    <message id="window.export_fhir.which.cancel">
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message id="window.empty.title">
        <source>No readings yet</source>
        <translation>Noch keine Messungen</translation>
    </message>
    <message id="window.empty.text">
        <source>Start with your first reading, or bring in the readings you have kept elsewhere.</source>
        <translation>Beginnen Sie mit Ihrer ersten Messung, oder holen Sie Messungen herein, die Sie anderswo geführt haben.</translation>
    </message>
    <message id="window.empty.add">
        <source>Add a Reading</source>
        <translation>Messung hinzufügen</translation>
    </message>
    <message id="window.empty.add_explained">
        <source>Also with + in the toolbar or the Insert key.</source>
        <translation>Auch mit + in der Werkzeugleiste oder der Taste Einfg.</translation>
    </message>
    <message id="window.empty.import">
        <source>Import…</source>
        <translation>Importieren…</translation>
    </message>
    <message id="window.empty.import_explained">
        <source>From a CSV file, a FHIR Bundle, an Apple Health export or a monitor’s session log.</source>
        <translation>Aus einer CSV-Datei, einem FHIR-Bundle, einem Apple-Health-Export oder dem Sitzungsprotokoll eines Messgeräts.</translation>
    </message>
    <message id="window.empty.monitor">
        <source>Import from Monitor…</source>
        <translation>Aus Messgerät importieren…</translation>
    </message>
    <message id="window.empty.monitor_explained">
        <source>Download the readings stored in a Bluetooth blood-pressure monitor.</source>
        <translation>Die Messungen aus einem Bluetooth-Blutdruckmessgerät laden.</translation>
    </message>
</context>
</TS>
