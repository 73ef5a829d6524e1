// The token field: how typed text becomes tokens, how tokens go again, when the field tells
// that its tokens changed, completion, and what a screen reader is told.

#include "MyTokenField.h"
#include "TestMain.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCompleter>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

QLineEdit *editorOf(MyTokenField &field)
{
    return field.findChild<QLineEdit *>();
}

QList<QAbstractButton *> chipsOf(MyTokenField &field)
{
    return field.findChildren<QAbstractButton *>();
}

// A dialog holding a labelled token field and a default button, as the editor sheet has.
struct Sheet
{
    QDialog dialog;
    QLabel *label = new QLabel(QStringLiteral("&Tags:"), &dialog);
    MyTokenField *field = new MyTokenField(&dialog);
    QLineEdit *after = new QLineEdit(&dialog);
    QPushButton *ok = new QPushButton(QStringLiteral("OK"), &dialog);

    Sheet()
    {
        auto *layout = new QVBoxLayout(&dialog);
        layout->addWidget(label);
        layout->addWidget(field);
        layout->addWidget(after);
        layout->addWidget(ok);
        label->setBuddy(field);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        field->setFocus();
    }
};

} // namespace

class TestTokenField : public QObject
{
    Q_OBJECT

private slots:

    void typedTextBecomesTokensInOrder()
    {
        MyTokenField field;
        QLineEdit *editor = editorOf(field);
        QTest::keyClicks(editor, QStringLiteral("zeta,alpha, ,alpha,  mid  ,"));
        // Typed order, trimmed; the empty and the duplicate were not added.
        QCOMPARE(field.tokens(), (QStringList{"zeta", "alpha", "mid"}));
        QCOMPARE(editor->text(), QString());
        QCOMPARE(chipsOf(field).size(), 3);
        // Case matters: "Alpha" is another tag than "alpha".
        QTest::keyClicks(editor, QStringLiteral("Alpha,"));
        QCOMPARE(field.tokens(), (QStringList{"zeta", "alpha", "mid", "Alpha"}));

        field.setTokens({"b", "", "a", "b"});
        QCOMPARE(field.tokens(), (QStringList{"b", "a"}));
        QCOMPARE(chipsOf(field).size(), 2);
    }

    void commaSeparatedPasteAndCommitEditing()
    {
        MyTokenField field;
        QLineEdit *editor = editorOf(field);
        editor->insert(QStringLiteral("one,two,thr"));
        emit editor->textEdited(editor->text());
        QCOMPARE(field.tokens(), (QStringList{"one", "two"}));
        QCOMPARE(field.pendingText(), QStringLiteral("thr"));
        // Text typed but not ended is taken in by commitEditing(), as ending the editing does.
        field.commitEditing();
        QCOMPARE(field.tokens(), (QStringList{"one", "two", "thr"}));
        QCOMPARE(field.pendingText(), QString());
    }

    void returnEndsATokenAndOtherwiseReachesTheDialog()
    {
        Sheet sheet;
        QSignalSpy accepted(&sheet.dialog, &QDialog::accepted);
        QLineEdit *editor = editorOf(*sheet.field);
        QTest::keyClicks(editor, QStringLiteral("walk"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(sheet.field->tokens(), QStringList{"walk"});
        QCOMPARE(accepted.size(), 0); // the Return ended the token, nothing else
        QTest::keyClicks(editor, QStringLiteral("   "));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(accepted.size(), 1); // nothing typed: the dialog's default button takes it
        QCOMPARE(sheet.field->tokens(), QStringList{"walk"});
    }

    void backspaceAndSelectionRemoveTokens()
    {
        MyTokenField field;
        field.setTokens({"a", "b", "c", "d"});
        QLineEdit *editor = editorOf(field);

        // Backspace in the middle of typed text edits the text only.
        QTest::keyClicks(editor, QStringLiteral("xy"));
        QTest::keyClick(editor, Qt::Key_Backspace);
        QCOMPARE(editor->text(), QStringLiteral("x"));
        QCOMPARE(field.tokens().size(), 4);
        QTest::keyClick(editor, Qt::Key_Backspace);
        // At the start of the text it removes the token before it.
        QTest::keyClick(editor, Qt::Key_Backspace);
        QCOMPARE(field.tokens(), (QStringList{"a", "b", "c"}));

        // Left selects tokens from the last one backwards; Right goes back towards the text.
        QTest::keyClick(editor, Qt::Key_Left);
        QCOMPARE(field.selectedToken(), 2);
        QTest::keyClick(editor, Qt::Key_Left);
        QTest::keyClick(editor, Qt::Key_Left);
        QTest::keyClick(editor, Qt::Key_Left); // stays on the first
        QCOMPARE(field.selectedToken(), 0);
        QTest::keyClick(editor, Qt::Key_Right);
        QCOMPARE(field.selectedToken(), 1);
        QTest::keyClick(editor, Qt::Key_Delete);
        QCOMPARE(field.tokens(), (QStringList{"a", "c"}));
        QCOMPARE(field.selectedToken(), -1);
        QTest::keyClick(editor, Qt::Key_Left);
        QTest::keyClick(editor, Qt::Key_Left);
        QTest::keyClick(editor, Qt::Key_Backspace);
        QCOMPARE(field.tokens(), QStringList{"c"});
        // Typing deselects: the next Backspace edits the text, not a token.
        QTest::keyClick(editor, Qt::Key_Left);
        QTest::keyClicks(editor, QStringLiteral("q"));
        QCOMPARE(field.selectedToken(), -1);
        QTest::keyClick(editor, Qt::Key_Backspace);
        QCOMPARE(field.tokens(), QStringList{"c"});
    }

    void clickOnTheCrossRemovesAToken()
    {
        Sheet sheet;
        MyTokenField &field = *sheet.field;
        field.setTokens({"home", "clinic"});
        QSignalSpy changed(&field, &MyTokenField::tokensChanged);
        sheet.after->setFocus();
        QAbstractButton *chip = chipsOf(field).at(0);
        // A click on the text does nothing; a click on the cross removes the token.
        QTest::mouseClick(chip, Qt::LeftButton, {}, QPoint(8, chip->height() / 2));
        QCoreApplication::processEvents();
        QCOMPARE(field.tokens().size(), 2);
        QTest::mouseClick(chip, Qt::LeftButton, {}, QPoint(chip->width() - 9, chip->height() / 2));
        QTRY_COMPARE(field.tokens(), QStringList{"clinic"});
        // The click put the focus into the field: the notice comes when the focus leaves it.
        QVERIFY(editorOf(field)->hasFocus());
        QCOMPARE(changed.size(), 0);
        sheet.after->setFocus();
        QTRY_COMPARE(changed.size(), 1);
        // Pressed without the focus (as a screen reader presses it): an edit of its own, announced.
        chipsOf(field).at(0)->click();
        QTRY_COMPARE(field.tokens(), QStringList());
        QTRY_COMPARE(changed.size(), 2);
    }

    void noticeComesOnTheNextTurnOnlyAfterAChange()
    {
        Sheet sheet;
        QSignalSpy changed(sheet.field, &MyTokenField::tokensChanged);
        sheet.field->setTokens({"a"});
        QLineEdit *editor = editorOf(*sheet.field);
        QTest::keyClicks(editor, QStringLiteral("b,"));
        QCOMPARE(changed.size(), 0); // still editing

        // Editing ends when the focus leaves: the pending text becomes a token, and the notice
        // follows on the next turn of the event loop, not at once.
        QTest::keyClicks(editor, QStringLiteral("c"));
        sheet.after->setFocus();
        QCOMPARE(sheet.field->tokens(), (QStringList{"a", "b", "c"}));
        QCOMPARE(changed.size(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(changed.size(), 1);

        // Focus in and out without a change: nothing to announce; setTokens() announces nothing.
        sheet.field->setFocus();
        sheet.after->setFocus();
        sheet.field->setTokens({"x"});
        QCoreApplication::processEvents();
        QCOMPARE(changed.size(), 1);

        // Adding then removing the same token is no change either.
        sheet.field->setFocus();
        QTest::keyClicks(editor, QStringLiteral("y,"));
        QTest::keyClick(editor, Qt::Key_Backspace);
        sheet.after->setFocus();
        QCoreApplication::processEvents();
        QCOMPARE(changed.size(), 1);
    }

    void completionsOfferTheTagsNotYetPresent()
    {
        Sheet sheet;
        sheet.field->setCompletions({"holiday", "home", "Hospital", "work"});
        sheet.field->setTokens({"home"});
        QLineEdit *editor = editorOf(*sheet.field);
        QCompleter *completer = editor->completer();
        QVERIFY(completer);
        QTest::keyClicks(editor, QStringLiteral("ho"));
        QStringList offered;
        for (int row = 0; completer->setCurrentRow(row); ++row)
            offered << completer->currentCompletion();
        // Case-insensitive prefix, without the token already present.
        QCOMPARE(offered, (QStringList{"holiday", "Hospital"}));

        // Choosing a completion with the keyboard makes it a token and does not commit the dialog.
        QSignalSpy accepted(&sheet.dialog, &QDialog::accepted);
        QTRY_VERIFY(completer->popup()->isVisible());
        QTest::keyClick(completer->popup(), Qt::Key_Down);
        QTest::keyClick(completer->popup(), Qt::Key_Return);
        QTRY_COMPARE(sheet.field->tokens(), (QStringList{"home", "holiday"}));
        QCOMPARE(editor->text(), QString());
        QCOMPARE(accepted.size(), 0);
    }

    void screenReaderHearsLabelAndTokens()
    {
        Sheet sheet;
        sheet.field->setTokens({"home", "walk"});
        QLineEdit *editor = editorOf(*sheet.field);
        // The editor has the focus, so it carries the label's text and the tokens.
        QCOMPARE(editor->accessibleName(), QStringLiteral("Tags:"));
        QCOMPARE(editor->accessibleDescription(), QStringLiteral("home, walk"));
        QCOMPARE(sheet.field->focusProxy(), editor);
        const QList<QAbstractButton *> chips = chipsOf(*sheet.field);
        QCOMPARE(chips.size(), 2);
        QCOMPARE(chips.at(0)->accessibleName(), QStringLiteral("Remove home"));
        // The chips stay out of the Tab chain: the field is one stop.
        QCOMPARE(chips.at(0)->focusPolicy(), Qt::NoFocus);
        // The label's mnemonic puts the focus into the editor.
        sheet.after->setFocus();
        QTest::keyClick(&sheet.dialog, Qt::Key_T, Qt::AltModifier);
        QTRY_VERIFY(editor->hasFocus());
    }

    void tokensWrapAndTheHeightFollows()
    {
        MyTokenField field;
        const int oneRow = field.heightForWidth(200);
        QStringList many;
        for (int i = 0; i < 12; ++i)
            many << QStringLiteral("tag number %1").arg(i);
        field.setTokens(many);
        const int wrapped = field.heightForWidth(200);
        QVERIFY2(wrapped > 3 * oneRow,
                 qPrintable(QStringLiteral("%1 vs %2").arg(wrapped).arg(oneRow)));
        QVERIFY(field.heightForWidth(2000) < wrapped);
        field.resize(200, wrapped);
        field.show();
        // Every chip lies inside the field.
        for (QAbstractButton *chip : chipsOf(field))
            QVERIFY(field.rect().contains(chip->geometry()));
    }
};

TENSILO_TEST_MAIN(TestTokenField)
#include "tst_tokenfield.moc"
