// The filters page: adding, deleting (asked first), renaming and flagging filters with undo; the
// editor and the text form following undo and redo; parse errors shown at their place; a
// condition the editor cannot show surviving a save; in the window, what the user typed reaching
// the filter whatever comes next (another filter, Add, another page).

#include "Dialogs.h"
#include "FiltersModel.h"
#include "Localization.h"
#include "MyDocument.h"
#include "MyTokenField.h"
#include "MyWindowController.h"
#include "NumberField.h"
#include "PageFilters.h"
#include "PredicateEditor.h"
#include "TagsTemplate.h"
#include "TestMain.h"
#include "UndoManager.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace {

PredicatePtr parse(const QString &text)
{
    return Predicate::predicateWithFormat(text);
}

void undo(MyDocument &document)
{
    document.undoManager()->closeGroup();
    document.undoManager()->undo();
}

void redo(MyDocument &document)
{
    document.undoManager()->closeGroup();
    document.undoManager()->redo();
}

void typeNumber(NumberField *field, const QString &text)
{
    field->setText(text);
    field->setModified(true);
    emit field->editingFinished();
}

// A document window on its filters page, shown and active, as the user meets it.
struct Window
{
    MyDocument document;
    std::unique_ptr<MyWindowController> window; // goes before its document
    PageFilters *page = nullptr;

    explicit Window(const PredicatePtr &firstCondition = {})
    {
        if (firstCondition)
            document.filters()[0]->setPredicate(firstCondition);
        document.undoManager()->removeAllActions();
        window = std::make_unique<MyWindowController>(&document);
        window->resize(900, 700);
        window->show();
        window->selectPage(MyWindowController::FiltersPage);
        page = window->pageFilter();
    }
    PredicateEditor *editor() const { return page->predicateEditor(); }
    void clickFilter(int row) const
    {
        QTableView *view = page->filtersView();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(row, 0)).center());
    }
    // Clicks into a field and types over what it holds.
    static void typeInto(QWidget *field, const QString &text)
    {
        QTest::mouseClick(field, Qt::LeftButton);
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(focus, text);
    }
};

} // namespace

class TestFiltersPage : public QObject
{
    Q_OBJECT
private slots:

    void initTestCase() { TestSupport::setTimeZone("Europe/Berlin"); }

    void init() { Dialogs::clearRecord(); }

    void addAppendsSelectsAndUndoes()
    {
        MyDocument document;
        PageFilters page(&document, nullptr);
        QSignalSpy enabled(&page, &PageFilters::deleteEnabledChanged);
        page.selectFilter(nullptr);
        QVERIFY(!page.canDelete());
        page.onAddButton();
        QCOMPARE(document.filters().size(), 4);
        const FilterPtr added = document.filters().last();
        QCOMPARE(added->name(), qtTrId("filter.name_untitled"));
        QVERIFY(added->isUsedInFilters() && added->isUsedInAverages());
        QVERIFY(Predicate::equal(added->predicate(), parse("Systolic > 0")));
        QCOMPARE(page.selectedFilter(), added);
        QVERIFY(page.canDelete());
        QCOMPARE(enabled.count(), 2);
        QVERIFY(Predicate::equal(page.predicateEditor()->objectValue(), parse("Systolic > 0")));
        QCOMPARE(page.addButtonTooltip(), qtTrId("button.add.filter"));

        undo(document);
        QCOMPARE(document.filters().size(), 3);
        QCOMPARE(document.visibleFilters().size(), 3);
        // The list selects a neighbour, and the editor shows that one.
        const FilterPtr selected = page.selectedFilter();
        QVERIFY(selected != added);
        QCOMPARE(page.canDelete(), bool(selected));
        if (selected)
            QVERIFY(Predicate::equal(page.predicateEditor()->objectValue(), selected->predicate()));
        redo(document);
        QCOMPARE(document.filters().last(), added);
    }

    void deleteAsksAndUndoPutsBack()
    {
        MyDocument document;
        PageFilters page(&document, nullptr);
        const FilterPtr second = document.filters()[1];
        page.selectFilter(second);

        Dialogs::setNextAnswer(1); // no
        page.onDelete();
        QTRY_VERIFY(!Dialogs::hasQueuedAnswers());
        QCoreApplication::processEvents();
        QCOMPARE(document.filters().size(), 3);
        QCOMPARE(Dialogs::record().size(), 1);
        QCOMPARE(Dialogs::record().first().stem, u"delete_filter"_s);
        QVERIFY(Dialogs::record().first().message.contains(second->name()));

        Dialogs::setNextAnswer(0); // yes
        page.onDelete();
        QTRY_COMPARE(document.filters().size(), 2);
        QVERIFY(!document.filters().contains(second));
        QCOMPARE(document.undoManager()->undoActionName(), qtTrId("doc.del_filter"));
        undo(document);
        QCOMPARE(document.filters().size(), 3);
        QCOMPARE(document.filters()[1], second);
        QCOMPARE(document.visibleFilters()[1], second);

        // Nothing selected: nothing asked.
        page.selectFilter(nullptr);
        Dialogs::clearRecord();
        page.onDelete();
        QCOMPARE(Dialogs::record().size(), 0);
    }

    void onlyForwardDeleteActs()
    {
        MyDocument document;
        PageFilters page(&document, nullptr);
        page.selectFilter(document.filters()[2]);
        QTest::keyClick(&page, Qt::Key_A);
        QTest::keyClick(&page, Qt::Key_Backspace);
        QTest::keyClick(&page, Qt::Key_Return);
        QCOMPARE(Dialogs::record().size(), 0);
        Dialogs::setNextAnswer(0);
        QTest::keyClick(page.filtersView(), Qt::Key_Delete); // passed on by the list
        QTRY_COMPARE(document.filters().size(), 2);
        QCOMPARE(Dialogs::record().size(), 1);
    }

    void renameAndFlagsAreUndoable()
    {
        MyDocument document;
        PageFilters page(&document, nullptr);
        FiltersModel *model = page.filtersModel();
        const FilterPtr first = document.filters()[0];
        const QString oldName = first->name();

        QVERIFY(model->setData(model->index(0, FiltersModel::NameColumn), u"Morning"_s));
        QCOMPARE(first->name(), u"Morning"_s);
        QCOMPARE(model->index(0, 0).data().toString(), u"Morning"_s);
        QCOMPARE(document.undoManager()->undoActionName(), qtTrId("doc.rename_filter"));
        // An empty name is refused and leaves the old one.
        QVERIFY(!model->setData(model->index(0, FiltersModel::NameColumn), u"  "_s));
        QCOMPARE(first->name(), u"Morning"_s);
        undo(document);
        QCOMPARE(first->name(), oldName);
        QCOMPARE(model->index(0, 0).data().toString(), oldName);

        const QModelIndex inMenu = model->index(1, FiltersModel::UseInFiltersColumn);
        QVERIFY(model->setData(inMenu, Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(document.visibleFilters().size(), 2);
        QCOMPARE(inMenu.data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QCOMPARE(document.undoManager()->undoActionName(), qtTrId("doc.change_filter"));
        const QModelIndex inAverages = model->index(2, FiltersModel::UseInAveragesColumn);
        QVERIFY(model->setData(inAverages, Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(document.averages().size(), 2);
        undo(document);
        QCOMPARE(document.averages().size(), 3);
        QCOMPARE(document.visibleFilters().size(), 3); // both in one step of this turn
        QCOMPARE(document.visibleFilters()[1], document.filters()[1]);
        QCOMPARE(inMenu.data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    }

    void editorFollowsUndoAndRedo()
    {
        MyDocument document;
        PageFilters page(&document, nullptr);
        const FilterPtr filter = document.filters()[0];
        document.setFilter(filter);
        page.selectFilter(filter);
        PredicateEditor *editor = page.predicateEditor();
        typeNumber(editor->templateOfRow(1)->numberField(), u"140"_s);
        QVERIFY(Predicate::equal(filter->predicate(), parse("Systolic > 140")));
        QCOMPARE(document.undoManager()->undoActionName(), qtTrId("doc.change_filter"));
        document.undoManager()->closeGroup();

        editor->addRow(1, false);
        typeNumber(editor->templateOfRow(2)->numberField(), u"160"_s);
        QVERIFY(Predicate::equal(filter->predicate(), parse("Systolic > 140 AND Systolic > 160")));

        undo(document);
        QCOMPARE(editor->numberOfRows(), 2);
        QCOMPARE(editor->templateOfRow(1)->numberField()->value(), QVariant(qlonglong(140)));
        undo(document);
        QCOMPARE(editor->templateOfRow(1)->numberField()->value(), QVariant(qlonglong(0)));
        QVERIFY(Predicate::equal(document.filter()->predicate(), parse("Systolic > 0")));
        redo(document);
        QCOMPARE(editor->templateOfRow(1)->numberField()->value(), QVariant(qlonglong(140)));
        redo(document);
        QCOMPARE(editor->numberOfRows(), 3);
        QTRY_VERIFY(true);
    }

    void textFormShowsParseErrorAtPosition()
    {
        MyDocument document;
        PageFilters page(&document, nullptr);
        const FilterPtr filter = document.filters()[0];
        page.selectFilter(filter);
        page.textToggle()->setChecked(true);
        QCOMPARE(page.textField()->text(), u"Systolic > 0"_s);
        const PredicatePtr before = filter->predicate();

        page.textField()->setText(u"Systolic > 0 AND Pulse <"_s);
        QTest::keyClick(page.textField(), Qt::Key_Return);
        QVERIFY(!page.textError()->isHidden());
        QString error;
        qsizetype position = -1;
        QVERIFY(!Predicate::predicateWithFormat(page.textField()->text(), &error, &position));
        QCOMPARE(page.textError()->text(), error);
        QCOMPARE(page.textField()->accessibleDescription(), error); // read out with the field
        QVERIFY(error.contains(QString::number(position + 1)));
        QCOMPARE(page.textField()->cursorPosition(), int(position));
        QCOMPARE(filter->predicate(), before);
        QVERIFY(!document.undoManager()->canUndo());

        // A key readings lack is refused too.
        page.textField()->setText(u"Nonsense > 3"_s);
        QTest::keyClick(page.textField(), Qt::Key_Return);
        QVERIFY(!page.textError()->isHidden());
        QCOMPARE(filter->predicate(), before);
        // Typing again takes the error away, for the eye and the ear alike.
        QTest::keyClick(page.textField(), Qt::Key_Backspace);
        QVERIFY(page.textError()->isHidden());
        QVERIFY(page.textField()->accessibleDescription().isEmpty());
    }

    void textFormAndEditorStayInStep()
    {
        MyDocument document;
        PageFilters page(&document, nullptr);
        const FilterPtr filter = document.filters()[0];
        page.selectFilter(filter);
        page.textToggle()->setChecked(true);
        page.textField()->setText(u"Pulse < 60 OR ANY Tags IN {'medication'}"_s);
        QTest::keyClick(page.textField(), Qt::Key_Return);
        QVERIFY(page.textError()->isHidden());
        QVERIFY(Predicate::equal(filter->predicate(),
                                 parse("Pulse < 60 OR ANY Tags IN {'medication'}")));
        undo(document);
        QCOMPARE(page.textField()->text(), u"Systolic > 0"_s);
        redo(document);
        page.textToggle()->setChecked(false);
        QCOMPARE(page.predicateEditor()->numberOfRows(), 3);
        QCOMPARE(page.predicateEditor()->compoundTypeOfRow(0), 2);
    }

    void unshowableConditionSurvivesSave()
    {
        MyDocument document;
        PageFilters page(&document, nullptr);
        const FilterPtr filter = document.filters()[2];
        const PredicatePtr odd = parse("Comments LIKE 'pill*' OR Tags.@count == 1");
        filter->setPredicate(odd);
        page.selectFilter(filter);
        QVERIFY(page.predicateEditor()->isReadOnly());
        // Working on another filter and coming back does not touch it.
        page.selectFilter(document.filters()[0]);
        typeNumber(page.predicateEditor()->templateOfRow(1)->numberField(), u"100"_s);
        page.selectFilter(filter);
        QCOMPARE(filter->predicate(), odd);

        QString error;
        const QByteArray data = document.dataOfType(u"tensilo"_s, &error);
        QVERIFY2(!data.isEmpty(), qPrintable(error));
        MyDocument reopened;
        QVERIFY2(reopened.readFromData(data, u"tensilo"_s, &error), qPrintable(error));
        PageFilters again(&reopened, nullptr);
        again.selectFilter(reopened.filters()[2]);
        QVERIFY(again.predicateEditor()->isReadOnly());
        QVERIFY(Predicate::equal(reopened.filters()[2]->predicate(), odd));
        QVERIFY(Predicate::equal(again.predicateEditor()->objectValue(), odd));
    }

    void pageOpensOnTheWindowsFilter()
    {
        MyDocument document;
        document.setFilter(document.filters()[2]);
        MyWindowController window(&document);
        window.selectPage(MyWindowController::FiltersPage);
        QCOMPARE(window.pageFilter()->selectedFilter(), document.filters()[2]);
        QVERIFY(Predicate::equal(window.pageFilter()->predicateEditor()->objectValue(),
                                 document.filters()[2]->predicate()));
        QVERIFY(window.pageFilter()->canDelete());
    }

    void typedConditionReachesTheFilterBeforeItsRowGoes()
    {
        Window w(parse("ANY Tags IN {'home'} AND Systolic > 0"));
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        const FilterPtr first = w.document.filters()[0];
        w.clickFilter(1); // away first: a click on the selected filter would start renaming it
        w.clickFilter(0);
        auto *tags = qobject_cast<TagsTemplate *>(w.editor()->templateOfRow(1));
        QVERIFY(tags);

        // A tag typed, then another filter clicked: the row goes, the tag stays with its filter.
        Window::typeInto(tags->tokensField(), u"walk"_s);
        w.clickFilter(1);
        QCOMPARE(w.page->selectedFilter(), w.document.filters()[1]);
        QCoreApplication::processEvents();
        QVERIFY(Predicate::equal(first->predicate(),
                                 parse("ANY Tags IN {'home', 'walk'} AND Systolic > 0")));

        // Return in the tags field takes the tag to the filter without leaving the field.
        w.clickFilter(0);
        tags = qobject_cast<TagsTemplate *>(w.editor()->templateOfRow(1));
        QTest::mouseClick(tags->tokensField(), Qt::LeftButton);
        QTest::keyClicks(QApplication::focusWidget(), u"run"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(Predicate::equal(
            first->predicate(), parse("ANY Tags IN {'home', 'walk', 'run'} AND Systolic > 0")));

        // A number still being typed when the toolbar's Add or Ctrl+Shift+N adds a filter.
        Window::typeInto(w.editor()->templateOfRow(2)->numberField(), u"140"_s);
        QTest::mouseClick(w.window->addButton(), Qt::LeftButton);
        QTRY_COMPARE(w.document.filters().size(), 4);
        QVERIFY(Predicate::equal(first->predicate(),
                                 parse("ANY Tags IN {'home', 'walk', 'run'} AND Systolic > 140")));
        QTRY_COMPARE(w.page->selectedFilter(), w.document.filters()[3]);
        Window::typeInto(w.editor()->templateOfRow(1)->numberField(), u"120"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_N,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(w.document.filters().size(), 5);
        QVERIFY(Predicate::equal(w.document.filters()[3]->predicate(), parse("Systolic > 120")));

        // A number set by assistive technology in the focused field, then another filter clicked.
        w.clickFilter(0);
        NumberField *number = w.editor()->templateOfRow(2)->numberField();
        number->setFocus();
        QAccessibleInterface *access = QAccessible::queryAccessibleInterface(number);
        QVERIFY(access && access->editableTextInterface());
        access->editableTextInterface()->replaceText(0, int(number->text().size()), u"160"_s);
        w.clickFilter(1);
        QVERIFY(Predicate::equal(first->predicate(),
                                 parse("ANY Tags IN {'home', 'walk', 'run'} AND Systolic > 160")));
        // Set while the focus is elsewhere: taken at once.
        w.clickFilter(0);
        number = w.editor()->templateOfRow(2)->numberField();
        QAccessible::queryAccessibleInterface(number)->setText(QAccessible::Value, u"170"_s);
        QVERIFY(Predicate::equal(first->predicate(),
                                 parse("ANY Tags IN {'home', 'walk', 'run'} AND Systolic > 170")));
    }

    void textFormAppliesOrAsksWhenLeft()
    {
        Window w(parse("ANY Tags IN {'home'}"));
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        const FilterPtr first = w.document.filters()[0];
        w.clickFilter(1); // away first: a click on the selected filter would start renaming it
        w.clickFilter(0);
        QTest::mouseClick(w.page->textToggle(), Qt::LeftButton);
        QVERIFY(w.page->textToggle()->isChecked());

        // Valid text left for another filter is applied.
        Window::typeInto(w.page->textField(), u"Pulse < 60"_s);
        w.clickFilter(1);
        QVERIFY(Predicate::equal(first->predicate(), parse("Pulse < 60")));
        QCOMPARE(w.page->selectedFilter(), w.document.filters()[1]);

        // Text that does not parse: asked; "keep editing" keeps the filter, the text and the focus.
        w.clickFilter(0);
        Window::typeInto(w.page->textField(), u"Pulse <"_s);
        Dialogs::setNextAnswer(0);
        w.clickFilter(2);
        QCOMPARE(w.page->selectedFilter(), first);
        QTRY_VERIFY(!Dialogs::hasQueuedAnswers());
        QCOMPARE(Dialogs::record().size(), 1);
        QCOMPARE(Dialogs::record().first().stem, u"filters.unapplied_text"_s);
        QTRY_COMPARE(QApplication::focusWidget(), w.page->textField());
        QCOMPARE(w.page->textField()->text(), u"Pulse <"_s);
        QCOMPARE(w.page->selectedFilter(), first);
        // "Discard" on the way to another page: the page changes, the filter stays as it was.
        Dialogs::setNextAnswer(1);
        QTest::mouseClick(w.window->modeSelector()->button(MyWindowController::ChartPage),
                          Qt::LeftButton);
        QTRY_COMPARE(w.window->selectedPage(), int(MyWindowController::ChartPage));
        QVERIFY(Predicate::equal(first->predicate(), parse("Pulse < 60")));
        QCOMPARE(w.page->textField()->text(), first->predicate()->predicateFormat());

        // A tag ended by leaving its field for the text form shows in the text; Return there keeps
        // it.
        first->setPredicate(parse("ANY Tags IN {'home'}"));
        w.window->selectPage(MyWindowController::FiltersPage);
        QTest::mouseClick(w.page->textToggle(), Qt::LeftButton);
        QVERIFY(!w.page->textToggle()->isChecked());
        auto *tags = qobject_cast<TagsTemplate *>(w.editor()->templateOfRow(1));
        QVERIFY(tags);
        Window::typeInto(tags->tokensField(), u"walk"_s);
        QTest::mouseClick(w.page->textToggle(), Qt::LeftButton);
        QCoreApplication::processEvents();
        const PredicatePtr tagged = parse("ANY Tags IN {'home', 'walk'}");
        QVERIFY(Predicate::equal(first->predicate(), tagged));
        QCOMPARE(w.page->textField()->text(), tagged->predicateFormat());
        QTest::mouseClick(w.page->textField(), Qt::LeftButton);
        QTest::keyClick(w.page->textField(), Qt::Key_Return);
        QVERIFY(Predicate::equal(first->predicate(), tagged));
    }

    void deleteInAConditionRowLeavesTheFilter()
    {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        // From the list, Tab leads into the condition row's first menu.
        QComboBox *left = w.editor()->templateOfRow(1)->leftMenu();
        w.clickFilter(0);
        for (int i = 0; i < 6 && !left->hasFocus(); ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(left->hasFocus());
        QTest::keyClick(left, Qt::Key_Delete);
        QCoreApplication::processEvents();
        QCOMPARE(Dialogs::record().size(), 0);
        QCOMPARE(w.document.filters().size(), 3);
    }
};

TENSILO_TEST_MAIN(TestFiltersPage)
#include "tst_filterspage.moc"
