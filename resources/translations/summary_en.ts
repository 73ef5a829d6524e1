<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="summary.title">
        <source>Home-measurement summary</source>
        <translation>Home-measurement summary</translation>
    </message>
    <message id="summary.verdict.at_or_above">
        <source>The mean is at or above the home threshold of %1/%2 mmHg.</source>
        <translation>The mean is at or above the home threshold of %1/%2 mmHg.</translation>
    </message>
    <message id="summary.verdict.below">
        <source>The mean is below the home threshold of %1/%2 mmHg.</source>
        <translation>The mean is below the home threshold of %1/%2 mmHg.</translation>
    </message>
    <message id="summary.no_readings">
        <source>No readings to summarise.</source>
        <translation>No readings to summarise.</translation>
    </message>
    <message id="summary.missing_day">
        <source>Incomplete: 1 more day with morning and evening readings is needed.</source>
        <translation>Incomplete: 1 more day with morning and evening readings is needed.</translation>
    </message>
    <message id="summary.missing_days">
        <source>Incomplete: %1 more days with morning and evening readings are needed.</source>
        <translation>Incomplete: %1 more days with morning and evening readings are needed.</translation>
    </message>
    <message id="summary.period">
        <source>Period: %1 to %2</source>
        <translation>Period: %1 to %2</translation>
    </message>
    <message id="summary.counted">
        <source>Counted: %1 days, %2 readings (the first measured day is left out from 4 days on)</source>
        <translation>Counted: %1 days, %2 readings (the first measured day is left out from 4 days on)</translation>
    </message>
    <message id="summary.part.all">
        <source>Morning and evening</source>
        <translation>Morning and evening</translation>
    </message>
    <message id="summary.part.morning">
        <source>Morning</source>
        <translation>Morning</translation>
    </message>
    <message id="summary.part.evening">
        <source>Evening</source>
        <translation>Evening</translation>
    </message>
    <message id="summary.columns.part">
        <source>Part of day</source>
        <translation>Part of day</translation>
    </message>
    <message id="summary.columns.readings">
        <source>Readings</source>
        <translation>Readings</translation>
    </message>
    <message id="summary.columns.systolic">
        <source>Systolic</source>
        <translation>Systolic</translation>
    </message>
    <message id="summary.columns.diastolic">
        <source>Diastolic</source>
        <translation>Diastolic</translation>
    </message>
    <message id="summary.columns.pulse">
        <source>Pulse</source>
        <translation>Pulse</translation>
    </message>
    <message id="summary.note">
        <source>Informational only: the readings against a stated threshold, not a diagnosis.</source>
        <translation>Informational only: the readings against a stated threshold, not a diagnosis.</translation>
    </message>
    <message id="summary.pane">
        <source>Home-measurement summary of the selected filter</source>
        <translation>Home-measurement summary of the selected filter</translation>
    </message>
    <message id="summary.filter">
        <source>Filter: %1</source>
        <translation>Filter: %1</translation>
    </message>
    <message id="tool.error.unknown_filter">
        <source>The document has no filter named "%1".</source>
        <translation>The document has no filter named "%1".</translation>
    </message>
    <message id="print.header.title">
        <source>Blood pressure readings</source>
        <translation>Blood pressure readings</translation>
    </message>
    <message id="print.header.period">
        <source>%1 to %2</source>
        <translation>%1 to %2</translation>
    </message>
    <message id="print.header.filter">
        <source>Filter: %1</source>
        <translation>Filter: %1</translation>
    </message>
    <message id="print.footer.printed">
        <source>Printed %1</source>
        <translation>Printed %1</translation>
    </message>
    <message id="print.footer.page">
        <source>Page %1 of %2</source>
        <translation>Page %1 of %2</translation>
    </message>
    <message id="chart.legend.systolic">
        <source>Systolic</source>
        <translation>Systolic</translation>
    </message>
    <message id="chart.legend.diastolic">
        <source>Diastolic</source>
        <translation>Diastolic</translation>
    </message>
    <message id="chart.legend.pulse">
        <source>Pulse</source>
        <translation>Pulse</translation>
    </message>
    <message id="chart.legend.weight">
        <source>Weight</source>
        <translation>Weight</translation>
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
        <translation>High normal</translation>
    </message>
    <message id="class.esh.grade_1">
        <source>Grade 1</source>
        <translation>Grade 1</translation>
    </message>
    <message id="class.esh.grade_2">
        <source>Grade 2</source>
        <translation>Grade 2</translation>
    </message>
    <message id="class.esh.grade_3">
        <source>Grade 3</source>
        <translation>Grade 3</translation>
    </message>
    <message id="class.esh.isolated_systolic">
        <source>Isolated systolic</source>
        <translation>Isolated systolic</translation>
    </message>
    <message id="class.acc.normal">
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message id="class.acc.elevated">
        <source>Elevated</source>
        <translation>Elevated</translation>
    </message>
    <message id="class.acc.stage_1">
        <source>Stage 1</source>
        <translation>Stage 1</translation>
    </message>
    <message id="class.acc.stage_2">
        <source>Stage 2</source>
        <translation>Stage 2</translation>
    </message>
    <message id="class.acc.crisis">
        <source>Crisis</source>
        <translation>Crisis</translation>
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
        <translation>None</translation>
    </message>
    <message id="print.columns.Class">
        <source>Class (%1)</source>
        <translation>Class (%1)</translation>
    </message>
    <message id="prefs.tab.summary">
        <source>Summary</source>
        <translation>Summary</translation>
    </message>
    <message id="prefs.summary.show">
        <source>Show the home-measurement summary under the averages</source>
        <translation>Show the home-measurement summary under the averages</translation>
    </message>
    <message id="prefs.summary.print">
        <source>Print the home-measurement summary before the averages</source>
        <translation>Print the home-measurement summary before the averages</translation>
    </message>
    <message id="prefs.summary.days">
        <source>Days:</source>
        <translation>Days:</translation>
    </message>
    <message id="prefs.summary.morning_from">
        <source>Morning from:</source>
        <translation>Morning from:</translation>
    </message>
    <message id="prefs.summary.morning_to">
        <source>Morning until:</source>
        <translation>Morning until:</translation>
    </message>
    <message id="prefs.summary.evening_from">
        <source>Evening from:</source>
        <translation>Evening from:</translation>
    </message>
    <message id="prefs.summary.evening_to">
        <source>Evening until:</source>
        <translation>Evening until:</translation>
    </message>
    <message id="prefs.summary.hour_suffix">
        <source>:00</source>
        <translation>:00</translation>
    </message>
    <message id="prefs.summary.mmhg_suffix">
        <source> mmHg</source>
        <translation> mmHg</translation>
    </message>
    <message id="prefs.summary.threshold_systolic">
        <source>Home threshold, systolic:</source>
        <translation>Home threshold, systolic:</translation>
    </message>
    <message id="prefs.summary.threshold_diastolic">
        <source>Home threshold, diastolic:</source>
        <translation>Home threshold, diastolic:</translation>
    </message>
    <message id="prefs.summary.classification">
        <source>Classify readings by:</source>
        <translation>Classify readings by:</translation>
    </message>
    <message id="prefs.chart.legend">
        <source>Show the chart's legend and unit</source>
        <translation>Show the chart's legend and unit</translation>
    </message>
    <message id="prefs.chart.threshold">
        <source>Show the home threshold in the chart</source>
        <translation>Show the home threshold in the chart</translation>
    </message>
    <message id="prefs.print.page_header">
        <source>Print a header and footer on every page</source>
        <translation>Print a header and footer on every page</translation>
    </message>
    <message id="prefs.print.person_name">
        <source>Name in the header:</source>
        <translation>Name in the header:</translation>
    </message>
</context>
</TS>
