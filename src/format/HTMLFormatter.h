#pragma once

#include "Formatter.h"

#include <memory>

// A text as HTML: the five XML special characters as entity references, then every line feed
// as "<br/>". Anything but a string gives the empty string. One-way.
class HTMLFormatter : public Formatter
{
public:
    static std::unique_ptr<HTMLFormatter> formatter();

    QString stringForObjectValue(const QVariant &value) const override;
    bool getObjectValue(QVariant *out, const QString &text,
                        QString *errorDescription) const override;

    static QString htmlForText(const QString &text);
};
