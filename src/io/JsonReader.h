#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

// Reads JSON text (RFC 8259, UTF-8) without building a tree unless asked: check() runs over the
// whole text once and finds the first fault, then the pull methods walk the values one by one
// from any position, and readValue() gives a value (with all it holds) as a QVariant tree.
//
// The text is a trust boundary: at most kMaxSize bytes, containers nested at most kMaxDepth
// deep, every string valid UTF-8, no key twice in one object (which value it names would be
// ambiguous), nothing after the value but white space. A fault is reported with the byte offset
// where reading stopped, counted from 0.
//
// As trees, objects are QVariantMap, arrays QVariantList, strings QString (never null), true and
// false bool, null std::nullptr_t, numbers qlonglong when written without fraction or exponent
// and within 64 bits, double otherwise (infinite beyond the range of a double).
class JsonReader
{
public:
    static constexpr qsizetype kMaxSize = qsizetype(1) << 30;
    static constexpr int kMaxDepth = 256;

    enum class Type
    {
        Invalid, // no value starts here
        Null,
        Bool,
        Number,
        String,
        Array,
        Object
    };

    // A member's key as it stands in the text, between its quotes.
    struct Key
    {
        QByteArrayView raw;
        bool bPlain = false; // ASCII without escapes: raw is the key itself
    };

    explicit JsonReader(QByteArrayView text) : pText(text) {}

    // Whether the whole text is one well-formed value within the bounds; on a fault, a message
    // naming its offset. Leaves the position at the start.
    bool check(QString *error);
    // The whole text as a tree; std::nullopt with the message on a fault.
    std::optional<QVariant> parse(QString *error);

    // --- Pulling values, on text check() has passed ---------------------------------------------

    qsizetype position() const { return pPos; }
    void setPosition(qsizetype position) { pPos = position; }

    // The kind of the value at the position (white space skipped).
    Type peek();
    // Steps into the object or array at the position; false when there is none.
    bool enterObject();
    bool enterArray();
    // The next member of the object entered last, leaving the position at its value; false at
    // the object's end, which it steps over.
    bool nextMember(Key *key);
    // Whether the array entered last has another element (the position then at it); false at
    // the array's end, which it steps over.
    bool nextElement();
    // The value at the position, stepping over it.
    bool readValue(QVariant *value);
    bool skipValue();
    bool readString(QString *value);
    // A number as the tree has it (qlonglong or double).
    bool readNumber(QVariant *value);

    // A key as a string.
    QString keyText(const Key &key);

private:
    struct Member
    {
        Key key;
        QString text; // the decoded key, filled when compared with a key that is not plain
        bool bDecoded = false;
    };

    QString syntaxError() const;
    bool atEnd() const { return pPos >= pText.size(); }
    char peekChar() const { return atEnd() ? '\0' : pText[pPos]; }
    void skipSpace();
    // Steps to the next item of the object or array entered last (past its comma); false at its
    // end, `close`, which it steps over.
    bool nextItem(char close);
    bool literal(QByteArrayView word);
    bool value(QVariant *out, int depth);
    bool object(QVariant *out, int depth);
    bool array(QVariant *out, int depth);
    bool string(QString *out, Key *key = nullptr);
    bool number(QVariant *out);
    bool hex4(char16_t *unit);
    bool appendRun(QString *out, qsizetype from, bool ascii);
    bool sameKey(Member &a, Member &b);
    const QString &memberText(Member &member);

    QByteArrayView pText;
    qsizetype pPos = 0;
    // The keys of the objects being read, innermost last, for finding one given twice.
    std::vector<Member> pMembers;
    // Per container entered with enterObject() or enterArray(): whether it has had a member.
    std::vector<bool> pStarted;
};
