#include "Localization.h"
#include "Preferences.h"
#include "TestMain.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestPreferences : public QObject
{
    Q_OBJECT

private:
    static Preferences &prefs() { return Preferences::shared(); }

    static void installLanguage(const char *name)
    {
        Localization::install(QLocale(QLatin1String(name)));
        // Deliver the queued announcement of changed default titles.
        QCoreApplication::sendPostedEvents();
    }

    // The store's text after writing it out, to open a second store on the same values.
    static QByteArray storeText()
    {
        prefs().synchronize();
        return TestSupport::readFile(prefs().storeFileName());
    }

    // The text of a settings file holding one value, written by QSettings itself.
    static QByteArray iniWith(const QString &key, const QVariant &value)
    {
        QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("hand-edited.ini"));
        {
            QSettings settings(fileName, QSettings::IniFormat);
            settings.setValue(key, value);
        }
        return TestSupport::readFile(fileName);
    }

private slots:
    void init()
    {
        installLanguage("en_US");
        Preferences::useTemporaryStore();
    }

    void keyOutsideTheTableIsRefused()
    {
        // A key nobody registered answers nothing (never "on") and takes no value, even when a
        // hand-edited store holds one.
        Preferences::useTemporaryStore("[General]\nprintShowNotes=true\n");
        const char *const warning = "Preferences: \"printShowNotes\" is not a registered key";
        QVERIFY(!Preferences::isRegistered(QStringLiteral("printShowNotes")));
        QVERIFY(!Preferences::typeOfKey(QStringLiteral("printShowNotes")));
        QTest::ignoreMessage(QtWarningMsg, warning);
        QVERIFY(!prefs().boolForKey("printShowNotes"));
        QTest::ignoreMessage(QtWarningMsg, warning);
        QVERIFY(!prefs().valueForKey("printShowNotes").isValid());
        QTest::ignoreMessage(QtWarningMsg, warning);
        QVERIFY(!Preferences::defaultValueForKey("printShowNotes").isValid());

        QSignalSpy changed(&prefs(), &Preferences::changed);
        QTest::ignoreMessage(QtWarningMsg, warning);
        QVERIFY(!prefs().setValueForKey(false, "printShowNotes"));
        QCOMPARE(changed.count(), 0);
        QVERIFY(storeText().contains("printShowNotes=true")); // left as it was
    }

    void everyKeyHasADefaultOfItsType()
    {
        // The table gives each key its type and default together; a default of the wrong kind,
        // or a flag on that should be off, shows here. The defaults are never written.
        int on = 0;
        for (const QString &key : Preferences::registeredKeys()) {
            const auto type = Preferences::typeOfKey(key);
            QVERIFY2(type, qPrintable(key));
            const QVariant value = Preferences::defaultValueForKey(key);
            switch (*type) {
            case Preferences::Type::Bool:
                QCOMPARE(value.typeId(), QMetaType::Bool);
                on += value.toBool() ? 1 : 0;
                break;
            case Preferences::Type::Integer:
                QCOMPARE(value.typeId(), QMetaType::Int);
                break;
            case Preferences::Type::String:
                QCOMPARE(value.typeId(), QMetaType::QString);
                // Only the person's name starts empty.
                QVERIFY2(value.toString().isEmpty() == (key == u"personName"), qPrintable(key));
                break;
            case Preferences::Type::Color:
                QCOMPARE(value.typeId(), QMetaType::QColor);
                QVERIFY2(value.value<QColor>().isValid(), qPrintable(key));
                QCOMPARE(prefs().colorForKey(key), value.value<QColor>());
                QCOMPARE(prefs().colorForKey(key).alpha(), 255);
                break;
            }
            QCOMPARE(prefs().valueForKey(key), value);
            // Asking, also of the wrong kind, writes nothing.
            prefs().boolForKey(key);
            prefs().colorForKey(key);
            QVERIFY2(!prefs().hasUserValueForKey(key), qPrintable(key));
        }
        const QByteArray text = storeText();
        for (const QString &key : Preferences::registeredKeys())
            QVERIFY2(!text.contains(key.toUtf8()), qPrintable(key));
        // reopenLastDocument, autosaveDocuments, showPulse, showWeight, the four print switches,
        // the home summary on the averages page and in the report, the page header and the
        // chart's legend.
        QCOMPARE(on, 12);
        QCOMPARE(Preferences::registeredKeys().size(), 37);
        QCOMPARE(Preferences::registeredKeys().removeDuplicates(), 0);
        // The custom values' titles come from the running language's table.
        QCOMPARE(prefs().stringForKey("customTitle1"), QStringLiteral("Custom 1"));
    }

    void userValueWinsAndPersists()
    {
        QVERIFY(prefs().setValueForKey(false, "showPulse"));
        QVERIFY(prefs().setValueForKey(2, "rowSize"));
        QVERIFY(prefs().setValueForKey(QStringLiteral("Sugar, fasting"), "customTitle1"));
        QVERIFY(!prefs().boolForKey("showPulse"));
        QVERIFY(prefs().hasUserValueForKey("showPulse"));
        QVERIFY(!prefs().hasUserValueForKey("showWeight"));

        // A second store opened on the written file answers the same.
        Preferences::useTemporaryStore(storeText());
        QVERIFY(!prefs().boolForKey("showPulse"));
        QCOMPARE(prefs().integerForKey("rowSize"), 2);
        QCOMPARE(prefs().stringForKey("customTitle1"), QStringLiteral("Sugar, fasting"));
        QVERIFY(prefs().boolForKey("showWeight"));

        prefs().removeValueForKey("showPulse");
        QVERIFY(prefs().boolForKey("showPulse"));
        QVERIFY(!prefs().hasUserValueForKey("showPulse"));
    }

    void changedOncePerActualChange()
    {
        QSignalSpy spy(&prefs(), &Preferences::changed);

        QVERIFY(prefs().setValueForKey(true, "showDeviationsInAverages"));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.takeFirst().at(0).toString(), QStringLiteral("showDeviationsInAverages"));

        QVERIFY(prefs().setValueForKey(true, "showDeviationsInAverages")); // unchanged
        QVERIFY(prefs().setValueForKey(false, "customShow2"));             // equals the default
        QVERIFY(prefs().setValueForKey(QColor::fromRgbF(0, 0, 1), "chartColorSystolic"));
        QCOMPARE(spy.count(), 0);
        QVERIFY(prefs().hasUserValueForKey("customShow2"));

        // Refused values change nothing and announce nothing.
        QTest::ignoreMessage(QtWarningMsg,
                             "Preferences: refused a value of the wrong kind for \"rowSize\"");
        const QRegularExpression refusal(QStringLiteral("refused a value"));
        for (int i = 0; i < 3; ++i)
            QTest::ignoreMessage(QtWarningMsg, refusal);
        QVERIFY(!prefs().setValueForKey(3, "rowSize"));
        QVERIFY(!prefs().setValueForKey(QStringLiteral("wide"), "rowSize"));
        QVERIFY(!prefs().setValueForKey(QStringLiteral("blue"), "chartColorPulse"));
        QVERIFY(!prefs().setValueForKey(QColor(), "chartColorPulse"));
        QCOMPARE(spy.count(), 0);
        QCOMPARE(prefs().integerForKey("rowSize"), 1);
        QVERIFY(!prefs().hasUserValueForKey("chartColorPulse"));

        prefs().removeValueForKey("showDeviationsInAverages");
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.takeFirst().at(0).toString(), QStringLiteral("showDeviationsInAverages"));
        prefs().removeValueForKey("showDeviationsInAverages");
        prefs().removeValueForKey("customShow2"); // back to the same answer
        QCOMPARE(spy.count(), 0);

        // Switching stores announces exactly the keys whose answer differs.
        QVERIFY(prefs().setValueForKey(0, "rowSize"));
        spy.clear();
        Preferences::useTemporaryStore();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.takeFirst().at(0).toString(), QStringLiteral("rowSize"));
    }

    void customTitlesFollowTheLanguageUntilSet()
    {
        QVERIFY(prefs().setValueForKey(QStringLiteral("Blood sugar"), "customTitle2"));
        QSignalSpy spy(&prefs(), &Preferences::changed);

        installLanguage("de_DE");
        QCOMPARE(prefs().stringForKey("customTitle1"), QStringLiteral("Eigener Wert 1"));
        QCOMPARE(prefs().stringForKey("customTitle2"), QStringLiteral("Blood sugar"));
        QCOMPARE(prefs().stringForKey("customTitle3"), QStringLiteral("Eigener Wert 3"));
        // One announcement per title that changed, however many tables were installed.
        QStringList keys;
        for (const QList<QVariant> &args : std::as_const(spy))
            keys << args.at(0).toString();
        keys.sort();
        QCOMPARE(keys, QStringList({"customTitle1", "customTitle3"}));
        QVERIFY(!prefs().hasUserValueForKey("customTitle1"));

        spy.clear();
        installLanguage("en_GB");
        QCOMPARE(prefs().stringForKey("customTitle1"), QStringLiteral("Custom 1"));
        QCOMPARE(prefs().stringForKey("customTitle2"), QStringLiteral("Blood sugar"));
        QCOMPARE(spy.count(), 2);

        // Forgetting the typed title brings back the running language's default.
        installLanguage("de_DE");
        prefs().removeValueForKey("customTitle2");
        QCOMPARE(prefs().stringForKey("customTitle2"), QStringLiteral("Eigener Wert 2"));
    }

    void coloursKeepExactly_data()
    {
        QTest::addColumn<QColor>("color");
        QTest::newRow("16-bit channels, alpha")
            << QColor::fromRgba64(0x1234, 0x5678, 0x9abc, 0x4001);
        QTest::newRow("transparent") << QColor::fromRgbF(0.25f, 0.5f, 0.75f, 0);
        QTest::newRow("hsv") << QColor::fromHsvF(0.3f, 0.7f, 0.9f, 0.5f);
        QTest::newRow("extended") << QColor::fromRgbF(1.25f, -0.1f, 0.5f);
    }

    void coloursKeepExactly()
    {
        QFETCH(QColor, color);
        QVERIFY(prefs().setValueForKey(color, "chartColorWeight"));
        QCOMPARE(prefs().colorForKey("chartColorWeight"), color);
        Preferences::useTemporaryStore(storeText());
        const QColor read = prefs().colorForKey("chartColorWeight");
        QCOMPARE(read, color);
        QCOMPARE(read.spec(), color.spec());
        QCOMPARE(read.alphaF(), color.alphaF());
        QCOMPARE(Preferences::unarchivedColor(Preferences::archivedColor(color)), color);
    }

    void storedValueThatIsNotAColourGivesNoColour_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("word") << QVariant(QStringLiteral("red"));
        QTest::newRow("number") << QVariant(7);
        QTest::newRow("a colour stored by QSettings") << QVariant(QColor(Qt::red));
        QTest::newRow("bytes") << QVariant(QByteArray("\x01\x02"));
        QTest::newRow("empty bytes") << QVariant(QByteArray());
        QTest::newRow("trailing byte")
            << QVariant(Preferences::archivedColor(Qt::red) + QByteArray(1, '\0'));
        QTest::newRow("cut short") << QVariant(Preferences::archivedColor(Qt::red).chopped(1));
    }

    void storedValueThatIsNotAColourGivesNoColour()
    {
        QFETCH(QVariant, stored);
        Preferences::useTemporaryStore(iniWith("chartColorPulse", stored));
        QVERIFY(prefs().hasUserValueForKey("chartColorPulse"));
        QVERIFY(!prefs().colorForKey("chartColorPulse").isValid());
        QVERIFY(prefs().colorForKey("chartColorWeight").isValid());
    }

    void handEditedValuesAreNotTrusted_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("rowSize");
        QTest::addColumn<bool>("showPulse");
        QTest::newRow("too large") << QByteArray("rowSize=7\nshowPulse=false") << 2 << false;
        QTest::newRow("negative") << QByteArray("rowSize=-3\nshowPulse=0") << 0 << false;
        QTest::newRow("huge") << QByteArray("rowSize=99999999999999") << 2 << true;
        QTest::newRow("in range") << QByteArray("rowSize=0\nshowPulse=true") << 0 << true;
        QTest::newRow("words") << QByteArray("rowSize=big\nshowPulse=maybe") << 1 << true;
    }

    void handEditedValuesAreNotTrusted()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, rowSize);
        QFETCH(bool, showPulse);
        Preferences::useTemporaryStore("[General]\n" + text + "\n");
        QCOMPARE(prefs().integerForKey("rowSize"), rowSize);
        QCOMPARE(prefs().valueForKey("rowSize").toInt(), rowSize);
        QCOMPARE(prefs().boolForKey("showPulse"), showPulse);
    }
};

TENSILO_TEST_MAIN(TestPreferences)
#include "tst_preferences.moc"
