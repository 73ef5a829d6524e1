#pragma once

#include "Date.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>

class QIODevice;
class MonitorTransport;

// The text form of a session with a monitor, one value a line, for replaying sessions without
// the monitor and for looking at what a monitor sent:
//
//   # a comment; blank lines are ignored
//   2026-12-07T08:15:02 < 2a35 16 7c 00 56 00 61 00 ...
//   > 2a52 0101
//
// A line is "[TIME ]DIR UUID HEX": TIME a local date and time (optional), DIR "<" for a value
// received or ">" for one sent, UUID the characteristic's 16-bit identifier in four hex digits,
// HEX the bytes (spaces between bytes allowed). UTF-8 text. A bad line is listed with its number
// and the reason, and the other lines are still read.
class SessionLog
{
public:
    enum class Direction : quint8
    {
        Received,
        Sent
    };
    struct Entry
    {
        qint64 line = 0;
        Direction direction = Direction::Received;
        quint16 characteristic = 0;
        QByteArray value;
        Date time; // null when the line gives none
    };
    // An entry as scan() hands it on: the value lives until the call returns.
    struct EntryView
    {
        qint64 line = 0;
        Direction direction = Direction::Received;
        quint16 characteristic = 0;
        QByteArrayView value;
        Date time;
    };
    struct Problem
    {
        qint64 line = 0;
        QString reason;
    };
    struct Result
    {
        QString error; // why nothing at all can be read (unreadable, too large); empty else
        QList<Entry> entries;
        QList<Problem> problems; // the first kMaxProblems
        qint64 problemCount = 0;
    };

    static constexpr qint64 kMaxFileSize = qint64(128) << 20;
    static constexpr qsizetype kMaxValueSize = 512; // the longest attribute value there is
    static constexpr qsizetype kMaxProblems = 1000;

    // Goes through the text line by line: onEntry for every good line, onProblem for every bad
    // one, in order. False, with the reason in `error`, when the text is too large to read.
    static bool scan(QByteArrayView text, const std::function<void(const EntryView &)> &onEntry,
                     const std::function<void(qint64 line, const QString &reason)> &onProblem,
                     QString *error = nullptr);
    // The entries and problems of a whole text or file.
    static Result parse(const QByteArray &text);
    static Result readFile(const QString &path);
    // The bytes of a log file, bounded by kMaxFileSize; false with the reason when unreadable.
    static bool load(const QString &path, QByteArray *bytes, QString *error);

    // One line, without its line break.
    static QByteArray formatEntry(const Entry &entry);

    // Writes a live session as it happens: every value the transport receives and every value
    // written to it, each with the computer's time.
    class Writer
    {
    public:
        explicit Writer(QIODevice *device) : pDevice(device) {}
        void comment(const QString &text);
        void write(const Entry &entry);
        // Records the transport's traffic until the transport or the device goes away.
        void record(MonitorTransport *transport);

    private:
        QIODevice *pDevice;
    };
};
