<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name></name>
    <message id="doc.file_filter">
        <source>Tensilo documents (%1)</source>
        <translation>Tensilo-Dokumente (%1)</translation>
    </message>
    <message id="doc.open.caption">
        <source>Open Document</source>
        <translation>Dokument öffnen</translation>
    </message>
    <message id="doc.open_failed.title">
        <source>“%1” could not be opened.</source>
        <translation>„%1“ konnte nicht geöffnet werden.</translation>
    </message>
    <message id="doc.recovery.never_saved">
        <source>a document that was never saved</source>
        <translation>ein Dokument, das nie gesichert wurde</translation>
    </message>
    <message id="doc.revert_failed.title">
        <source>“%1” could not be reverted.</source>
        <translation>„%1“ konnte nicht wiederhergestellt werden.</translation>
    </message>
    <message id="doc.save_as.caption">
        <source>Save Document As</source>
        <translation>Dokument sichern unter</translation>
    </message>
    <message id="doc.save_failed.title">
        <source>“%1” could not be saved.</source>
        <translation>„%1“ konnte nicht gesichert werden.</translation>
    </message>
    <message id="doc.untitled">
        <source>Untitled</source>
        <translation>Ohne Titel</translation>
    </message>
    <message id="doc.untitled_numbered">
        <source>Untitled %1</source>
        <translation>Ohne Titel %1</translation>
    </message>
    <message id="doc.recent_missing.title">
        <source>The document cannot be found.</source>
        <translation>Das Dokument wurde nicht gefunden.</translation>
    </message>
    <message id="doc.recent_missing.message">
        <source>“%1” is no longer at %2. It has been removed from the recent documents.</source>
        <translation>„%1“ liegt nicht mehr unter %2. Es wurde aus den zuletzt benutzten Dokumenten entfernt.</translation>
    </message>
    <message id="doc.recent_missing.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="doc.save_as_open.title">
        <source>The file is open in another window.</source>
        <translation>Die Datei ist in einem anderen Fenster geöffnet.</translation>
    </message>
    <message id="doc.save_as_open.message">
        <source>Close “%1” first, or choose another name.</source>
        <translation>Schließen Sie zuerst „%1“ oder wählen Sie einen anderen Namen.</translation>
    </message>
    <message id="doc.save_as_open.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="doc.revert.title">
        <source>Revert to the saved version?</source>
        <translation>Zur gesicherten Version zurückkehren?</translation>
    </message>
    <message id="doc.revert.message">
        <source>The changes made to “%1” since it was last saved will be lost.</source>
        <translation>Die Änderungen an „%1“ seit dem letzten Sichern gehen verloren.</translation>
    </message>
    <message id="doc.revert.revert">
        <source>Revert</source>
        <translation>Zurückkehren</translation>
    </message>
    <message id="doc.revert.cancel">
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message id="doc.close_unsaved.title">
        <source>Save the changes?</source>
        <translation>Änderungen sichern?</translation>
    </message>
    <message id="doc.close_unsaved.message">
        <source>“%1” has changes that have not been saved. They will be lost unless you save them.</source>
        <translation>„%1“ enthält Änderungen, die nicht gesichert wurden. Sie gehen verloren, wenn Sie sie nicht sichern.</translation>
    </message>
    <message id="doc.close_unsaved.save">
        <source>Save</source>
        <translation>Sichern</translation>
    </message>
    <message id="doc.close_unsaved.dont_save">
        <source>Don’t Save</source>
        <translation>Nicht sichern</translation>
    </message>
    <message id="doc.close_unsaved.cancel">
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message id="file.replace.title">
        <source>A file with this name already exists.</source>
        <translation>Eine Datei mit diesem Namen ist bereits vorhanden.</translation>
    </message>
    <message id="file.replace.message">
        <source>Do you want to replace “%1”? Replacing it overwrites what it holds.</source>
        <translation>Möchten Sie „%1“ ersetzen? Dabei wird ihr Inhalt überschrieben.</translation>
    </message>
    <message id="file.replace.replace">
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message id="file.replace.cancel">
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message id="doc.changed_on_disk.title">
        <source>The file has been changed by another application.</source>
        <translation>Die Datei wurde von einem anderen Programm geändert.</translation>
    </message>
    <message id="doc.changed_on_disk.message">
        <source>“%1” was changed on disk after you opened or saved it here. Saving now replaces those changes with yours; reverting replaces your changes with the file.</source>
        <translation>„%1“ wurde auf dem Datenträger geändert, nachdem Sie die Datei hier geöffnet oder gesichert haben. Sichern ersetzt jene Änderungen durch Ihre; Zurücksetzen ersetzt Ihre Änderungen durch die Datei.</translation>
    </message>
    <message id="doc.changed_on_disk.save_anyway">
        <source>Save Anyway</source>
        <translation>Trotzdem sichern</translation>
    </message>
    <message id="doc.changed_on_disk.revert">
        <source>Revert</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message id="doc.changed_on_disk.cancel">
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message id="doc.recovered_name">
        <source>%1 (recovered)</source>
        <translation>%1 (wiederhergestellt)</translation>
    </message>
    <message id="doc.save_recovered.title">
        <source>Replace the file with the recovered copy?</source>
        <translation>Die Datei durch die wiederhergestellte Kopie ersetzen?</translation>
    </message>
    <message id="doc.save_recovered.message">
        <source>This copy was recovered for “%1”, which is open in another window. Replacing the file closes that window; to keep both, save the copy under another name.</source>
        <translation>Diese Kopie wurde für „%1“ wiederhergestellt, das in einem anderen Fenster geöffnet ist. Wenn Sie die Datei ersetzen, wird jenes Fenster geschlossen; um beide zu behalten, sichern Sie die Kopie unter einem anderen Namen.</translation>
    </message>
    <message id="doc.save_recovered.replace">
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message id="doc.save_recovered.save_as">
        <source>Save As…</source>
        <translation>Sichern unter …</translation>
    </message>
    <message id="doc.save_recovered.cancel">
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message id="doc.recovery.title">
        <source>Recover unsaved changes?</source>
        <translation>Nicht gesicherte Änderungen wiederherstellen?</translation>
    </message>
    <message id="doc.recovery.message">
        <source>Tensilo ended unexpectedly while “%1” (%2) had changes that were not saved. A copy autosaved at %3 can be recovered.</source>
        <translation>Tensilo wurde unerwartet beendet, während „%1“ (%2) nicht gesicherte Änderungen hatte. Eine um %3 automatisch gesicherte Kopie kann wiederhergestellt werden.</translation>
    </message>
    <message id="doc.recovery.recover">
        <source>Recover</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message id="doc.recovery.discard">
        <source>Discard</source>
        <translation>Verwerfen</translation>
    </message>
    <message id="doc.recovery.later">
        <source>Decide Later</source>
        <translation>Später entscheiden</translation>
    </message>
    <message id="about.title">
        <source>About Tensilo</source>
        <translation>Über Tensilo</translation>
    </message>
    <message id="about.message">
        <source>Tensilo %1 keeps a record of home blood-pressure readings and helps you study them.

Qt %2</source>
        <translation>Tensilo %1 führt Buch über zu Hause gemessene Blutdruckwerte und hilft, sie auszuwerten.

Qt %2</translation>
    </message>
    <message id="about.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="menu.edit.preferences">
        <source>Prefere&amp;nces…</source>
        <translation>&amp;Einstellungen …</translation>
    </message>
    <message id="menu.file.clear_recent">
        <source>&amp;Clear Menu</source>
        <translation>Menü &amp;leeren</translation>
    </message>
    <message id="menu.file.close">
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message id="menu.file.new">
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message id="menu.file.open">
        <source>&amp;Open…</source>
        <translation>Ö&amp;ffnen …</translation>
    </message>
    <message id="menu.file.open_recent">
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt benutzt</translation>
    </message>
    <message id="menu.file.revert">
        <source>Re&amp;vert to Saved</source>
        <translation>Zur gesicherten &amp;Version zurückkehren</translation>
    </message>
    <message id="menu.file.save">
        <source>&amp;Save</source>
        <translation>&amp;Sichern</translation>
    </message>
    <message id="menu.file.save_as">
        <source>Save &amp;As…</source>
        <translation>Sichern &amp;unter …</translation>
    </message>
    <message id="menu.help.feedback">
        <source>Send &amp;Feedback…</source>
        <translation>&amp;Rückmeldung geben …</translation>
    </message>
    <message id="menu.view">
        <source>&amp;View</source>
        <translation>Dar&amp;stellung</translation>
    </message>
    <message id="menu.window">
        <source>&amp;Window</source>
        <translation>&amp;Fenster</translation>
    </message>
    <message id="menu.window.minimize">
        <source>&amp;Minimize</source>
        <translation>&amp;Minimieren</translation>
    </message>
    <message id="reporter.close">
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message id="reporter.copy">
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message id="reporter.crash.details">
        <source>&amp;Report:</source>
        <translation>&amp;Bericht:</translation>
    </message>
    <message id="reporter.crash.intro">
        <source>Tensilo ended unexpectedly on %1. The report below stays on this computer; you can copy it or save it to pass it on to the developers.</source>
        <translation>Tensilo wurde am %1 unerwartet beendet. Der Bericht unten bleibt auf diesem Computer; Sie können ihn kopieren oder sichern, um ihn an die Entwickler weiterzugeben.</translation>
    </message>
    <message id="reporter.crash.title">
        <source>Crash Report</source>
        <translation>Absturzbericht</translation>
    </message>
    <message id="reporter.feedback.details">
        <source>System &amp;details:</source>
        <translation>System&amp;angaben:</translation>
    </message>
    <message id="reporter.feedback.intro">
        <source>Describe what you noticed or would like. Nothing is sent: copy or save the text and pass it on.</source>
        <translation>Beschreiben Sie, was Ihnen aufgefallen ist oder was Sie sich wünschen. Es wird nichts gesendet: Kopieren oder sichern Sie den Text und geben Sie ihn weiter.</translation>
    </message>
    <message id="reporter.feedback.message">
        <source>Your &amp;message:</source>
        <translation>Ihre &amp;Nachricht:</translation>
    </message>
    <message id="reporter.feedback.title">
        <source>Feedback</source>
        <translation>Rückmeldung</translation>
    </message>
    <message id="reporter.save">
        <source>&amp;Save…</source>
        <translation>&amp;Sichern …</translation>
    </message>
    <message id="reporter.save.caption">
        <source>Save Report</source>
        <translation>Bericht sichern</translation>
    </message>
    <message id="reporter.save.filter">
        <source>Text files (*.txt)</source>
        <translation>Textdateien (*.txt)</translation>
    </message>
    <message id="reporter.save_failed">
        <source>“%1” could not be saved.</source>
        <translation>„%1“ konnte nicht gesichert werden.</translation>
    </message>
    <message id="prefs.title">
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message id="prefs.tab.general">
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message id="prefs.startup">
        <source>Start and saving</source>
        <translation>Start und Sichern</translation>
    </message>
    <message id="prefs.reopen_last_document">
        <source>&amp;Reopen the last document at start</source>
        <translation>Zuletzt benutztes Dokument beim Start &amp;öffnen</translation>
    </message>
    <message id="prefs.autosave">
        <source>&amp;Keep a recovery copy of changes every minute</source>
        <translation>&amp;Jede Minute eine Sicherheitskopie der Änderungen anlegen</translation>
    </message>
    <message id="prefs.table">
        <source>Tables</source>
        <translation>Tabellen</translation>
    </message>
    <message id="prefs.row_size">
        <source>Row &amp;size:</source>
        <translation>&amp;Zeilengröße:</translation>
    </message>
    <message id="prefs.row_size.regular">
        <source>Regular</source>
        <translation>Normal</translation>
    </message>
    <message id="prefs.row_size.small">
        <source>Small</source>
        <translation>Klein</translation>
    </message>
    <message id="prefs.row_size.mini">
        <source>Mini</source>
        <translation>Sehr klein</translation>
    </message>
    <message id="prefs.show_deviations">
        <source>Show the standard &amp;deviation beside averages</source>
        <translation>&amp;Standardabweichung neben Mittelwerten zeigen</translation>
    </message>
    <message id="prefs.tab.values">
        <source>Values</source>
        <translation>Werte</translation>
    </message>
    <message id="prefs.values.intro">
        <source>Values shown in the tables, the editor, the chart and the printed report:</source>
        <translation>Werte in den Tabellen, im Editor, im Diagramm und im gedruckten Bericht:</translation>
    </message>
    <message id="prefs.show_pulse">
        <source>Show &amp;pulse</source>
        <translation>&amp;Puls zeigen</translation>
    </message>
    <message id="prefs.show_weight">
        <source>Show &amp;weight</source>
        <translation>&amp;Gewicht zeigen</translation>
    </message>
    <message id="prefs.custom_show_1">
        <source>Show custom value &amp;1</source>
        <translation>Eigenen Wert &amp;1 zeigen</translation>
    </message>
    <message id="prefs.custom_show_2">
        <source>Show custom value &amp;2</source>
        <translation>Eigenen Wert &amp;2 zeigen</translation>
    </message>
    <message id="prefs.custom_show_3">
        <source>Show custom value &amp;3</source>
        <translation>Eigenen Wert &amp;3 zeigen</translation>
    </message>
    <message id="prefs.custom_title_1">
        <source>Title 1:</source>
        <translation>Titel 1:</translation>
    </message>
    <message id="prefs.custom_title_2">
        <source>Title 2:</source>
        <translation>Titel 2:</translation>
    </message>
    <message id="prefs.custom_title_3">
        <source>Title 3:</source>
        <translation>Titel 3:</translation>
    </message>
    <message id="prefs.tab.chart">
        <source>Chart</source>
        <translation>Diagramm</translation>
    </message>
    <message id="prefs.chart.intro">
        <source>Colours of the chart lines:</source>
        <translation>Farben der Diagrammlinien:</translation>
    </message>
    <message id="prefs.color.systolic">
        <source>Systolic:</source>
        <translation>Systolisch:</translation>
    </message>
    <message id="prefs.color.diastolic">
        <source>Diastolic:</source>
        <translation>Diastolisch:</translation>
    </message>
    <message id="prefs.color.pulse">
        <source>Pulse:</source>
        <translation>Puls:</translation>
    </message>
    <message id="prefs.color.weight">
        <source>Weight:</source>
        <translation>Gewicht:</translation>
    </message>
    <message id="prefs.color.custom1">
        <source>Custom value 1:</source>
        <translation>Eigener Wert 1:</translation>
    </message>
    <message id="prefs.color.custom2">
        <source>Custom value 2:</source>
        <translation>Eigener Wert 2:</translation>
    </message>
    <message id="prefs.color.custom3">
        <source>Custom value 3:</source>
        <translation>Eigener Wert 3:</translation>
    </message>
    <message id="prefs.tab.report">
        <source>Report</source>
        <translation>Bericht</translation>
    </message>
    <message id="prefs.report.intro">
        <source>The printed report contains:</source>
        <translation>Der gedruckte Bericht enthält:</translation>
    </message>
    <message id="prefs.print_information">
        <source>The &amp;information table</source>
        <translation>Die &amp;Informationstabelle</translation>
    </message>
    <message id="prefs.print_averages">
        <source>The &amp;averages table</source>
        <translation>Die &amp;Mittelwerttabelle</translation>
    </message>
    <message id="prefs.print_chart">
        <source>The &amp;chart</source>
        <translation>Das &amp;Diagramm</translation>
    </message>
    <message id="prefs.print_measurements">
        <source>The &amp;readings table</source>
        <translation>Die Tabelle der &amp;Messungen</translation>
    </message>
    <message id="prefs.restore_defaults">
        <source>Restore &amp;Defaults</source>
        <translation>Standard&amp;werte</translation>
    </message>
    <message id="prefs.close">
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
</TS>
