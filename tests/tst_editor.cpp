// The reading editor: the checks at every boundary, typed numbers in both languages, the
// working copy and what reaches the caller, the optional rows and the sheet's geometry, the
// keyboard, and the tag menu.

#include "Dialogs.h"
#include "Localization.h"
#include "MeasurementChecks.h"
#include "MeasurementSheet.h"
#include "MyDocument.h"
#include "MyTokenField.h"
#include "MyWindowController.h"
#include "Number.h"
#include "Preferences.h"
#include "TestMain.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

#include <cmath>
#include <ctime>
#include <limits>

using Checks = MeasurementChecks;
Q_DECLARE_METATYPE(Checks::Values)

namespace {

// The zone is set before any date of the test is made.
const bool kZoneSet = [] {
    qputenv("TZ", "Europe/Berlin");
    tzset();
    return true;
}();
const Date kNow = Date::fromComponents(2024, 5, 17, 9, 41, 30);

QVariant n(qlonglong value)
{
    return Number::integer(value);
}
QVariant r(double value)
{
    return Number::real(value);
}
QVariant text(const char *typed)
{
    return QString::fromUtf8(typed);
}
const QVariant none;

Checks::Values values(QVariant systolic, QVariant diastolic, QVariant pulse = none,
                      QVariant weight = none, QVariant custom1 = none)
{
    return {systolic, diastolic, pulse, weight, custom1, none, none};
}

MeasurementPtr reading(int day, int systolic, int diastolic, const QStringList &tags = {})
{
    auto m = Measurement::create(Date::fromComponents(2024, 4, day, 8, 15), systolic, diastolic);
    if (!tags.isEmpty())
        m->setTags(tags);
    return m;
}

void setShown(bool pulse, bool weight, bool c1, bool c2, bool c3)
{
    Preferences &p = Preferences::shared();
    p.setValueForKey(pulse, Preferences::showPulse);
    p.setValueForKey(weight, Preferences::showWeight);
    p.setValueForKey(c1, Preferences::customShow1);
    p.setValueForKey(c2, Preferences::customShow2);
    p.setValueForKey(c3, Preferences::customShow3);
}

QLineEdit *field(MeasurementSheet *sheet, const char *name)
{
    return sheet->findChild<QLineEdit *>(QLatin1String(name));
}

QPushButton *button(MeasurementSheet *sheet, bool save)
{
    return sheet->findChild<QPushButton *>(save ? u"pSaveMeasurementButton"_s : u"pCancelButton"_s);
}

// The tag menu's items, "--" for a separator and a checked one marked "*".
QStringList menuItems(MeasurementSheet *sheet)
{
    QStringList shown;
    for (QAction *a : sheet->tagsMenu()->actions())
        shown << (a->isSeparator() ? u"--"_s : a->text() + (a->isChecked() ? "*" : ""));
    return shown;
}

// What the caller of the sheet heard.
struct Heard
{
    int calls = 0;
    ConstMeasurementPtr edited;
    MeasurementPtr entered;
    MeasurementSheet::Callback callback()
    {
        return [this](ConstMeasurementPtr e, MeasurementPtr m) {
            ++calls;
            edited = std::move(e);
            entered = std::move(m);
        };
    }
};

} // namespace

using TestSupport::row;

class TestEditor : public QObject
{
    Q_OBJECT

private slots:

    void initTestCase()
    {
        QVERIFY(kZoneSet);
        TestSupport::setTimeZone("Europe/Berlin"); // again: the shared environment set UTC
        Date::setClock([] { return kNow; });
    }

    void init()
    {
        Preferences::useTemporaryStore();
        Dialogs::clearRecord();
        pWindow = new QMainWindow;
        pWindow->resize(800, 600);
        pWindow->show();
        QVERIFY(QTest::qWaitForWindowActive(pWindow));
        pDocument = new MyDocument;
    }

    void cleanup()
    {
        delete pWindow;
        delete pDocument;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void checksAtEveryBoundary_data()
    {
        QTest::addColumn<Checks::Values>("input");
        QTest::addColumn<QString>("stem");
        const QString ok;
        const QString sys = u"record_bad_systolic"_s;
        const QString dia = u"record_bad_diastolic"_s;
        const QString pressure = u"record_bad_pressure"_s;
        const QString pulse = u"record_bad_pulse"_s;
        const QString weight = u"record_bad_weight"_s;
        const QString custom = u"record_bad_custom"_s;

        row("systolic 50", values(n(50), n(40)), ok);
        row("systolic 300", values(n(300), n(80)), ok);
        row("systolic 49", values(n(49), n(40)), sys);
        row("systolic 301", values(n(301), n(80)), sys);
        row("systolic 49.9 is 49", values(r(49.9), n(40)), sys);
        row("systolic 300.9 is 300", values(r(300.9), n(80)), ok);
        row("systolic missing is 0", values(none, n(80)), sys);
        row("systolic not a number is 0", values(text("abc"), n(80)), sys);
        row("systolic enormous", values(r(1e300), n(80)), sys);
        row("systolic infinite", values(r(std::numeric_limits<double>::infinity()), n(80)), sys);

        row("diastolic 20", values(n(120), n(20)), ok);
        row("diastolic 200", values(n(250), n(200)), ok);
        row("diastolic 19", values(n(120), n(19)), dia);
        row("diastolic 201", values(n(250), n(201)), dia);
        row("diastolic missing", values(n(120), none), dia);
        row("diastolic not a number", values(n(120), text("8o")), dia);

        row("pressure equal", values(n(120), n(120)), pressure);
        row("pressure one apart", values(n(121), n(120)), ok);
        row("pressure inverted", values(n(100), n(150)), pressure);
        row("pressure equal as integers", values(r(120.9), r(120.1)), pressure);
        row("diastolic before pressure", values(n(120), n(250)), dia);
        row("systolic before diastolic", values(n(20), n(250)), sys);

        row("pulse 20", values(n(120), n(80), n(20)), ok);
        row("pulse 250", values(n(120), n(80), n(250)), ok);
        row("pulse 19", values(n(120), n(80), n(19)), pulse);
        row("pulse 251", values(n(120), n(80), n(251)), pulse);
        row("pulse 0", values(n(120), n(80), n(0)), pulse);
        row("pulse missing", values(n(120), n(80), none), ok);
        row("pulse not a number", values(n(120), n(80), text("x")), pulse);
        row("pressure before pulse", values(n(80), n(80), n(0)), pressure);

        row("weight 2", values(n(120), n(80), none, n(2)), ok);
        row("weight 400", values(n(120), n(80), none, n(400)), ok);
        row("weight 1", values(n(120), n(80), none, n(1)), weight);
        row("weight 401", values(n(120), n(80), none, n(401)), weight);
        row("weight 2.5 is 2", values(n(120), n(80), none, r(2.5)), ok);
        row("weight 400.9 is 400", values(n(120), n(80), none, r(400.9)), ok);
        row("weight 1.9 is 1", values(n(120), n(80), none, r(1.9)), weight);
        row("weight missing", values(n(120), n(80), n(60), none), ok);
        row("weight not a number", values(n(120), n(80), none, text("7O")), weight);
        row("weight not finite", values(n(120), n(80), none, r(std::nan(""))), weight);
        row("pulse before weight", values(n(120), n(80), n(10), n(1)), pulse);

        row("custom any number", values(n(120), n(80), none, none, r(-3.5)), ok);
        row("custom not a number", values(n(120), n(80), none, none, text("high")), custom);
        row("weight before custom", values(n(120), n(80), none, n(1), text("high")), weight);
    }
    void checksAtEveryBoundary()
    {
        QFETCH(Checks::Values, input);
        QFETCH(QString, stem);
        Checks::Field field = Checks::Field::Custom3;
        QCOMPARE(Checks::firstFailure(input, &field), stem);
        QCOMPARE(field == Checks::Field::None, stem.isEmpty());
    }

    void typedNumbersInBothForms()
    {
        const QLocale en(QLocale::English, QLocale::UnitedStates);
        const QLocale de(QLocale::German, QLocale::Germany);
        struct Case
        {
            const char *typed;
            const QLocale &locale;
            QVariant expected;
        } cases[] = {
            {"72.5", en, r(72.5)},
            {"72,5", de, r(72.5)},
            {"72.5", de, r(72.5)}, // the C form, not 725 with a group separator
            {" 120 ", de, n(120)},
            {"120", en, n(120)},
            {"-3", en, n(-3)},
            {"", de, none},
            {"   ", en, none},
            {"72,5", en, text("72,5")}, // a comma is no decimal separator in English
            {"1,000", en, text("1,000")},
            {"abc", de, text("abc")},
            {"12abc", en, text("12abc")},
        };
        for (const Case &c : cases) {
            const QVariant parsed = Checks::parseNumber(QString::fromUtf8(c.typed), c.locale);
            QVERIFY2(parsed == c.expected && parsed.typeId() == c.expected.typeId(),
                     qPrintable(u"\"%1\" in %2 gave %3"_s.arg(QString::fromUtf8(c.typed),
                                                              c.locale.name(), parsed.toString())));
        }
        QCOMPARE(Checks::formatNumber(r(72.5), de), u"72,5"_s);
        QCOMPARE(Checks::formatNumber(n(1200), de), u"1200"_s);
        QCOMPARE(Checks::formatNumber(r(1234.25), en), u"1234.25"_s);
        QCOMPARE(Checks::formatNumber(none, en), QString());
        // What a field shows reads back as the same value.
        for (const QVariant &value : {r(72.5), r(0.1), n(80), r(-2.75)})
            QCOMPARE(Checks::parseNumber(Checks::formatNumber(value, de), de), value);
    }

    void newReadingStartsFromTheLastEditedOne()
    {
        // A new document: 120 over 80 at the present moment.
        {
            MeasurementSheet *sheet = open(nullptr, false);
            QVERIFY(sheet);
            QVERIFY(sheet->isVisible());
            QCOMPARE(sheet->windowModality(), Qt::WindowModal);
            QVERIFY(!sheet->originalMeasurement());
            const MeasurementPtr copy = sheet->currentMeasurement();
            QCOMPARE(copy->Systolic(), n(120));
            QCOMPARE(copy->Diastolic(), n(80));
            QCOMPARE(copy->theWholeDate(), kNow);
            QCOMPARE(field(sheet, "pEditSistolic")->text(), u"120"_s);
            QCOMPARE(sheet->findChild<QDateEdit *>()->date(), QDate(2024, 5, 17));
            QCOMPARE(sheet->findChild<QTimeEdit *>()->time(), QTime(9, 41));
            QCOMPARE(button(sheet, true)->text(), u"Add"_s);
            sheet->reject();
        }
        // With a last edited reading: its values, dated now, with no comment.
        auto last = reading(3, 135, 85, {"home", "left arm"});
        last->setPulse(n(66));
        last->setWeight(r(81.5));
        last->setComments(u"after the walk"_s);
        pDocument->onMeasurementChangedFrom(nullptr, last);
        MeasurementSheet *sheet = open(nullptr, false);
        QVERIFY(sheet);
        const MeasurementPtr copy = sheet->currentMeasurement();
        QVERIFY(copy != pDocument->lastEditedMeasurement());
        QCOMPARE(copy->Systolic(), n(135));
        QCOMPARE(copy->Pulse(), n(66));
        QCOMPARE(copy->Weight(), r(81.5));
        QCOMPARE(copy->Tags(), (QStringList{"home", "left arm"}));
        QCOMPARE(copy->Comments(), QString());
        QCOMPARE(copy->theWholeDate(), kNow);
        QCOMPARE(sheet->findChild<MyTokenField *>()->tokens(), (QStringList{"home", "left arm"}));
        // Confirming hands the copy on as a new reading.
        button(sheet, true)->click();
        QCOMPARE(heard.calls, 1);
        QVERIFY(!heard.edited);
        QCOMPARE(heard.entered, copy);
        QCOMPARE(pDocument->allItems().size(), 1); // the sheet itself adds nothing
    }

    void editingWorksOnACopyAndReportsBoth()
    {
        auto original = reading(5, 140, 90, {"clinic"});
        original->setPulse(n(70));
        original->setComments(u"note"_s);
        pDocument->addMeasurements({original});
        MeasurementSheet *sheet = open(original, true);
        QVERIFY(sheet);
        QCOMPARE(sheet->originalMeasurement(), ConstMeasurementPtr(original));
        QVERIFY(sheet->currentMeasurement() != original);
        QCOMPARE(field(sheet, "pEditComment")->text(), u"note"_s);

        QPushButton *save = button(sheet, true);
        QCOMPARE(save->text(), u"Save"_s);
        QVERIFY(save->isDefault());

        field(sheet, "pEditSistolic")->setText(u"150"_s);
        field(sheet, "pEditPulse")->setText(QString()); // a pulse taken away
        field(sheet, "pEditComment")->setText(u"changed"_s);
        sheet->findChild<QDateEdit *>()->setDate(QDate(2024, 4, 6));
        save->click();
        QCOMPARE(heard.calls, 1);
        QCOMPARE(heard.edited, ConstMeasurementPtr(original));
        QVERIFY(heard.entered != original);
        QCOMPARE(heard.entered->Systolic(), n(150));
        QVERIFY(!heard.entered->Pulse().isValid());
        QCOMPARE(heard.entered->Comments(), u"changed"_s);
        QCOMPARE(heard.entered->theWholeDate(), Date::fromComponents(2024, 4, 6, 8, 15));
        QCOMPARE(heard.entered->Tags(), QStringList{"clinic"});
        // The original is untouched until the caller hands both to the document.
        QCOMPARE(original->Systolic(), n(140));
        QCOMPARE(original->Pulse(), n(70));
        pDocument->onMeasurementChangedFrom(original, heard.entered);
        QCOMPARE(original->Systolic(), n(150));

        // The sheet goes away once it has ended.
        QPointer<MeasurementSheet> gone = sheet;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!gone);
    }

    void failedCheckAlertsInOrderAndKeepsTheSheetOpen()
    {
        setShown(true, true, false, false, false);
        MeasurementSheet *sheet = open(nullptr, false);
        QVERIFY(sheet);
        auto press = [sheet] { QTest::keyClick(field(sheet, "pEditComment"), Qt::Key_Return); };

        // Systolic and pulse both bad: the systolic alert only, then the focus goes back there.
        field(sheet, "pEditSistolic")->setText(u"301"_s);
        field(sheet, "pEditPulse")->setText(u"0"_s);
        field(sheet, "pEditComment")->setFocus();
        Dialogs::setNextAnswer(0);
        press();
        QCOMPARE(Dialogs::record().size(), 1);
        QCOMPARE(Dialogs::record().at(0).stem, u"record_bad_systolic"_s);
        QCOMPARE(Dialogs::record().at(0).title, qtTrId("record_bad_systolic.title"));
        QVERIFY(sheet->isVisible());
        QTRY_VERIFY(field(sheet, "pEditSistolic")->hasFocus());
        QVERIFY(field(sheet, "pEditSistolic")->hasSelectedText());

        // Corrected, the pulse fails next.
        field(sheet, "pEditSistolic")->setText(u"130"_s);
        Dialogs::setNextAnswer(0);
        press();
        QCOMPARE(Dialogs::record().last().stem, u"record_bad_pulse"_s);
        QTRY_VERIFY(field(sheet, "pEditPulse")->hasFocus());

        // German text that is no number in the weight field: refused, not silently dropped.
        field(sheet, "pEditPulse")->setText(u"72"_s);
        field(sheet, "pEditWeight")->setText(u"80 kg"_s);
        Dialogs::setNextAnswer(0);
        press();
        QCOMPARE(Dialogs::record().last().stem, u"record_bad_weight"_s);
        QCOMPARE(heard.calls, 0);
        QVERIFY(sheet->isVisible());

        field(sheet, "pEditWeight")->setText(u"80.25"_s);
        press();
        QCOMPARE(Dialogs::record().size(), 3);
        QCOMPARE(heard.calls, 1);
        QCOMPARE(heard.entered->Weight(), r(80.25));
        QCOMPARE(heard.entered->Pulse(), n(72));
        QCOMPARE(Dialogs::unansweredCount(), 0);
    }

    void aBadValueInAHiddenRowShowsTheRow()
    {
        // A pulse the user cannot see is still checked; its row comes back so it can be corrected.
        setShown(false, false, false, false, false);
        auto odd = reading(2, 120, 80);
        odd->setPulse(n(300));
        pDocument->addMeasurements({odd});
        MeasurementSheet *sheet = open(odd, true);
        QVERIFY(sheet);
        QVERIFY(!sheet->otherBox()->isVisible());
        Dialogs::setNextAnswer(0);
        QTest::keyClick(field(sheet, "pEditSistolic"), Qt::Key_Return);
        QCOMPARE(Dialogs::record().last().stem, u"record_bad_pulse"_s);
        QVERIFY(sheet->otherBox()->isVisible());
        QVERIFY(field(sheet, "pEditPulse")->isVisible());
        QVERIFY(!field(sheet, "pEditWeight")->isVisible());
        QTRY_VERIFY(field(sheet, "pEditPulse")->hasFocus());
        QCOMPARE(heard.calls, 0);
    }

    void cancelAndEscapeTellNobody()
    {
        auto original = reading(5, 140, 90, {"clinic"});
        pDocument->addMeasurements({original});
        for (bool escape : {false, true}) {
            MeasurementSheet *sheet = open(original, true);
            QVERIFY(sheet);
            field(sheet, "pEditSistolic")->setText(u"200"_s);
            sheet->findChild<MyTokenField *>()->setTokens({"other"});
            sheet->tagsMenu();
            QPointer<MeasurementSheet> alive = sheet;
            if (escape) {
                QTest::keyClick(field(sheet, "pEditSistolic"), Qt::Key_Escape);
            } else {
                QCOMPARE(button(sheet, false)->text(), u"Cancel"_s);
                button(sheet, false)->click();
            }
            QVERIFY(!sheet->isVisible());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!alive);
            QCOMPARE(heard.calls, 0);
            QCOMPARE(original->Systolic(), n(140));
            QCOMPARE(original->Tags(), QStringList{"clinic"});
            QCOMPARE(pDocument->tags(), QStringList{"clinic"});
            QVERIFY(Dialogs::record().isEmpty()); // discarded without asking
        }
    }

    void returnCommits()
    {
        MeasurementSheet *sheet = open(nullptr, false);
        QVERIFY(sheet);
        QTest::keyClicks(field(sheet, "pEditSistolic"), u"128"_s);
        QTest::keyClick(field(sheet, "pEditSistolic"), Qt::Key_Tab);
        QTest::keyClicks(sheet->focusWidget(), u"79"_s);
        QTest::keyClick(sheet->focusWidget(), Qt::Key_Return);
        QCOMPARE(heard.calls, 1);
        QCOMPARE(heard.entered->Systolic(), n(128));
        QCOMPARE(heard.entered->Diastolic(), n(79));
    }

    void numbersKeepTheirKindAndTheLocaleForm()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        setShown(true, true, true, false, false);
        auto original = reading(5, 140, 90);
        original->setWeight(r(72.0)); // fractional although whole
        original->setCustomValue1(r(36.6));
        pDocument->addMeasurements({original});
        MeasurementSheet *sheet = open(original, true);
        QVERIFY(sheet);
        QCOMPARE(field(sheet, "pEditWeight")->text(), u"72"_s);
        QCOMPARE(field(sheet, "pEditCustom1")->text(), u"36,6"_s);
        field(sheet, "pEditCustom1")->setText(u"37,2"_s);
        QTest::keyClick(field(sheet, "pEditCustom1"), Qt::Key_Return);
        QCOMPARE(heard.calls, 1);
        // Left alone, the weight keeps its exact value and kind; the typed value is read German.
        QCOMPARE(heard.entered->Weight().typeId(), QMetaType::Double);
        QCOMPARE(heard.entered->customValue1(), r(37.2));
    }

    void rowsFollowThePreferencesWithTheirGeometry()
    {
        setShown(true, true, true, true, true);
        MeasurementSheet *sheet = open(nullptr, false);
        QVERIFY(sheet);
        QGroupBox *box = sheet->otherBox();
        const int pitch = sheet->rowPitch();
        const int initial = sheet->initialOtherHeight();
        QVERIFY(pitch > 0 && initial > 0);
        QCOMPARE(box->height(), initial + 5 * pitch);
        // Top to bottom: pulse, weight, custom 1 to 3, one pitch apart, none outside the box.
        const char *rows[] = {"pRowPulse", "pRowWeight", "pRowCustom1", "pRowCustom2",
                              "pRowCustom3"};
        int y = -1;
        for (const char *name : rows) {
            QWidget *row = sheet->findChild<QWidget *>(QLatin1String(name));
            QVERIFY(row->isVisible());
            if (y >= 0)
                QCOMPARE(row->y(), y + pitch);
            y = row->y();
            QVERIFY(box->rect().contains(row->geometry()));
        }

        // Everything off: the box goes and the sheet shrinks by its whole height, top edge kept.
        const QRect before = sheet->geometry();
        const int boxHeight = box->height();
        setShown(false, false, false, false, false);
        QVERIFY(!box->isVisible());
        QCOMPARE(sheet->height(), before.height() - boxHeight);
        QCOMPARE(sheet->geometry().top(), before.top());

        // One row (custom 2) on: the box is back with one pitch, the sheet grows by as much.
        Preferences::shared().setValueForKey(true, Preferences::customShow2);
        QVERIFY(box->isVisible());
        QCOMPARE(box->height(), initial + pitch);
        QCOMPARE(sheet->height(), before.height() - boxHeight + initial + pitch);
        QCOMPARE(sheet->geometry().top(), before.top());
        QVERIFY(sheet->findChild<QWidget *>(u"pRowCustom2"_s)->isVisible());
        QVERIFY(!sheet->findChild<QWidget *>(u"pRowPulse"_s)->isVisible());
        // Nothing of the sheet is cut off.
        QCoreApplication::processEvents();
        QVERIFY(sheet->height() >= sheet->minimumSizeHint().height());

        // The custom titles come from the preferences and follow them.
        Preferences::shared().setValueForKey(u"Sugar"_s, Preferences::customTitle2);
        QCOMPARE(sheet->findChild<QLabel *>(u"labelCustom2"_s)->text(), u"Sugar:"_s);
        QCOMPARE(field(sheet, "pEditCustom2")->accessibleName(), u"Sugar"_s);
    }

    void tabGoesThroughTheShownRowsToTheTags()
    {
        setShown(true, false, false, true, false);
        MeasurementSheet *sheet = open(nullptr, false);
        QVERIFY(sheet);
        sheet->findChild<QDateEdit *>()->setFocus();
        QStringList order;
        // Tab moves through the sections of the date and the time before it leaves them: a field
        // counts once however many Tabs it takes.
        for (int i = 0; i < 20 && order.size() < 12; ++i) {
            QWidget *focus = QApplication::focusWidget();
            QVERIFY2(focus, qPrintable(order.join(',')));
            // The token field's editor stands for the field.
            if (qobject_cast<MyTokenField *>(focus->parentWidget()))
                focus = focus->parentWidget();
            if (order.isEmpty() || order.last() != focus->objectName())
                order << focus->objectName();
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        const QStringList expected = {"pEditDate",      "pEditTime",  "pEditSistolic",
                                      "pEditDiastolic", "pEditPulse", "pEditCustom2",
                                      "pEditComment",   "pTags",      "pTagsMenuButton"};
        QCOMPARE(order.mid(0, 9), expected);
        // Then the two buttons, and round again.
        QCOMPARE(order.size(), 12);
        QCOMPARE(QSet<QString>(order.cbegin() + 9, order.cbegin() + 11),
                 (QSet<QString>{"pCancelButton", "pSaveMeasurementButton"}));
        // The buttons in the order they stand.
        QVERIFY(sheet->findChild<QWidget *>(order.at(9))->x() <
                sheet->findChild<QWidget *>(order.at(10))->x());
        QCOMPARE(order.at(11), u"pEditDate"_s);
    }

    void everyFieldIsLabelled()
    {
        setShown(true, true, true, true, true);
        MeasurementSheet *sheet = open(nullptr, false);
        QVERIFY(sheet);
        QSet<QWidget *> buddies;
        for (QLabel *label : sheet->findChildren<QLabel *>())
            if (label->buddy())
                buddies.insert(label->buddy());
        for (QWidget *w : sheet->findChildren<QWidget *>()) {
            if (w->focusPolicy() == Qt::NoFocus || !w->isVisible())
                continue;
            if (qobject_cast<MyTokenField *>(w->parentWidget()) ||
                qobject_cast<QAbstractSpinBox *>(w->parentWidget()))
                continue; // the inner editors of labelled fields
            const bool named = !w->accessibleName().isEmpty() || buddies.contains(w) ||
                               (qobject_cast<QAbstractButton *>(w) &&
                                !static_cast<QAbstractButton *>(w)->text().isEmpty());
            QVERIFY2(named, qPrintable(w->objectName() + " " + w->metaObject()->className()));
        }
        for (const char *name :
             {"pEditSistolic", "pEditDiastolic", "pEditPulse", "pEditWeight", "pEditComment"})
            QVERIFY2(buddies.contains(field(sheet, name)), name);
    }

    void tagMenuListsNewTagsThenTheDocumentsTags()
    {
        // No tags anywhere: one item that cannot be chosen.
        {
            MeasurementSheet *sheet = open(nullptr, false);
            QCOMPARE(menuItems(sheet), QStringList{qtTrId("editor.no_tags")});
            QVERIFY(!sheet->tagsMenu()->actions().at(0)->isEnabled());
            sheet->reject();
        }
        pDocument->addMeasurements(
            {reading(1, 120, 80, {"work", "Home"}), reading(2, 125, 82, {"R&D"})});
        auto edited = reading(3, 130, 85, {"work", "new one"});
        pDocument->addMeasurements({edited});
        MeasurementSheet *sheet = open(edited, true);
        // The tag menu's button is keyboard operable, and a tag typed but not ended counts.
        auto *tags = sheet->findChild<MyTokenField *>();
        QTest::keyClicks(tags->findChild<QLineEdit *>(), u"typed"_s);
        // The reading's own tags are all known to the document now (it holds the reading), except
        // the typed one: it comes first, checked, above a separator.
        QCOMPARE(menuItems(sheet),
                 (QStringList{"typed*", "--", "Home", "R&&D", "new one*", "work*"}));

        // A reading not in the document: its tags the document does not know come first.
        sheet->reject();
        auto outside = reading(9, 130, 85, {"zeta", "Home", "alpha"});
        sheet = open(outside, false);
        QCOMPARE(menuItems(sheet),
                 (QStringList{"zeta*", "alpha*", "--", "Home*", "R&&D", "new one", "work"}));
    }

    void choosingATagTogglesItInTheCopy()
    {
        pDocument->addMeasurements({reading(1, 120, 80, {"a", "b"})});
        MeasurementSheet *sheet = open(nullptr, false); // starts from no template: no tags
        auto *tags = sheet->findChild<MyTokenField *>();
        QVERIFY(tags->tokens().isEmpty());
        auto choose = [sheet](const QString &title) {
            for (QAction *a : sheet->tagsMenu()->actions())
                if (a->text() == title)
                    a->trigger();
        };
        choose(u"b"_s);
        choose(u"a"_s);
        QCOMPARE(sheet->currentMeasurement()->Tags(), (QStringList{"b", "a"}));
        QCOMPARE(tags->tokens(), (QStringList{"b", "a"}));
        choose(u"b"_s);
        QCOMPARE(tags->tokens(), QStringList{"a"});
        // The document knows nothing of the copy's tags until the caller hands it on.
        QCOMPARE(pDocument->tags(), (QStringList{"a", "b"}));
        // The button pops the menu up without a modal loop.
        auto *button = sheet->findChild<QToolButton *>(u"pTagsMenuButton"_s);
        QTest::keyClick(button, Qt::Key_Space);
        QTRY_VERIFY(sheet->findChild<QMenu *>() && sheet->findChild<QMenu *>()->isVisible());
        sheet->findChild<QMenu *>()->close();
        QTest::keyClick(sheet->focusWidget(), Qt::Key_Return);
        QCOMPARE(heard.calls, 1);
        QCOMPARE(heard.entered->Tags(), QStringList{"a"});
    }

    void tagsAreRewrittenOnlyWhenEdited_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("typedTag");
        QTest::addColumn<QStringList>("expected");
        const QStringList twice{"a", "a"}, spaced{" a", "b "};
        row("twice, untouched", twice, QString(), twice);
        row("spaced, untouched", spaced, QString(), spaced);
        row("twice, a tag added", twice, u"c"_s, QStringList{"a", "c"});
        row("spaced, a tag added", spaced, u"c"_s, QStringList{"a", "b", "c"});
    }
    // Confirming the editor stores the tags field only when the user changed it: a file's tags
    // that the field shows tidied (duplicates, spaces) are kept exactly when only the comment was
    // edited; a field the user edited is stored as shown.
    void tagsAreRewrittenOnlyWhenEdited()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, typedTag);
        QFETCH(QStringList, expected);
        auto odd = reading(3, 130, 85);
        odd->setTags(stored);
        pDocument->addMeasurements({odd});
        const QStringList cacheBefore = pDocument->tags();

        MyWindowController window(pDocument);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTableView *table = window.pageGrid()->tableView();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualRect(table->model()->index(0, 0)).center());
        QTest::keyClick(table, Qt::Key_Return);
        auto *sheet = window.findChild<MeasurementSheet *>();
        QVERIFY(sheet);
        QApplication::setActiveWindow(sheet);
        QVERIFY(QTest::qWaitForWindowActive(sheet));
        QLineEdit *comment = field(sheet, "pEditComment");
        QTest::mouseClick(comment, Qt::LeftButton);
        QTest::keyClicks(comment, u"after a walk"_s);
        if (!typedTag.isEmpty()) {
            QTest::keyClick(comment, Qt::Key_Tab);
            QTest::keyClicks(QApplication::focusWidget(), typedTag + QLatin1Char(','));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(!sheet->isVisible());

        QCOMPARE(odd->Comments(), u"after a walk"_s);
        QCOMPARE(odd->Tags(), expected);
        if (typedTag.isEmpty())
            QCOMPARE(pDocument->tags(), cacheBefore);
    }

    void rendersInBothLanguages()
    {
        // Nothing is cut off in either language (scripts/screenshots shows the sheet).
        pDocument->addMeasurements({reading(1, 120, 80, {"home", "left arm", "after walk"})});
        for (const char *language : {"en_US", "de_DE"}) {
            QLocale::setDefault(QLocale(QString::fromLatin1(language)));
            Localization::install(QLocale(QString::fromLatin1(language)));
            for (bool all : {true, false}) {
                setShown(all, all, all, all, all);
                auto shown = reading(2, 132, 84, {"home", "morning"});
                shown->setPulse(n(64));
                shown->setWeight(r(78.4));
                shown->setComments(u"Before breakfast"_s);
                pDocument->addMeasurements({shown});
                MeasurementSheet *sheet = open(shown, true);
                QVERIFY(sheet);
                QCoreApplication::processEvents();
                for (QWidget *w : sheet->findChildren<QWidget *>()) {
                    if (w->isVisible() && w->parentWidget() == sheet)
                        QVERIFY2(sheet->rect().contains(w->geometry()),
                                 qPrintable(w->objectName()));
                }
                if (!all) {
                    // Many tags wrap onto more lines, and the sheet makes room for them.
                    auto *tags = sheet->findChild<MyTokenField *>();
                    for (int i = 0; i < 12; ++i)
                        QTest::keyClicks(tags->findChild<QLineEdit *>(),
                                         u"tag number %1,"_s.arg(i));
                    QCoreApplication::processEvents();
                    QVERIFY(tags->height() >= tags->heightForWidth(tags->width()));
                    QVERIFY(sheet->rect().contains(tags->geometry()));
                }
                sheet->reject();
            }
        }
        Localization::install(QLocale(QLocale::English, QLocale::UnitedStates));
    }

private:
    QMainWindow *pWindow = nullptr;
    MyDocument *pDocument = nullptr;
    Heard heard; // what the caller of the sheet last opened heard
    MeasurementSheet *open(ConstMeasurementPtr reading, bool editing);
};

MeasurementSheet *TestEditor::open(ConstMeasurementPtr reading, bool editing)
{
    // Sheets that ended before are gone first, so that the new one is the one found.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    heard = Heard();
    MeasurementSheet::showForMeasurement(std::move(reading), pDocument, editing, pWindow,
                                         heard.callback());
    auto *sheet = pWindow->findChild<MeasurementSheet *>();
    if (sheet) {
        QApplication::setActiveWindow(sheet);
        if (!QTest::qWaitForWindowActive(sheet) || QApplication::activeWindow() != sheet)
            qWarning("the sheet did not become active");
    }
    return sheet;
}

TENSILO_TEST_MAIN(TestEditor)
#include "tst_editor.moc"
