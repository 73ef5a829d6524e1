#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

// JSON that keeps the kind of a number, as documents do: a number written without fraction or
// exponent reads as qlonglong, any other as double, and a double is always written with a
// fraction ("70.0"). Values are QVariants: QVariantMap objects, QVariantList arrays, QString,
// bool, qlonglong, double, and null as QVariant::fromValue(nullptr).
class JsonCodec
{
public:
    static constexpr int kMaxDepth = 256;

    // Parses a whole JSON text. False, with a message naming the position, on a syntax error,
    // nesting deeper than kMaxDepth, or an integer that does not fit in 64 bits.
    static bool parse(const QByteArray &text, QVariant *result, QString *error = nullptr);

    // Builds JSON text in the order of the calls, objects' keys included.
    class Writer
    {
    public:
        void beginObject();
        void endObject();
        void beginArray();
        void endArray();
        void key(const QString &name);
        void value(const QVariant &value); // the kinds above; an invalid QVariant is null
        void null();
        void string(const QString &text);
        void integer(qint64 number);
        void real(double number); // non-finite numbers are written as null
        void boolean(bool b);

        QByteArray text() const { return m_out + '\n'; }

    private:
        void separate();

        QByteArray m_out;
        bool m_first = true;
        bool m_afterKey = false;
        int m_indent = 0;
    };
};
