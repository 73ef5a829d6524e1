// The window's item models over a document's lists: every change of the document reaches the
// views as the matching row change (checked by QAbstractItemModelTester throughout), the
// newest-first order is a mapping of rows, and the information rows move by dragging as the
// design's examples say.

#include "AveragesModel.h"
#include "DNDArrayController.h"
#include "DocumentBuilder.h"
#include "HomeSummaryPane.h"
#include "InformationArrayController.h"
#include "Localization.h"
#include "PageAverages.h"
#include "Preferences.h"
#include "PressureFormatter.h"
#include "ReadingsModel.h"
#include "SampleDocument.h"
#include "TestHelpers.h"
#include "TestMain.h"
#include "UndoManager.h"
#include "VisibleFiltersModel.h"

#include <QAbstractItemModelTester>
#include <QMimeData>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using SampleDocument::reading;
using Tester = QAbstractItemModelTester;

namespace {

// The model's column-0 display texts (or the readings' systolic values), top to bottom.
QStringList column(const QAbstractItemModel &model, int col = 0, int role = Qt::DisplayRole)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts.append(model.data(model.index(row, col), role).toString());
    return texts;
}

QList<int> systolics(const ReadingsModel &model)
{
    QList<int> values;
    for (int row = 0; row < model.rowCount(); ++row)
        values.append(model.reading(row)->Systolic().toInt());
    return values;
}

// A document with information items named by the letters, and nothing to undo.
std::unique_ptr<MyDocument> withItems(const QString &letters)
{
    DocumentBuilder builder;
    for (const QChar c : letters)
        builder.information(InformationItem::create(QString(c), QStringLiteral("v"), true));
    return builder.build();
}

QString names(const MyDocument &document)
{
    QString text;
    for (const auto &item : document.information())
        text += item->name();
    return text;
}

} // namespace

class TestWindowModels : public QObject
{
    Q_OBJECT

private slots:
    void init() { Preferences::useTemporaryStore(); }

    void readingsFollowTheDocumentRowByRow()
    {
        MyDocument document;
        document.setSortItemsAscending(true);
        ReadingsModel model(&document);
        Tester tester(&model, Tester::FailureReportingMode::QtTest);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

        const auto a = reading(3, 120, 80), b = reading(2, 130, 85), c = reading(1, 140, 90);
        document.addMeasurements({b});
        document.addMeasurements({a});
        document.addMeasurements({c});
        document.undoManager()->closeGroup();
        QCOMPARE(systolics(model), (QList<int>{120, 130, 140}));
        QCOMPARE(inserted.size(), 3);
        QCOMPARE(inserted.at(1).at(1).toInt(), 0); // a went in at the top
        document.deleteMeasurements({b});
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed.at(0).at(1).toInt(), 1);
        document.undoManager()->closeGroup();
        document.undoManager()->undo(); // b comes back at its place
        QCOMPARE(systolics(model), (QList<int>{120, 130, 140}));
        QCOMPARE(reset.size(), 0);
        QCOMPARE(model.rowOfReading(c.get()), 2);
        QCOMPARE(model.data(model.index(0, ReadingsModel::PressureColumn)).toString(),
                 PressureFormatter::stringForMeasurement(*a));
    }

    void newestFirstIsAMappingThatKeepsSelection()
    {
        MyDocument document;
        ReadingsModel model(&document);
        Tester tester(&model, Tester::FailureReportingMode::QtTest);
        QVERIFY(model.isReversed()); // a new document shows the newest first
        const auto a = reading(3, 120, 80), b = reading(2, 130, 85), c = reading(1, 140, 90);
        document.addMeasurements({a, c});
        QCOMPARE(systolics(model), (QList<int>{140, 120}));
        // b lands between them, announced at its shown row.
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        document.addMeasurements({b});
        document.undoManager()->closeGroup();
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(inserted.at(0).at(1).toInt(), 1);
        QCOMPARE(systolics(model), (QList<int>{140, 130, 120}));
        // Removing the oldest removes the last shown row.
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        document.deleteMeasurements({a});
        QCOMPARE(removed.at(0).at(1).toInt(), 2);
        document.undoManager()->closeGroup();
        document.undoManager()->undo();

        // Turning the order keeps a held row on its reading, with no reset.
        QPersistentModelIndex held = model.index(0, 0); // c
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);
        model.setSortAscending(true);
        QVERIFY(document.sortItemsAscending());
        QCOMPARE(systolics(model), (QList<int>{120, 130, 140}));
        QCOMPARE(held.row(), 2);
        QCOMPARE(reset.size(), 0);
        QCOMPARE(layout.size(), 1);
        model.setSortAscending(true); // no change, no announcement
        QCOMPARE(layout.size(), 1);

        // A document read anew brings its own direction with its rows.
        MyDocument other;
        other.addMeasurements({reading(5, 100, 60), reading(4, 101, 61)});
        other.setSortItemsAscending(false);
        QVERIFY(document.readFromData(other.dataOfType(QString()), QString()));
        QVERIFY(model.isReversed());
        QCOMPARE(systolics(model), (QList<int>{101, 100}));
    }

    void editThatKeepsItsRowIsADataChange()
    {
        MyDocument document;
        ReadingsModel model(&document);
        Tester tester(&model, Tester::FailureReportingMode::QtTest);
        const auto a = reading(3, 120, 80), b = reading(2, 130, 85), c = reading(1, 140, 90);
        document.addMeasurements({a, b, c});
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy moved(&model, &QAbstractItemModel::rowsMoved);
        QPersistentModelIndex heldB = model.index(model.rowOfReading(b.get()), 0);

        auto edited = reading(2, 135, 85);
        document.updateMeasurement(b, edited); // same instant: same row
        QCOMPARE(changed.size(), 1);
        QCOMPARE(heldB.row(), 1);
        QCOMPARE(model.data(model.index(1, ReadingsModel::PressureColumn)).toString(),
                 PressureFormatter::stringForMeasurement(*edited));

        auto older = reading(10, 135, 85); // now the oldest: moves to the last shown row
        document.updateMeasurement(b, older);
        QCOMPARE(moved.size(), 1);
        QCOMPARE(heldB.row(), 2);
        QCOMPARE(model.reading(2).get(), b.get());
    }

    void filterSwitchIsOneReset()
    {
        auto document = SampleDocument::make();
        ReadingsModel model(document.get());
        Tester tester(&model, Tester::FailureReportingMode::QtTest);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        const FilterPtr high = document->visibleFilters().last();
        document->setFilter(high);
        QCOMPARE(reset.size(), 1);
        QCOMPARE(model.rowCount(), int(document->items().size()));
        for (int row = 0; row < model.rowCount(); ++row)
            QVERIFY(model.reading(row)->Systolic().toInt() >= 140);
    }

    void visibleFiltersFollowFlagsAndUndo()
    {
        MyDocument document;
        VisibleFiltersModel model(&document);
        Tester tester(&model, Tester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 3);
        const FilterPtr second = document.visibleFilters().at(1);
        second->setUseInFilters(false);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.rowOfFilter(second.get()), -1);
        document.undoManager()->closeGroup();
        document.undoManager()->undo();
        QCOMPARE(model.rowOfFilter(second.get()), 1);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        second->setName(QStringLiteral("Renamed"));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(model.data(model.index(1, 0)).toString(), QStringLiteral("Renamed"));
        const FilterPtr added = document.addFilter();
        QCOMPARE(model.rowOfFilter(added.get()), 3);
    }

    void averagesAnnounceInvalidation()
    {
        MyDocument document;
        AveragesModel model(&document);
        Tester tester(&model, Tester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 3);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        document.addMeasurements({reading(1, 120, 80), reading(2, 130, 90)});
        QCOMPARE(changed.size(), 1);
        QCOMPARE(model.data(model.index(0, AveragesModel::SystolicColumn)).toString(),
                 QStringLiteral("125"));
        QCOMPARE(model.data(model.index(0, AveragesModel::DiastolicColumn)).toString(),
                 QStringLiteral("85"));
        // Deviations come with the preference after the mean, without any announcement of the
        // model: the views redraw, nothing is rebuilt.
        QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        Preferences::shared().setValueForKey(true, Preferences::showDeviationsInAverages);
        const QString withDeviation =
            model.data(model.index(0, AveragesModel::SystolicColumn)).toString();
        QVERIFY(withDeviation.startsWith(QStringLiteral("125")) && withDeviation.contains(u'±'));
        QCOMPARE(layout.size() + reset.size(), 0);
        QCOMPARE(changed.size(), 1);
        // An average that goes away takes its row.
        document.visibleFilters().at(1)->setUseInAverages(false);
        QCOMPARE(model.rowCount(), 2);
    }

    // The summary pane under the averages follows additions, undo and the selected filter, and can
    // be switched off; a picture of it is kept in both languages.
    void averagesPageShowsTheHomeSummary()
    {
        MyDocument document;
        AveragesModel model(&document);
        PageAverages page(&model);
        page.setDocument(&document);
        page.resize(760, 460);
        page.show();
        HomeSummaryPane *pane = page.homeSummaryPane();
        QVERIFY(pane && pane->isVisible());
        QVERIFY(pane->text().contains(qtTrId("summary.no_readings")));

        MeasurementList readings;
        for (int day = 1; day <= 4; ++day) {
            readings.append(Measurement::create(Date::fromComponents(2024, 5, day, 7), 142, 88));
            readings.append(Measurement::create(Date::fromComponents(2024, 5, day, 21), 131, 83));
        }
        document.addMeasurements(readings);
        document.undoManager()->closeGroup();
        QCoreApplication::processEvents();
        const QString verdict = qtTrId("summary.verdict.at_or_above").arg(135).arg(85);
        QVERIFY2(pane->text().contains(verdict), qPrintable(pane->text()));
        QVERIFY(pane->text().contains(qtTrId("summary.counted").arg(3).arg(6)));
        for (const QString language : {"de_DE", "en_US"}) {
            Localization::install(QLocale(language));
            QLocale::setDefault(QLocale(language));
            QCoreApplication::processEvents();
            QCOMPARE(pane->text().contains(QStringLiteral("Heim-Schwellenwert")),
                     language == u"de_DE");
            // Nothing cut off: the pane is as tall as its text asks, however soon it is drawn.
            QVERIFY(pane->height() >= pane->sizeHint().height());
        }

        document.undoManager()->undo();
        QCoreApplication::processEvents();
        QVERIFY(pane->text().contains(qtTrId("summary.no_readings")));
        document.undoManager()->redo();
        QCoreApplication::processEvents();
        QVERIFY(pane->text().contains(verdict));

        // A filter through which no reading passes: the last week's.
        document.setFilter(document.filters().at(1));
        QCoreApplication::processEvents();
        QVERIFY(pane->text().contains(document.filters().at(1)->name()));
        QVERIFY(pane->text().contains(qtTrId("summary.no_readings")));

        Preferences::shared().setValueForKey(false, Preferences::showHomeSummary);
        QVERIFY(!pane->isVisible());
    }

    void informationEditsAreUndoStepsOfTheDocument()
    {
        MyDocument document;
        InformationArrayController model(&document);
        Tester tester(&model, Tester::FailureReportingMode::QtTest);
        UndoManager *undo = document.undoManager();
        QCOMPARE(model.add(), 0);
        undo->closeGroup();
        QCOMPARE(model.add(), 1);
        undo->closeGroup();
        // Two new items with the same default texts, printed.
        QCOMPARE(column(model), (QStringList{qtTrId("doc.information.new_item.label"),
                                             qtTrId("doc.information.new_item.label")}));
        QCOMPARE(model.data(model.index(1, 2), Qt::CheckStateRole).toInt(), int(Qt::Checked));

        QVERIFY(model.setData(model.index(1, 0), QStringLiteral("Doctor")));
        undo->closeGroup();
        QVERIFY(model.setData(model.index(1, 2), Qt::Unchecked, Qt::CheckStateRole));
        undo->closeGroup();
        QVERIFY(!document.information().at(1)->isPrinted());
        undo->undo();
        QVERIFY(document.information().at(1)->isPrinted());
        undo->undo();
        QCOMPARE(model.data(model.index(1, 0)).toString(),
                 qtTrId("doc.information.new_item.label"));
        undo->undo();
        QCOMPARE(model.rowCount(), 1);

        model.remove({0});
        QCOMPARE(model.rowCount(), 0);
    }

    void moveExamples_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QList<int>>("selected");
        QTest::newRow("0 and 2 above 4") << QList<int>{0, 2} << 4 << "BDACE" << QList<int>{2, 3};
        QTest::newRow("3 and 4 above 0") << QList<int>{3, 4} << 0 << "DEABC" << QList<int>{0, 1};
        QTest::newRow("after the last") << QList<int>{0, 2} << 5 << "BDEAC" << QList<int>{3, 4};
        QTest::newRow("onto its own place") << QList<int>{2} << 2 << "ABCDE" << QList<int>{2};
        QTest::newRow("just below itself") << QList<int>{2} << 3 << "ABCDE" << QList<int>{2};
        QTest::newRow("unordered input") << QList<int>{4, 1} << 0 << "BEACD" << QList<int>{0, 1};
    }
    void moveExamples()
    {
        QFETCH(QList<int>, rows);
        QFETCH(int, target);
        const auto document = withItems(QStringLiteral("ABCDE"));
        InformationArrayController model(document.get());
        Tester tester(&model, Tester::FailureReportingMode::QtTest);
        const QList<int> moved = model.moveObjectsInArrangedObjectsFromIndexes(rows, target);
        QTEST(names(*document), "after");
        QTEST(moved, "selected");
    }

    void countOfIndexesInRange()
    {
        const QList<int> set{0, 2, 3, 7};
        QCOMPARE(DNDArrayController::countOfIndexesInRange(set, 0, 4), 3);
        QCOMPARE(DNDArrayController::countOfIndexesInRange(set, 2, 0), 0); // empty range, 2 in set
        QCOMPARE(DNDArrayController::countOfIndexesInRange(set, 3, 4), 1);
        QCOMPARE(DNDArrayController::countOfIndexesInRange(set, 3, 5), 2);
        QCOMPARE(DNDArrayController::countOfIndexesInRange(set, 8, 100), 0);
        QCOMPARE(DNDArrayController::countOfIndexesInRange({}, 0, 10), 0);
    }

    void dropIsRefusedFromElsewhereOrWithAlt()
    {
        const auto document = withItems(QStringLiteral("ABC"));
        InformationArrayController model(document.get());
        InformationArrayController other(document.get());
        Qt::KeyboardModifiers modifiers = Qt::NoModifier;
        model.keyboardModifiers = [&] { return modifiers; };

        std::unique_ptr<QMimeData> mine(model.mimeData({model.index(0, 0), model.index(0, 1)}));
        std::unique_ptr<QMimeData> foreign(other.mimeData({other.index(0, 0)}));
        QVERIFY(mine && mine->hasFormat(QStringLiteral("MOVED_ROWS_TYPE")));
        QCOMPARE(model.mimeTypes(), QStringList{QStringLiteral("MOVED_ROWS_TYPE")});

        QVERIFY(model.canDropMimeData(mine.get(), Qt::MoveAction, 2, 0, {}));
        QVERIFY(!model.canDropMimeData(foreign.get(), Qt::MoveAction, 2, 0, {}));
        QVERIFY(!model.canDropMimeData(mine.get(), Qt::CopyAction, 2, 0, {}));
        QMimeData text;
        text.setText(QStringLiteral("A"));
        QVERIFY(!model.canDropMimeData(&text, Qt::MoveAction, 2, 0, {}));
        modifiers = Qt::AltModifier;
        QVERIFY(!model.canDropMimeData(mine.get(), Qt::MoveAction, 2, 0, {}));
        QVERIFY(!model.dropMimeData(mine.get(), Qt::MoveAction, 2, 0, {}));
        QCOMPARE(names(*document), QStringLiteral("ABC"));
        // Rows are dragged; only the table itself takes drops.
        QVERIFY(model.flags(model.index(0, 0)) & Qt::ItemIsDragEnabled);
        QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsDropEnabled));
        QVERIFY(model.flags(QModelIndex()) & Qt::ItemIsDropEnabled);
    }

    void dropMovesAsOneUndoStepAndNamesTheRows()
    {
        const auto document = withItems(QStringLiteral("ABCDE"));
        InformationArrayController model(document.get());
        Tester tester(&model, Tester::FailureReportingMode::QtTest);
        model.keyboardModifiers = [] { return Qt::KeyboardModifiers(); };
        QSignalSpy dropped(&model, &DNDArrayController::rowsDropped);

        std::unique_ptr<QMimeData> data(model.mimeData({model.index(0, 0), model.index(2, 0)}));
        // Dropped onto row 4 (above it).
        QVERIFY(model.dropMimeData(data.get(), Qt::MoveAction, -1, -1, model.index(4, 0)));
        QCOMPARE(names(*document), QStringLiteral("BDACE"));
        QCOMPARE(dropped.size(), 1);
        QCOMPARE(dropped.at(0).at(0).value<QList<int>>(), (QList<int>{2, 3}));
        document->undoManager()->closeGroup();
        QVERIFY(document->undoManager()->canUndo());
        document->undoManager()->undo();
        QCOMPARE(names(*document), QStringLiteral("ABCDE"));
        QVERIFY(!document->undoManager()->canUndo());

        // Below every row: to the end.
        data.reset(model.mimeData({model.index(1, 0)}));
        QVERIFY(model.dropMimeData(data.get(), Qt::MoveAction, -1, -1, QModelIndex()));
        QCOMPARE(names(*document), QStringLiteral("ACDEB"));
    }
};

TENSILO_TEST_MAIN(TestWindowModels)
#include "tst_window_models.moc"
