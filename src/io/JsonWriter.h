#pragma once

#include <QByteArray>
#include <QLatin1String>
#include <QString>
#include <QVariant>

class QIODevice;

// Writes indented JSON as a stream of values, straight into its buffer, so that objects keep the
// order their members are written in and no tree of values is built first. Two spaces per level,
// one member or element per line, "key": value; an empty object or array stays on its line ({}).
// Strings are UTF-8 with the usual short escapes; other control characters and unpaired
// surrogates are written as \u escapes, so that every QString comes back unchanged.
//
// With a device, the text goes to the device in pieces as it grows (finish() writes the rest);
// without one, takeText() gives it whole.
class JsonWriter
{
public:
    explicit JsonWriter(QIODevice *device = nullptr);

    // The text written, ending with a newline; the writer is done then.
    QByteArray takeText()
    {
        pOut += '\n';
        return std::move(pOut);
    }
    // Writes the rest, and the final newline, to the device; false when the device refused any
    // of the text.
    bool finish();

    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }

    // The key of the next value in an object.
    void key(QLatin1String name);
    void key(const QString &name);

    void null() { raw("null"); }
    void boolean(bool value) { raw(value ? "true" : "false"); }
    void string(const QString &value);
    void string(QLatin1String value);
    // A null string as null.
    void nullableString(const QString &value);
    // A number keeping its kind (see formatNumber()).
    void number(const QVariant &value);
    // A real, always with a fraction; null when not finite.
    void real(double value);
    void integer(qint64 value);

    // A number as written: whole numbers (qlonglong and the other integer types) bare, reals
    // (double, float) with at least one fraction digit, in the shortest form that reads back to
    // the same double; "null" for anything else (absent, not finite).
    static QByteArray formatNumber(const QVariant &number);

private:
    void raw(const char *text);
    void open(char bracket);
    void close(char bracket);
    void prepareValue();
    void separate();
    void newline();
    void appendString(QStringView value);
    void appendReal(double value);
    void appendInteger(qint64 value);
    void spill();

    QByteArray pOut;
    QIODevice *pDevice = nullptr;
    bool bDeviceFailed = false;
    // Per open level, how many members or elements it has so far.
    QList<qsizetype> pCounts;
    bool bKeyPending = false;
};
