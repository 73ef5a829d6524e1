<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="tool.json.syntax">
        <source>The JSON text is malformed at character %1.</source>
        <translation>The JSON text is malformed at character %1.</translation>
    </message>
    <message id="tool.json.too_large">
        <source>The JSON text is larger than %1 MB.</source>
        <translation>The JSON text is larger than %1 MB.</translation>
    </message>
    <message id="tool.json.expected_object">
        <source>%1: an object is expected here.</source>
        <translation>%1: an object is expected here.</translation>
    </message>
    <message id="tool.json.expected_array">
        <source>%1: an array is expected here.</source>
        <translation>%1: an array is expected here.</translation>
    </message>
    <message id="tool.json.expected_number">
        <source>%1: a number is expected here.</source>
        <translation>%1: a number is expected here.</translation>
    </message>
    <message id="tool.json.expected_integer">
        <source>%1: a whole number is expected here.</source>
        <translation>%1: a whole number is expected here.</translation>
    </message>
    <message id="tool.json.expected_string">
        <source>%1: a string is expected here.</source>
        <translation>%1: a string is expected here.</translation>
    </message>
    <message id="tool.json.expected_bool">
        <source>%1: true or false is expected here.</source>
        <translation>%1: true or false is expected here.</translation>
    </message>
    <message id="tool.json.not_finite">
        <source>%1: the number is out of range.</source>
        <translation>%1: the number is out of range.</translation>
    </message>
    <message id="tool.json.unknown_key">
        <source>%1: unknown key.</source>
        <translation>%1: unknown key.</translation>
    </message>
    <message id="tool.json.missing">
        <source>%1: this value is missing.</source>
        <translation>%1: this value is missing.</translation>
    </message>
    <message id="tool.json.bad_expression">
        <source>%1: an expression needs exactly one of "keyPath" and "constant".</source>
        <translation>%1: an expression needs exactly one of "keyPath" and "constant".</translation>
    </message>
    <message id="tool.json.bad_constant">
        <source>%1: this is not a constant a predicate can hold.</source>
        <translation>%1: this is not a constant a predicate can hold.</translation>
    </message>
    <message id="tool.json.bad_code">
        <source>%1: unknown code %2.</source>
        <translation>%1: unknown code %2.</translation>
    </message>
    <message id="tool.json.too_deep">
        <source>%1: the predicate is nested too deeply.</source>
        <translation>%1: the predicate is nested too deeply.</translation>
    </message>
    <message id="tool.json.bad_predicate">
        <source>%1: this is not a predicate.</source>
        <translation>%1: this is not a predicate.</translation>
    </message>
    <message id="tool.json.not_one_subpredicate">
        <source>%1: "not" takes exactly one subpredicate.</source>
        <translation>%1: "not" takes exactly one subpredicate.</translation>
    </message>
    <message id="tool.json.unusable_predicate">
        <source>%1: the predicate cannot be used: %2</source>
        <translation>%1: the predicate cannot be used: %2</translation>
    </message>
    <message id="tool.json.bad_index">
        <source>%1: there is no filter %2.</source>
        <translation>%1: there is no filter %2.</translation>
    </message>
    <message id="tool.usage">
        <source>Usage:
  tensilo-tool dump FILE
  tensilo-tool build OUT &lt; document.json
  tensilo-tool stats FILE
  tensilo-tool protocol FILE [--filter NAME]
  tensilo-tool chart FILE OUT.png [--size WIDTHxHEIGHT] [--set KEY=VALUE]...
  tensilo-tool report FILE OUT.pdf [--set KEY=VALUE]...
  tensilo-tool convert IN OUT
  tensilo-tool --help | --version

  dump     the document as JSON on standard output
  build    a document file from that JSON on standard input
  stats    what the averages page shows, as JSON
  protocol the home-measurement summary of the selected filter (or NAME), as JSON
  chart    the chart as a PNG picture
  report   the printed report as PDF
  convert  any document Tensilo can read, written in the current file form
  --size   the size of the picture in pixels (1200x800 if not given)
  --set    a preference for this run only; the user's settings are not changed</source>
        <translation>Usage:
  tensilo-tool dump FILE
  tensilo-tool build OUT &lt; document.json
  tensilo-tool stats FILE
  tensilo-tool protocol FILE [--filter NAME]
  tensilo-tool chart FILE OUT.png [--size WIDTHxHEIGHT] [--set KEY=VALUE]...
  tensilo-tool report FILE OUT.pdf [--set KEY=VALUE]...
  tensilo-tool convert IN OUT
  tensilo-tool --help | --version

  dump     the document as JSON on standard output
  build    a document file from that JSON on standard input
  stats    what the averages page shows, as JSON
  protocol the home-measurement summary of the selected filter (or NAME), as JSON
  chart    the chart as a PNG picture
  report   the printed report as PDF
  convert  any document Tensilo can read, written in the current file form
  --size   the size of the picture in pixels (1200x800 if not given)
  --set    a preference for this run only; the user's settings are not changed</translation>
    </message>
    <message id="tool.error.unknown_command">
        <source>Unknown command "%1".</source>
        <translation>Unknown command "%1".</translation>
    </message>
    <message id="tool.error.arguments">
        <source>Wrong number of arguments for "%1".</source>
        <translation>Wrong number of arguments for "%1".</translation>
    </message>
    <message id="tool.error.unknown_option">
        <source>Unknown option "%1".</source>
        <translation>Unknown option "%1".</translation>
    </message>
    <message id="tool.error.missing_value">
        <source>The option "%1" needs a value.</source>
        <translation>The option "%1" needs a value.</translation>
    </message>
    <message id="tool.error.bad_size">
        <source>"%1" is not a size such as 1200x800.</source>
        <translation>"%1" is not a size such as 1200x800.</translation>
    </message>
    <message id="tool.error.bad_setting">
        <source>"%1" is not of the form KEY=VALUE.</source>
        <translation>"%1" is not of the form KEY=VALUE.</translation>
    </message>
    <message id="tool.error.unknown_preference">
        <source>There is no preference "%1".</source>
        <translation>There is no preference "%1".</translation>
    </message>
    <message id="tool.error.bad_preference_value">
        <source>"%1" is not a valid value for "%2".</source>
        <translation>"%1" is not a valid value for "%2".</translation>
    </message>
    <message id="tool.error.read_failed">
        <source>The file "%1" could not be read.</source>
        <translation>The file "%1" could not be read.</translation>
    </message>
    <message id="tool.error.stdin">
        <source>The standard input could not be read.</source>
        <translation>The standard input could not be read.</translation>
    </message>
    <message id="tool.error.stdout">
        <source>The standard output could not be written.</source>
        <translation>The standard output could not be written.</translation>
    </message>
    <message id="tool.error.unstorable_reading">
        <source>The reading of %1 has no systolic or diastolic value, which a document file cannot keep.</source>
        <translation>The reading of %1 has no systolic or diastolic value, which a document file cannot keep.</translation>
    </message>
</context>
</TS>
