#pragma once

#include "Formatter.h"

// A text on one line: every line feed and every carriage return becomes one blank, so a CR LF
// pair becomes two. Text entered is taken back unchanged, line breaks included.
class MultilineFormatter : public Formatter
{
public:
    // An invalid value gives a null QString; any other value is taken as its text.
    QString stringForObjectValue(const QVariant &value) const override;
    // Always succeeds with the text itself.
    bool getObjectValue(QVariant *out, const QString &text,
                        QString *errorDescription) const override;

    static QString singleLine(const QString &text);
};
