#pragma once

#include "ArchivedObject.h"
#include "BinaryPlistView.h"
#include "FlatHash.h"
#include "PlistValue.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

// Reads keyed archives in the layout of Foundation's NSKeyedArchiver: a property list (binary
// or XML) with "$archiver" "NSKeyedArchiver", "$version" 100000, "$top" naming the root object
// by UID and "$objects" holding every object once; UID 0 is nil. An object is a dictionary whose
// "$class" names a class record {"$classname", "$classes"}; plain strings, numbers, booleans and
// data stand bare in "$objects".
//
// Files come from anywhere, so:
// - only classes on an allow-list are decoded: the Foundation classes below and those added with
//   registerClass(). Nothing is ever looked up or made from a class name found in the file
//   beyond that list. The class record is checked every time an object is used.
// - every UID is checked against "$objects"; the same UID decodes to the same value (a shared
//   pointer decodes to the very same object), objects that contain themselves are refused, as
//   are nesting deeper than kMaxDepth and archives that make the decoder do more work than their
//   size allows (objects used again and again through shared structure).
// - a structural fault (bad UID, cycle, malformed Foundation object, a date that is not finite
//   or lies outside Date::isInRange(), mismatched dictionary keys and objects) is fatal:
//   hasError() turns true, every later call answers a neutral value, and errorString() explains.
// - an object of a class not on the allow-list is fatal too, except inside a Tolerance scope,
//   where it decodes to an "unusable" marker (isUnusable()) so that the caller can drop or reset
//   just that part (containers holding an unusable element are unusable themselves), and inside
//   a KeepUnknown scope, where it is carried along as an ArchivedObject.
//
// A binary archive is read in place through a BinaryPlistView, without building a tree of
// values first; an XML archive is converted to binary form once.
//
// Foundation classes decode to QVariants: NSString/NSMutableString and bare strings -> QString;
// bare integers -> qlonglong (qulonglong from 2^63); bare reals -> double; bare booleans -> bool;
// NSData/NSMutableData and bare data -> QByteArray; NSDate -> Date; NSArray/NSMutableArray ->
// QVariantList; NSDictionary/NSMutableDictionary with string keys -> QVariantMap; NSNull ->
// QVariant::fromValue(nullptr). nil and absent keys give an invalid QVariant.
class KeyedUnarchiver
{
public:
    static constexpr int kMaxDepth = 256;

    // Decodes the current object (see the accessors below) into a value. Returning an unusable
    // marker marks the object unusable; failWithReason() makes the whole archive fail.
    using DecodeFunction = std::function<QVariant(KeyedUnarchiver &)>;

    KeyedUnarchiver();
    ~KeyedUnarchiver();
    KeyedUnarchiver(const KeyedUnarchiver &) = delete;
    KeyedUnarchiver &operator=(const KeyedUnarchiver &) = delete;

    // Puts a class on the allow-list, decoded by the function.
    void registerClass(const QString &className, DecodeFunction decode);
    // Called now and then while decoding (every few thousand objects), for data whose memory
    // can be given back once read, such as a mapped file (MappedFile::releasePages()).
    void setPageRelease(std::function<void()> release) { m_release = std::move(release); }

    // Reads the archive's envelope from the data (a binary or XML property list). False, with
    // errorString(), when the data is not a keyed archive.
    bool open(const QByteArray &data);
    bool open(const PlistValue &archive);

    // Decodes the top-level object under key (Foundation's archivedDataWithRootObject: writes
    // "root"). Invalid when absent or on error.
    QVariant decodeTopLevelObject(const QString &key = QStringLiteral("root"));

    bool hasError() const { return !m_error.isEmpty(); }
    QString errorString() const { return m_error; }

    // --- Inside a decode function: the keys of the object being decoded ---------------------

    QString className() const;
    bool containsValueForKey(const QString &key);
    // The raw property-list value under the key; a null value when the key is absent.
    PlistValue valueForKey(const QString &key);

    // The object under the key: invalid for an absent key, nil, or a value that is not an
    // object reference. The caller checks its type at every use.
    QVariant decodeObjectForKey(const QString &key);
    // The objects an array of references under the key refers to (Foundation's "NS.objects"
    // form): a QVariantList, an unusable marker when an element is unusable, or an invalid
    // QVariant when the key is absent or does not hold an array of references.
    QVariant decodeArrayOfObjectsForKey(const QString &key);
    // The object under the key as a list of strings, when it is an array holding strings only
    // (*isList true); otherwise an empty list and *isList false. The list is kept in place of
    // the decoded array, so that the caller's copy and the decoder share one list: a later use
    // of the same object as an object decodes it to the array (a QVariantList) as before.
    // Equal lists read this way are one list as well (the tags of readings repeat).
    QStringList decodeStringsForKey(const QString &key, bool *isList);

    // Inline values, read as Foundation does: absent keys give 0 or false. A value of another
    // kind that converts (an integer for a boolean, a real for an integer) is converted; values
    // that do not convert, and integers outside the 32-bit range for decodeIntForKey(), give 0
    // or false as if absent.
    bool decodeBoolForKey(const QString &key);
    qint32 decodeIntForKey(const QString &key);
    qint64 decodeInt64ForKey(const QString &key);
    double decodeDoubleForKey(const QString &key);

    // Keeps the object being decoded as an ArchivedObject, as objects of unknown classes are
    // kept inside KeepUnknown: for a decoder that meets a form of its class it does not
    // understand but must carry along.
    QVariant keepCurrentObject();

    // Makes the whole archive fail with the reason (for structural faults found by a decode
    // function). The first reason is kept.
    void failWithReason(const QString &reason);
    // Fails with the standard "malformed object" explanation for the current object.
    void failMalformed();

    // --- Unusable objects --------------------------------------------------------------------

    static QVariant unusable(const QString &reason);
    static bool isUnusable(const QVariant &value);
    static QString unusableReason(const QVariant &value);

    // While a Tolerance lives, objects of unknown classes decode to unusable markers instead of
    // failing the archive.
    class Tolerance
    {
    public:
        explicit Tolerance(KeyedUnarchiver &unarchiver) : m_unarchiver(unarchiver)
        {
            ++m_unarchiver.m_tolerance;
        }
        ~Tolerance() { --m_unarchiver.m_tolerance; }
        Tolerance(const Tolerance &) = delete;
        Tolerance &operator=(const Tolerance &) = delete;

    private:
        KeyedUnarchiver &m_unarchiver;
    };

    // While a KeepUnknown lives, objects of unknown classes decode to ArchivedObject values
    // that keep them as they are (for carrying another program's settings along), instead of
    // failing or being unusable. Objects of known classes decode as usual.
    class KeepUnknown
    {
    public:
        explicit KeepUnknown(KeyedUnarchiver &unarchiver) : m_unarchiver(unarchiver)
        {
            ++m_unarchiver.m_keepUnknown;
        }
        ~KeepUnknown() { --m_unarchiver.m_keepUnknown; }
        KeepUnknown(const KeepUnknown &) = delete;
        KeepUnknown &operator=(const KeepUnknown &) = delete;

    private:
        KeyedUnarchiver &m_unarchiver;
    };

private:
    using Object = BinaryPlistView::Object;
    enum class State : quint8
    {
        Unvisited,
        Active,
        Done,
        DoneStrings, // done, kept as a QStringList (decodeStringsForKey())
        Unusable
    };
    struct Field
    {
        quint32 key; // key id, see keyId()
        quint64 value;
    };
    struct ClassRecord
    {
        QString name;
        QStringList classes;                    // the "$classes" chain, or just the name
        const DecodeFunction *decode = nullptr; // null: not on the allow-list
        bool keep = true; // false: decoded again at every use (dates, cheaper than kept)
    };
    struct Context
    {
        quint64 uid;
        const ClassRecord *record;
        size_t firstField;
        size_t fieldCount;
    };

    void registerFoundationClasses();
    bool openView();
    bool fail(const QString &message);
    bool failView();
    bool spend(quint64 units);
    bool objectAt(quint64 ref, Object *out);
    QVariant decodeUid(quint64 uid);
    QVariant decodeClassObject(quint64 uid, const Object &object);
    bool classRecord(quint64 uid, size_t firstField, const ClassRecord **record);
    QVariant &keptValue(quint64 uid);
    QVariant markUnusable(quint64 uid, const QString &reason);
    QVariant decodeUnknown(const ClassRecord &record);
    quint32 keyId(quint64 ref, quint64 dictionary);
    quint32 lookupId(const QString &key);
    bool field(const QString &key, Object *value);

    static QVariant decodeArray(KeyedUnarchiver &u);
    static QVariant decodeDictionary(KeyedUnarchiver &u);
    static QVariant decodeString(KeyedUnarchiver &u);
    static QVariant decodeDate(KeyedUnarchiver &u);
    static QVariant decodeData(KeyedUnarchiver &u);

    QHash<QString, DecodeFunction> m_classes;
    BinaryPlistView m_view;
    Object m_objects; // "$objects"
    Object m_top;     // "$top"
    bool m_open = false;
    // Per object of "$objects": its state, and 1 + the place of its value in m_values (0 for
    // none), so that the objects whose value is not kept cost a few bytes each. m_values has
    // room for every object from the start (only the part used takes memory), so it never moves.
    std::vector<State> m_states;
    std::vector<quint32> m_kept;
    std::vector<QVariant> m_values;
    std::unordered_map<quint64, ClassRecord> m_records; // by UID of the class record
    // The key id of each object of the property list, 0 unknown, in pages of kKeyPage objects
    // made when a key lies in them: a file's few keys are no reason for a number per object.
    static constexpr size_t kKeyPage = 1024;
    std::vector<std::unique_ptr<quint32[]>> m_keyIds;
    QHash<QString, quint32> m_keyTexts;
    std::vector<QString> m_idTexts; // text of each key id (index 0 unused)
    // For each key id, the number of the object whose keys last named it (see m_keysChecked).
    std::vector<quint64> m_keySeenBy;
    quint64 m_keysChecked = 0; // objects whose keys were checked so far
    struct Lookup
    {
        QString key; // a copy: the text it points at can neither go away nor change
        quint32 id = 0;
        size_t known = 0; // for id 0: the number of key texts then (m_idTexts.size())
    };
    FlatHash<Lookup> m_lookups;      // lookup keys by address of their text, see lookupId()
    QSet<QStringList> m_stringLists; // see decodeStringsForKey()
    std::vector<Field> m_fields;
    std::vector<Context> m_stack;
    quint64 m_budget = 0;
    std::function<void()> m_release;
    quint32 m_sinceRelease = 0; // objects decoded since m_release was last called
    int m_tolerance = 0;
    int m_keepUnknown = 0;
    QString m_error;
};
