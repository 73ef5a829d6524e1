<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="filter.name_untitled">
        <source>Untitled filter</source>
        <translation>Untitled filter</translation>
    </message>
    <message id="filter.name_no_filter">
        <source>No filter</source>
        <translation>No filter</translation>
    </message>
    <message id="filter.name_last_week">
        <source>Last week</source>
        <translation>Last week</translation>
    </message>
    <message id="filter.name_last_month">
        <source>Last month</source>
        <translation>Last month</translation>
    </message>
    <message id="predicate.error.at">
        <source>%1 (at position %2)</source>
        <translation>%1 (at position %2)</translation>
    </message>
    <message id="predicate.error.unexpected_end">
        <source>The condition ends too early</source>
        <translation>The condition ends too early</translation>
    </message>
    <message id="predicate.error.unexpected">
        <source>Unexpected “%1”</source>
        <translation>Unexpected “%1”</translation>
    </message>
    <message id="predicate.error.trailing">
        <source>Unexpected “%1” after the end of the condition</source>
        <translation>Unexpected “%1” after the end of the condition</translation>
    </message>
    <message id="predicate.error.expected_operator">
        <source>A comparison operator is missing</source>
        <translation>A comparison operator is missing</translation>
    </message>
    <message id="predicate.error.expected_expression">
        <source>A key or a value is missing</source>
        <translation>A key or a value is missing</translation>
    </message>
    <message id="predicate.error.expected_close">
        <source>“%1” is missing</source>
        <translation>“%1” is missing</translation>
    </message>
    <message id="predicate.error.unterminated_string">
        <source>The text has no closing quotation mark</source>
        <translation>The text has no closing quotation mark</translation>
    </message>
    <message id="predicate.error.bad_escape">
        <source>Unknown escape sequence in a text</source>
        <translation>Unknown escape sequence in a text</translation>
    </message>
    <message id="predicate.error.bad_number">
        <source>“%1” is not a number</source>
        <translation>“%1” is not a number</translation>
    </message>
    <message id="predicate.error.bad_character">
        <source>The character “%1” is not allowed here</source>
        <translation>The character “%1” is not allowed here</translation>
    </message>
    <message id="predicate.error.bad_options">
        <source>Unknown comparison option “%1” (allowed: c, d)</source>
        <translation>Unknown comparison option “%1” (allowed: c, d)</translation>
    </message>
    <message id="predicate.error.bad_array">
        <source>An array may hold only numbers and texts</source>
        <translation>An array may hold only numbers and texts</translation>
    </message>
    <message id="predicate.error.bad_cast">
        <source>Only CAST(number, "NSDate") is supported</source>
        <translation>Only CAST(number, "NSDate") is supported</translation>
    </message>
    <message id="predicate.error.bad_relative_date">
        <source>RELATIVEDATE needs a number of seconds and a unit code</source>
        <translation>RELATIVEDATE needs a number of seconds and a unit code</translation>
    </message>
    <message id="predicate.error.bad_regex">
        <source>Invalid regular expression: %1</source>
        <translation>Invalid regular expression: %1</translation>
    </message>
    <message id="predicate.error.too_deep">
        <source>The condition is nested too deeply</source>
        <translation>The condition is nested too deeply</translation>
    </message>
    <message id="predicate.error.too_large">
        <source>The condition has more than %1 parts</source>
        <translation>The condition has more than %1 parts</translation>
    </message>
    <message id="predicate.error.empty">
        <source>The condition is empty</source>
        <translation>The condition is empty</translation>
    </message>
</context>
</TS>
