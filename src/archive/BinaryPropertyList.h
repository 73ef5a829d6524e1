#pragma once

#include "PlistValue.h"

#include <QByteArray>
#include <QString>

// The binary property list format ("bplist00"): a header, the objects, a table of their offsets
// and a 32-byte trailer giving the sizes of offsets and object references, the number of
// objects, the top object and where the offset table starts.
//
// Reading treats the data as untrusted: every offset, count and object reference is checked
// against the size of the data before it is used, object references and offsets must be 1 to 8
// bytes wide, a count is refused before anything is allocated for it when the data is too short
// to hold it, containers may not contain themselves, and nesting is bounded by kMaxDepth. Each
// object is decoded once, however many times it is referred to, and the decoded value is shared.
// Decoding uses an explicit stack, never recursion. Only objects reachable from the top object
// are looked at.
//
// Writing stores each distinct string, data, number, date and UID once (found through hash
// tables) and each shared array or dictionary node once; time and memory are linear in the size
// of the value.
class BinaryPropertyList
{
public:
    static constexpr int kMaxDepth = 512;

    // True when the data starts with the binary property list header.
    static bool isBinary(const QByteArray &data);

    // Decodes the data into *result. On failure returns false, leaves *result null and puts a
    // localised explanation in *error (when given).
    static bool read(const QByteArray &data, PlistValue *result, QString *error = nullptr);

    // Encodes the value. Every value can be encoded.
    static QByteArray write(const PlistValue &root);
};
