#include "DateFormatter.h"

#include "Date.h"

#include <QLocale>
#include <QStringList>

namespace {

QDate dateOf(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<Date>()) {
        const Date date = value.value<Date>();
        return date.isFinite() ? date.toDateTime().date() : QDate();
    }
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toLocalTime().date();
    if (value.typeId() == QMetaType::QDate)
        return value.toDate();
    return QDate();
}

int currentYear()
{
    const Date now = Date::now();
    return now.isFinite() ? now.components().year : QDate::currentDate().year();
}

// The locale's short form, then the same with the year written out, each first as it is and then
// with single-digit days and months allowed.
QStringList acceptedFormats(const QString &shortFormat)
{
    QString longYear = shortFormat;
    if (!longYear.contains(QLatin1String("yyyy")))
        longYear.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    QStringList formats;
    for (const QString &format : {shortFormat, longYear}) {
        QString loose = format;
        loose.replace(QLatin1String("dd"), QLatin1String("d"));
        loose.replace(QLatin1String("MM"), QLatin1String("M"));
        for (const QString &candidate : {format, loose}) {
            if (!formats.contains(candidate))
                formats.append(candidate);
        }
    }
    return formats;
}

} // namespace

std::unique_ptr<DateFormatter> DateFormatter::formatter()
{
    return std::make_unique<DateFormatter>();
}

int DateFormatter::yearForTwoDigitYear(int twoDigits, int currentYear)
{
    const int first = currentYear - 80;
    int year = first - first % 100 + twoDigits % 100;
    if (year < first)
        year += 100;
    return year;
}

QString DateFormatter::stringForObjectValue(const QVariant &value) const
{
    const QDate date = dateOf(value);
    if (!date.isValid())
        return QString();
    return QLocale().toString(date, QLocale::ShortFormat);
}

bool DateFormatter::getObjectValue(QVariant *out, const QString &text,
                                   QString *errorDescription) const
{
    const QLocale locale;
    const QString input = text.trimmed();
    const QString shortFormat = locale.dateFormat(QLocale::ShortFormat);
    QDate date;
    for (const QString &format : acceptedFormats(shortFormat)) {
        date = locale.toDate(input, format);
        if (!date.isValid())
            continue;
        if (!format.contains(QLatin1String("yyyy"))) // Qt reads a two-digit year as 19xx
            date = QDate(yearForTwoDigitYear(date.year() % 100, currentYear()), date.month(),
                         date.day());
        if (date.isValid())
            break;
    }
    if (!date.isValid()) {
        if (errorDescription) {
            //: %1 is an example date in the expected form
            *errorDescription =
                qtTrId("format.bad_date")
                    .arg(locale.toString(QDate(currentYear(), 12, 31), QLocale::ShortFormat));
        }
        return false;
    }
    if (out)
        *out = QVariant::fromValue(Date::fromComponents(date.year(), date.month(), date.day()));
    return true;
}
