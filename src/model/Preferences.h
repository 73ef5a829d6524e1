#pragma once

#include <QColor>
#include <QLatin1String>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

class QSettings;
class QTemporaryDir;

// The application's settings: one table of keys with registered defaults, and the user's own
// values kept with QSettings in the usual per-user place. Registered defaults are never written to
// the store; they answer every read of a key the user has not set. A key the user set answers the
// user's value until removeValueForKey() brings the default back.
//
// Every change that alters what a key answers is announced once through changed(key), at once, so
// that every open view can follow it. Colours are kept as a binary form of QColor that keeps the
// colour exactly, alpha and colour model included.
class Preferences : public QObject
{
    Q_OBJECT
public:
    // The kind of value a registered key holds.
    enum class Type
    {
        Bool,
        Integer,
        String,
        Color
    };

    // The one instance of the application.
    static Preferences &shared();

    // Replaces the store by a throw-away one (an ini file in a temporary directory that is removed
    // with it), so that tests never touch the user's settings. The store starts with the given
    // ini text (empty: a fresh user). Calling it again starts another store; keys whose value
    // changes with the switch are announced.
    static void useTemporaryStore(const QByteArray &iniText = QByteArray());

    // Where the store keeps its values.
    QString storeFileName() const;

    // The registered keys, in the order of the table. Each has its type and default there; a
    // key outside the table is refused by every call below (with a warning): it reads as invalid
    // (false, 0, no text, no colour) and takes no value.
    static QStringList registeredKeys();
    static bool isRegistered(const QString &key);
    static std::optional<Type> typeOfKey(const QString &key); // none for a key not registered
    // The registered default of a key. The custom title defaults are looked up in the string
    // table of the running language.
    static QVariant defaultValueForKey(const QString &key);
    // The switch that shows an optional value of a reading ("showPulse" for "Pulse", "showWeight",
    // "customShow1".."customShow3" for "customValue1".."customValue3"); empty for any other key.
    static QString showKeyForValue(const QString &valueKey);

    // What the key answers: the user's value when set (and readable as the key's type), else the
    // registered default. Colours come as QColor (invalid when the stored value is not a colour);
    // integers are clamped to the key's range ("rowSize": 0..2).
    QVariant valueForKey(const QString &key) const;
    bool boolForKey(const QString &key) const;
    int integerForKey(const QString &key) const;
    QString stringForKey(const QString &key) const;
    QColor colorForKey(const QString &key) const;

    // True when the user's store holds a value for the key.
    bool hasUserValueForKey(const QString &key) const;

    // Stores the user's value. The value is brought to the key's type (a colour key takes a
    // QColor; an integer must lie in the key's range); a value that cannot be is refused with
    // false and nothing changes. An invalid QVariant is removeValueForKey().
    bool setValueForKey(const QVariant &value, const QString &key);
    // Forgets the user's value: the key answers its registered default again.
    void removeValueForKey(const QString &key);

    // What the application remembers between runs that is not a preference (the recent
    // documents): kept in the same store under "state/", with no default and no announcement.
    QVariant stateForKey(const QString &key) const;
    void setStateForKey(const QVariant &value, const QString &key); // invalid: forget it

    // Writes pending changes to the store.
    void synchronize();

    // Keys of the table (the strings themselves may be used as well).
    static constexpr QLatin1String reopenLastDocument{"reopenLastDocument"};
    static constexpr QLatin1String autosaveDocuments{"autosaveDocuments"};
    static constexpr QLatin1String rowSize{"rowSize"};
    static constexpr QLatin1String showPulse{"showPulse"};
    static constexpr QLatin1String showWeight{"showWeight"};
    static constexpr QLatin1String customShow1{"customShow1"};
    static constexpr QLatin1String customShow2{"customShow2"};
    static constexpr QLatin1String customShow3{"customShow3"};
    static constexpr QLatin1String customTitle1{"customTitle1"};
    static constexpr QLatin1String customTitle2{"customTitle2"};
    static constexpr QLatin1String customTitle3{"customTitle3"};
    static constexpr QLatin1String showDeviationsInAverages{"showDeviationsInAverages"};
    static constexpr QLatin1String chartColorSystolic{"chartColorSystolic"};
    static constexpr QLatin1String chartColorDiastolic{"chartColorDiastolic"};
    static constexpr QLatin1String chartColorPulse{"chartColorPulse"};
    static constexpr QLatin1String chartColorWeight{"chartColorWeight"};
    static constexpr QLatin1String chartColorCustom1{"chartColorCustom1"};
    static constexpr QLatin1String chartColorCustom2{"chartColorCustom2"};
    static constexpr QLatin1String chartColorCustom3{"chartColorCustom3"};
    static constexpr QLatin1String printShowInformation{"printShowInformation"};
    static constexpr QLatin1String printShowAverages{"printShowAverages"};
    static constexpr QLatin1String printShowChart{"printShowChart"};
    static constexpr QLatin1String printShowMeasurements{"printShowMeasurements"};
    // The home-measurement summary: its days, the hours of its morning and evening windows
    // ([from, to), whole hours), its threshold in mmHg, and whether the report prints it.
    static constexpr QLatin1String homeSummaryDays{"homeSummaryDays"};
    static constexpr QLatin1String homeMorningFrom{"homeMorningFrom"};
    static constexpr QLatin1String homeMorningTo{"homeMorningTo"};
    static constexpr QLatin1String homeEveningFrom{"homeEveningFrom"};
    static constexpr QLatin1String homeEveningTo{"homeEveningTo"};
    static constexpr QLatin1String homeThresholdSystolic{"homeThresholdSystolic"};
    static constexpr QLatin1String homeThresholdDiastolic{"homeThresholdDiastolic"};
    static constexpr QLatin1String printHomeSummary{"printHomeSummary"};
    static constexpr QLatin1String showHomeSummary{"showHomeSummary"}; // the averages page
    // A header and footer on every printed page, and the name the header gives.
    static constexpr QLatin1String printPageHeader{"printPageHeader"};
    static constexpr QLatin1String personName{"personName"};
    // The chart's legend and axis unit, and its dashed lines at the home threshold.
    static constexpr QLatin1String chartShowLegend{"chartShowLegend"};
    static constexpr QLatin1String chartShowThreshold{"chartShowThreshold"};
    // The blood-pressure classification shown beside readings: 0 none, 1 ESH/ESC 2023,
    // 2 ACC/AHA 2017.
    static constexpr QLatin1String classificationScheme{"classificationScheme"};

    // The stored form of a colour, and back; an invalid QColor for bytes that are not one.
    static QByteArray archivedColor(const QColor &color);
    static QColor unarchivedColor(const QByteArray &data);

    ~Preferences() override;

signals:
    // The value the key answers has changed.
    void changed(const QString &key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Preferences();
    void replaceStore(std::unique_ptr<QSettings> store, std::unique_ptr<QTemporaryDir> dir);
    QVariant storedValue(const QString &key) const;
    void watchLanguage();
    void announceChangedTitles();

    std::unique_ptr<QTemporaryDir> pTemporaryDir;
    std::unique_ptr<QSettings> pStore;
    QStringList pAnnouncedTitles; // the default titles last seen, to announce language changes
    bool bTitleCheckPending = false;
    bool bWatchingLanguage = false;
};
