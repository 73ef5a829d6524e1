#pragma once

#include "ImportResult.h"

#include <QString>

class MyDocument;
class QIODevice;

// Readings from the export.xml of Apple's Health app ("Export All Health Data"): each
// HKCorrelationTypeIdentifierBloodPressure correlation with its systolic and diastolic records
// is a reading at the correlation's startDate; heart-rate (count/min) and body-mass (kg, lb, g, st)
// records join the reading within two minutes. Pressure records outside a correlation repeat the
// correlations' and are passed over; every other record is counted by its type.
//
// The export is read as a stream: memory grows with the readings and the heart-rate and
// body-mass samples (12 bytes each), not with the file. The file's own DTD is read over; a DTD
// that declares entities is refused, and no entity is ever expanded.
namespace AppleHealthImport {

ImportResult read(QIODevice *device, const MyDocument *document = nullptr,
                  const ImportProgress &progress = {});
ImportResult readFile(const QString &path, const MyDocument *document = nullptr,
                      const ImportProgress &progress = {});

} // namespace AppleHealthImport
