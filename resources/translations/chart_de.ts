<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name></name>
    <message id="chart.no_data">
        <source>No data for the chart</source>
        <translation>Keine Daten für das Diagramm</translation>
    </message>
    <message id="chart.image_size_invalid">
        <source>The image size %1×%2 is not between 1×1 and 20000×20000.</source>
        <translation>Die Bildgröße %1×%2 liegt nicht zwischen 1×1 und 20000×20000.</translation>
    </message>
    <message id="chart.image_write_failed">
        <source>Could not write the chart to “%1”: %2</source>
        <translation>Das Diagramm konnte nicht nach „%1“ geschrieben werden: %2</translation>
    </message>
</context>
</TS>
