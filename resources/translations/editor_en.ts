<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="tokenfield.remove">
        <source>Remove %1</source>
        <translation>Remove %1</translation>
    </message>
</context>
</TS>
