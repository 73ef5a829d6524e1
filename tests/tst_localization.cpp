// The string tables: every key the code looks up has an English and a German text, the texts
// of one key agree on their placeholders, and the language follows the locale with English
// underneath.

#include "Localization.h"
#include "TestMain.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QLibraryInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QXmlStreamReader>

namespace {

// Every key named by a literal in qtTrId("...") or QT_TRID_NOOP("...") under src/, and every
// id of a translatable string in the layouts under resources/, with the first place it is used.
QMap<QString, QString> keysUsedInSources()
{
    QMap<QString, QString> keys;
    const QString root = QStringLiteral(TENSILO_SOURCE_DIR);
    static const QRegularExpression call(
        QStringLiteral(R"re(\b(?:qtTrId|QT_TRID_NOOP)\s*\(\s*"((?:[^"\\]|\\.)*)")re"));
    static const QRegularExpression layoutString(
        QStringLiteral(R"re(<string\b[^>]*\bid="([^"]*)")re"));
    const struct
    {
        const char *dir;
        const QRegularExpression &pattern;
    } scans[] = {{"src", call}, {"resources", layoutString}};
    for (const auto &scan : scans) {
        const QString dir = root + QLatin1Char('/') + QLatin1String(scan.dir);
        QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (scan.dir == QLatin1String("resources") && !path.endsWith(QLatin1String(".ui")))
                continue;
            const QString text = QString::fromUtf8(TestSupport::readFile(path));
            for (const QRegularExpressionMatch &match : scan.pattern.globalMatch(text)) {
                const QString key = match.captured(1);
                const int line = int(text.left(match.capturedStart()).count(QLatin1Char('\n')));
                keys.insert(key,
                            QStringLiteral("%1:%2").arg(path.mid(root.size() + 1)).arg(line + 1));
            }
        }
    }
    return keys;
}

// The texts of one language as the .ts files give them: key -> translation.
QMap<QString, QString> textsOfLanguage(const QString &language)
{
    QMap<QString, QString> texts;
    const QString dir = QStringLiteral(TENSILO_SOURCE_DIR "/resources/translations");
    QDirIterator it(dir, {QStringLiteral("*_%1.ts").arg(language)}, QDir::Files);
    while (it.hasNext()) {
        const QString path = it.next();
        QXmlStreamReader xml(TestSupport::readFile(path));
        QString id;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("message"))
                id = xml.attributes().value(QLatin1String("id")).toString();
            else if (xml.name() == QLatin1String("translation") && !id.isEmpty())
                texts.insert(id, xml.readElementText());
        }
        if (xml.hasError())
            qWarning("%s: %s", qPrintable(path), qPrintable(xml.errorString()));
    }
    return texts;
}

// Keys the scan above cannot see because the code builds them or passes them on before looking
// them up: the report's section titles, the undo action names the document sets.
const QStringList kKeysBuiltAtRunTime =
    QStringLiteral("print.Information print.Averages print.Readings doc.ins_record doc.del_record "
                   "doc.edit_record doc.replace_with_average doc.ins_filter doc.del_filter "
                   "doc.information.item_changed doc.information.list_changed")
        .split(u' ');

QSet<QString> placeholders(const QString &text)
{
    static const QRegularExpression marker(QStringLiteral(R"(%L?\d+)"));
    QSet<QString> found;
    for (const QRegularExpressionMatch &match : marker.globalMatch(text))
        found.insert(match.captured(0));
    return found;
}

} // namespace

class TestLocalization : public QObject
{
    Q_OBJECT

private slots:

    void everyKeyUsedHasATextInEveryLanguage()
    {
        QMap<QString, QString> keys = keysUsedInSources();
        // The scan itself must work: the undo manager's keys are certainly in use.
        QVERIFY2(keys.contains(QStringLiteral("menu.edit.undo")), "the source scan found nothing");
        for (const QString &key : kKeysBuiltAtRunTime)
            keys.insert(key, QStringLiteral("built at run time"));

        QStringList missing;
        for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
            for (const QString &language : Localization::languages()) {
                if (!Localization::hasText(it.key(), language))
                    missing << QStringLiteral("\"%1\" (%2) has no %3 text")
                                   .arg(it.key(), it.value(), language);
            }
        }
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QLatin1Char('\n') + missing.join(QLatin1Char('\n'))));
        QVERIFY(!Localization::hasText(QStringLiteral("no.such.key"), QStringLiteral("en")));
        QVERIFY(!Localization::hasText(QStringLiteral("menu.edit.undo"), QStringLiteral("fr")));
    }

    void textsOfAKeyAgreeOnPlaceholders()
    {
        // A translation that drops or invents a %N would show the wrong numbers.
        const QMap<QString, QString> english = textsOfLanguage(QStringLiteral("en"));
        QVERIFY(!english.isEmpty());
        QStringList mismatched;
        for (const QString &language : Localization::languages()) {
            const QMap<QString, QString> texts = textsOfLanguage(language);
            for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
                if (english.contains(it.key()) &&
                    placeholders(it.value()) != placeholders(english.value(it.key())))
                    mismatched << QStringLiteral("\"%1\" (%2): \"%3\"")
                                      .arg(it.key(), language, it.value());
            }
        }
        QVERIFY2(mismatched.isEmpty(),
                 qPrintable(QLatin1Char('\n') + mismatched.join(QLatin1Char('\n'))));
    }

    void tablesAreCompiledIn()
    {
        // Every text of every table file reaches the program, in its own language.
        for (const QString &language : Localization::languages()) {
            Localization::install(QLocale(language));
            const QMap<QString, QString> texts = textsOfLanguage(language);
            QVERIFY(!texts.isEmpty());
            for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
                if (!it.value().isEmpty())
                    QCOMPARE(qtTrId(it.key().toUtf8().constData()), it.value());
            }
        }
    }

    void languageFollowsTheLocale()
    {
        const QString englishUndo = textsOfLanguage(QStringLiteral("en")).value("menu.edit.undo");
        const QString germanUndo = textsOfLanguage(QStringLiteral("de")).value("menu.edit.undo");
        QVERIFY(!englishUndo.isEmpty());
        QVERIFY(germanUndo != englishUndo);

        Localization::install(QLocale(QStringLiteral("de_DE")));
        QCOMPARE(qtTrId("menu.edit.undo"), germanUndo);
        Localization::install(QLocale(QStringLiteral("de_AT")));
        QCOMPARE(qtTrId("menu.edit.undo"), germanUndo);

        // A language without tables falls back to English, not to the key.
        Localization::install(QLocale(QStringLiteral("fr_FR")));
        QCOMPARE(qtTrId("menu.edit.undo"), englishUndo);
        Localization::install(QLocale(QStringLiteral("ja_JP")));
        QCOMPARE(qtTrId("menu.edit.undo"), englishUndo);

        // Installing again replaces the tables: no German left underneath English.
        Localization::install(QLocale(QStringLiteral("de_DE")));
        Localization::install(QLocale(QStringLiteral("en_GB")));
        QCOMPARE(qtTrId("menu.edit.undo"), englishUndo);

        // Without an argument the default locale decides.
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        Localization::install();
        QCOMPARE(qtTrId("menu.edit.undo"), germanUndo);
        QLocale::setDefault(QLocale::c());
    }

    // Qt's own texts (dialog buttons, the print dialog) follow the language too, where the system
    // has Qt's tables (scripts/setup installs them).
    void qtsOwnTextsFollowTheLanguage()
    {
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                           QLatin1String("/qtbase_de.qm")))
            QSKIP("Qt's own translations are not installed");
        Localization::install(QLocale(QStringLiteral("de_DE")));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                 QStringLiteral("Abbrechen"));
        Localization::install(QLocale(QStringLiteral("en_GB")));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    }
};

TENSILO_TEST_MAIN(TestLocalization)
#include "tst_localization.moc"
