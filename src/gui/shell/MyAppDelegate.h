#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class DocumentController;
class Preferences;
class PreferencesWndController;

// The application's delegate: registers the preference defaults, decides what opens at launch
// (the last document or a new one), turns autosaving on and off with "autosaveDocuments", offers
// crash reports and recovery copies once launch has finished, and opens the preferences window
// and the feedback dialog. Documents themselves are the document controller's.
class MyAppDelegate : public QObject
{
    Q_OBJECT
    // Mirrors "autosaveDocuments": on exactly when the controller's autosaving delay is above 0.
    Q_PROPERTY(bool autosave READ autosave WRITE setAutosave)
public:
    explicit MyAppDelegate(DocumentController *controller, QObject *parent = nullptr);
    ~MyAppDelegate() override;

    // Registers the defaults table; once per process, before any document opens.
    static void initialize();

    DocumentController *documentController() const { return pDocumentController; }
    bool applicationHasStarted() const { return bApplicationHasStarted; }

    // Launch: opens the files given (absolute paths), or else asks the untitled-file question;
    // then finishes launching (recovery copies, crash report, autosave binding).
    void launch(const QStringList &files);
    // Answers whether to make an untitled document. At launch it reopens the most recent
    // document instead when "reopenLastDocument" is on and that document opens.
    bool applicationShouldOpenUntitledFile();
    void applicationDidFinishLaunching();
    // A second start handed its files over (none: the user asked to reopen the application).
    void handleReopenRequest(const QStringList &files);

    bool autosave() const;
    void setAutosave(bool autosave);

    // Quit: closes every document (asking for the edited ones); Cancel stops it.
    void terminate();
    // Called once the documents are closed; removes the binding and the preferences window.
    bool applicationShouldTerminate();

    void onPreferences();
    void onFeedback();
    void onAbout();

    PreferencesWndController *preferencesWindow() const { return pPreferencesWnd; }

    // What ends the application (tests replace it).
    void setQuitFunction(std::function<void()> quit) { pQuit = std::move(quit); }

private:
    void onPreferenceChanged(const QString &key);
    void maybeQuitWithoutWindows();
    void quit();

    Preferences *pUserDefaultsController;
    bool bApplicationHasStarted = false;
    PreferencesWndController *pPreferencesWnd = nullptr;
    DocumentController *pDocumentController;
    QMetaObject::Connection pAutosaveBinding;
    std::function<void()> pQuit;
    bool bTerminating = false;
};
