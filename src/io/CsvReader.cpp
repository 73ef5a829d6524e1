#include "CsvReader.h"

#include <QStringDecoder>

#include <array>

QString CsvReader::decode(const QByteArray &bytes, Encoding encoding, Encoding *used)
{
    QByteArrayView view(bytes);
    Encoding taken = encoding;
    QString text;
    if (view.startsWith("\xEF\xBB\xBF")) {
        view = view.sliced(3);
        if (encoding == Encoding::Automatic)
            taken = Encoding::Utf8;
    } else if (encoding == Encoding::Automatic &&
               (view.startsWith("\xFF\xFE") || view.startsWith("\xFE\xFF"))) {
        QStringDecoder decoder(view.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                           : QStringConverter::Utf16BE);
        text = decoder(view.sliced(2));
        if (used)
            *used = Encoding::Utf8;
        return text;
    }
    if (taken == Encoding::Latin1) {
        text = QString::fromLatin1(view);
    } else {
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        text = decoder(view);
        if (decoder.hasError() && taken == Encoding::Automatic) {
            text = QString::fromLatin1(view);
            taken = Encoding::Latin1;
        } else {
            taken = Encoding::Utf8;
        }
    }
    if (used)
        *used = taken;
    return text;
}

QChar CsvReader::detectSeparator(QStringView text)
{
    constexpr std::array<char16_t, 3> candidates{u'\t', u';', u','};
    constexpr int kLines = 50;
    // Counts of each candidate outside quotes, per line.
    std::vector<std::array<int, 3>> counts;
    std::array<int, 3> current{};
    bool quoted = false;
    bool anything = false;
    for (qsizetype i = 0; i < text.size() && int(counts.size()) < kLines; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && (c == u'\n' || c == u'\r')) {
            if (anything)
                counts.push_back(current);
            current = {};
            anything = false;
            continue;
        } else if (!quoted) {
            for (size_t k = 0; k < candidates.size(); ++k) {
                if (c == candidates[k])
                    ++current[k];
            }
        }
        anything = true;
    }
    if (anything && int(counts.size()) < kLines)
        counts.push_back(current);
    if (counts.empty())
        return u',';

    int best = -1;
    int bestScore = 0;
    for (size_t k = 0; k < candidates.size(); ++k) {
        const int first = counts.front()[k];
        if (first == 0)
            continue;
        int score = 0;
        for (const auto &line : counts)
            score += line[k] == first ? 1 : 0;
        if (score > bestScore || (score == bestScore && first > counts.front()[size_t(best)])) {
            best = int(k);
            bestScore = score;
        }
    }
    return best < 0 ? QChar(u',') : QChar(candidates[size_t(best)]);
}

CsvReader::CsvReader(QStringView text, QChar separator)
    : pText(text), pPos(text.data()), pEnd(text.data() + text.size()),
      cSeparator(separator.unicode())
{}

QStringList CsvReader::fieldList() const
{
    QStringList list;
    list.reserve(qsizetype(pFields.size()));
    for (QStringView field : pFields)
        list.append(field.toString());
    return list;
}

void CsvReader::addField(QStringView field)
{
    if (nError != RecordError::None)
        return;
    if (pFields.size() >= size_t(kMaxColumns)) {
        nError = RecordError::TooManyColumns;
        pFields.clear();
        return;
    }
    pFields.push_back(field);
}

bool CsvReader::readRecord()
{
    pFields.clear();
    nUnquotedUsed = 0;
    nError = RecordError::None;

    // Skip empty lines.
    while (pPos < pEnd && (pPos->unicode() == u'\n' || pPos->unicode() == u'\r')) {
        if (pPos->unicode() == u'\n' || pPos + 1 == pEnd || pPos[1].unicode() != u'\n')
            ++nNextLine;
        ++pPos;
    }
    if (pPos >= pEnd)
        return false;
    nLine = nNextLine;
    const QChar *start = pPos;
    const char16_t separator = cSeparator;

    for (;;) {
        // One field.
        const QChar *p = pPos;
        if (p < pEnd && p->unicode() == u'"') {
            ++p;
            const QChar *contentStart = p;
            bool doubled = false;
            bool closed = false;
            for (; p < pEnd; ++p) {
                const char16_t c = p->unicode();
                if (c == u'"') {
                    if (p + 1 < pEnd && p[1].unicode() == u'"') {
                        doubled = true;
                        ++p;
                        continue;
                    }
                    closed = true;
                    break;
                }
                if (c == u'\n' || (c == u'\r' && (p + 1 == pEnd || p[1].unicode() != u'\n')))
                    ++nNextLine;
                else if (c == 0)
                    nError = nError == RecordError::None ? RecordError::NulCharacter : nError;
            }
            const QChar *contentEnd = p;
            if (!closed) {
                if (nError == RecordError::None)
                    nError = RecordError::UnclosedQuote;
                pPos = pEnd;
                pFields.clear();
                return true;
            }
            ++p; // past the closing quote
            // Text between the closing quote and the separator belongs to the field.
            const QChar *tailStart = p;
            while (p < pEnd && p->unicode() != separator && p->unicode() != u'\n' &&
                   p->unicode() != u'\r') {
                if (p->unicode() == 0 && nError == RecordError::None)
                    nError = RecordError::NulCharacter;
                ++p;
            }
            if (nError == RecordError::None) {
                if (!doubled && tailStart == p) {
                    addField(QStringView(contentStart, contentEnd));
                } else {
                    if (nUnquotedUsed == pUnquoted.size())
                        pUnquoted.emplace_back();
                    QString &text = pUnquoted[nUnquotedUsed++];
                    text.clear();
                    for (const QChar *q = contentStart; q < contentEnd; ++q) {
                        text.append(*q);
                        if (q->unicode() == u'"')
                            ++q;
                    }
                    text.append(QStringView(tailStart, p));
                    addField(text);
                }
            }
        } else {
            while (p < pEnd) {
                const char16_t c = p->unicode();
                if (c == separator || c == u'\n' || c == u'\r')
                    break;
                if (c == 0 && nError == RecordError::None)
                    nError = RecordError::NulCharacter;
                ++p;
            }
            addField(QStringView(pPos, p));
        }
        if (p - start > kMaxRecordLength && nError == RecordError::None) {
            nError = RecordError::TooLong;
            pFields.clear();
        }
        if (p < pEnd && p->unicode() == separator) {
            pPos = p + 1;
            if (pPos == pEnd) {
                addField(QStringView());
                break;
            }
            continue;
        }
        // End of the record.
        if (p < pEnd) {
            if (p->unicode() == u'\r' && p + 1 < pEnd && p[1].unicode() == u'\n')
                ++p;
            ++p;
            ++nNextLine;
        }
        pPos = p;
        break;
    }
    if (nError != RecordError::None)
        pFields.clear();
    return true;
}
