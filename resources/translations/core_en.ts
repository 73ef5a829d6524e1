<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="app.name">
        <source>Tensilo</source>
        <translation>Tensilo</translation>
    </message>
    <message id="menu.file">
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message id="menu.file.quit">
        <source>&amp;Quit</source>
        <translation>&amp;Quit</translation>
    </message>
    <message id="menu.edit">
        <source>&amp;Edit</source>
        <translation>&amp;Edit</translation>
    </message>
    <message id="menu.edit.undo">
        <source>&amp;Undo</source>
        <translation>&amp;Undo</translation>
    </message>
    <message id="menu.edit.redo">
        <source>&amp;Redo</source>
        <translation>&amp;Redo</translation>
    </message>
    <message id="menu.edit.undo_named">
        <source>&amp;Undo %1</source>
        <translation>&amp;Undo %1</translation>
    </message>
    <message id="menu.edit.redo_named">
        <source>&amp;Redo %1</source>
        <translation>&amp;Redo %1</translation>
    </message>
    <message id="menu.help">
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message id="menu.help.about">
        <source>&amp;About Tensilo</source>
        <translation>&amp;About Tensilo</translation>
    </message>
    <message id="about.text">
        <source>Tensilo keeps a record of home blood-pressure readings.</source>
        <translation>Tensilo keeps a record of home blood-pressure readings and helps you study them.</translation>
    </message>
    <message id="filtered_counter.measurement">
        <source>%1 of %2 reading</source>
        <translation>%1 of %2 reading</translation>
    </message>
    <message id="filtered_counter.measurements">
        <source>%1 of %2 readings</source>
        <translation>%1 of %2 readings</translation>
    </message>
</context>
</TS>
