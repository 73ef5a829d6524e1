<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="chart.no_data">
        <source>No data for the chart</source>
        <translation>No data for the chart</translation>
    </message>
    <message id="chart.image_size_invalid">
        <source>The image size %1×%2 is not between 1×1 and 20000×20000.</source>
        <translation>The image size %1×%2 is not between 1×1 and 20000×20000.</translation>
    </message>
    <message id="chart.image_write_failed">
        <source>Could not write the chart to “%1”: %2</source>
        <translation>Could not write the chart to “%1”: %2</translation>
    </message>
</context>
</TS>
