#pragma once

#include "ImportResult.h"

#include <QByteArray>
#include <QString>

class MyDocument;

// Readings as HL7 FHIR R4 vital signs, in a JSON Bundle of type "collection".
//
// Each reading gives an Observation (status "final", category "vital-signs") of its blood
// pressure (LOINC 85354-9 with the components 8480-6 systolic and 8462-4 diastolic, in mm[Hg]),
// and, at the same effectiveDateTime, one of its pulse (8867-4, /min) and one of its weight
// (29463-7, kg). The time carries the local offset from UTC; the comment is the pressure's
// note[0].text and the tags its meta.tag codings of the system kTagSystem. Custom values have no
// standard code and are not written.
//
// Reading takes a Bundle of this program or another: Observations with those codes (and the
// older panel 55284-4), pressures in mm[Hg] or kPa, weights in kg, g or [lb_av]; a pulse or
// weight joins the pressure within two minutes. Everything else is left out and counted by kind.
// The JSON is bounded: kMaxFileSize bytes, kMaxDepth levels of nesting, finite numbers.
namespace FhirBundle {

inline constexpr char kTagSystem[] = "urn:tensilo:tag";
inline constexpr qint64 kMaxFileSize = qint64(64) << 20;
inline constexpr int kMaxDepth = 32;

struct ExportOptions
{
    bool bAll = false;   // every reading; otherwise the selected filter's
    QString patientName; // a Patient resource with this name, referred to by every Observation
};
struct ExportResult
{
    QByteArray json;
    qsizetype readingCount = 0;
    qsizetype customValueCount = 0; // readings whose custom values were left out
};

ExportResult exportDocument(const MyDocument &document, const ExportOptions &options = {});
bool writeDocument(const MyDocument &document, const QString &path, const ExportOptions &options,
                   ExportResult *result, QString *error);

// Problems name the Bundle's entries, from 1.
ImportResult read(const QByteArray &json, const MyDocument *document = nullptr);
ImportResult readFile(const QString &path, const MyDocument *document = nullptr);

} // namespace FhirBundle
