#include "Localization.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace {

QPointer<QObject> &installedTables()
{
    static QPointer<QObject> holder;
    return holder;
}

} // namespace

QList<QTranslator *> Localization::loadTables(const QString &language, QObject *parent)
{
    QList<QTranslator *> tables;
    const QDir dir(QStringLiteral(":/i18n"));
    // Picked by name here rather than by a name filter of the listing, which would set up a
    // regular expression engine (close to a megabyte) for the command-line tool's every run.
    const QString suffix = QStringLiteral("_%1.qm").arg(language);
    const QStringList files = dir.entryList(QDir::Files, QDir::Name);
    for (const QString &file : files) {
        if (!file.endsWith(suffix, Qt::CaseInsensitive))
            continue;
        auto *translator = new QTranslator(parent);
        if (translator->load(dir.filePath(file)))
            tables.append(translator);
        else
            delete translator;
    }
    return tables;
}

void Localization::install(const QLocale &locale)
{
    delete installedTables().data(); // its translators remove themselves on destruction
    auto *holder = new Localization(QCoreApplication::instance());
    installedTables() = holder;

    const QString language = locale.name().section(QLatin1Char('_'), 0, 0);
    QList<QTranslator *> tables;
    if (language != QLatin1String("en") && languages().contains(language)) {
        // Qt's own texts (the print and colour dialogs, context menus of text fields), where
        // the system has them.
        auto *qtTable = new QTranslator(holder);
        if (qtTable->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            tables.append(qtTable);
        else
            delete qtTable;
    }
    tables += loadTables(QStringLiteral("en"), holder);
    if (language != QLatin1String("en") && languages().contains(language))
        tables += loadTables(language, holder);
    // Tables installed later are searched first.
    for (QTranslator *table : std::as_const(tables))
        QCoreApplication::installTranslator(table);
}

QStringList Localization::languages()
{
    return {QStringLiteral("en"), QStringLiteral("de")};
}

bool Localization::hasText(const QString &key, const QString &language)
{
    QObject parent;
    const QByteArray id = key.toUtf8();
    for (QTranslator *table : loadTables(language, &parent)) {
        if (!table->translate(nullptr, id.constData()).isEmpty())
            return true;
    }
    return false;
}
