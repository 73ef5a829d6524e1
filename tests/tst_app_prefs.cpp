// Preferences in the windows: the two-way binding between a widget property and a key, and the
// preferences window writing every key at once.

#include "ChartDataSource.h"
#include "ColorSwatchButton.h"
#include "Dialogs.h"
#include "Localization.h"
#include "PreferenceBinding.h"
#include "Preferences.h"
#include "PreferencesWndController.h"
#include "TestMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

class TestAppPrefs : public QObject
{
    Q_OBJECT

private slots:
    void init() { Preferences::useTemporaryStore(); }

    // Several widgets on one key stay in step; a value the key refuses is not kept on screen;
    // a binding ends with its widget.
    void bindingEdgeCases()
    {
        Preferences &prefs = Preferences::shared();
        QCheckBox a, b;
        PreferenceBinding::bind(&a, "checked", Preferences::showPulse);
        PreferenceBinding::bind(&b, "checked", Preferences::showPulse);
        QVERIFY(a.isChecked() && b.isChecked());
        a.setChecked(false);
        QVERIFY(!b.isChecked());
        QCOMPARE(prefs.boolForKey(Preferences::showPulse), false);

        // Binding the same property again replaces the first binding.
        PreferenceBinding::bind(&a, "checked", Preferences::showWeight);
        QCOMPARE(a.findChildren<PreferenceBinding *>().size(), 1);
        QVERIFY(a.isChecked()); // showWeight is on by default
        prefs.setValueForKey(true, Preferences::showPulse);
        QVERIFY(b.isChecked());
        QVERIFY(a.isChecked());
        a.setChecked(false);
        QVERIFY(prefs.boolForKey(Preferences::showPulse));
        QVERIFY(!prefs.boolForKey(Preferences::showWeight));

        // A spin box allowing more than the key takes: the refused value does not stay.
        QSpinBox spin;
        spin.setRange(-5, 5);
        PreferenceBinding::bind(&spin, "value", Preferences::rowSize);
        QCOMPARE(spin.value(), 1);
        spin.setValue(2);
        QCOMPARE(prefs.integerForKey(Preferences::rowSize), 2);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("refused")));
        spin.setValue(4);
        QCOMPARE(spin.value(), prefs.integerForKey(Preferences::rowSize));

        {
            QCheckBox gone;
            PreferenceBinding::bind(&gone, "checked", Preferences::customShow3);
        }
        prefs.setValueForKey(true, Preferences::customShow3); // must not touch the dead widget
        QVERIFY(prefs.boolForKey(Preferences::customShow3));
    }

    // Every key has its control; each change is written at once; Restore Defaults, once
    // confirmed, removes the user's values and the controls follow.
    void preferencesWindowWritesEveryKey()
    {
        Preferences &prefs = Preferences::shared();
        PreferencesWndController window;
        QSignalSpy changed(&prefs, &Preferences::changed);
        const QStringList keys = Preferences::registeredKeys();
        QCOMPARE(keys.size(), 37);
        int colour = 0;
        for (const QString &key : keys) {
            QWidget *control = window.controlForKey(key);
            QVERIFY2(control, qPrintable(key));
            // Showing the value is no user's choice of it.
            QVERIFY2(!prefs.hasUserValueForKey(key), qPrintable(key));
            QVERIFY2(!control->accessibleName().isEmpty() ||
                         !control->property("text").toString().isEmpty(),
                     qPrintable(key));
            changed.clear();
            switch (*Preferences::typeOfKey(key)) {
            case Preferences::Type::Bool: {
                auto *check = qobject_cast<QCheckBox *>(control);
                QVERIFY(check);
                const bool before = prefs.boolForKey(key);
                QCOMPARE(check->isChecked(), before);
                check->click();
                QCOMPARE(prefs.boolForKey(key), !before);
                break;
            }
            case Preferences::Type::Integer: {
                if (auto *spin = qobject_cast<QSpinBox *>(control)) {
                    QCOMPARE(spin->value(), prefs.integerForKey(key));
                    spin->setFocus();
                    QTest::keyClick(spin,
                                    spin->value() < spin->maximum() ? Qt::Key_Up : Qt::Key_Down);
                    QCOMPARE(prefs.integerForKey(key), spin->value());
                    QVERIFY(prefs.integerForKey(key) != Preferences::defaultValueForKey(key));
                    break;
                }
                auto *combo = qobject_cast<QComboBox *>(control);
                QVERIFY(combo);
                QCOMPARE(combo->count(), 3); // three row sizes, or no scheme and two schemes
                QCOMPARE(combo->currentIndex(), Preferences::defaultValueForKey(key).toInt());
                combo->setCurrentIndex(2);
                QCOMPARE(prefs.integerForKey(key), 2);
                break;
            }
            case Preferences::Type::String: {
                auto *line = qobject_cast<QLineEdit *>(control);
                QVERIFY(line);
                QCOMPARE(line->text(), prefs.stringForKey(key));
                line->setEnabled(true);
                line->selectAll();
                QTest::keyClicks(line, QStringLiteral("Glucose ") + key.right(1));
                QCOMPARE(prefs.stringForKey(key), QStringLiteral("Glucose ") + key.right(1));
                break;
            }
            case Preferences::Type::Color: {
                auto *swatch = qobject_cast<ColorSwatchButton *>(control);
                QVERIFY(swatch);
                QCOMPARE(swatch->color(), prefs.colorForKey(key));
                const QColor chosen = QColor::fromRgb(10 + colour, 200 - colour, 30 + 2 * colour);
                ++colour;
                swatch->setColor(chosen);
                QCOMPARE(prefs.colorForKey(key), chosen);
                break;
            }
            }
            QVERIFY2(changed.contains(QVariantList{key}), qPrintable(key));
            QVERIFY(prefs.hasUserValueForKey(key));
        }

        // The chart reads the colours the window stored.
        ChartDataSource chart;
        for (int line = 0; line < chart.numberOfLines(); ++line) {
            const QString key = ChartDataSource::colorKeyForLine(line);
            QCOMPARE(chart.colorForLine(line),
                     qobject_cast<ColorSwatchButton *>(window.controlForKey(key))->color());
        }

        // A title field is usable exactly when its value is shown.
        QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("customTitle2"))->isEnabled(),
                 prefs.boolForKey(Preferences::customShow2));
        window.findChild<QCheckBox *>(QStringLiteral("customShow2"))->click();
        QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("customTitle2"))->isEnabled(),
                 prefs.boolForKey(Preferences::customShow2));

        // Restore Defaults asks first, naming what goes; Cancel (or Escape) keeps everything.
        auto *restore = window.findChild<QPushButton *>(QStringLiteral("restoreDefaultsButton"));
        Dialogs::clearRecord();
        Dialogs::setNextAnswer(1);
        QTest::mouseClick(restore, Qt::LeftButton);
        QTRY_COMPARE(Dialogs::record().size(), 1);
        QCoreApplication::processEvents();
        const Dialogs::Asked asked = Dialogs::record().constFirst();
        QCOMPARE(asked.stem, QStringLiteral("prefs.restore_defaults_ask"));
        QVERIFY(!asked.title.isEmpty() && !asked.message.isEmpty());
        for (const QString &key : keys)
            QVERIFY2(prefs.hasUserValueForKey(key), qPrintable(key));
        QCOMPARE(Dialogs::unansweredCount(), 0);

        // Restore, from the keyboard: every user value goes and the controls follow.
        Dialogs::setNextAnswer(0);
        restore->setFocus();
        QTest::keyClick(restore, Qt::Key_Space);
        QTRY_VERIFY(!prefs.hasUserValueForKey(keys.constFirst()));
        for (const QString &key : keys) {
            QVERIFY2(!prefs.hasUserValueForKey(key), qPrintable(key));
            QWidget *control = window.controlForKey(key);
            const char *property = qobject_cast<ColorSwatchButton *>(control) ? "color"
                                   : qobject_cast<QCheckBox *>(control)       ? "checked"
                                   : qobject_cast<QLineEdit *>(control)       ? "text"
                                   : qobject_cast<QSpinBox *>(control)        ? "value"
                                                                              : "currentIndex";
            QCOMPARE(control->property(property), prefs.valueForKey(key));
        }
    }

    // Texts come from the string table, not the layout's English (scripts/screenshots shows
    // every tab in both languages).
    void germanTitleComesFromTheTable()
    {
        Localization::install(QLocale(QLocale::German));
        PreferencesWndController window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Einstellungen"));
        Localization::install(QLocale(QLocale::English));
    }
};

TENSILO_TEST_MAIN(TestAppPrefs)
#include "tst_app_prefs.moc"
