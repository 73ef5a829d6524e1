// The document window: pages and their state, toolbar and menus agreeing, the filter selector,
// sorting, the readings page's editing rules, live columns and row sizes, the information page,
// the chart feed, and printing (preview, print, PDF, page setup) through seams, with no person
// and no modal loop.

#include "ApplicationMenus.h"
#include "AveragesModel.h"
#include "ChartDataSource.h"
#include "ChartView.h"
#include "CsvExportDialog.h"
#include "CsvImportDialog.h"
#include "DateFormatter.h"
#include "Dialogs.h"
#include "DocumentController.h"
#include "ImportDialog.h"
#include "InformationArrayController.h"
#include "Localization.h"
#include "MyAppDelegate.h"
#include "MyWindowController.h"
#include "PageAverages.h"
#include "PageChart.h"
#include "PageFilters.h"
#include "PageInformation.h"
#include "PredicateEditor.h"
#include "Preferences.h"
#include "PreferencesWndController.h"
#include "PrintAccessoryView.h"
#include "PrintSettings.h"
#include "PrintView.h"
#include "SampleDocument.h"
#include "TestMain.h"
#include "UndoManager.h"
#include "UniformRowsHeader.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>

#include <memory>

using SampleDocument::reading;

namespace {

// What the editor seam was asked, and the answer it gives at once.
struct EditorCall
{
    ConstMeasurementPtr reading;
    bool forEditing = false;
};

struct Fixture
{
    std::unique_ptr<MyDocument> document = SampleDocument::make();
    std::unique_ptr<MyWindowController> window =
        std::make_unique<MyWindowController>(document.get());
    QList<EditorCall> calls;
    // The entered values the editor answers with; none: it is cancelled.
    std::function<MeasurementPtr(const ConstMeasurementPtr &)> answer;

    Fixture()
    {
        window->pageGrid()->showEditor = [this](ConstMeasurementPtr r, MyDocument *, bool editing,
                                                QWidget *, PageGrid::EditorCallback done) {
            calls.append({r, editing});
            if (answer)
                if (MeasurementPtr entered = answer(r))
                    done(editing ? r : nullptr, entered);
        };
    }
    ~Fixture()
    {
        window.reset(); // before its document
    }
    PageGrid *grid() const { return window->pageGrid(); }
    QTableView *table() const { return grid()->tableView(); }
    void selectRows(const QList<int> &rows) const
    {
        table()->clearSelection();
        for (const int row : rows)
            table()->selectionModel()->select(table()->model()->index(row, 0),
                                              QItemSelectionModel::Select |
                                                  QItemSelectionModel::Rows);
    }
    void endTurn() const { document->undoManager()->closeGroup(); }
};

QStringList menuNames(QMainWindow *window)
{
    QStringList names;
    for (QAction *action : window->menuBar()->actions())
        if (action->menu())
            names.append(action->menu()->objectName());
    return names;
}

QAction *editAction(QMainWindow *window, const char *name)
{
    return window->findChild<QAction *>(QLatin1String(name));
}

// Shows the widget, at `size` when one is given; false when it was not exposed (or, when asked,
// made active) in time.
bool shown(QWidget *widget, QSize size = {}, bool active = false)
{
    if (size.isValid())
        widget->resize(size);
    widget->show();
    return active ? QTest::qWaitForWindowActive(widget) : QTest::qWaitForWindowExposed(widget);
}

class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};
} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        Preferences::useTemporaryStore();
        Dialogs::clearRecord();
    }

    void menusAreTheWindowsOwn()
    {
        Fixture f;
        QCOMPARE(menuNames(f.window.get()), (QStringList{"menuFile", "menuEdit", "menuView"}));
        const QList<QAction *> edit = f.window->findChild<QMenu *>("menuEdit")->actions();
        QCOMPARE(edit.at(0)->objectName(), u"actionUndo"_s);
        QCOMPARE(edit.at(1)->objectName(), u"actionRedo"_s);
        // Ctrl+1 to Ctrl+5 for the pages.
        for (int n = 0; n < MyWindowController::PageCount; ++n)
            QCOMPARE(f.window->pageAction(n)->shortcut(),
                     QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + n)));
        // The toolbar stays where it is, icons only, with no customising menu.
        auto *toolbar = f.window->findChild<QToolBar *>("myToolbar");
        QVERIFY(!toolbar->isMovable());
        QCOMPARE(toolbar->toolButtonStyle(), Qt::ToolButtonIconOnly);
        QVERIFY(!toolbar->toggleViewAction()->isVisible());
        // Every segment and the Add button have an icon and a name. At twice the scale, as on a
        // high-density screen, the page icons stay crisp (scripts/screenshots shows every page,
        // the print dialog and its options in both languages).
        QVERIFY(!f.window->addButton()->icon().isNull());
        for (QAbstractButton *segment : f.window->modeSelector()->buttons()) {
            QCOMPARE(segment->icon().pixmap(QSize(24, 24), 2.0).size(), QSize(48, 48));
            QVERIFY(!segment->accessibleName().isEmpty());
        }
    }

    void pageStateMachine()
    {
        Fixture f;
        QCOMPARE(f.window->selectedPage(), 0);
        // The readings page first as the window opens on it, then each page: the Add button
        // names what it adds, and the chart and averages pages have none.
        const QList<std::pair<int, const char *>> pages = {
            {MyWindowController::ReadingsPage, "button.add.reading"},
            {MyWindowController::ChartPage, nullptr},
            {MyWindowController::AveragesPage, nullptr},
            {MyWindowController::InformationPage, "button.add.information"},
            {MyWindowController::FiltersPage, "button.add.filter"},
            {MyWindowController::ReadingsPage, "button.add.reading"}};
        for (const auto &[page, tip] : pages) {
            f.window->selectPage(page);
            QCOMPARE(f.window->isAddButtonShown(), tip != nullptr);
            if (tip)
                QCOMPARE(f.window->addButton()->toolTip(), qtTrId(tip));
        }

        // The page on show again: nothing changes, not even what disagrees.
        f.window->modeSelector()->button(3)->setChecked(true);
        f.window->selectPage(MyWindowController::ReadingsPage);
        QCOMPARE(f.window->modeSelector()->checkedId(), 3);
        QCOMPARE(f.window->selectedPage(), 0);
        f.window->selectPage(7); // no such page
        QCOMPARE(f.window->selectedPage(), 0);
    }

    void menuAndSegmentsFollowEachOther()
    {
        Fixture f;
        f.window->pageAction(2)->trigger();
        QCOMPARE(f.window->selectedPage(), 2);
        QCOMPARE(f.window->modeSelector()->checkedId(), 2);
        f.window->modeSelector()->button(4)->click();
        QCOMPARE(f.window->selectedPage(), 4);
        QVERIFY(f.window->pageAction(4)->isChecked());
        QVERIFY(!f.window->pageAction(2)->isChecked());
        // The shortcut reaches the page through the menu.
        QVERIFY(shown(f.window.get()));
        QTest::keyClick(f.window.get(), Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(f.window->selectedPage(), 1);
        QCOMPARE(f.window->modeSelector()->checkedId(), 1);
    }

    void everyMenuItemHasItsOwnMnemonic_data()
    {
        QTest::addColumn<QString>("locale");
        TestSupport::row("English", u"en_US"_s);
        TestSupport::row("German", u"de_DE"_s);
    }

    // Alt and a letter reach every menu and item; within one menu no two share the letter.
    void everyMenuItemHasItsOwnMnemonic()
    {
        QFETCH(QString, locale);
        Localization::install(QLocale(locale));
        {
            DocumentController controller;
            MyAppDelegate delegate(&controller);
            auto document = SampleDocument::make();
            MyWindowController window(document.get());
            ApplicationMenus::install(&window, &controller, &delegate);
            const auto mnemonic = [](const QString &text) {
                const qsizetype at = QString(text)
                                         .replace(QLatin1String("&&"), QLatin1String("__"))
                                         .indexOf(QLatin1Char('&'));
                return at < 0 || at + 1 >= text.size() ? QChar() : text.at(at + 1).toLower();
            };
            const auto check = [&](const QList<QAction *> &actions, const QString &where) {
                QSet<QChar> letters;
                for (QAction *action : actions) {
                    if (action->isSeparator() || action->property("documentWindowEntry").toBool() ||
                        !action->isVisible())
                        continue;
                    const QChar letter = mnemonic(action->text());
                    QVERIFY2(!letter.isNull(), qPrintable(where + ": " + action->text()));
                    QVERIFY2(!letters.contains(letter), qPrintable(where + ": " + action->text()));
                    letters.insert(letter);
                }
            };
            check(window.menuBar()->actions(), u"menu bar"_s);
            for (QAction *title : window.menuBar()->actions()) {
                check(title->menu()->actions(), title->text());
                for (QAction *item : title->menu()->actions())
                    if (item->menu() &&
                        item->menu()->objectName() != QLatin1String("menuOpenRecent"))
                        check(item->menu()->actions(), item->text());
            }
        }
        Localization::install(QLocale(u"en_US"_s));
    }

    void addGoesToThePageOnTheNextTurn()
    {
        Fixture f;
        f.window->addButton()->click();
        QCOMPARE(f.calls.size(), 0); // not yet
        QCoreApplication::processEvents();
        QCOMPARE(f.calls.size(), 1);
        QVERIFY(!f.calls.first().forEditing);
        // The editor starts from the last edited reading.
        QCOMPARE(f.calls.first().reading.get(), f.document->lastEditedMeasurement().get());

        // (On the information page it adds an item: newInformationIsNamedInPlace.)
        f.window->selectPage(MyWindowController::InformationPage);
        // Edit > Add does the same from the keyboard, and only where the page offers it.
        QAction *add = editAction(f.window.get(), "actionAdd");
        QVERIFY(add->isEnabled());
        QCOMPARE(add->statusTip(), f.window->addButton()->toolTip());
        f.window->selectPage(MyWindowController::ChartPage);
        QVERIFY(!add->isEnabled());
        f.window->selectPage(MyWindowController::ReadingsPage);
        QVERIFY(shown(f.window.get(), {}, true));
        QTest::keyClick(f.window.get(), Qt::Key_Insert);
        QCoreApplication::processEvents();
        QCOMPARE(f.calls.size(), 2);

        // Insert while text is typed adds nothing and keeps the text.
        f.window->selectPage(MyWindowController::FiltersPage);
        PageFilters *filters = f.window->pageFilter();
        filters->selectFilter(f.document->filters().at(0));
        filters->textToggle()->setChecked(true);
        filters->textField()->setFocus();
        QTest::keyClicks(filters->textField(), u" AND Pulse > 70"_s);
        const QString typed = filters->textField()->text();
        const qsizetype count = f.document->filters().size();
        QTest::keyClick(filters->textField(), Qt::Key_Insert);
        QCoreApplication::processEvents();
        QCOMPARE(f.document->filters().size(), count);
        QCOMPARE(filters->textField()->text(), typed);
    }

    void filterSelectorFollowsTheDocument()
    {
        Fixture f;
        QComboBox *selector = f.window->filterSelector();
        QCOMPARE(selector->count(), 4);
        QCOMPARE(selector->currentIndex(), 0);
        // Choosing a filter sets the document's filter with no undo step.
        f.endTurn();
        const bool couldUndo = f.document->undoManager()->canUndo();
        selector->setCurrentIndex(3);
        emit selector->activated(3);
        QCOMPARE(f.document->filter(), f.document->visibleFilters().at(3));
        f.endTurn();
        QCOMPARE(f.document->undoManager()->canUndo(), couldUndo);

        // Renamed: the entry shows the new name at once.
        const FilterPtr high = f.document->filter();
        high->setName(u"Very high"_s);
        QCOMPARE(selector->currentText(), u"Very high"_s);
        f.endTurn();
        // Hidden while selected: no entry rather than a wrong one.
        high->setUseInFilters(false);
        QCOMPARE(selector->count(), 3);
        QCOMPARE(selector->currentIndex(), -1);
        f.endTurn();
        f.document->undoManager()->undo();
        QCOMPARE(selector->count(), 4);
        QCOMPARE(selector->currentIndex(), 3);
        f.document->undoManager()->undo(); // the rename
        QCOMPARE(selector->currentText(), u"High"_s);
        f.document->undoManager()->redo();
        f.document->undoManager()->redo();
        QCOMPARE(selector->currentIndex(), -1);
        // A filter added before the selected one moves the selection with it.
        f.document->undoManager()->undo();
        f.document->insertFilter(Filter::filterWithName(u"First"_s), 0);
        QCOMPARE(selector->currentIndex(), 4);
        QCOMPARE(selector->itemText(0), u"First"_s);

        // Its label names it and reaches it from the keyboard.
        auto *label = f.window->findChild<QLabel *>(u"pFilterSelectorLabel"_s);
        QVERIFY(label);
        QCOMPARE(label->buddy(), selector);
        QVERIFY(shown(f.window.get(), {}, true));
        f.table()->setFocus();
        QTest::keyClick(f.window.get(), Qt::Key_L, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), selector);
    }

    void headerClicksSortByDateInTheDocumentAndOthersInTheView()
    {
        Fixture f;
        const auto newest = f.document->items().last();
        f.grid()->selectReading(newest.get());
        QCOMPARE(f.grid()->readingsInShownOrder().first().get(), newest.get());

        f.grid()->onHeaderClicked(ReadingsModel::DateColumn);
        QVERIFY(f.document->sortItemsAscending());
        QCOMPARE(f.grid()->readingsInShownOrder().last().get(), newest.get());
        QCOMPARE(f.grid()->selectedReadings().first().get(), newest.get()); // kept

        f.grid()->onHeaderClicked(ReadingsModel::PressureColumn);
        QCOMPARE(f.grid()->sortDescriptors().first().key, u"Systolic"_s);
        QVERIFY(f.document->sortItemsAscending()); // the document's direction stays
        QVERIFY(f.grid()->shownModel() != f.grid()->model());
        const ReadingList shown = f.grid()->readingsInShownOrder();
        for (qsizetype i = 1; i < shown.size(); ++i)
            QVERIFY(shown.at(i - 1)->Systolic().toInt() <= shown.at(i)->Systolic().toInt());
        QCOMPARE(f.grid()->selectedReadings().size(), 1);
        QCOMPARE(f.grid()->selectedReadings().first().get(), newest.get());
        // The report prints the table's order.
        const auto view = f.window->makePrintView(f.window->pageLayout());
        QCOMPARE(view->rowsForReadings().size(), shown.size());

        // Back to the date: the document's direction as it was, then toggled by the next click.
        f.grid()->onHeaderClicked(ReadingsModel::DateColumn);
        QCOMPARE(f.grid()->shownModel(), f.grid()->model());
        QVERIFY(f.document->sortItemsAscending());
        f.grid()->onHeaderClicked(ReadingsModel::DateColumn);
        QVERIFY(!f.document->sortItemsAscending());
        QCOMPARE(f.grid()->tableView()->horizontalHeader()->sortIndicatorOrder(),
                 Qt::DescendingOrder);
    }

    // View > Newest First / Oldest First do from the keyboard what the date heading does, and their
    // check marks follow the order however it changes.
    void dateOrderFromTheViewMenu()
    {
        Fixture f;
        QAction *newest = editAction(f.window.get(), "actionNewestFirst");
        QAction *oldest = editAction(f.window.get(), "actionOldestFirst");
        QVERIFY(newest->isChecked() && !oldest->isChecked());

        oldest->trigger();
        QVERIFY(f.document->sortItemsAscending());
        QCOMPARE(f.grid()->model()->reading(0), f.document->items().first());
        QVERIFY(oldest->isChecked() && !newest->isChecked());

        // Another column sorts the view: neither; Newest First sorts by date again, newest on top.
        f.grid()->onHeaderClicked(ReadingsModel::PulseColumn);
        QCOMPARE(f.grid()->sortDescriptors().first().key, u"Pulse"_s);
        QVERIFY(!newest->isChecked() && !oldest->isChecked());
        newest->trigger();
        QCOMPARE(f.grid()->shownModel(), f.grid()->model());
        QVERIFY(!f.document->sortItemsAscending());
        QCOMPARE(f.grid()->readingsInShownOrder().first(), f.document->items().last());
        QVERIFY(newest->isChecked());

        f.document->setSortItemsAscending(true); // undo or reverting
        QVERIFY(oldest->isChecked() && !newest->isChecked());
    }

    void addSelectsTheNewReadingOnly()
    {
        Fixture f;
        MeasurementPtr entered = reading(-1, 150, 95); // an hour from now: the newest
        f.answer = [&](const ConstMeasurementPtr &) { return entered; };
        f.selectRows({3, 4});
        f.grid()->onAddButton();
        QVERIFY(f.document->containsMeasurement(entered));
        const ReadingList selected = f.grid()->selectedReadings();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.first().get(), entered.get());
        f.endTurn();
        QCOMPARE(f.document->undoManager()->undoActionName(), qtTrId("doc.ins_record"));

        // Cancelled: nothing changes.
        const qsizetype count = f.document->allItems().size();
        f.answer = [](const ConstMeasurementPtr &) { return MeasurementPtr(); };
        f.grid()->onAddButton();
        QCOMPARE(f.document->allItems().size(), count);
    }

    void editingOpensOnlyForOneReading()
    {
        Fixture f;
        QVERIFY(shown(f.window.get()));
        f.selectRows({1, 2});
        f.grid()->onTableDoubleClicked();
        QTest::keyClick(f.table(), Qt::Key_Return);
        QCOMPARE(f.calls.size(), 0);

        f.selectRows({2});
        const auto chosen = f.grid()->selectedReadings().first();
        f.answer = [](const ConstMeasurementPtr &r) {
            auto copy = std::make_shared<Measurement>();
            copy->copyFrom(*r);
            copy->setSystolic(199);
            return copy;
        };
        QTest::keyClick(f.table(), Qt::Key_Return);
        QCOMPARE(f.calls.size(), 1);
        QVERIFY(f.calls.first().forEditing);
        QCOMPARE(f.calls.first().reading.get(), chosen.get());
        QCOMPARE(chosen->Systolic().toInt(), 199); // edited in the document
        // The selection is the table's: the same row still selected.
        QCOMPARE(f.grid()->selectedReadings().first().get(), chosen.get());
    }

    void deleteAndReplaceWithAverage()
    {
        Fixture f;
        QAction *remove = editAction(f.window.get(), "actionDelete");
        QAction *average = editAction(f.window.get(), "actionReplaceWithAverage");
        f.table()->clearSelection();
        QVERIFY(!remove->isEnabled());
        QVERIFY(!average->isEnabled());
        const qsizetype count = f.document->allItems().size();
        remove->trigger(); // nothing selected: nothing happens
        QCOMPARE(f.document->allItems().size(), count);

        f.selectRows({0});
        QVERIFY(remove->isEnabled());
        QVERIFY(!average->isEnabled());
        f.selectRows({0, 2, 3});
        QVERIFY(average->isEnabled());
        const ReadingList three = f.grid()->selectedReadings();
        average->trigger();
        QCOMPARE(f.document->allItems().size(), count - 2);
        const ReadingList selected = f.grid()->selectedReadings();
        QCOMPARE(selected.size(), 1);
        QVERIFY(!three.contains(selected.first()));
        f.endTurn();
        QCOMPARE(f.document->undoManager()->undoActionName(), qtTrId("doc.replace_with_average"));

        // Forward delete deletes at once, undoably.
        QVERIFY(shown(f.window.get()));
        f.table()->setFocus();
        f.selectRows({0, 1});
        const ConstMeasurementPtr third = f.grid()->model()->reading(2);
        QTest::keyClick(f.table(), Qt::Key_Delete);
        QCOMPARE(f.document->allItems().size(), count - 4);
        QCOMPARE(Dialogs::record().size(), 0); // no question asked
        // The reading that moved up into the first deleted row is selected: Delete goes on with it.
        QCOMPARE(f.grid()->selectedReadings(), ReadingList{third});
        QCOMPARE(f.table()->currentIndex().row(), 0);
        f.endTurn();
        QTest::keyClick(f.table(), Qt::Key_Delete);
        QCOMPARE(f.document->allItems().size(), count - 5);
        f.endTurn();
        // Deleting the last row selects the new last one.
        const int last = f.table()->model()->rowCount() - 1;
        f.selectRows({last});
        const ConstMeasurementPtr beforeLast = f.grid()->model()->reading(last - 1);
        remove->trigger();
        QCOMPARE(f.grid()->selectedReadings(), ReadingList{beforeLast});
        f.endTurn();
        for (int step = 0; step < 3; ++step)
            f.document->undoManager()->undo();
        QCOMPARE(f.document->allItems().size(), count - 2);
    }

    // The Delete key deletes in the table or list that has the focus; on any other control it does
    // what that control does with it, which for these is nothing.
    void deleteBelongsToWhatHasTheFocus()
    {
        Fixture f;
        QVERIFY(shown(f.window.get(), {}, true));
        const qsizetype count = f.document->allItems().size();
        f.table()->setFocus();
        f.selectRows({0});
        QWidget *controls[] = {f.window->filterSelector(), f.window->modeSelector()->button(2)};
        for (QWidget *control : controls) {
            control->setFocus(Qt::TabFocusReason);
            QTest::keyClick(control, Qt::Key_Delete);
        }
        QCOMPARE(f.window->selectedPage(), 0);
        QCOMPARE(f.document->allItems().size(), count);
        QCOMPARE(f.grid()->selectedReadings().size(), 1);
        // The menu item shows the key and acts on the page's selection wherever the focus is.
        QAction *remove = editAction(f.window.get(), "actionDelete");
        QCOMPARE(remove->shortcut(), QKeySequence(QKeySequence::Delete));
        remove->trigger();
        QCOMPARE(f.document->allItems().size(), count - 1);

        // In the menu of a condition row no filter is deleted, nor asked about.
        QTest::keyClick(f.window.get(), Qt::Key_4, Qt::ControlModifier);
        PageFilters *filters = f.window->pageFilter();
        filters->selectFilter(f.document->filters().last());
        QToolButton *add = nullptr;
        for (auto *button : filters->predicateEditor()->findChildren<QToolButton *>())
            if (button->accessibleName() == qtTrId("filters.editor.add_row") && button->isVisible())
                add = button;
        QVERIFY(add && add->menu());
        add->setFocus(Qt::TabFocusReason);
        QTest::keyClick(add, Qt::Key_Down, Qt::AltModifier);
        QVERIFY(add->menu()->isVisible());
        const qsizetype filterCount = f.document->filters().size();
        QTest::keyClick(add->menu(), Qt::Key_Delete);
        QCoreApplication::processEvents();
        QCOMPARE(Dialogs::record().size(), 0);
        QCOMPARE(Dialogs::unansweredCount(), 0);
        QTest::keyClick(add->menu(), Qt::Key_Escape);
        QCOMPARE(f.document->filters().size(), filterCount);
    }

    void columnsAndRowSizeFollowThePreferences()
    {
        Fixture f;
        Preferences &prefs = Preferences::shared();
        QTableView *table = f.table();
        QVERIFY(!table->isColumnHidden(ReadingsModel::PulseColumn));
        QVERIFY(!table->isColumnHidden(ReadingsModel::WeightColumn));
        QVERIFY(table->isColumnHidden(ReadingsModel::Custom1Column));
        // Pulse and weight leave both tables.
        for (const auto &[key, column, averagesColumn] :
             {std::tuple{Preferences::showPulse, ReadingsModel::PulseColumn,
                         AveragesModel::PulseColumn},
              std::tuple{Preferences::showWeight, ReadingsModel::WeightColumn,
                         AveragesModel::WeightColumn}}) {
            prefs.setValueForKey(false, key);
            QVERIFY(table->isColumnHidden(column));
            QVERIFY(f.window->pageAverages()->tableView()->isColumnHidden(averagesColumn));
            prefs.setValueForKey(true, key);
        }
        // Back in its place, right after pulse.
        QCOMPARE(table->horizontalHeader()->visualIndex(ReadingsModel::WeightColumn),
                 table->horizontalHeader()->visualIndex(ReadingsModel::PulseColumn) + 1);
        prefs.setValueForKey(true, Preferences::customShow2);
        QVERIFY(!table->isColumnHidden(ReadingsModel::Custom2Column));
        prefs.setValueForKey(u"Glucose"_s, Preferences::customTitle2);
        QCOMPARE(
            table->model()->headerData(ReadingsModel::Custom2Column, Qt::Horizontal).toString(),
            u"Glucose"_s);

        // Row sizes: regular rows are taller than small ones, small than mini ones, fonts alike.
        QCOMPARE(f.grid()->rowSize(), 1);
        const int small = table->verticalHeader()->defaultSectionSize();
        const qreal smallFont = table->font().pointSizeF();
        prefs.setValueForKey(0, Preferences::rowSize);
        QVERIFY(table->verticalHeader()->defaultSectionSize() > small);
        QVERIFY(table->font().pointSizeF() > smallFont);
        prefs.setValueForKey(2, Preferences::rowSize);
        QVERIFY(table->verticalHeader()->defaultSectionSize() < small);
        QVERIFY(table->font().pointSizeF() < smallFont);
        // Every row the same height, and never lower than its text.
        QCOMPARE(table->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        QVERIFY(table->verticalHeader()->defaultSectionSize() >=
                QFontMetrics(table->font()).height());
        // The same size again changes nothing.
        table->verticalHeader()->setDefaultSectionSize(40);
        f.grid()->setRowSize(2);
        QCOMPARE(table->verticalHeader()->defaultSectionSize(), 40);
    }

    void aColumnSwitchedOnInPreferencesHasAWidth_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("offAtLaunch");
        QTest::addColumn<bool>("onAnotherPage");
        using TestSupport::row;
        row("custom value off at launch", QString(Preferences::customShow1),
            int(ReadingsModel::Custom1Column), true, false);
        row("pulse off at launch", QString(Preferences::showPulse), int(ReadingsModel::PulseColumn),
            true, false);
        row("weight off and on in one session", QString(Preferences::showWeight),
            int(ReadingsModel::WeightColumn), false, false);
        row("switched on while the chart is shown", QString(Preferences::customShow2),
            int(ReadingsModel::Custom2Column), true, true);
    }

    // However the column came to be hidden, switching its check box on in the preferences window
    // shows it with room for its values and its title, with the readings in either order.
    void aColumnSwitchedOnInPreferencesHasAWidth()
    {
        QFETCH(QString, key);
        QFETCH(int, column);
        QFETCH(bool, offAtLaunch);
        QFETCH(bool, onAnotherPage);
        Preferences &prefs = Preferences::shared();
        if (offAtLaunch)
            prefs.setValueForKey(false, key);
        Fixture f;
        QVERIFY(shown(f.window.get(), {1400, 500}));
        QHeaderView *header = f.table()->horizontalHeader();

        PreferencesWndController preferences;
        QVERIFY(shown(&preferences));
        auto *check = qobject_cast<QCheckBox *>(preferences.controlForKey(key));
        QVERIFY(check);
        preferences.findChild<QTabWidget *>(u"tabs"_s)->setCurrentWidget(
            preferences.findChild<QWidget *>(u"tabValues"_s));
        const auto clickCheck = [check] {
            QTest::mouseClick(check, Qt::LeftButton, {},
                              QPoint(check->height() / 2, check->height() / 2));
        };
        if (!offAtLaunch) {
            clickCheck();
            QVERIFY(header->isSectionHidden(column));
        }
        // The user turns the order round between hiding and showing.
        editAction(f.window.get(), "actionOldestFirst")->trigger();
        if (onAnotherPage)
            f.window->selectPage(MyWindowController::ChartPage);
        clickCheck();
        QVERIFY(prefs.boolForKey(key));
        if (onAnotherPage)
            f.window->selectPage(MyWindowController::ReadingsPage);
        QCoreApplication::processEvents();

        QVERIFY(!header->isSectionHidden(column));
        const QString title = f.table()->model()->headerData(column, Qt::Horizontal).toString();
        const int width = header->sectionSize(column);
        QVERIFY2(width >= QFontMetrics(header->font()).horizontalAdvance(title) + 8,
                 qPrintable(u"width %1"_s.arg(width)));
        QVERIFY(width >= QFontMetrics(f.table()->font()).horizontalAdvance(u"000.0"_s));
        // Its title is drawn: the section shows more than its background.
        const QImage image =
            header->grab(QRect(header->sectionViewportPosition(column), 0, width, header->height()))
                .toImage();
        const QRgb background = image.pixel(image.width() - 3, 1);
        int marked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                marked += image.pixel(x, y) != background;
        QVERIFY2(marked > 30, qPrintable(u"%1 pixels drawn"_s.arg(marked)));
    }

    // The class column shows only with a scheme, names the scheme, follows a change of scheme at
    // once (a table sorted by class sorts anew) and sorts by category, then by pressure.
    void classColumnFollowsTheScheme()
    {
        Fixture f;
        QVERIFY(shown(f.window.get(), {1200, 500}));
        QTableView *table = f.table();
        QHeaderView *header = table->horizontalHeader();
        QVERIFY(table->isColumnHidden(ReadingsModel::ClassColumn));
        f.document->addMeasurements(
            {reading(1, 199, 85), reading(2, 165, 102), reading(3, 112, 70)});
        f.endTurn();

        Preferences::shared().setValueForKey(1, Preferences::classificationScheme);
        QVERIFY(!table->isColumnHidden(ReadingsModel::ClassColumn));
        QVERIFY(header->sectionSize(ReadingsModel::ClassColumn) >=
                header->sectionSizeHint(ReadingsModel::ClassColumn));
        QAbstractItemModel *model = table->model();
        QVERIFY(model->headerData(ReadingsModel::ClassColumn, Qt::Horizontal)
                    .toString()
                    .contains(u"ESH/ESC 2023"_s));
        QVERIFY(model->headerData(ReadingsModel::ClassColumn, Qt::Horizontal, Qt::ToolTipRole)
                    .toString()
                    .contains(u"ESH/ESC 2023"_s));
        const auto classOf = [&](const Measurement *r) {
            return model
                ->data(model->index(f.grid()->model()->rowOfReading(r), ReadingsModel::ClassColumn))
                .toString();
        };
        const auto withSystolic = [&](int systolic) {
            for (const ReadingPtr &r : f.document->items())
                if (r->Systolic().toInt() == systolic)
                    return r.get();
            return static_cast<const Measurement *>(nullptr);
        };
        QCOMPARE(classOf(withSystolic(199)), qtTrId("class.esh.isolated_systolic"));
        QCOMPARE(classOf(withSystolic(165)), qtTrId("class.esh.grade_2"));

        // A click on the heading sorts by class: categories in the scheme's order.
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(ReadingsModel::ClassColumn) + 5, 5));
        QCOMPARE(f.grid()->sortDescriptors().first().key, u"Class"_s);
        const auto ranksInShownOrder = [&](PressureClassification::Scheme scheme) {
            QList<double> keys;
            for (const ReadingPtr &r : f.grid()->readingsInShownOrder())
                keys.append(PressureClassification::categoryRank(scheme, r->Systolic().toDouble(),
                                                                 r->Diastolic().toDouble()) *
                                1000.0 +
                            r->Systolic().toDouble());
            return keys;
        };
        QVERIFY(std::ranges::is_sorted(ranksInShownOrder(PressureClassification::Scheme::Esh2023)));
        const auto shownRow = [&](int systolic) {
            const ReadingList shown = f.grid()->readingsInShownOrder();
            for (qsizetype row = 0; row < shown.size(); ++row)
                if (shown.at(row).get() == withSystolic(systolic))
                    return row;
            return qsizetype(-1);
        };
        QVERIFY(shownRow(112) >= 0 && shownRow(112) < shownRow(165) &&
                shownRow(165) < shownRow(199));

        // Another scheme: its name, its classes, its order, without reopening anything.
        Preferences::shared().setValueForKey(2, Preferences::classificationScheme);
        QVERIFY(model->headerData(ReadingsModel::ClassColumn, Qt::Horizontal)
                    .toString()
                    .contains(u"ACC/AHA 2017"_s));
        QCOMPARE(classOf(withSystolic(199)), qtTrId("class.acc.crisis"));
        QCOMPARE(classOf(withSystolic(112)), qtTrId("class.acc.normal"));
        QVERIFY(
            std::ranges::is_sorted(ranksInShownOrder(PressureClassification::Scheme::AccAha2017)));

        Preferences::shared().setValueForKey(0, Preferences::classificationScheme);
        QVERIFY(table->isColumnHidden(ReadingsModel::ClassColumn));
    }

    // The readings table's header trims itself on removals instead of renumbering every row; the
    // rows must still be where the view paints and hit-tests them, whichever rows go.
    void rowsStayInPlaceAcrossDeletions()
    {
        auto document = std::make_unique<MyDocument>();
        document->addMeasurements(SampleDocument::many(300));
        MyWindowController window(document.get());
        QVERIFY(shown(&window, {800, 500}));
        QTableView *table = window.pageGrid()->tableView();
        auto *header = qobject_cast<UniformRowsHeader *>(table->verticalHeader());
        QVERIFY(header);
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
        QVERIFY(header->trimsOnRemoval());
        header->setModel(table->model()); // the same model again keeps the short way
        QVERIFY(header->trimsOnRemoval());
#endif
        const auto checkRows = [&]() -> bool {
            QCoreApplication::processEvents(); // layout
            const int rows = table->model()->rowCount();
            const int height = header->defaultSectionSize();
            if (header->count() != rows || header->length() != rows * height)
                return false;
            table->scrollTo(table->model()->index(rows / 2, 0), QAbstractItemView::PositionAtTop);
            for (int row = 0; row < rows; ++row) {
                if (header->sectionPosition(row) != row * height ||
                    header->sectionSize(row) != height)
                    return false;
                const QRect rect = table->visualRect(table->model()->index(row, 0));
                if (rect.isValid() &&
                    rect.top() + rect.height() / 2 < table->viewport()->height() &&
                    rect.top() >= 0 && table->indexAt(rect.center()).row() != row)
                    return false;
            }
            return true;
        };
        const auto readingsAt = [&](const QList<int> &rows) {
            ConstMeasurementList list;
            for (const int row : rows)
                list.append(window.pageGrid()->model()->reading(row));
            document->undoManager()->closeGroup();
            return list;
        };

        document->deleteMeasurements(readingsAt({150})); // the middle
        QVERIFY(checkRows());
        document->deleteMeasurements(readingsAt({0})); // the first
        QVERIFY(checkRows());
        document->deleteMeasurements(readingsAt({297})); // the last
        QVERIFY(checkRows());
        document->deleteMeasurements(readingsAt({3, 4, 5, 90, 200, 201})); // several runs at once
        QVERIFY(checkRows());
        QCOMPARE(table->model()->rowCount(), 291);
        document->undoManager()->closeGroup();
        document->undoManager()->undo(); // rows come back
        QVERIFY(checkRows());
        QCOMPARE(table->model()->rowCount(), 297);

        // Sorted by another column the view shows the proxy; removals through it trim alike.
        QTest::mouseClick(
            table->horizontalHeader()->viewport(), Qt::LeftButton, {},
            QPoint(table->horizontalHeader()->sectionViewportPosition(ReadingsModel::PulseColumn) +
                       5,
                   5));
        QVERIFY(table->model() != window.pageGrid()->model());
        document->deleteMeasurements(readingsAt({10, 11, 12}));
        QVERIFY(checkRows());

        // Resets to fewer and to more rows (another filter) trim and grow alike.
        const FilterPtr all = document->filter();
        FilterList filters = document->filters();
        filters.append(SampleDocument::highFilter());
        document->setFilters(filters);
        document->setFilter(filters.last());
        QVERIFY(table->model()->rowCount() < 200);
        QVERIFY(checkRows());
        document->setFilter(all);
        QVERIFY(checkRows());

        // A new row size after removals: still one height for every row.
        Preferences::shared().setValueForKey(0, Preferences::rowSize);
        QVERIFY(checkRows());

        document->deleteMeasurements(readingsAt([&] {
            QList<int> all;
            for (int row = 0; row < window.pageGrid()->model()->rowCount(); ++row)
                all.append(row);
            return all;
        }()));
        QCOMPARE(header->count(), 0);
        QCOMPARE(header->length(), 0);
        document->undoManager()->closeGroup();
        document->undoManager()->undo();
        QVERIFY(checkRows());
        QCOMPARE(header->count(), 294);
    }

    // Another filter, a large undo or reverting rebuilds the list in one go; the view would drop
    // its selection silently and leave the menus and the chart marker behind.
    void selectionAndOrderFollowListResets()
    {
        Fixture f;
        QAction *remove = editAction(f.window.get(), "actionDelete");
        QAction *average = editAction(f.window.get(), "actionReplaceWithAverage");
        ChartDataSource *chart = f.window->chartDataSource();
        const FilterPtr all = f.document->filter();
        const FilterPtr high = f.document->filters().last();
        const auto isHigh = [](const ReadingPtr &r) { return r->Systolic().toInt() >= 140; };

        // One high reading and one that the high filter leaves out.
        int highRow = -1, lowRow = -1;
        for (int row = 0; row < f.table()->model()->rowCount(); ++row)
            (isHigh(f.grid()->model()->reading(row)) ? highRow : lowRow) = row;
        QVERIFY(highRow >= 0 && lowRow >= 0);
        const ReadingPtr highReading = f.grid()->model()->reading(highRow);
        f.selectRows({highRow, lowRow});
        QVERIFY(average->isEnabled());
        f.document->setFilter(high);
        QCOMPARE(f.grid()->selectedReadings(), ReadingList{highReading});
        QCOMPARE(f.grid()->model()->reading(f.table()->currentIndex().row()), highReading);
        QVERIFY(remove->isEnabled());
        QVERIFY(!average->isEnabled());
        QCOMPARE(chart->selection(), highReading); // the one selected reading is marked

        f.selectRows({});
        f.selectRows({0});
        const ReadingPtr shown = f.grid()->selectedReadings().first();
        f.document->setFilter(all);
        QCOMPARE(f.grid()->selectedReadings(), ReadingList{shown});
        f.document->setFilter(high);
        f.selectRows({});
        f.document->setFilter(all);
        QVERIFY(!remove->isEnabled());
        QVERIFY(!chart->selection());

        // A reading added that the filter leaves out is not listed: nothing stays selected.
        f.document->setFilter(high);
        f.selectRows({0});
        f.answer = [](const ConstMeasurementPtr &) {
            return SampleDocument::reading(500, 110, 70, 60);
        };
        f.grid()->onAddButton();
        QCOMPARE(f.document->allItems().size(), 29);
        QVERIFY(f.grid()->selectedReadings().isEmpty());
        QVERIFY(!remove->isEnabled());

        // The date order changed elsewhere (undo, reverting): rows and arrow follow.
        f.document->setFilter(all);
        QVERIFY(!f.document->sortItemsAscending());
        f.document->setSortItemsAscending(true);
        QCOMPARE(f.grid()->model()->reading(0), f.document->items().first());
        QCOMPARE(f.table()->horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
        f.document->setSortItemsAscending(false);
        QCOMPARE(f.grid()->model()->reading(0), f.document->items().last());
        QCOMPARE(f.table()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    }

    // Switching pages puts the focus where the keyboard works at once: arrows move in the table.
    void everyListPageHandsTheFocusToItsTable()
    {
        Fixture f;
        QVERIFY(shown(f.window.get(), {}, true));
        const QList<std::pair<int, QWidget *>> pages = {
            {MyWindowController::ChartPage, f.window->pageChart()->chartView()},
            {MyWindowController::AveragesPage, f.window->pageAverages()->tableView()},
            {MyWindowController::InformationPage, f.window->pageInformation()->tableView()},
            {MyWindowController::ReadingsPage, f.table()},
        };
        for (const auto &[page, view] : pages) {
            f.window->selectPage(page);
            QCOMPARE(QApplication::focusWidget(), view);
        }
        f.table()->setCurrentIndex(f.table()->model()->index(0, 0));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(f.table()->currentIndex().row(), 1);
    }

    void informationAddAndDeleteWithBothAnswers()
    {
        Fixture f;
        f.window->selectPage(MyWindowController::InformationPage);
        PageInformation *page = f.window->pageInformation();
        InformationArrayController *model = f.window->informationController();
        QCOMPARE(model->rowCount(), 2);
        page->onAddButton();
        f.endTurn();
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(page->selectedRows(), QList<int>{2});
        QVERIFY(editAction(f.window.get(), "actionDelete")->isEnabled());

        // Nothing selected: nothing asked.
        page->tableView()->clearSelection();
        page->onDelete();
        QCOMPARE(Dialogs::record().size(), 0);

        page->selectRows({0, 2});
        Dialogs::setNextAnswer(1); // Cancel keeps the items
        page->onDelete();
        QCoreApplication::processEvents();
        QCOMPARE(Dialogs::record().size(), 1);
        QCOMPARE(Dialogs::record().first().stem, u"delete_info"_s);
        QCOMPARE(model->rowCount(), 3);

        Dialogs::setNextAnswer(0);
        editAction(f.window.get(), "actionDelete")->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(model->rowCount(), 1);
        QCOMPARE(model->item(0)->name(), u"Doctor"_s);
        f.endTurn();
        f.document->undoManager()->undo(); // one step brings both back
        QCOMPARE(model->rowCount(), 3);
    }

    void newInformationIsNamedInPlace()
    {
        Fixture f;
        QVERIFY(shown(f.window.get()));
        f.window->selectPage(MyWindowController::InformationPage);
        f.endTurn();
        f.window->onAddButtonPressed();
        QCoreApplication::processEvents();
        f.endTurn();
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        QCOMPARE(editor->text(), qtTrId("doc.information.new_item.label"));
        editor->selectAll();
        QTest::keyClicks(editor, u"Insurance"_s);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the delegate commits on the next turn
        InformationArrayController *model = f.window->informationController();
        QCOMPARE(model->item(2)->name(), u"Insurance"_s);
        f.endTurn();
        f.document->undoManager()->undo(); // the name
        QCOMPARE(model->item(2)->name(), qtTrId("doc.information.new_item.label"));
        f.document->undoManager()->undo(); // the item
        QCOMPARE(model->rowCount(), 2);
    }

    // Ctrl+Up and Ctrl+Down do what dragging does: the selected notes move together, stay
    // selected, and the move is one undo step; at either end nothing moves.
    void informationMovesWithTheKeyboard()
    {
        Fixture f;
        InformationList items;
        for (const QChar name : u"ABCD"_s)
            items.append(InformationItem::create(name, QString(), true));
        f.document->setInformation(items);
        f.endTurn();
        PageInformation *page = f.window->pageInformation();
        const auto names = [&] {
            QString text;
            for (const auto &item : f.document->information())
                text += item->name();
            return text;
        };
        const auto press = [&](Qt::Key key) {
            QTest::keyClick(page->tableView(), key, Qt::ControlModifier);
            f.endTurn();
        };
        page->selectRows({1, 3});
        press(Qt::Key_Up);
        QCOMPARE(names(), u"BDAC"_s);
        QCOMPARE(page->selectedRows(), (QList<int>{0, 1}));
        press(Qt::Key_Up); // already at the top
        QCOMPARE(names(), u"BDAC"_s);
        press(Qt::Key_Down);
        QCOMPARE(names(), u"ABDC"_s);
        QCOMPARE(page->selectedRows(), (QList<int>{1, 2}));
        press(Qt::Key_Down);
        press(Qt::Key_Down); // already at the bottom
        QCOMPARE(names(), u"ACBD"_s);
        f.document->undoManager()->undo();
        QCOMPARE(names(), u"ABDC"_s);
    }

    void counterLineAndChartFeed()
    {
        Fixture f;
        QLabel *counter = f.window->counterLabel();
        QCOMPARE(counter->text(), u"28 of 28 readings"_s);
        f.document->setFilter(f.document->visibleFilters().at(3));
        QCOMPARE(counter->text(), u"%1 of 28 readings"_s.arg(f.document->items().size()));

        // The chart holds the readings only while it is shown, in stored order.
        ChartDataSource *chart = f.window->chartDataSource();
        QVERIFY(chart->objects().isEmpty());
        f.window->selectPage(MyWindowController::ChartPage);
        QCOMPARE(chart->objects(), f.document->items());
        // Said in words too: how many readings, over which days.
        const QString description = f.window->pageChart()->chartView()->accessibleDescription();
        QVERIFY2(description.startsWith(counter->text()), qPrintable(description));
        const QDate first = f.document->items().first()->theWholeDate().toDateTime().date();
        QVERIFY2(description.contains(QLocale().toString(first, QLocale::ShortFormat)),
                 qPrintable(description));
        f.document->setFilter(f.document->visibleFilters().at(0));
        QCOMPARE(chart->objects().size(), 28);
        QVERIFY(f.window->pageChart()->chartView()->accessibleDescription().startsWith(
            u"28 of 28 readings, from "_s));
        // A reading the filter leaves out changes the count, not the list: said all the same.
        f.document->setFilter(f.document->visibleFilters().at(3));
        f.document->addMeasurements({SampleDocument::reading(500, 110, 70, 60)});
        QVERIFY(f.window->pageChart()->chartView()->accessibleDescription().startsWith(
            counter->text()));
        QVERIFY(counter->text().endsWith(u"of 29 readings"_s));
        f.document->setFilter(f.document->visibleFilters().at(0));
        f.selectRows({0}); // the newest, shown first
        QCOMPARE(chart->selection().get(), f.document->items().last().get());
        f.selectRows({0, 1});
        QVERIFY(!chart->selection());
        f.window->selectPage(MyWindowController::ReadingsPage);
        QVERIFY(chart->objects().isEmpty());
    }

    void chartRedrawsOncePerChange()
    {
        Fixture f;
        QVERIFY(shown(f.window.get(), {800, 600}));
        f.window->selectPage(MyWindowController::ChartPage);
        QCoreApplication::processEvents();
        PaintCounter counter;
        f.window->pageChart()->chartView()->installEventFilter(&counter);
        // Replacing three readings by their average sends several signals: one redraw.
        ConstMeasurementList three = {f.document->items().at(0), f.document->items().at(1),
                                      f.document->items().at(2)};
        f.document->replaceWithAverage(three);
        QCoreApplication::processEvents();
        QCOMPARE(counter.paints, 1);
        f.document->setFilter(f.document->visibleFilters().at(3));
        QCoreApplication::processEvents();
        QCOMPARE(counter.paints, 2);
    }

    void chartChoosesReadingsInTheTable()
    {
        Fixture f;
        QVERIFY(shown(f.window.get(), {800, 600}));
        f.window->selectPage(MyWindowController::ChartPage);
        ChartView *view = f.window->pageChart()->chartView();
        const ConstMeasurementList items = f.document->items();
        const auto seconds = [](const ConstMeasurementPtr &r) {
            return r->theWholeDate().timeIntervalSinceReferenceDate();
        };
        const QRectF plot = QRectF(view->rect()).adjusted(30, 30, -30, -30);
        const double x = plot.left() + plot.width() *
                                           (seconds(items.at(5)) - seconds(items.first())) /
                                           (seconds(items.last()) - seconds(items.first()));

        // A click on a reading selects it in the readings table, and the marker follows.
        QTest::mouseClick(view, Qt::LeftButton, {}, QPointF(x, plot.center().y()).toPoint());
        QCOMPARE(f.grid()->singleSelectedReading().get(), items.at(5).get());
        QCOMPARE(f.window->chartDataSource()->selection().get(), items.at(5).get());
        // Ctrl+Right selects the next one and tells what it is.
        QTest::keyClick(view, Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(f.grid()->singleSelectedReading().get(), items.at(6).get());
        QCOMPARE(QToolTip::text(), ChartView::toolTipForReading(*items.at(6)));

        // Zoomed in, the description names the days shown.
        QTest::keyClick(view, Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_Plus, Qt::ControlModifier);
        const auto [from, to] = view->shownPeriod();
        QVERIFY(from > items.first()->theWholeDate() && to < items.last()->theWholeDate());
        const auto dates = DateFormatter::formatter();
        QCOMPARE(view->accessibleDescription(),
                 qtTrId("window.chart.description")
                     .arg(f.window->counterLabel()->text(),
                          dates->stringForObjectValue(QVariant::fromValue(from)),
                          dates->stringForObjectValue(QVariant::fromValue(to))));
    }

    void printOptionsSummaryAndBinding()
    {
        Preferences &prefs = Preferences::shared();
        prefs.setValueForKey(false, Preferences::printShowAverages);
        prefs.setValueForKey(false, Preferences::printShowMeasurements);
        const auto items = PrintAccessoryView::localizedSummaryItems();
        QCOMPARE(items.size(), 4);
        QCOMPARE(items.at(0), qMakePair(qtTrId("print.summary.print_information"), qtTrId("yes")));
        QCOMPARE(items.at(1), qMakePair(qtTrId("print.summary.print_averages"), qtTrId("no")));
        QCOMPARE(items.at(2), qMakePair(qtTrId("print.summary.print_measurements"), qtTrId("no")));
        QCOMPARE(items.at(3), qMakePair(qtTrId("print.summary.print_chart"), qtTrId("yes")));
        // The preview follows every switch of what is printed, the summary's and the header's too.
        const QStringList affecting = PrintAccessoryView::keyPathsForValuesAffectingPreview();
        for (const char *key :
             {"printShowInformation", "printShowAverages", "printShowMeasurements",
              "printShowChart", "printHomeSummary", "printPageHeader", "personName"})
            QVERIFY2(affecting.contains(QLatin1String(key)), key);

        PrintAccessoryView view;
        auto *chart = view.findChild<QCheckBox *>("printShowChart");
        QVERIFY(chart->isChecked());
        chart->click();
        QVERIFY(!prefs.boolForKey(Preferences::printShowChart));
        prefs.setValueForKey(true, Preferences::printShowChart);
        QVERIFY(chart->isChecked());
        QVERIFY(view.findChild<QLabel *>("summary")->text().contains(
            qtTrId("print.summary.print_chart")));
    }

    void previewRebuildsOncePerPreferenceChange()
    {
        Fixture f;
        QPrintPreviewDialog *dialog = nullptr;
        f.window->onDialogOpened = [&](QDialog *d) {
            dialog = qobject_cast<QPrintPreviewDialog *>(d);
        };
        const int made = MyWindowController::madePrintViews();
        f.window->onPrintPreview();
        QVERIFY(dialog);
        QCOMPARE(MyWindowController::madePrintViews(), made + 1);
        int paints = 0;
        connect(dialog, &QPrintPreviewDialog::paintRequested, this, [&] { ++paints; });
        auto *preview = dialog->findChild<QPrintPreviewWidget *>();
        QVERIFY(preview);
        preview->updatePreview();
        QCOMPARE(paints, 1);
        int pagesBefore = 0;
        for (const auto &[key, value] : QList<std::pair<QString, QVariant>>{
                 {"customTitle1", "X"}, {"rowSize", 2}, {"printShowChart", false}}) {
            pagesBefore = preview->pageCount();
            const int before = paints;
            Preferences::shared().setValueForKey(value, key);
            QCOMPARE(paints, before + 1);
        }
        QCOMPARE(preview->pageCount(), pagesBefore - 1);          // the chart's page went
        QCOMPARE(MyWindowController::madePrintViews(), made + 1); // rebuilt, not remade
        const int live = MyWindowController::livePrintViews();
        dialog->done(QDialog::Rejected);
        delete dialog;
        QCOMPARE(MyWindowController::livePrintViews(), live - 1);
    }

    void printingTwiceMakesAndReleasesTwoReportViews()
    {
        Fixture f;
        QTemporaryDir dir;
        int run = 0;
        f.window->onDialogOpened = [&](QDialog *d) {
            auto *dialog = qobject_cast<QPrintDialog *>(d);
            QVERIFY(dialog);
            QVERIFY(dialog->isVisible());
            dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
            dialog->printer()->setOutputFileName(dir.filePath(u"run%1.pdf"_s.arg(++run)));
            dialog->done(QDialog::Accepted);
        };
        const int live = MyWindowController::livePrintViews();
        const int made = MyWindowController::madePrintViews();
        f.document->printShowingPrintPanel(true);
        QCoreApplication::processEvents();
        f.document->printShowingPrintPanel(true);
        QCoreApplication::processEvents();
        QCOMPARE(run, 2);
        // Each run counted its pages with one view and printed with another; none is left.
        QCOMPARE(MyWindowController::madePrintViews(), made + 4);
        QCOMPARE(MyWindowController::livePrintViews(), live);
        QVERIFY(QFileInfo(dir.filePath(u"run1.pdf"_s)).size() > 1000);
        QVERIFY(QFileInfo(dir.filePath(u"run2.pdf"_s)).size() > 1000);
        // The options tab stays with the window for the next run.
        QCOMPARE(f.window->printAccessoryView()->parent(), f.window.get());
        // The window goes away after printing without trouble.
        f.window.reset();
        f.document.reset();
    }

    void pdfExportWritesTheReport()
    {
        Fixture f;
        QTemporaryDir dir;
        Dialogs::setNextPath(dir.filePath(u"report"_s));
        f.window->findChild<QAction *>("actionExportPdf")->trigger();
        QCoreApplication::processEvents();
        const QString pdf = dir.filePath(u"report.pdf"_s);
        const QByteArray bytes = TestSupport::readFile(pdf);
        QVERIFY(bytes.startsWith("%PDF-"));
        // The same drawing as printing: as many pages as the report view lays out.
        const auto view = f.window->makePrintView(f.window->pageLayout());
        QCOMPARE(int(bytes.count("/Type /Page\n") + bytes.count("/Type /Page ")),
                 view->totalPages());

        // The same name typed again names that file only once ".pdf" is added: asked before it is
        // replaced; Cancel goes back to the file dialog.
        QVERIFY(TestSupport::writeFile(pdf, "mine"));
        Dialogs::clearRecord();
        Dialogs::setNextPath(dir.filePath(u"report"_s));
        Dialogs::setNextAnswer(1);
        Dialogs::setNextPath(QString());
        f.window->findChild<QAction *>("actionExportPdf")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(Dialogs::record().size(), 3, 2000);
        QCOMPARE(Dialogs::record().at(1).stem, u"file.replace"_s);
        QCOMPARE(TestSupport::readFile(pdf), QByteArray("mine"));

        // Cancelled: nothing written.
        Dialogs::setNextPath(QString());
        f.window->onExportPdf();
        QCoreApplication::processEvents();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
        // A place that cannot be written: an alert, and nothing lost.
        Dialogs::setNextPath(dir.filePath(u"missing/folder/report.pdf"_s));
        f.window->onExportPdf();
        QCoreApplication::processEvents();
        QCOMPARE(Dialogs::record().last().title, qtTrId("window.export_pdf.failed"));
    }

    void pageSetupIsStoredWithTheDocument()
    {
        Fixture f;
        f.endTurn();
        QVERIFY(f.document->undoManager()->isClean());
        f.window->onDialogOpened = [](QDialog *d) {
            auto *dialog = qobject_cast<QPageSetupDialog *>(d);
            QVERIFY(dialog);
            dialog->printer()->setPageLayout(QPageLayout(
                QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF(36, 36, 36, 36)));
            dialog->done(QDialog::Accepted);
        };
        f.window->onPageSetup();
        QCoreApplication::processEvents();
        const QPageLayout stored = f.window->pageLayout();
        QCOMPARE(stored.orientation(), QPageLayout::Landscape);
        QCOMPARE(stored.fullRectPoints().size(), QSize(792, 612));
        QCOMPARE(stored.margins(QPageLayout::Point).left(), 36.0);
        QVERIFY(!f.document->undoManager()->isClean());
        QCOMPARE(f.document->printSettings().pageLayout().orientation(), QPageLayout::Landscape);
    }

    void csvItemsOpenTheirDialogs()
    {
        Fixture f;
        auto *exportCsv = f.window->findChild<QAction *>(u"actionExportCsv"_s);
        auto *importCsv = f.window->findChild<QAction *>(u"actionImportCsv"_s);
        QVERIFY(exportCsv && importCsv);
        exportCsv->trigger();
        auto *exporter = f.window->findChild<CsvExportDialog *>();
        QVERIFY(exporter && exporter->isVisible());
        QCOMPARE(exporter->windowModality(), Qt::WindowModal);
        // A name that names an existing file once ".csv" is added: asked before it is replaced.
        QTemporaryDir dir;
        const QString existing = dir.filePath(u"out.csv"_s);
        QVERIFY(TestSupport::writeFile(existing, "mine"));
        Dialogs::setNextPath(dir.filePath(u"out"_s));
        Dialogs::setNextAnswer(1);
        Dialogs::setNextPath(QString());
        QTest::mouseClick(exporter->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(Dialogs::record().size(), 3, 2000);
        QCOMPARE(Dialogs::record().at(1).stem, u"file.replace"_s);
        QCOMPARE(TestSupport::readFile(existing), QByteArray("mine"));
        QVERIFY(exporter->isVisible());
        exporter->reject();

        const QString path = dir.filePath(u"in.csv"_s);
        QVERIFY(TestSupport::writeFile(path,
                                       "Date,Time,Systolic,Diastolic\n2024-03-01,08:00,121,79\n"));
        Dialogs::setNextPath(path);
        importCsv->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(f.window->findChild<CsvImportDialog *>(), 2000);
        // The review and the import that follow are those of File > Import... with a CSV file.
        QCOMPARE(f.window->findChild<CsvImportDialog *>()->result().readings.size(), 1);
    }
};

TENSILO_TEST_MAIN(TestWindow)
#include "tst_window.moc"
