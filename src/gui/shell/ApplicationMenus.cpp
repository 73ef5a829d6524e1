#include "ApplicationMenus.h"

#include "DocumentController.h"
#include "MyAppDelegate.h"
#include "MyDocument.h"
#include "UndoManager.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <array>

namespace {

struct MenuName
{
    const char *objectName;
    const char *titleKey;
};
constexpr std::array<MenuName, 5> kMenus{{{"menuFile", QT_TRID_NOOP("menu.file")},
                                          {"menuEdit", QT_TRID_NOOP("menu.edit")},
                                          {"menuView", QT_TRID_NOOP("menu.view")},
                                          {"menuWindow", QT_TRID_NOOP("menu.window")},
                                          {"menuHelp", QT_TRID_NOOP("menu.help")}}};

QMenu *findMenu(QMenuBar *bar, const char *objectName)
{
    for (QAction *action : bar->actions()) {
        if (QMenu *menu = action->menu(); menu && menu->objectName() == QLatin1String(objectName))
            return menu;
    }
    return nullptr;
}

QAction *makeAction(QObject *parent, const char *objectName, const QString &text,
                    QKeySequence::StandardKey key = QKeySequence::UnknownKey)
{
    auto *action = new QAction(text, parent);
    action->setObjectName(QLatin1String(objectName));
    if (key != QKeySequence::UnknownKey)
        action->setShortcuts(key);
    // Outside KDE and GNOME the platform binds no key to some standard actions (Save As and Quit
    // among them); they get the key those desktops use, so that they work from the keyboard
    // everywhere.
    if (action->shortcuts().isEmpty() && key == QKeySequence::SaveAs)
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    if (action->shortcuts().isEmpty() && key == QKeySequence::Quit)
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    return action;
}

void fillRecentMenu(QMenu *recent, DocumentController *controller)
{
    recent->clear();
    const QStringList paths = controller->recentDocumentURLs();
    for (const QString &path : paths) {
        QAction *entry = recent->addAction(QFileInfo(path).fileName());
        entry->setToolTip(QDir::toNativeSeparators(path));
        entry->setStatusTip(QDir::toNativeSeparators(path));
        entry->setData(path);
        // A file that has gone is shown greyed.
        entry->setEnabled(QFileInfo::exists(path));
        QObject::connect(entry, &QAction::triggered, controller,
                         [controller, path] { controller->openRecentDocument(path); });
    }
    if (!paths.isEmpty())
        recent->addSeparator();
    QAction *clear = recent->addAction(qtTrId("menu.file.clear_recent"));
    clear->setObjectName(QStringLiteral("actionClearRecent"));
    clear->setEnabled(!paths.isEmpty());
    QObject::connect(clear, &QAction::triggered, controller,
                     &DocumentController::clearRecentDocuments);
}

void fillWindowMenu(QMenu *menu, QAction *firstDocument, QMainWindow *window,
                    DocumentController *controller)
{
    const QList<QAction *> actions = menu->actions();
    for (qsizetype i = actions.indexOf(firstDocument) + 1; i < actions.size(); ++i) {
        if (actions.at(i)->property("documentWindowEntry").toBool())
            delete actions.at(i);
    }
    auto *group = new QActionGroup(menu);
    for (MyDocument *document : controller->documents()) {
        QMainWindow *target = controller->windowForDocument(document);
        if (!target)
            continue;
        QString text = controller->displayName(document);
        if (controller->isEdited(document))
            text += QStringLiteral(" *");
        auto *entry = new QAction(text, menu);
        entry->setProperty("documentWindowEntry", true);
        entry->setCheckable(true);
        entry->setChecked(target == window);
        entry->setActionGroup(group);
        QPointer<QMainWindow> guard(target);
        QObject::connect(entry, &QAction::triggered, menu, [guard] {
            if (guard) {
                guard->showNormal();
                guard->raise();
                guard->activateWindow();
            }
        });
        menu->addAction(entry);
    }
}

} // namespace

QMenu *ApplicationMenus::menu(QMainWindow *window, const char *objectName)
{
    QMenuBar *bar = window->menuBar();
    if (QMenu *found = findMenu(bar, objectName))
        return found;
    std::size_t index = 0;
    while (index < kMenus.size() && qstrcmp(kMenus[index].objectName, objectName) != 0)
        ++index;
    auto *created = new QMenu(bar);
    created->setObjectName(QLatin1String(objectName));
    if (index < kMenus.size())
        created->setTitle(qtTrId(kMenus[index].titleKey));
    // Before the first menu that comes later in the order.
    QAction *before = nullptr;
    for (std::size_t later = index + 1; later < kMenus.size() && !before; ++later) {
        if (QMenu *next = findMenu(bar, kMenus[later].objectName))
            before = next->menuAction();
    }
    bar->insertMenu(before, created);
    return created;
}

void ApplicationMenus::install(QMainWindow *window, DocumentController *controller,
                               MyAppDelegate *delegate)
{
    for (const MenuName &name : kMenus)
        menu(window, name.objectName);
    QPointer<QMainWindow> self(window);
    auto document = [controller, self]() -> MyDocument * {
        return self ? controller->documentForWindow(self) : nullptr;
    };

    // File
    QMenu *file = menu(window, "menuFile");
    QAction *windowItems = file->actions().isEmpty() ? nullptr : file->actions().first();
    QAction *newAction =
        makeAction(window, "actionNew", qtTrId("menu.file.new"), QKeySequence::New);
    QObject::connect(newAction, &QAction::triggered, controller, &DocumentController::newDocument);
    QAction *open = makeAction(window, "actionOpen", qtTrId("menu.file.open"), QKeySequence::Open);
    QObject::connect(open, &QAction::triggered, controller, &DocumentController::openDocument);
    auto *recent = new QMenu(qtTrId("menu.file.open_recent"), window);
    recent->setObjectName(QStringLiteral("menuOpenRecent"));
    QObject::connect(recent, &QMenu::aboutToShow, recent,
                     [recent, controller] { fillRecentMenu(recent, controller); });
    fillRecentMenu(recent, controller);
    QObject::connect(controller, &DocumentController::recentDocumentsChanged, recent,
                     [recent, controller] { fillRecentMenu(recent, controller); });
    QAction *close =
        makeAction(window, "actionClose", qtTrId("menu.file.close"), QKeySequence::Close);
    QObject::connect(close, &QAction::triggered, controller, [controller, document] {
        if (MyDocument *d = document())
            controller->closeDocument(d);
    });
    QAction *save = makeAction(window, "actionSave", qtTrId("menu.file.save"), QKeySequence::Save);
    QObject::connect(save, &QAction::triggered, controller, [controller, document] {
        if (MyDocument *d = document())
            controller->saveDocument(d);
    });
    QAction *saveAs =
        makeAction(window, "actionSaveAs", qtTrId("menu.file.save_as"), QKeySequence::SaveAs);
    QObject::connect(saveAs, &QAction::triggered, controller, [controller, document] {
        if (MyDocument *d = document())
            controller->saveDocumentAs(d);
    });
    QAction *revert = makeAction(window, "actionRevert", qtTrId("menu.file.revert"));
    QObject::connect(revert, &QAction::triggered, controller, [controller, document] {
        if (MyDocument *d = document())
            controller->revertDocumentToSaved(d);
    });
    auto updateRevert = [controller, document, revert] {
        MyDocument *d = document();
        revert->setEnabled(d && !controller->filePath(d).isEmpty() && controller->isEdited(d));
    };
    QObject::connect(controller, &DocumentController::documentStateChanged, revert, updateRevert);
    updateRevert();

    file->insertAction(windowItems, newAction);
    file->insertAction(windowItems, open);
    file->insertMenu(windowItems, recent);
    file->insertSeparator(windowItems);
    file->insertAction(windowItems, close);
    file->insertAction(windowItems, save);
    file->insertAction(windowItems, saveAs);
    file->insertAction(windowItems, revert);
    file->insertSeparator(windowItems);
    file->addSeparator();
    QAction *quit = makeAction(window, "actionQuit", qtTrId("menu.file.quit"), QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);
    QObject::connect(quit, &QAction::triggered, controller, [controller, delegate] {
        if (delegate)
            delegate->terminate();
        else
            controller->closeAllDocuments({});
    });
    file->addAction(quit);

    // Edit
    if (delegate) {
        QMenu *edit = menu(window, "menuEdit");
        edit->addSeparator();
        QAction *preferences =
            makeAction(window, "actionPreferences", qtTrId("menu.edit.preferences"),
                       QKeySequence::Preferences);
        preferences->setMenuRole(QAction::PreferencesRole);
        QObject::connect(preferences, &QAction::triggered, delegate, &MyAppDelegate::onPreferences);
        edit->addAction(preferences);
    }

    // Window
    QMenu *windows = menu(window, "menuWindow");
    QAction *minimize = makeAction(window, "actionMinimize", qtTrId("menu.window.minimize"));
    minimize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    QObject::connect(minimize, &QAction::triggered, window, &QWidget::showMinimized);
    windows->addAction(minimize);
    QAction *listStart = windows->addSeparator();
    auto refillWindows = [windows, listStart, self, controller] {
        if (self)
            fillWindowMenu(windows, listStart, self, controller);
    };
    QObject::connect(windows, &QMenu::aboutToShow, windows, refillWindows);
    QObject::connect(controller, &DocumentController::documentsChanged, windows, refillWindows);
    QObject::connect(controller, &DocumentController::documentStateChanged, windows, refillWindows);

    // Help
    QMenu *help = menu(window, "menuHelp");
    if (delegate) {
        QAction *feedback = makeAction(window, "actionFeedback", qtTrId("menu.help.feedback"));
        QObject::connect(feedback, &QAction::triggered, delegate, &MyAppDelegate::onFeedback);
        help->addAction(feedback);
        QAction *about = makeAction(window, "actionAbout", qtTrId("menu.help.about"));
        about->setMenuRole(QAction::AboutRole);
        QObject::connect(about, &QAction::triggered, delegate, &MyAppDelegate::onAbout);
        help->addAction(about);
    }
}
