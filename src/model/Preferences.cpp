#include "Preferences.h"

#include "ReadingValues.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QEvent>
#include <QFile>
#include <QIODevice>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <iterator>
#include <utility>

namespace {

using Type = Preferences::Type;

// One registered key: its name, its type and its default. Entries can be made only by the four
// functions below, each of which asks for the default, so that no key gets one by accident.
class Entry
{
public:
    QLatin1String key;
    Type type;
    bool flag = false;             // Bool
    int integer = 0;               // Integer: the default, within [minimum, maximum]
    int minimum = 0, maximum = 0;  // Integer
    const char *textId = nullptr;  // String: the default is the localised text of this id
    std::array<float, 3> rgb = {}; // Color, opaque

private:
    constexpr Entry(QLatin1String name, Type kind) : key(name), type(kind) {}
    friend constexpr Entry flag(QLatin1String key, bool value);
    friend constexpr Entry integer(QLatin1String key, int value, int minimum, int maximum);
    friend constexpr Entry text(QLatin1String key, const char *textId);
    friend constexpr Entry color(QLatin1String key, float red, float green, float blue);
};

constexpr Entry flag(QLatin1String key, bool value)
{
    Entry entry(key, Type::Bool);
    entry.flag = value;
    return entry;
}

constexpr Entry integer(QLatin1String key, int value, int minimum, int maximum)
{
    Entry entry(key, Type::Integer);
    entry.integer = value;
    entry.minimum = minimum;
    entry.maximum = maximum;
    return entry;
}

constexpr Entry text(QLatin1String key, const char *textId)
{
    Entry entry(key, Type::String);
    entry.textId = textId;
    return entry;
}

constexpr Entry color(QLatin1String key, float red, float green, float blue)
{
    Entry entry(key, Type::Color);
    entry.rgb = {red, green, blue};
    return entry;
}

using P = Preferences;

// The keys of the table that belong to no value of a reading, in three groups: the values' own
// keys (shown, titles, colours) go between them.
constexpr Entry kFirstKeys[] = {
    flag(P::reopenLastDocument, true), flag(P::autosaveDocuments, true),
    integer(P::rowSize, 1, 0, 2), // regular, small, mini
};
constexpr Entry kMiddleKeys[] = {
    flag(P::showDeviationsInAverages, false),
};
constexpr Entry kLastKeys[] = {
    flag(P::printShowInformation, true),
    flag(P::printShowAverages, true),
    flag(P::printShowChart, true),
    flag(P::printShowMeasurements, true),
    integer(P::homeSummaryDays, 7, 3, 14),
    integer(P::homeMorningFrom, 4, 0, 24),
    integer(P::homeMorningTo, 12, 0, 24),
    integer(P::homeEveningFrom, 16, 0, 24),
    integer(P::homeEveningTo, 24, 0, 24),
    integer(P::homeThresholdSystolic, 135, 60, 250),
    integer(P::homeThresholdDiastolic, 85, 30, 200),
    flag(P::printHomeSummary, true),
    flag(P::showHomeSummary, true),
    flag(P::printPageHeader, true),
    text(P::personName, nullptr), // empty
    flag(P::chartShowLegend, true),
    flag(P::chartShowThreshold, false),
    integer(P::classificationScheme, 0, 0, 2),
};

constexpr std::size_t countOf(QLatin1String ReadingValue::*key)
{
    std::size_t n = 0;
    for (const ReadingValue &value : ReadingValues::kAll)
        n += (value.*key).isEmpty() ? 0 : 1;
    return n;
}

// The table of registered keys, the one place that gives each key its type and default: the
// keys above, and those of the table of values with the defaults it gives them: the switches
// that show the values, the users' titles, then the chart colours.
constexpr auto makeTable()
{
    constexpr std::size_t size = std::size(kFirstKeys) + countOf(&ReadingValue::showKey) +
                                 countOf(&ReadingValue::titleKey) + std::size(kMiddleKeys) +
                                 countOf(&ReadingValue::colorKey) + std::size(kLastKeys);
    std::array<Entry, size> table = [&]<std::size_t... I>(std::index_sequence<I...>)
    {
        return std::array<Entry, size>{((void)I, kFirstKeys[0])...};
    }
    (std::make_index_sequence<size>());
    std::size_t n = 0;
    for (const Entry &entry : kFirstKeys)
        table[n++] = entry;
    for (const ReadingValue &value : ReadingValues::kAll) {
        if (!value.showKey.isEmpty())
            table[n++] = flag(value.showKey, value.shownByDefault);
    }
    for (const ReadingValue &value : ReadingValues::kAll) {
        if (!value.titleKey.isEmpty())
            table[n++] = text(value.titleKey, value.defaultTitleId);
    }
    for (const Entry &entry : kMiddleKeys)
        table[n++] = entry;
    for (const ReadingValue &value : ReadingValues::kAll) {
        if (!value.colorKey.isEmpty())
            table[n++] = color(value.colorKey, value.defaultColor.red, value.defaultColor.green,
                               value.defaultColor.blue);
    }
    for (const Entry &entry : kLastKeys)
        table[n++] = entry;
    return table;
}

constexpr auto kTable = makeTable();

// The keys whose default is a text of the running language, in table order.
constexpr auto kTitleKeys = [] {
    std::array<QLatin1String, countOf(&ReadingValue::titleKey)> keys{};
    std::size_t n = 0;
    for (const Entry &entry : kTable) {
        if (entry.type == Type::String && entry.textId)
            keys[n++] = entry.key;
    }
    return keys;
}();

const Entry *findEntry(QStringView key)
{
    for (const Entry &entry : kTable) {
        if (key == entry.key)
            return &entry;
    }
    return nullptr;
}

// Looks the key up; a key outside the table is a programming error, reported and refused.
const Entry *registeredEntry(QStringView key)
{
    const Entry *entry = findEntry(key);
    if (!entry)
        qWarning("Preferences: \"%s\" is not a registered key", qPrintable(key.toString()));
    return entry;
}

// A text of the string table, or the empty string when the table has none for the key.
QString localizedOrEmpty(const char *key)
{
    if (!key)
        return QString(QLatin1String(""));
    const QString text = qtTrId(key);
    return text == QLatin1String(key) ? QString(QLatin1String("")) : text;
}

QVariant defaultFor(const Entry &entry)
{
    switch (entry.type) {
    case Type::Bool:
        return entry.flag;
    case Type::Integer:
        return entry.integer;
    case Type::String:
        return localizedOrEmpty(entry.textId);
    case Type::Color:
        return QColor::fromRgbF(entry.rgb[0], entry.rgb[1], entry.rgb[2]);
    }
    return QVariant();
}

// Reads a flag from what a store or a caller holds: a bool, a number, or the words a settings
// file uses. False in *ok for anything else.
bool toFlag(const QVariant &value, bool *ok)
{
    *ok = true;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return value.toDouble() != 0;
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString text = value.toString().trimmed().toLower();
        if (text == QLatin1String("true") || text == QLatin1String("yes") ||
            text == QLatin1String("1"))
            return true;
        if (text == QLatin1String("false") || text == QLatin1String("no") ||
            text == QLatin1String("0"))
            return false;
        break;
    }
    default:
        break;
    }
    *ok = false;
    return false;
}

int toInteger(const QVariant &value, bool *ok)
{
    *ok = false;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        const qlonglong n = value.toLongLong(ok);
        if (*ok)
            return int(std::clamp<qlonglong>(n, INT_MIN, INT_MAX));
        return 0;
    }
    case QMetaType::Double: {
        const double d = value.toDouble();
        if (std::isfinite(d) && d == std::trunc(d)) {
            *ok = true;
            return int(std::clamp(d, double(INT_MIN), double(INT_MAX)));
        }
        return 0;
    }
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const qlonglong n = value.toString().trimmed().toLongLong(ok);
        return *ok ? int(std::clamp<qlonglong>(n, INT_MIN, INT_MAX)) : 0;
    }
    default:
        return 0;
    }
}

bool toText(const QVariant &value, QString *text)
{
    if (value.typeId() == QMetaType::QStringList) {
        // A hand-edited settings file gives an unquoted text with commas as a list.
        *text = value.toStringList().join(QLatin1String(", "));
        return true;
    }
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray) {
        *text = value.toString();
        return true;
    }
    return false;
}

QString storeOrganization()
{
    const QString name = QCoreApplication::organizationName();
    return name.isEmpty() ? QStringLiteral("Tensilo") : name;
}

QString storeApplication()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() || !QCoreApplication::instance() ? QStringLiteral("Tensilo") : name;
}

// Set by useTemporaryStore() before the instance exists, so that tests never open the user's store.
bool gStartWithTemporaryStore = false;

// Bumped only with a new colour layout; the stream version is fixed so the form never drifts.
constexpr quint8 kColorFormat = 1;

} // namespace

Preferences::Preferences()
{
    if (gStartWithTemporaryStore) {
        pTemporaryDir = std::make_unique<QTemporaryDir>();
        pStore = std::make_unique<QSettings>(
            pTemporaryDir->filePath(QStringLiteral("preferences.ini")), QSettings::IniFormat);
    } else {
        pStore = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             storeOrganization(), storeApplication());
    }
    for (QLatin1String key : kTitleKeys)
        pAnnouncedTitles.append(stringForKey(key));
    watchLanguage();
}

Preferences::~Preferences()
{
    if (pStore)
        pStore->sync();
}

Preferences &Preferences::shared()
{
    static Preferences instance;
    if (!instance.bWatchingLanguage)
        instance.watchLanguage();
    return instance;
}

void Preferences::useTemporaryStore(const QByteArray &iniText)
{
    auto dir = std::make_unique<QTemporaryDir>();
    const QString fileName = dir->filePath(QStringLiteral("preferences.ini"));
    if (!iniText.isEmpty()) {
        QFile file(fileName);
        if (file.open(QIODevice::WriteOnly))
            file.write(iniText);
    }
    auto store = std::make_unique<QSettings>(fileName, QSettings::IniFormat);
    gStartWithTemporaryStore = true;
    shared().replaceStore(std::move(store), std::move(dir));
}

QString Preferences::storeFileName() const
{
    return pStore->fileName();
}

void Preferences::replaceStore(std::unique_ptr<QSettings> store, std::unique_ptr<QTemporaryDir> dir)
{
    const QStringList keys = registeredKeys();
    QVariantList before;
    for (const QString &key : keys)
        before.append(valueForKey(key));

    pStore = std::move(store);
    pTemporaryDir = std::move(dir); // the old directory goes after the store that used it

    for (int i = 0; i < keys.size(); ++i) {
        if (valueForKey(keys.at(i)) != before.at(i))
            emit changed(keys.at(i));
    }
    for (int i = 0; i < int(kTitleKeys.size()); ++i)
        pAnnouncedTitles[i] = stringForKey(kTitleKeys[i]);
}

QStringList Preferences::registeredKeys()
{
    QStringList keys;
    for (const Entry &entry : kTable)
        keys.append(entry.key);
    return keys;
}

bool Preferences::isRegistered(const QString &key)
{
    return findEntry(key) != nullptr;
}

std::optional<Preferences::Type> Preferences::typeOfKey(const QString &key)
{
    const Entry *entry = findEntry(key);
    return entry ? std::optional<Type>(entry->type) : std::nullopt;
}

QVariant Preferences::defaultValueForKey(const QString &key)
{
    const Entry *entry = registeredEntry(key);
    return entry ? defaultFor(*entry) : QVariant();
}

QVariant Preferences::storedValue(const QString &key) const
{
    return pStore->value(key);
}

bool Preferences::hasUserValueForKey(const QString &key) const
{
    return pStore->contains(key);
}

QVariant Preferences::valueForKey(const QString &key) const
{
    const Entry *entry = registeredEntry(key);
    if (!entry)
        return QVariant();
    const QVariant stored = storedValue(key);
    if (!stored.isValid())
        return defaultFor(*entry);

    bool ok = false;
    switch (entry->type) {
    case Type::Bool: {
        const bool flag = toFlag(stored, &ok);
        return ok ? QVariant(flag) : defaultFor(*entry);
    }
    case Type::Integer: {
        const int n = toInteger(stored, &ok);
        if (!ok)
            return defaultFor(*entry);
        return std::clamp(n, entry->minimum, entry->maximum);
    }
    case Type::String: {
        QString text;
        return toText(stored, &text) ? QVariant(text) : defaultFor(*entry);
    }
    case Type::Color:
        // A stored value that is not a colour answers no colour, not the default.
        if (stored.typeId() == QMetaType::QByteArray)
            return unarchivedColor(stored.toByteArray());
        return QColor();
    }
    return defaultFor(*entry);
}

bool Preferences::boolForKey(const QString &key) const
{
    bool ok = false;
    const bool flag = toFlag(valueForKey(key), &ok);
    return ok && flag;
}

int Preferences::integerForKey(const QString &key) const
{
    bool ok = false;
    const int n = toInteger(valueForKey(key), &ok);
    return ok ? n : 0;
}

QString Preferences::stringForKey(const QString &key) const
{
    QString text;
    return toText(valueForKey(key), &text) ? text : QString();
}

QColor Preferences::colorForKey(const QString &key) const
{
    const QVariant value = valueForKey(key);
    if (value.typeId() == QMetaType::QColor)
        return value.value<QColor>();
    if (value.typeId() == QMetaType::QByteArray)
        return unarchivedColor(value.toByteArray());
    return QColor();
}

bool Preferences::setValueForKey(const QVariant &value, const QString &key)
{
    const Entry *entry = registeredEntry(key);
    if (!entry)
        return false;
    if (!value.isValid()) {
        removeValueForKey(key);
        return true;
    }

    QVariant toStore;
    bool ok = false;
    switch (entry->type) {
    case Type::Bool:
        toStore = toFlag(value, &ok);
        break;
    case Type::Integer: {
        const int n = toInteger(value, &ok);
        if (ok && (n < entry->minimum || n > entry->maximum))
            ok = false;
        toStore = n;
        break;
    }
    case Type::String: {
        QString text;
        ok = toText(value, &text);
        toStore = text;
        break;
    }
    case Type::Color:
        if (value.typeId() == QMetaType::QColor) {
            const QColor color = value.value<QColor>();
            ok = color.isValid();
            toStore = archivedColor(color);
        } else if (value.typeId() == QMetaType::QByteArray) {
            ok = unarchivedColor(value.toByteArray()).isValid();
            toStore = value;
        }
        break;
    }
    if (!ok) {
        qWarning("Preferences: refused a value of the wrong kind for \"%s\"", qPrintable(key));
        return false;
    }

    const QVariant before = valueForKey(key);
    pStore->setValue(key, toStore);
    if (valueForKey(key) != before) {
        const auto title = std::find(kTitleKeys.begin(), kTitleKeys.end(), key);
        if (title != kTitleKeys.end())
            pAnnouncedTitles[int(title - kTitleKeys.begin())] = stringForKey(key);
        emit changed(key);
    }
    return true;
}

QString Preferences::showKeyForValue(const QString &valueKey)
{
    const ReadingValue *value = ReadingValues::find(valueKey);
    return value && !value->showKey.isEmpty() ? QString(value->showKey) : QString();
}

QVariant Preferences::stateForKey(const QString &key) const
{
    return pStore->value(QStringLiteral("state/") + key);
}

void Preferences::setStateForKey(const QVariant &value, const QString &key)
{
    if (value.isValid())
        pStore->setValue(QStringLiteral("state/") + key, value);
    else
        pStore->remove(QStringLiteral("state/") + key);
}

void Preferences::removeValueForKey(const QString &key)
{
    if (!registeredEntry(key) || !pStore->contains(key))
        return;
    const QVariant before = valueForKey(key);
    pStore->remove(key);
    if (valueForKey(key) != before) {
        const auto title = std::find(kTitleKeys.begin(), kTitleKeys.end(), key);
        if (title != kTitleKeys.end())
            pAnnouncedTitles[int(title - kTitleKeys.begin())] = stringForKey(key);
        emit changed(key);
    }
}

void Preferences::synchronize()
{
    pStore->sync();
}

QByteArray Preferences::archivedColor(const QColor &color)
{
    if (!color.isValid())
        return QByteArray();
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kColorFormat << color;
    return data;
}

QColor Preferences::unarchivedColor(const QByteArray &data)
{
    QDataStream in(data);
    in.setVersion(QDataStream::Qt_6_0);
    quint8 format = 0;
    in >> format;
    if (in.status() != QDataStream::Ok || format != kColorFormat)
        return QColor();
    QColor color;
    in >> color;
    if (in.status() != QDataStream::Ok || !in.atEnd() || !color.isValid())
        return QColor();
    return color;
}

void Preferences::watchLanguage()
{
    if (bWatchingLanguage || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->installEventFilter(this);
    bWatchingLanguage = true;
}

bool Preferences::eventFilter(QObject *watched, QEvent *event)
{
    // Installing a new string table sends one LanguageChange per table; the default titles are
    // compared once, on the next turn of the event loop, when all tables are in place.
    if (event->type() == QEvent::LanguageChange && !bTitleCheckPending) {
        bTitleCheckPending = true;
        QMetaObject::invokeMethod(this, &Preferences::announceChangedTitles, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void Preferences::announceChangedTitles()
{
    bTitleCheckPending = false;
    for (int i = 0; i < int(kTitleKeys.size()); ++i) {
        const QString title = stringForKey(kTitleKeys[i]);
        if (title != pAnnouncedTitles.at(i)) {
            pAnnouncedTitles[i] = title;
            emit changed(kTitleKeys[i]);
        }
    }
}
