<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="doc.file_filter">
        <source>Tensilo documents (%1)</source>
        <translation>Tensilo documents (%1)</translation>
    </message>
    <message id="doc.open.caption">
        <source>Open Document</source>
        <translation>Open Document</translation>
    </message>
    <message id="doc.open_failed.title">
        <source>“%1” could not be opened.</source>
        <translation>“%1” could not be opened.</translation>
    </message>
    <message id="doc.recovery.never_saved">
        <source>a document that was never saved</source>
        <translation>a document that was never saved</translation>
    </message>
    <message id="doc.revert_failed.title">
        <source>“%1” could not be reverted.</source>
        <translation>“%1” could not be reverted.</translation>
    </message>
    <message id="doc.save_as.caption">
        <source>Save Document As</source>
        <translation>Save Document As</translation>
    </message>
    <message id="doc.save_failed.title">
        <source>“%1” could not be saved.</source>
        <translation>“%1” could not be saved.</translation>
    </message>
    <message id="doc.untitled">
        <source>Untitled</source>
        <translation>Untitled</translation>
    </message>
    <message id="doc.untitled_numbered">
        <source>Untitled %1</source>
        <translation>Untitled %1</translation>
    </message>
    <message id="doc.recent_missing.title">
        <source>The document cannot be found.</source>
        <translation>The document cannot be found.</translation>
    </message>
    <message id="doc.recent_missing.message">
        <source>“%1” is no longer at %2. It has been removed from the recent documents.</source>
        <translation>“%1” is no longer at %2. It has been removed from the recent documents.</translation>
    </message>
    <message id="doc.recent_missing.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="doc.save_as_open.title">
        <source>The file is open in another window.</source>
        <translation>The file is open in another window.</translation>
    </message>
    <message id="doc.save_as_open.message">
        <source>Close “%1” first, or choose another name.</source>
        <translation>Close “%1” first, or choose another name.</translation>
    </message>
    <message id="doc.save_as_open.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="doc.revert.title">
        <source>Revert to the saved version?</source>
        <translation>Revert to the saved version?</translation>
    </message>
    <message id="doc.revert.message">
        <source>The changes made to “%1” since it was last saved will be lost.</source>
        <translation>The changes made to “%1” since it was last saved will be lost.</translation>
    </message>
    <message id="doc.revert.revert">
        <source>Revert</source>
        <translation>Revert</translation>
    </message>
    <message id="doc.revert.cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="doc.close_unsaved.title">
        <source>Save the changes?</source>
        <translation>Save the changes?</translation>
    </message>
    <message id="doc.close_unsaved.message">
        <source>“%1” has changes that have not been saved. They will be lost unless you save them.</source>
        <translation>“%1” has changes that have not been saved. They will be lost unless you save them.</translation>
    </message>
    <message id="doc.close_unsaved.save">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="doc.close_unsaved.dont_save">
        <source>Don’t Save</source>
        <translation>Don’t Save</translation>
    </message>
    <message id="doc.close_unsaved.cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="file.replace.title">
        <source>A file with this name already exists.</source>
        <translation>A file with this name already exists.</translation>
    </message>
    <message id="file.replace.message">
        <source>Do you want to replace “%1”? Replacing it overwrites what it holds.</source>
        <translation>Do you want to replace “%1”? Replacing it overwrites what it holds.</translation>
    </message>
    <message id="file.replace.replace">
        <source>Replace</source>
        <translation>Replace</translation>
    </message>
    <message id="file.replace.cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="doc.changed_on_disk.title">
        <source>The file has been changed by another application.</source>
        <translation>The file has been changed by another application.</translation>
    </message>
    <message id="doc.changed_on_disk.message">
        <source>“%1” was changed on disk after you opened or saved it here. Saving now replaces those changes with yours; reverting replaces your changes with the file.</source>
        <translation>“%1” was changed on disk after you opened or saved it here. Saving now replaces those changes with yours; reverting replaces your changes with the file.</translation>
    </message>
    <message id="doc.changed_on_disk.save_anyway">
        <source>Save Anyway</source>
        <translation>Save Anyway</translation>
    </message>
    <message id="doc.changed_on_disk.revert">
        <source>Revert</source>
        <translation>Revert</translation>
    </message>
    <message id="doc.changed_on_disk.cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="doc.recovered_name">
        <source>%1 (recovered)</source>
        <translation>%1 (recovered)</translation>
    </message>
    <message id="doc.save_recovered.title">
        <source>Replace the file with the recovered copy?</source>
        <translation>Replace the file with the recovered copy?</translation>
    </message>
    <message id="doc.save_recovered.message">
        <source>This copy was recovered for “%1”, which is open in another window. Replacing the file closes that window; to keep both, save the copy under another name.</source>
        <translation>This copy was recovered for “%1”, which is open in another window. Replacing the file closes that window; to keep both, save the copy under another name.</translation>
    </message>
    <message id="doc.save_recovered.replace">
        <source>Replace</source>
        <translation>Replace</translation>
    </message>
    <message id="doc.save_recovered.save_as">
        <source>Save As…</source>
        <translation>Save As…</translation>
    </message>
    <message id="doc.save_recovered.cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="doc.recovery.title">
        <source>Recover unsaved changes?</source>
        <translation>Recover unsaved changes?</translation>
    </message>
    <message id="doc.recovery.message">
        <source>Tensilo ended unexpectedly while “%1” (%2) had changes that were not saved. A copy autosaved at %3 can be recovered.</source>
        <translation>Tensilo ended unexpectedly while “%1” (%2) had changes that were not saved. A copy autosaved at %3 can be recovered.</translation>
    </message>
    <message id="doc.recovery.recover">
        <source>Recover</source>
        <translation>Recover</translation>
    </message>
    <message id="doc.recovery.discard">
        <source>Discard</source>
        <translation>Discard</translation>
    </message>
    <message id="doc.recovery.later">
        <source>Decide Later</source>
        <translation>Decide Later</translation>
    </message>
    <message id="about.title">
        <source>About Tensilo</source>
        <translation>About Tensilo</translation>
    </message>
    <message id="about.message">
        <source>Tensilo %1 keeps a record of home blood-pressure readings and helps you study them.

Qt %2</source>
        <translation>Tensilo %1 keeps a record of home blood-pressure readings and helps you study them.

Qt %2</translation>
    </message>
    <message id="about.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="menu.edit.preferences">
        <source>Prefere&amp;nces…</source>
        <translation>Prefere&amp;nces…</translation>
    </message>
    <message id="menu.file.clear_recent">
        <source>&amp;Clear Menu</source>
        <translation>&amp;Clear Menu</translation>
    </message>
    <message id="menu.file.close">
        <source>&amp;Close</source>
        <translation>&amp;Close</translation>
    </message>
    <message id="menu.file.new">
        <source>&amp;New</source>
        <translation>&amp;New</translation>
    </message>
    <message id="menu.file.open">
        <source>&amp;Open…</source>
        <translation>&amp;Open…</translation>
    </message>
    <message id="menu.file.open_recent">
        <source>Open &amp;Recent</source>
        <translation>Open &amp;Recent</translation>
    </message>
    <message id="menu.file.revert">
        <source>Re&amp;vert to Saved</source>
        <translation>Re&amp;vert to Saved</translation>
    </message>
    <message id="menu.file.save">
        <source>&amp;Save</source>
        <translation>&amp;Save</translation>
    </message>
    <message id="menu.file.save_as">
        <source>Save &amp;As…</source>
        <translation>Save &amp;As…</translation>
    </message>
    <message id="menu.help.feedback">
        <source>Send &amp;Feedback…</source>
        <translation>Send &amp;Feedback…</translation>
    </message>
    <message id="menu.view">
        <source>&amp;View</source>
        <translation>&amp;View</translation>
    </message>
    <message id="menu.window">
        <source>&amp;Window</source>
        <translation>&amp;Window</translation>
    </message>
    <message id="menu.window.minimize">
        <source>&amp;Minimize</source>
        <translation>&amp;Minimize</translation>
    </message>
    <message id="reporter.close">
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message id="reporter.copy">
        <source>&amp;Copy</source>
        <translation>&amp;Copy</translation>
    </message>
    <message id="reporter.crash.details">
        <source>&amp;Report:</source>
        <translation>&amp;Report:</translation>
    </message>
    <message id="reporter.crash.intro">
        <source>Tensilo ended unexpectedly on %1. The report below stays on this computer; you can copy it or save it to pass it on to the developers.</source>
        <translation>Tensilo ended unexpectedly on %1. The report below stays on this computer; you can copy it or save it to pass it on to the developers.</translation>
    </message>
    <message id="reporter.crash.title">
        <source>Crash Report</source>
        <translation>Crash Report</translation>
    </message>
    <message id="reporter.feedback.details">
        <source>System &amp;details:</source>
        <translation>System &amp;details:</translation>
    </message>
    <message id="reporter.feedback.intro">
        <source>Describe what you noticed or would like. Nothing is sent: copy or save the text and pass it on.</source>
        <translation>Describe what you noticed or would like. Nothing is sent: copy or save the text and pass it on.</translation>
    </message>
    <message id="reporter.feedback.message">
        <source>Your &amp;message:</source>
        <translation>Your &amp;message:</translation>
    </message>
    <message id="reporter.feedback.title">
        <source>Feedback</source>
        <translation>Feedback</translation>
    </message>
    <message id="reporter.save">
        <source>&amp;Save…</source>
        <translation>&amp;Save…</translation>
    </message>
    <message id="reporter.save.caption">
        <source>Save Report</source>
        <translation>Save Report</translation>
    </message>
    <message id="reporter.save.filter">
        <source>Text files (*.txt)</source>
        <translation>Text files (*.txt)</translation>
    </message>
    <message id="reporter.save_failed">
        <source>“%1” could not be saved.</source>
        <translation>“%1” could not be saved.</translation>
    </message>
    <message id="prefs.title">
        <source>Preferences</source>
        <translation>Preferences</translation>
    </message>
    <message id="prefs.tab.general">
        <source>General</source>
        <translation>General</translation>
    </message>
    <message id="prefs.startup">
        <source>Start and saving</source>
        <translation>Start and saving</translation>
    </message>
    <message id="prefs.reopen_last_document">
        <source>&amp;Reopen the last document at start</source>
        <translation>&amp;Reopen the last document at start</translation>
    </message>
    <message id="prefs.autosave">
        <source>&amp;Keep a recovery copy of changes every minute</source>
        <translation>&amp;Keep a recovery copy of changes every minute</translation>
    </message>
    <message id="prefs.table">
        <source>Tables</source>
        <translation>Tables</translation>
    </message>
    <message id="prefs.row_size">
        <source>Row &amp;size:</source>
        <translation>Row &amp;size:</translation>
    </message>
    <message id="prefs.row_size.regular">
        <source>Regular</source>
        <translation>Regular</translation>
    </message>
    <message id="prefs.row_size.small">
        <source>Small</source>
        <translation>Small</translation>
    </message>
    <message id="prefs.row_size.mini">
        <source>Mini</source>
        <translation>Mini</translation>
    </message>
    <message id="prefs.show_deviations">
        <source>Show the standard &amp;deviation beside averages</source>
        <translation>Show the standard &amp;deviation beside averages</translation>
    </message>
    <message id="prefs.tab.values">
        <source>Values</source>
        <translation>Values</translation>
    </message>
    <message id="prefs.values.intro">
        <source>Values shown in the tables, the editor, the chart and the printed report:</source>
        <translation>Values shown in the tables, the editor, the chart and the printed report:</translation>
    </message>
    <message id="prefs.show_pulse">
        <source>Show &amp;pulse</source>
        <translation>Show &amp;pulse</translation>
    </message>
    <message id="prefs.show_weight">
        <source>Show &amp;weight</source>
        <translation>Show &amp;weight</translation>
    </message>
    <message id="prefs.custom_show_1">
        <source>Show custom value &amp;1</source>
        <translation>Show custom value &amp;1</translation>
    </message>
    <message id="prefs.custom_show_2">
        <source>Show custom value &amp;2</source>
        <translation>Show custom value &amp;2</translation>
    </message>
    <message id="prefs.custom_show_3">
        <source>Show custom value &amp;3</source>
        <translation>Show custom value &amp;3</translation>
    </message>
    <message id="prefs.custom_title_1">
        <source>Title 1:</source>
        <translation>Title 1:</translation>
    </message>
    <message id="prefs.custom_title_2">
        <source>Title 2:</source>
        <translation>Title 2:</translation>
    </message>
    <message id="prefs.custom_title_3">
        <source>Title 3:</source>
        <translation>Title 3:</translation>
    </message>
    <message id="prefs.tab.chart">
        <source>Chart</source>
        <translation>Chart</translation>
    </message>
    <message id="prefs.chart.intro">
        <source>Colours of the chart lines:</source>
        <translation>Colours of the chart lines:</translation>
    </message>
    <message id="prefs.color.systolic">
        <source>Systolic:</source>
        <translation>Systolic:</translation>
    </message>
    <message id="prefs.color.diastolic">
        <source>Diastolic:</source>
        <translation>Diastolic:</translation>
    </message>
    <message id="prefs.color.pulse">
        <source>Pulse:</source>
        <translation>Pulse:</translation>
    </message>
    <message id="prefs.color.weight">
        <source>Weight:</source>
        <translation>Weight:</translation>
    </message>
    <message id="prefs.color.custom1">
        <source>Custom value 1:</source>
        <translation>Custom value 1:</translation>
    </message>
    <message id="prefs.color.custom2">
        <source>Custom value 2:</source>
        <translation>Custom value 2:</translation>
    </message>
    <message id="prefs.color.custom3">
        <source>Custom value 3:</source>
        <translation>Custom value 3:</translation>
    </message>
    <message id="prefs.tab.report">
        <source>Report</source>
        <translation>Report</translation>
    </message>
    <message id="prefs.report.intro">
        <source>The printed report contains:</source>
        <translation>The printed report contains:</translation>
    </message>
    <message id="prefs.print_information">
        <source>The &amp;information table</source>
        <translation>The &amp;information table</translation>
    </message>
    <message id="prefs.print_averages">
        <source>The &amp;averages table</source>
        <translation>The &amp;averages table</translation>
    </message>
    <message id="prefs.print_chart">
        <source>The &amp;chart</source>
        <translation>The &amp;chart</translation>
    </message>
    <message id="prefs.print_measurements">
        <source>The &amp;readings table</source>
        <translation>The &amp;readings table</translation>
    </message>
    <message id="prefs.restore_defaults">
        <source>Restore &amp;Defaults</source>
        <translation>Restore &amp;Defaults</translation>
    </message>
    <message id="prefs.close">
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
</TS>
