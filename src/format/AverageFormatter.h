#pragma once

#include "Formatter.h"
#include "NumberFormatter.h"

#include <QMetaObject>

#include <memory>

class AverageItem;

// An average with two fraction digits, alone or with its deviation as "average ± deviation";
// "not_available" text for an item without a value. The deviation follows the preference
// "showDeviationsInAverages" from construction on: a change of the preference applies to the
// next text every live formatter makes. setShowDeviation() sets the flag until the preference
// next changes. One-way.
class AverageFormatter : public Formatter
{
public:
    AverageFormatter();
    ~AverageFormatter() override;
    AverageFormatter(const AverageFormatter &) = delete;
    AverageFormatter &operator=(const AverageFormatter &) = delete;

    static std::unique_ptr<AverageFormatter> formatter();

    bool showDeviation() const { return bShowDeviation; }
    void setShowDeviation(bool show);

    // Whether the numbers keep two fraction digits; fixed by the class.
    virtual bool digitsAllowed() const { return true; }

    // Takes an AverageItemPtr or an AverageItem pointer; anything else gives no text.
    QString stringForObjectValue(const QVariant &value) const override;
    bool getObjectValue(QVariant *out, const QString &text,
                        QString *errorDescription) const override;

    QString stringForAverageItem(const AverageItem &item) const;

protected:
    // The subclass's constructor tells whether its numbers keep fraction digits, since a
    // constructor cannot ask the subclass's digitsAllowed().
    explicit AverageFormatter(bool digitsAllowed);

private:
    NumberFormatter fmtNumbers;
    bool bShowDeviation = false;
    QMetaObject::Connection pBinding; // to the preference, while the formatter lives
};
