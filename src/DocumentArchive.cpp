#include "DocumentArchive.h"

#include "KeyedArchiver.h"
#include "KeyedUnarchiver.h"
#include "Measurement.h"

namespace {

const QString kMeasurement = QStringLiteral("Measurement");
const QString kNSObject = QStringLiteral("NSObject");

} // namespace

void DocumentArchive::registerClasses(KeyedArchiver &archiver)
{
    archiver.registerClass<MeasurementPtr>({kMeasurement, kNSObject},
                                           [](KeyedArchiver &coder, const MeasurementPtr &reading) {
                                               reading->encodeWithCoder(coder);
                                           });
}

void DocumentArchive::registerClasses(KeyedUnarchiver &unarchiver)
{
    unarchiver.registerClass(kMeasurement, [](KeyedUnarchiver &coder) {
        return QVariant::fromValue(Measurement::initWithCoder(coder));
    });
}
