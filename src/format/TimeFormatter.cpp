#include "TimeFormatter.h"

#include "Date.h"

#include <QLocale>
#include <QStringList>

namespace {

QTime timeOf(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<Date>()) {
        const Date date = value.value<Date>();
        return date.isFinite() ? date.toDateTime().time() : QTime();
    }
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toLocalTime().time();
    if (value.typeId() == QMetaType::QTime)
        return value.toTime();
    return QTime();
}

// The locale's short and long forms, each first as it is and then with single-digit hours
// allowed.
QStringList acceptedFormats(const QLocale &locale)
{
    QStringList formats;
    for (const QString &format :
         {locale.timeFormat(QLocale::ShortFormat), locale.timeFormat(QLocale::LongFormat)}) {
        QString loose = format;
        loose.replace(QLatin1String("HH"), QLatin1String("H"));
        loose.replace(QLatin1String("hh"), QLatin1String("h"));
        for (const QString &candidate : {format, loose}) {
            if (!formats.contains(candidate))
                formats.append(candidate);
        }
    }
    return formats;
}

} // namespace

std::unique_ptr<TimeFormatter> TimeFormatter::formatter()
{
    return std::make_unique<TimeFormatter>();
}

QString TimeFormatter::stringForObjectValue(const QVariant &value) const
{
    const QTime time = timeOf(value);
    if (!time.isValid())
        return QString();
    return QLocale().toString(time, QLocale::ShortFormat);
}

bool TimeFormatter::getObjectValue(QVariant *out, const QString &text,
                                   QString *errorDescription) const
{
    const QLocale locale;
    const QString input = text.trimmed();
    QTime time;
    for (const QString &format : acceptedFormats(locale)) {
        time = locale.toTime(input, format);
        if (time.isValid())
            break;
    }
    if (!time.isValid()) {
        if (errorDescription) {
            //: %1 is an example time in the expected form
            *errorDescription =
                qtTrId("format.bad_time").arg(locale.toString(QTime(21, 45), QLocale::ShortFormat));
        }
        return false;
    }
    if (out) {
        *out = QVariant::fromValue(
            Date::fromComponents(2001, 1, 1, time.hour(), time.minute(), time.second()));
    }
    return true;
}
