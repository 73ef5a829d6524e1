<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name></name>
    <message id="filter.name_untitled">
        <source>Untitled filter</source>
        <translation>Unbenannter Filter</translation>
    </message>
    <message id="filter.name_no_filter">
        <source>No filter</source>
        <translation>Kein Filter</translation>
    </message>
    <message id="filter.name_last_week">
        <source>Last week</source>
        <translation>Letzte Woche</translation>
    </message>
    <message id="filter.name_last_month">
        <source>Last month</source>
        <translation>Letzter Monat</translation>
    </message>
    <message id="predicate.error.at">
        <source>%1 (at position %2)</source>
        <translation>%1 (an Position %2)</translation>
    </message>
    <message id="predicate.error.unexpected_end">
        <source>The condition ends too early</source>
        <translation>Die Bedingung endet zu früh</translation>
    </message>
    <message id="predicate.error.unexpected">
        <source>Unexpected “%1”</source>
        <translation>Unerwartetes „%1“</translation>
    </message>
    <message id="predicate.error.trailing">
        <source>Unexpected “%1” after the end of the condition</source>
        <translation>Unerwartetes „%1“ nach dem Ende der Bedingung</translation>
    </message>
    <message id="predicate.error.expected_operator">
        <source>A comparison operator is missing</source>
        <translation>Ein Vergleichsoperator fehlt</translation>
    </message>
    <message id="predicate.error.expected_expression">
        <source>A key or a value is missing</source>
        <translation>Ein Schlüssel oder ein Wert fehlt</translation>
    </message>
    <message id="predicate.error.expected_close">
        <source>“%1” is missing</source>
        <translation>„%1“ fehlt</translation>
    </message>
    <message id="predicate.error.unterminated_string">
        <source>The text has no closing quotation mark</source>
        <translation>Dem Text fehlt das schließende Anführungszeichen</translation>
    </message>
    <message id="predicate.error.bad_escape">
        <source>Unknown escape sequence in a text</source>
        <translation>Unbekannte Escape-Sequenz in einem Text</translation>
    </message>
    <message id="predicate.error.bad_number">
        <source>“%1” is not a number</source>
        <translation>„%1“ ist keine Zahl</translation>
    </message>
    <message id="predicate.error.bad_character">
        <source>The character “%1” is not allowed here</source>
        <translation>Das Zeichen „%1“ ist hier nicht erlaubt</translation>
    </message>
    <message id="predicate.error.bad_options">
        <source>Unknown comparison option “%1” (allowed: c, d)</source>
        <translation>Unbekannte Vergleichsoption „%1“ (erlaubt: c, d)</translation>
    </message>
    <message id="predicate.error.bad_array">
        <source>An array may hold only numbers and texts</source>
        <translation>Eine Liste darf nur Zahlen und Texte enthalten</translation>
    </message>
    <message id="predicate.error.bad_cast">
        <source>Only CAST(number, "NSDate") is supported</source>
        <translation>Nur CAST(Zahl, "NSDate") wird unterstützt</translation>
    </message>
    <message id="predicate.error.bad_relative_date">
        <source>RELATIVEDATE needs a number of seconds and a unit code</source>
        <translation>RELATIVEDATE braucht eine Anzahl Sekunden und einen Einheitencode</translation>
    </message>
    <message id="predicate.error.bad_regex">
        <source>Invalid regular expression: %1</source>
        <translation>Ungültiger regulärer Ausdruck: %1</translation>
    </message>
    <message id="predicate.error.too_deep">
        <source>The condition is nested too deeply</source>
        <translation>Die Bedingung ist zu tief verschachtelt</translation>
    </message>
    <message id="predicate.error.too_large">
        <source>The condition has more than %1 parts</source>
        <translation>Die Bedingung hat mehr als %1 Teile</translation>
    </message>
    <message id="predicate.error.empty">
        <source>The condition is empty</source>
        <translation>Die Bedingung ist leer</translation>
    </message>
</context>
</TS>
