// Preferences in the windows: the two-way binding between a widget property and a key, and the
// preferences window writing every key at once.

#include "Localization.h"
#include "PreferenceBinding.h"
#include "Preferences.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

class TestAppPrefs : public QObject
{
    Q_OBJECT

private slots:
    void init() { Preferences::useTemporaryStore(); }

    // The widget shows the key, writes it when the user changes it and follows other writers.
    void bindingIsTwoWay_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("check box") << QStringLiteral("check");
        QTest::newRow("line edit") << QStringLiteral("line");
        QTest::newRow("combo box") << QStringLiteral("combo");
    }
    void bindingIsTwoWay()
    {
        QFETCH(QString, kind);
        Preferences &prefs = Preferences::shared();
        QCheckBox check;
        QLineEdit line;
        QComboBox combo;
        combo.addItems({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")});
        QWidget *widget = nullptr;
        const char *property = nullptr;
        QString key;
        QVariant userValue, otherValue;
        if (kind == QLatin1String("check")) {
            widget = &check, property = "checked", key = Preferences::customShow2;
            userValue = true, otherValue = false;
        } else if (kind == QLatin1String("line")) {
            widget = &line, property = "text", key = Preferences::customTitle1;
            userValue = QStringLiteral("Glucose"), otherValue = QStringLiteral("Steps");
        } else {
            widget = &combo, property = "currentIndex", key = Preferences::rowSize;
            userValue = 2, otherValue = 0;
        }
        PreferenceBinding::bind(widget, property, key);
        QCOMPARE(widget->property(property), prefs.valueForKey(key));
        QVERIFY(!prefs.hasUserValueForKey(key));

        QSignalSpy changed(&prefs, &Preferences::changed);
        // The user's change: through the control itself, so that the notify signal runs.
        if (kind == QLatin1String("check"))
            check.click();
        else if (kind == QLatin1String("line")) {
            line.clear();
            QTest::keyClicks(&line, userValue.toString());
        } else
            combo.setCurrentIndex(2);
        QCOMPARE(prefs.valueForKey(key), userValue);
        QVERIFY(prefs.hasUserValueForKey(key));
        QVERIFY(changed.contains(QVariantList{key}));

        // Written elsewhere (another window, Restore Defaults): the widget follows.
        prefs.setValueForKey(otherValue, key);
        QCOMPARE(widget->property(property), otherValue);
        prefs.removeValueForKey(key);
        QCOMPARE(widget->property(property), Preferences::defaultValueForKey(key));
        // Following a change does not write it back as the user's value.
        QVERIFY(!prefs.hasUserValueForKey(key));
    }

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
};

QTEST_MAIN(TestAppPrefs)
#include "tst_app_prefs.moc"
