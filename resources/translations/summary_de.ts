<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name></name>
    <message id="summary.title">
        <source>Home-measurement summary</source>
        <translation>Zusammenfassung der Heimmessung</translation>
    </message>
    <message id="summary.verdict.at_or_above">
        <source>The mean is at or above the home threshold of %1/%2 mmHg.</source>
        <translation>Der Mittelwert liegt auf oder über dem Heim-Schwellenwert von %1/%2 mmHg.</translation>
    </message>
    <message id="summary.verdict.below">
        <source>The mean is below the home threshold of %1/%2 mmHg.</source>
        <translation>Der Mittelwert liegt unter dem Heim-Schwellenwert von %1/%2 mmHg.</translation>
    </message>
    <message id="summary.no_readings">
        <source>No readings to summarise.</source>
        <translation>Keine Messungen zum Zusammenfassen.</translation>
    </message>
    <message id="summary.missing_day">
        <source>Incomplete: 1 more day with morning and evening readings is needed.</source>
        <translation>Unvollständig: 1 weiterer Tag mit Morgen- und Abendmessungen wird benötigt.</translation>
    </message>
    <message id="summary.missing_days">
        <source>Incomplete: %1 more days with morning and evening readings are needed.</source>
        <translation>Unvollständig: %1 weitere Tage mit Morgen- und Abendmessungen werden benötigt.</translation>
    </message>
    <message id="summary.period">
        <source>Period: %1 to %2</source>
        <translation>Zeitraum: %1 bis %2</translation>
    </message>
    <message id="summary.counted">
        <source>Counted: %1 days, %2 readings (the first measured day is left out from 4 days on)</source>
        <translation>Gezählt: %1 Tage, %2 Messungen (der erste Messtag entfällt ab 4 Tagen)</translation>
    </message>
    <message id="summary.part.all">
        <source>Morning and evening</source>
        <translation>Morgens und abends</translation>
    </message>
    <message id="summary.part.morning">
        <source>Morning</source>
        <translation>Morgens</translation>
    </message>
    <message id="summary.part.evening">
        <source>Evening</source>
        <translation>Abends</translation>
    </message>
    <message id="summary.columns.part">
        <source>Part of day</source>
        <translation>Tageszeit</translation>
    </message>
    <message id="summary.columns.readings">
        <source>Readings</source>
        <translation>Messungen</translation>
    </message>
    <message id="summary.columns.systolic">
        <source>Systolic</source>
        <translation>Systolisch</translation>
    </message>
    <message id="summary.columns.diastolic">
        <source>Diastolic</source>
        <translation>Diastolisch</translation>
    </message>
    <message id="summary.columns.pulse">
        <source>Pulse</source>
        <translation>Puls</translation>
    </message>
    <message id="summary.note">
        <source>Informational only: the readings against a stated threshold, not a diagnosis.</source>
        <translation>Nur zur Information: die Messungen gegenüber einem genannten Schwellenwert, keine Diagnose.</translation>
    </message>
    <message id="summary.pane">
        <source>Home-measurement summary of the selected filter</source>
        <translation>Zusammenfassung der Heimmessung des gewählten Filters</translation>
    </message>
    <message id="summary.filter">
        <source>Filter: %1</source>
        <translation>Filter: %1</translation>
    </message>
    <message id="tool.error.unknown_filter">
        <source>The document has no filter named "%1".</source>
        <translation>Das Dokument hat keinen Filter namens "%1".</translation>
    </message>
    <message id="print.header.title">
        <source>Blood pressure readings</source>
        <translation>Blutdruckmessungen</translation>
    </message>
    <message id="print.header.period">
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message id="print.header.filter">
        <source>Filter: %1</source>
        <translation>Filter: %1</translation>
    </message>
    <message id="print.footer.printed">
        <source>Printed %1</source>
        <translation>Gedruckt am %1</translation>
    </message>
    <message id="print.footer.page">
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message id="chart.legend.systolic">
        <source>Systolic</source>
        <translation>Systolisch</translation>
    </message>
    <message id="chart.legend.diastolic">
        <source>Diastolic</source>
        <translation>Diastolisch</translation>
    </message>
    <message id="chart.legend.pulse">
        <source>Pulse</source>
        <translation>Puls</translation>
    </message>
    <message id="chart.legend.weight">
        <source>Weight</source>
        <translation>Gewicht</translation>
    </message>
    <message id="chart.unit.pressure">
        <source>mmHg</source>
        <translation>mmHg</translation>
    </message>
    <message id="class.esh.optimal">
        <source>Optimal</source>
        <translation>Optimal</translation>
    </message>
    <message id="class.esh.normal">
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message id="class.esh.high_normal">
        <source>High normal</source>
        <translation>Hoch normal</translation>
    </message>
    <message id="class.esh.grade_1">
        <source>Grade 1</source>
        <translation>Grad 1</translation>
    </message>
    <message id="class.esh.grade_2">
        <source>Grade 2</source>
        <translation>Grad 2</translation>
    </message>
    <message id="class.esh.grade_3">
        <source>Grade 3</source>
        <translation>Grad 3</translation>
    </message>
    <message id="class.esh.isolated_systolic">
        <source>Isolated systolic</source>
        <translation>Isoliert systolisch</translation>
    </message>
    <message id="class.acc.normal">
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message id="class.acc.elevated">
        <source>Elevated</source>
        <translation>Erhöht</translation>
    </message>
    <message id="class.acc.stage_1">
        <source>Stage 1</source>
        <translation>Stadium 1</translation>
    </message>
    <message id="class.acc.stage_2">
        <source>Stage 2</source>
        <translation>Stadium 2</translation>
    </message>
    <message id="class.acc.crisis">
        <source>Crisis</source>
        <translation>Krise</translation>
    </message>
    <message id="class.scheme.esh_2023">
        <source>ESH/ESC 2023</source>
        <translation>ESH/ESC 2023</translation>
    </message>
    <message id="class.scheme.acc_aha_2017">
        <source>ACC/AHA 2017</source>
        <translation>ACC/AHA 2017</translation>
    </message>
    <message id="class.scheme.none">
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message id="print.columns.Class">
        <source>Class (%1)</source>
        <translation>Klasse (%1)</translation>
    </message>
    <message id="prefs.tab.summary">
        <source>Summary</source>
        <translation>Zusammenfassung</translation>
    </message>
    <message id="prefs.summary.show">
        <source>Show the home-measurement summary under the averages</source>
        <translation>Zusammenfassung der Heimmessung unter den Mittelwerten zeigen</translation>
    </message>
    <message id="prefs.summary.print">
        <source>Print the home-measurement summary before the averages</source>
        <translation>Zusammenfassung der Heimmessung vor den Mittelwerten drucken</translation>
    </message>
    <message id="prefs.summary.days">
        <source>Days:</source>
        <translation>Tage:</translation>
    </message>
    <message id="prefs.summary.morning_from">
        <source>Morning from:</source>
        <translation>Morgens ab:</translation>
    </message>
    <message id="prefs.summary.morning_to">
        <source>Morning until:</source>
        <translation>Morgens bis:</translation>
    </message>
    <message id="prefs.summary.evening_from">
        <source>Evening from:</source>
        <translation>Abends ab:</translation>
    </message>
    <message id="prefs.summary.evening_to">
        <source>Evening until:</source>
        <translation>Abends bis:</translation>
    </message>
    <message id="prefs.summary.hour_suffix">
        <source>:00</source>
        <translation>:00 Uhr</translation>
    </message>
    <message id="prefs.summary.mmhg_suffix">
        <source> mmHg</source>
        <translation> mmHg</translation>
    </message>
    <message id="prefs.summary.threshold_systolic">
        <source>Home threshold, systolic:</source>
        <translation>Heim-Schwellenwert, systolisch:</translation>
    </message>
    <message id="prefs.summary.threshold_diastolic">
        <source>Home threshold, diastolic:</source>
        <translation>Heim-Schwellenwert, diastolisch:</translation>
    </message>
    <message id="prefs.summary.classification">
        <source>Classify readings by:</source>
        <translation>Messungen einordnen nach:</translation>
    </message>
    <message id="prefs.chart.legend">
        <source>Show the chart's legend and unit</source>
        <translation>Legende und Einheit im Diagramm zeigen</translation>
    </message>
    <message id="prefs.chart.threshold">
        <source>Show the home threshold in the chart</source>
        <translation>Heim-Schwellenwert im Diagramm zeigen</translation>
    </message>
    <message id="prefs.print.page_header">
        <source>Print a header and footer on every page</source>
        <translation>Kopf- und Fußzeile auf jeder Seite drucken</translation>
    </message>
    <message id="prefs.print.person_name">
        <source>Name in the header:</source>
        <translation>Name in der Kopfzeile:</translation>
    </message>
</context>
</TS>
