<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name></name>
    <message id="tool.json.syntax">
        <source>The JSON text is malformed at character %1.</source>
        <translation>Der JSON-Text ist bei Zeichen %1 fehlerhaft.</translation>
    </message>
    <message id="tool.json.too_large">
        <source>The JSON text is larger than %1 MB.</source>
        <translation>Der JSON-Text ist größer als %1 MB.</translation>
    </message>
    <message id="tool.json.expected_object">
        <source>%1: an object is expected here.</source>
        <translation>%1: Hier wird ein Objekt erwartet.</translation>
    </message>
    <message id="tool.json.expected_array">
        <source>%1: an array is expected here.</source>
        <translation>%1: Hier wird ein Array erwartet.</translation>
    </message>
    <message id="tool.json.expected_number">
        <source>%1: a number is expected here.</source>
        <translation>%1: Hier wird eine Zahl erwartet.</translation>
    </message>
    <message id="tool.json.expected_integer">
        <source>%1: a whole number is expected here.</source>
        <translation>%1: Hier wird eine ganze Zahl erwartet.</translation>
    </message>
    <message id="tool.json.expected_string">
        <source>%1: a string is expected here.</source>
        <translation>%1: Hier wird eine Zeichenkette erwartet.</translation>
    </message>
    <message id="tool.json.expected_bool">
        <source>%1: true or false is expected here.</source>
        <translation>%1: Hier wird true oder false erwartet.</translation>
    </message>
    <message id="tool.json.not_finite">
        <source>%1: the number is out of range.</source>
        <translation>%1: Die Zahl liegt außerhalb des zulässigen Bereichs.</translation>
    </message>
    <message id="tool.json.unknown_key">
        <source>%1: unknown key.</source>
        <translation>%1: Unbekannter Schlüssel.</translation>
    </message>
    <message id="tool.json.missing">
        <source>%1: this value is missing.</source>
        <translation>%1: Dieser Wert fehlt.</translation>
    </message>
    <message id="tool.json.bad_expression">
        <source>%1: an expression needs exactly one of "keyPath" and "constant".</source>
        <translation>%1: Ein Ausdruck braucht genau eines von "keyPath" und "constant".</translation>
    </message>
    <message id="tool.json.bad_constant">
        <source>%1: this is not a constant a predicate can hold.</source>
        <translation>%1: Diese Konstante kann in keiner Bedingung stehen.</translation>
    </message>
    <message id="tool.json.bad_code">
        <source>%1: unknown code %2.</source>
        <translation>%1: Unbekannter Code %2.</translation>
    </message>
    <message id="tool.json.too_deep">
        <source>%1: the predicate is nested too deeply.</source>
        <translation>%1: Die Bedingung ist zu tief verschachtelt.</translation>
    </message>
    <message id="tool.json.bad_predicate">
        <source>%1: this is not a predicate.</source>
        <translation>%1: Dies ist keine Bedingung.</translation>
    </message>
    <message id="tool.json.not_one_subpredicate">
        <source>%1: "not" takes exactly one subpredicate.</source>
        <translation>%1: "not" nimmt genau eine Teilbedingung.</translation>
    </message>
    <message id="tool.json.unusable_predicate">
        <source>%1: the predicate cannot be used: %2</source>
        <translation>%1: Die Bedingung ist nicht verwendbar: %2</translation>
    </message>
    <message id="tool.json.bad_index">
        <source>%1: there is no filter %2.</source>
        <translation>%1: Es gibt keinen Filter %2.</translation>
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
        <translation>Aufruf:
  tensilo-tool dump DATEI
  tensilo-tool build ZIEL &lt; dokument.json
  tensilo-tool stats DATEI
  tensilo-tool protocol DATEI [--filter NAME]
  tensilo-tool chart DATEI ZIEL.png [--size BREITExHÖHE] [--set SCHLÜSSEL=WERT]...
  tensilo-tool report DATEI ZIEL.pdf [--set SCHLÜSSEL=WERT]...
  tensilo-tool convert QUELLE ZIEL
  tensilo-tool --help | --version

  dump     das Dokument als JSON auf der Standardausgabe
  build    eine Dokumentdatei aus diesem JSON von der Standardeingabe
  stats    was die Seite der Mittelwerte zeigt, als JSON
  protocol die Zusammenfassung der Heimmessung des gewählten Filters (oder NAME), als JSON
  chart    das Diagramm als PNG-Bild
  report   der gedruckte Bericht als PDF
  convert  ein Dokument, das Tensilo lesen kann, in der aktuellen Dateiform geschrieben
  --size   die Größe des Bildes in Pixeln (ohne Angabe 1200x800)
  --set    eine Einstellung nur für diesen Aufruf; die Einstellungen des Benutzers bleiben unverändert</translation>
    </message>
    <message id="tool.error.unknown_command">
        <source>Unknown command "%1".</source>
        <translation>Unbekannter Befehl "%1".</translation>
    </message>
    <message id="tool.error.arguments">
        <source>Wrong number of arguments for "%1".</source>
        <translation>Falsche Anzahl von Argumenten für "%1".</translation>
    </message>
    <message id="tool.error.unknown_option">
        <source>Unknown option "%1".</source>
        <translation>Unbekannte Option "%1".</translation>
    </message>
    <message id="tool.error.missing_value">
        <source>The option "%1" needs a value.</source>
        <translation>Die Option "%1" braucht einen Wert.</translation>
    </message>
    <message id="tool.error.bad_size">
        <source>"%1" is not a size such as 1200x800.</source>
        <translation>"%1" ist keine Größe wie 1200x800.</translation>
    </message>
    <message id="tool.error.bad_setting">
        <source>"%1" is not of the form KEY=VALUE.</source>
        <translation>"%1" hat nicht die Form SCHLÜSSEL=WERT.</translation>
    </message>
    <message id="tool.error.unknown_preference">
        <source>There is no preference "%1".</source>
        <translation>Es gibt keine Einstellung "%1".</translation>
    </message>
    <message id="tool.error.bad_preference_value">
        <source>"%1" is not a valid value for "%2".</source>
        <translation>"%1" ist kein gültiger Wert für "%2".</translation>
    </message>
    <message id="tool.error.read_failed">
        <source>The file "%1" could not be read.</source>
        <translation>Die Datei "%1" konnte nicht gelesen werden.</translation>
    </message>
    <message id="tool.error.stdin">
        <source>The standard input could not be read.</source>
        <translation>Die Standardeingabe konnte nicht gelesen werden.</translation>
    </message>
    <message id="tool.error.stdout">
        <source>The standard output could not be written.</source>
        <translation>Die Standardausgabe konnte nicht geschrieben werden.</translation>
    </message>
    <message id="tool.error.unstorable_reading">
        <source>The reading of %1 has no systolic or diastolic value, which a document file cannot keep.</source>
        <translation>Der Messwert vom %1 hat keinen systolischen oder diastolischen Wert, was eine Dokumentdatei nicht speichern kann.</translation>
    </message>
</context>
</TS>
