#include "MyAppDelegate.h"

#include "CrashReporter.h"
#include "Dialogs.h"
#include "DocumentController.h"
#include "MyDocument.h"
#include "Preferences.h"
#include "PreferencesWndController.h"

#include <QApplication>
#include <QMainWindow>

MyAppDelegate::MyAppDelegate(DocumentController *controller, QObject *parent)
    : QObject(parent), pUserDefaultsController(&Preferences::shared()),
      pDocumentController(controller), pQuit([] { QCoreApplication::quit(); })
{
    initialize();
    // With no document window left the application ends, unless the preferences window is open.
    connect(controller, &DocumentController::lastDocumentClosed, this,
            &MyAppDelegate::maybeQuitWithoutWindows);
}

MyAppDelegate::~MyAppDelegate()
{
    delete pPreferencesWnd;
}

void MyAppDelegate::initialize()
{
    // The table of registered defaults is Preferences' own; making the shared instance puts it in
    // place (the custom titles follow the language installed by then).
    static bool done = false;
    if (done)
        return;
    done = true;
    Preferences::shared();
}

void MyAppDelegate::launch(const QStringList &files)
{
    bool opened = false;
    if (!files.isEmpty())
        opened = pDocumentController->openFiles(files) > 0;
    if (!opened && pDocumentController->documents().isEmpty() &&
        applicationShouldOpenUntitledFile())
        pDocumentController->newDocument();
    applicationDidFinishLaunching();
}

bool MyAppDelegate::applicationShouldOpenUntitledFile()
{
    if (bApplicationHasStarted)
        return true;
    if (!pUserDefaultsController->boolForKey(Preferences::reopenLastDocument))
        return true;
    const QStringList recent = pDocumentController->recentDocumentURLs();
    if (recent.isEmpty())
        return true;
    QString error;
    // A recent document that cannot be opened falls back to an untitled one; the reason is not
    // shown.
    return pDocumentController->openDocumentWithContentsOfFile(recent.first(), true, &error) ==
           nullptr;
}

void MyAppDelegate::applicationDidFinishLaunching()
{
    bApplicationHasStarted = true;
    // Bind "autosave" to "autosaveDocuments": set now, and again at every change.
    pAutosaveBinding = connect(pUserDefaultsController, &Preferences::changed, this,
                               &MyAppDelegate::onPreferenceChanged);
    setAutosave(pUserDefaultsController->boolForKey(Preferences::autosaveDocuments));
    QWidget *parent =
        pDocumentController->windowForDocument(pDocumentController->currentDocument());
    pDocumentController->offerRecoveries(
        [parent] { CrashReporter::sharedReporter()->reportIfCrash(parent); });
}

void MyAppDelegate::handleReopenRequest(const QStringList &files)
{
    if (!files.isEmpty()) {
        pDocumentController->openFiles(files);
        return;
    }
    if (pDocumentController->documents().isEmpty()) {
        if (applicationShouldOpenUntitledFile())
            pDocumentController->newDocument();
        return;
    }
    for (MyDocument *document : pDocumentController->documents()) {
        if (QMainWindow *window = pDocumentController->windowForDocument(document)) {
            if (window->isMinimized())
                window->showNormal();
            window->show();
            window->raise();
        }
    }
    if (QMainWindow *current =
            pDocumentController->windowForDocument(pDocumentController->currentDocument()))
        current->activateWindow();
}

void MyAppDelegate::onPreferenceChanged(const QString &key)
{
    if (key == Preferences::autosaveDocuments)
        setAutosave(pUserDefaultsController->boolForKey(Preferences::autosaveDocuments));
}

bool MyAppDelegate::autosave() const
{
    return pDocumentController->autosavingDelay() > 0;
}

void MyAppDelegate::setAutosave(bool autosave)
{
    if (!autosave) {
        pDocumentController->setAutosavingDelay(0.0);
        return;
    }
    pDocumentController->setAutosavingDelay(60.0);
    for (MyDocument *document : pDocumentController->documents()) {
        if (pDocumentController->hasUnautosavedChanges(document))
            pDocumentController->autosaveDocument(document);
    }
}

void MyAppDelegate::terminate()
{
    if (bTerminating)
        return;
    bTerminating = true;
    pDocumentController->closeAllDocuments([this](bool allClosed) {
        if (!allClosed) {
            bTerminating = false; // Cancel stops the quit
            return;
        }
        quit();
    });
}

bool MyAppDelegate::applicationShouldTerminate()
{
    disconnect(pAutosaveBinding);
    delete pPreferencesWnd;
    pPreferencesWnd = nullptr;
    return true;
}

void MyAppDelegate::quit()
{
    applicationShouldTerminate();
    if (pQuit)
        pQuit();
}

void MyAppDelegate::maybeQuitWithoutWindows()
{
    if (bTerminating || !bApplicationHasStarted)
        return; // terminate() quits once every document is closed
    if (pPreferencesWnd && pPreferencesWnd->isVisible())
        return;
    quit();
}

void MyAppDelegate::onPreferences()
{
    if (!pPreferencesWnd) {
        pPreferencesWnd = new PreferencesWndController();
        connect(pPreferencesWnd, &PreferencesWndController::closed, this, [this] {
            if (pDocumentController->documents().isEmpty() && bApplicationHasStarted)
                maybeQuitWithoutWindows();
        });
    }
    pPreferencesWnd->showWindow(this);
}

void MyAppDelegate::onFeedback()
{
    CrashReporter::sharedReporter()->reportFeedback(
        pDocumentController->windowForDocument(pDocumentController->currentDocument()));
}

void MyAppDelegate::onAbout()
{
    Dialogs::inform(pDocumentController->windowForDocument(pDocumentController->currentDocument()),
                    QStringLiteral("about"),
                    {QCoreApplication::applicationVersion(), QString::fromLatin1(qVersion())});
}
