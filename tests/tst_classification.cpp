// The classification tables, each checked on both sides of every threshold.

#include "Localization.h"
#include "Preferences.h"
#include "PressureClassification.h"
#include "TestMain.h"

#include <QtTest>

using Scheme = PressureClassification::Scheme;

class TestClassification : public QObject
{
    Q_OBJECT

private slots:
    void categories_data()
    {
        QTest::addColumn<int>("scheme");
        QTest::addColumn<double>("systolic");
        QTest::addColumn<double>("diastolic");
        QTest::addColumn<QString>("key");
        const int esh = int(Scheme::Esh2023), acc = int(Scheme::AccAha2017);
        const struct
        {
            int scheme;
            double systolic, diastolic;
            const char *key;
        } rows[] = {
            {esh, 119, 79, "optimal"},
            {esh, 120, 79, "normal"},
            {esh, 119, 80, "normal"},
            {esh, 129, 84, "normal"},
            {esh, 130, 84, "high_normal"},
            {esh, 129, 85, "high_normal"},
            {esh, 139, 89, "high_normal"},
            {esh, 140, 89, "isolated_systolic"},
            {esh, 139, 90, "grade_1"},
            {esh, 140, 90, "grade_1"},
            {esh, 159, 99, "grade_1"},
            {esh, 160, 99, "grade_2"},
            {esh, 159, 100, "grade_2"},
            {esh, 179, 109, "grade_2"},
            {esh, 180, 109, "grade_3"},
            {esh, 120, 110, "grade_3"},
            {esh, 200, 89, "isolated_systolic"},
            {acc, 119, 79, "normal"},
            {acc, 120, 79, "elevated"},
            {acc, 129, 79, "elevated"},
            {acc, 130, 79, "stage_1"},
            {acc, 119, 80, "stage_1"},
            {acc, 139, 89, "stage_1"},
            {acc, 140, 89, "stage_2"},
            {acc, 139, 90, "stage_2"},
            {acc, 180, 120, "stage_2"},
            {acc, 181, 120, "crisis"},
            {acc, 180, 121, "crisis"},
        };
        for (const auto &row : rows) {
            const QString key =
                QStringLiteral("class.%1.%2").arg(row.scheme == esh ? "esh" : "acc", row.key);
            QTest::addRow("%s %g/%g", row.scheme == esh ? "ESH" : "ACC", row.systolic,
                          row.diastolic)
                << row.scheme << row.systolic << row.diastolic << key;
        }
    }

    void categories()
    {
        QFETCH(int, scheme);
        QFETCH(double, systolic);
        QFETCH(double, diastolic);
        QFETCH(QString, key);
        QCOMPARE(QString::fromLatin1(
                     PressureClassification::categoryKey(Scheme(scheme), systolic, diastolic)),
                 key);
    }

    // No scheme by default: no class and no name; the preference picks one.
    // Sorting by class: one reading of each category, listed in the scheme's order (ESH: optimal
    // to grade 3, then isolated systolic), ranks strictly upwards.
    void ranksFollowTheSchemesOrder()
    {
        const auto ranks = [](Scheme scheme, const QList<std::pair<double, double>> &readings) {
            QList<int> list;
            for (const auto &[systolic, diastolic] : readings)
                list.append(PressureClassification::categoryRank(scheme, systolic, diastolic));
            return list;
        };
        QCOMPARE(
            ranks(Scheme::Esh2023,
                  {{110, 70}, {125, 82}, {135, 87}, {145, 95}, {165, 102}, {185, 115}, {150, 85}}),
            (QList<int>{0, 1, 2, 3, 4, 5, 6}));
        QCOMPARE(
            ranks(Scheme::AccAha2017, {{110, 70}, {125, 75}, {135, 85}, {150, 95}, {185, 125}}),
            (QList<int>{0, 1, 2, 3, 4}));
        QCOMPARE(PressureClassification::categoryRank(Scheme::None, 150, 95), -1);
    }

    void schemeFromPreferences()
    {
        QCOMPARE(PressureClassification::schemeFromPreferences(), Scheme::None);
        QVERIFY(PressureClassification::category(Scheme::None, 200, 120).isEmpty());
        QVERIFY(PressureClassification::schemeName(Scheme::None).isEmpty());
        Preferences::shared().setValueForKey(2, Preferences::classificationScheme);
        QCOMPARE(PressureClassification::schemeFromPreferences(), Scheme::AccAha2017);
        Localization::install(QLocale(QStringLiteral("de_DE")));
        QCOMPARE(PressureClassification::category(Scheme::AccAha2017, 135, 70),
                 QStringLiteral("Stadium 1"));
        Localization::install(QLocale(QStringLiteral("en_US")));
        QCOMPARE(PressureClassification::category(Scheme::Esh2023, 135, 70),
                 QStringLiteral("High normal"));
    }
};

TENSILO_TEST_MAIN(TestClassification)
#include "tst_classification.moc"
