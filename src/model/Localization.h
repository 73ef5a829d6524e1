#pragma once

#include <QLocale>
#include <QObject>
#include <QStringList>

class QTranslator;

// The application's string tables: id-based translations compiled into the binary, one pair of
// tables (English, German) per area. English is always loaded underneath, so a key missing in
// another language still shows English text rather than its id.
class Localization : public QObject
{
    Q_OBJECT
public:
    // Installs the tables for the locale's language into the application, replacing any tables
    // this function installed before.
    static void install(const QLocale &locale = QLocale());

    // The languages that have tables ("en", "de").
    static QStringList languages();

    // True when the key has a text in the language's tables (not merely its id echoed back).
    static bool hasText(const QString &key, const QString &language);

private:
    using QObject::QObject;
    static QList<QTranslator *> loadTables(const QString &language, QObject *parent);
};
