<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="doc.import_fhir">
        <source>Import FHIR Bundle</source>
        <translation>Import FHIR Bundle</translation>
    </message>
    <message id="doc.import_health">
        <source>Import from Apple Health</source>
        <translation>Import from Apple Health</translation>
    </message>
    <message id="import.skipped.pulse_unjoined">
        <source>pulses without a blood pressure within two minutes</source>
        <translation>pulses without a blood pressure within two minutes</translation>
    </message>
    <message id="import.skipped.weight_unjoined">
        <source>weights without a blood pressure within two minutes</source>
        <translation>weights without a blood pressure within two minutes</translation>
    </message>
    <message id="import.skipped.unit">
        <source>values in the unit “%1”</source>
        <translation>values in the unit “%1”</translation>
    </message>
    <message id="import.error.too_large">
        <source>The file is too large to import.</source>
        <translation>The file is too large to import.</translation>
    </message>
    <message id="import.error.open">
        <source>“%1” could not be opened: %2</source>
        <translation>“%1” could not be opened: %2</translation>
    </message>
    <message id="import.fhir.error.too_deep">
        <source>The file is nested more than %1 levels deep; it is not a FHIR Bundle of readings.</source>
        <translation>The file is nested more than %1 levels deep; it is not a FHIR Bundle of readings.</translation>
    </message>
    <message id="import.fhir.error.json">
        <source>The file is not valid JSON (at byte %1: %2).</source>
        <translation>The file is not valid JSON (at byte %1: %2).</translation>
    </message>
    <message id="import.fhir.error.not_bundle">
        <source>The file is not a FHIR Bundle.</source>
        <translation>The file is not a FHIR Bundle.</translation>
    </message>
    <message id="import.fhir.skipped.no_resource">
        <source>entries without a resource</source>
        <translation>entries without a resource</translation>
    </message>
    <message id="import.problem.no_time">
        <source>The observation has no date and time.</source>
        <translation>The observation has no date and time.</translation>
    </message>
    <message id="import.problem.bad_time">
        <source>“%1” is not a date and time with a time zone.</source>
        <translation>“%1” is not a date and time with a time zone.</translation>
    </message>
    <message id="import.problem.bad_pressure">
        <source>The blood pressure lacks a systolic or diastolic value in mmHg or kPa.</source>
        <translation>The blood pressure lacks a systolic or diastolic value in mmHg or kPa.</translation>
    </message>
    <message id="import.problem.no_value">
        <source>The observation has no numeric value.</source>
        <translation>The observation has no numeric value.</translation>
    </message>
    <message id="import.health.error.entities">
        <source>The file declares entities, which an Apple Health export does not do; it is not read.</source>
        <translation>The file declares entities, which an Apple Health export does not do; it is not read.</translation>
    </message>
    <message id="import.health.error.xml">
        <source>The file is damaged at line %1: %2</source>
        <translation>The file is damaged at line %1: %2</translation>
    </message>
    <message id="import.health.error.not_health">
        <source>The file is not an Apple Health export.</source>
        <translation>The file is not an Apple Health export.</translation>
    </message>
    <message id="import.health.skipped.untyped">
        <source>records without a type</source>
        <translation>records without a type</translation>
    </message>
    <message id="tool.fhir.exported">
        <source>%1 readings exported.</source>
        <translation>%1 readings exported.</translation>
    </message>
    <message id="tool.fhir.custom_left_out">
        <source>%1 readings had custom values, which FHIR has no code for; those values were left out.</source>
        <translation>%1 readings had custom values, which FHIR has no code for; those values were left out.</translation>
    </message>
    <message id="tool.import.problem_entry">
        <source>entry %1: %2</source>
        <translation>entry %1: %2</translation>
    </message>
    <message id="tool.import.more_problems">
        <source>… and %1 more refused.</source>
        <translation>… and %1 more refused.</translation>
    </message>
    <message id="tool.import.skipped">
        <source>%2: %1 left out</source>
        <translation>%2: %1 left out</translation>
    </message>
    <message id="tool.import.error.nothing_read">
        <source>No reading could be read; nothing was written.</source>
        <translation>No reading could be read; nothing was written.</translation>
    </message>
    <message id="tool.import.summary">
        <source>%1 readings imported, %2 already present and skipped, %3 refused, %4 other entries left out.</source>
        <translation>%1 readings imported, %2 already present and skipped, %3 refused, %4 other entries left out.</translation>
    </message>
    <message id="tool.import.error.unknown_kind">
        <source>“%1” is neither CSV, a FHIR Bundle, an Apple Health export nor a monitor’s session log; nothing was imported.</source>
        <translation>“%1” is neither CSV, a FHIR Bundle, an Apple Health export nor a monitor’s session log; nothing was imported.</translation>
    </message>
    <message id="tool.exchange.usage">
        <source>  tensilo-tool export-fhir FILE OUT.json [--all] [--patient NAME]
  tensilo-tool import FILE OUT.tensilo [--into DOC]</source>
        <translation>  tensilo-tool export-fhir FILE OUT.json [--all] [--patient NAME]
  tensilo-tool import FILE OUT.tensilo [--into DOC]</translation>
    </message>
    <message id="import.review.title">
        <source>Import “%1”</source>
        <translation>Import “%1”</translation>
    </message>
    <message id="import.review.status">
        <source>Import status</source>
        <translation>Import status</translation>
    </message>
    <message id="import.review.progress">
        <source>Reading progress</source>
        <translation>Reading progress</translation>
    </message>
    <message id="import.review.table">
        <source>Readings found</source>
        <translation>Readings found</translation>
    </message>
    <message id="import.review.summary">
        <source>Summary</source>
        <translation>Summary</translation>
    </message>
    <message id="import.review.skipped">
        <source>Left out</source>
        <translation>Left out</translation>
    </message>
    <message id="import.review.refused_line">
        <source>Refused (line %1)</source>
        <translation>Refused (line %1)</translation>
    </message>
    <message id="import.review.refused_entry">
        <source>Refused (entry %1)</source>
        <translation>Refused (entry %1)</translation>
    </message>
    <message id="import.review.new">
        <source>New</source>
        <translation>New</translation>
    </message>
    <message id="import.review.weight">
        <source>Weight</source>
        <translation>Weight</translation>
    </message>
    <message id="import.review.comment">
        <source>Comment, tags or reason</source>
        <translation>Comment, tags or reason</translation>
    </message>
    <message id="import.review.error.kind">
        <source>This kind of file cannot be imported here.</source>
        <translation>This kind of file cannot be imported here.</translation>
    </message>
    <message id="import.review.reading">
        <source>Reading “%1”…</source>
        <translation>Reading “%1”…</translation>
    </message>
    <message id="import.review.reading_size">
        <source>Reading “%1”… %2 of %3 MB</source>
        <translation>Reading “%1”… %2 of %3 MB</translation>
    </message>
    <message id="import.review.nothing">
        <source>The file holds no readings; nothing can be imported.</source>
        <translation>The file holds no readings; nothing can be imported.</translation>
    </message>
    <message id="import.review.read">
        <source>Found in “%1”:</source>
        <translation>Found in “%1”:</translation>
    </message>
    <message id="import.review.summary_counts">
        <source>%1 new readings, %2 duplicates (already in the document or repeated in the file), %3 refused.</source>
        <translation>%1 new readings, %2 duplicates (already in the document or repeated in the file), %3 refused.</translation>
    </message>
    <message id="import.review.more_problems">
        <source>The first %1 refused entries are listed.</source>
        <translation>The first %1 refused entries are listed.</translation>
    </message>
    <message id="import.review.skipped_line">
        <source>%1 × %2</source>
        <translation>%1 × %2</translation>
    </message>
    <message id="menu.file.import_any">
        <source>Impor&amp;t…</source>
        <translation>Impor&amp;t…</translation>
    </message>
    <message id="menu.file.export_fhir">
        <source>&amp;FHIR Bundle…</source>
        <translation>&amp;FHIR Bundle…</translation>
    </message>
    <message id="window.import.caption">
        <source>Import Readings</source>
        <translation>Import Readings</translation>
    </message>
    <message id="window.import.filter">
        <source>Readings (*.json *.xml *.csv *.txt *.log);;All files (*)</source>
        <translation>Readings (*.json *.xml *.csv *.txt *.log);;All files (*)</translation>
    </message>
    <message id="window.import.failed">
        <source>The file could not be read.</source>
        <translation>The file could not be read.</translation>
    </message>
    <message id="window.import.unknown.title">
        <source>This file holds no readings the program can read.</source>
        <translation>This file holds no readings the program can read.</translation>
    </message>
    <message id="window.import.unknown.message">
        <source>“%1” is neither CSV, a FHIR Bundle, an Apple Health export (export.xml) nor a monitor’s session log. Nothing was imported.</source>
        <translation>“%1” is neither CSV, a FHIR Bundle, an Apple Health export (export.xml) nor a monitor’s session log. Nothing was imported.</translation>
    </message>
    <message id="window.import.unknown.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="window.export_fhir.caption">
        <source>Export FHIR Bundle</source>
        <translation>Export FHIR Bundle</translation>
    </message>
    <message id="window.export_fhir.filter">
        <source>FHIR Bundle (*.json);;All files (*)</source>
        <translation>FHIR Bundle (*.json);;All files (*)</translation>
    </message>
    <message id="window.export_fhir.failed">
        <source>The FHIR Bundle could not be written.</source>
        <translation>The FHIR Bundle could not be written.</translation>
    </message>
    <message id="window.export_fhir.custom.title">
        <source>Custom values were left out.</source>
        <translation>Custom values were left out.</translation>
    </message>
    <message id="window.export_fhir.custom.message">
        <source>%1 readings carry custom values. FHIR has no standard code for them, so the Bundle holds these readings without them.</source>
        <translation>%1 readings carry custom values. FHIR has no standard code for them, so the Bundle holds these readings without them.</translation>
    </message>
    <message id="window.export_fhir.custom.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="window.export_fhir.which.title">
        <source>Export which readings?</source>
        <translation>Export which readings?</translation>
    </message>
    <message id="window.export_fhir.which.message">
        <source>The filter shows %1 of the %2 readings. Export the filtered readings or all of them?</source>
        <translation>The filter shows %1 of the %2 readings. Export the filtered readings or all of them?</translation>
    </message>
    <message id="window.export_fhir.which.filtered">
        <source>Filtered Readings</source>
        <translation>Filtered Readings</translation>
    </message>
    <message id="window.export_fhir.which.all">
        <source>All Readings</source>
        <translation>All Readings</translation>
    </message>
    <message id="window.export_fhir.which.cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="window.empty.title">
        <source>No readings yet</source>
        <translation>No readings yet</translation>
    </message>
    <message id="window.empty.text">
        <source>Start with your first reading, or bring in the readings you have kept elsewhere.</source>
        <translation>Start with your first reading, or bring in the readings you have kept elsewhere.</translation>
    </message>
    <message id="window.empty.add">
        <source>Add a Reading</source>
        <translation>Add a Reading</translation>
    </message>
    <message id="window.empty.add_explained">
        <source>Also with + in the toolbar or the Insert key.</source>
        <translation>Also with + in the toolbar or the Insert key.</translation>
    </message>
    <message id="window.empty.import">
        <source>Import…</source>
        <translation>Import…</translation>
    </message>
    <message id="window.empty.import_explained">
        <source>From a CSV file, a FHIR Bundle, an Apple Health export or a monitor’s session log.</source>
        <translation>From a CSV file, a FHIR Bundle, an Apple Health export or a monitor’s session log.</translation>
    </message>
    <message id="window.empty.monitor">
        <source>Import from Monitor…</source>
        <translation>Import from Monitor…</translation>
    </message>
    <message id="window.empty.monitor_explained">
        <source>Download the readings stored in a Bluetooth blood-pressure monitor.</source>
        <translation>Download the readings stored in a Bluetooth blood-pressure monitor.</translation>
    </message>
</context>
</TS>
