<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name></name>
    <message id="app.name">
        <source>Tensilo</source>
        <translation>Tensilo</translation>
    </message>
    <message id="menu.file">
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message id="menu.file.quit">
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message id="menu.edit">
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message id="menu.edit.undo">
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message id="menu.edit.redo">
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message id="menu.edit.undo_named">
        <source>&amp;Undo %1</source>
        <translation>&amp;Rückgängig: %1</translation>
    </message>
    <message id="menu.edit.redo_named">
        <source>&amp;Redo %1</source>
        <translation>&amp;Wiederherstellen: %1</translation>
    </message>
    <message id="menu.help">
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message id="menu.help.about">
        <source>&amp;About Tensilo</source>
        <translation>Ü&amp;ber Tensilo</translation>
    </message>
    <message id="about.text">
        <source>Tensilo keeps a record of home blood-pressure readings.</source>
        <translation>Tensilo führt Buch über zu Hause gemessene Blutdruckwerte und hilft, sie auszuwerten.</translation>
    </message>
    <message id="filtered_counter.measurement">
        <source>%1 of %2 reading</source>
        <translation>%1 von %2 Messung</translation>
    </message>
    <message id="filtered_counter.measurements">
        <source>%1 of %2 readings</source>
        <translation>%1 von %2 Messungen</translation>
    </message>
</context>
</TS>
