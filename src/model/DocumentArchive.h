#pragma once

#include "Filter.h"
#include "InformationItem.h"
#include "Measurement.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <optional>

class KeyedArchiver;
class KeyedUnarchiver;

// The document file: a keyed archive whose root is a dictionary with "measurements" (readings,
// Measurement), "filters" (Filter), "settings" ("selected-filter", "sort-by-date",
// "print-info") and "information" (dictionaries). Every coder that writes or reads a document
// file is set up here, so the allow-list of classes a file may contain is in one place:
// Foundation's collections, strings, numbers, dates, data and NSNull, NSValue (points, sizes,
// rectangles), NSPrintInfo, the predicate classes (PredicateArchive), "Measurement", "Filter"
// and "RelativeDate".
//
// Print settings are kept as the dictionary of NSPrintInfo's "NSAttributes": sizes, points and
// rectangles as QSizeF, QPointF and QRectF, numbers, strings and so on as QVariants, and objects
// of classes the program does not know as ArchivedObject, written back as they were read.
// PrintSettings reads and writes the attributes the program understands.
//
// What is kept only to be written back (print attributes, keys of information items) is bounded
// when read: counting a shared part at every use, together no more values than a fixed
// allowance plus four per byte of the file, the entries the program reads first. An entry that
// does not fit is dropped with a warning in the log; the rest of the document loads, and saving
// takes time and memory in proportion to the file that was read.
class DocumentArchive
{
public:
    // What a document file holds. Optional parts are empty when the file lacks them (or, for
    // settings entries and the information list, holds them with the wrong type).
    struct Contents
    {
        MeasurementList measurements;
        std::optional<QList<FilterPtr>> filters;
        FilterPtr selectedFilter; // an element of filters, by identity
        std::optional<QVariantMap> printInfo;
        std::optional<bool> sortAscending;
        std::optional<InformationList> information;
    };

    // Registers "Measurement" and the document's other classes with the coder.
    static void registerClasses(KeyedArchiver &archiver);
    static void registerClasses(KeyedUnarchiver &unarchiver);

    // The file's bytes; empty, with *error ("error.file_save" with the reason), when the
    // contents cannot be archived.
    static QByteArray archive(const Contents &contents, QString *error = nullptr);
    // The same with the given readings in place of contents.measurements (a document's own
    // list, without copying it).
    static QByteArray archive(const Contents &contents, const ConstMeasurementList &measurements,
                              QString *error = nullptr);

    // Reads a file's bytes. False, with *error, when they are no document file: not a keyed
    // archive or not decodable ("doc.file_unreadable" with the reason), a root that is not a
    // dictionary, readings or filters that are not lists of readings and filters
    // ("doc.file_corrupted"), or no "measurements" ("doc.file_incomplete").
    // With `detail`, *error says in plain words what is wrong with the file and *detail holds the
    // reader's technical reason (empty when there is none); without it *error holds both.
    // releasePages, when given, is called now and then while the data is read (see
    // KeyedUnarchiver::setPageRelease()).
    static bool unarchive(const QByteArray &data, Contents *contents, QString *error = nullptr,
                          QString *detail = nullptr,
                          const std::function<void()> &releasePages = {});
};
