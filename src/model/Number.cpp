#include "Number.h"

bool Number::isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Bool:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

bool Number::isReal(const QVariant &value)
{
    return value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
}

double Number::toDouble(const QVariant &value)
{
    if (value.typeId() == QMetaType::Double)
        return *static_cast<const double *>(value.constData());
    if (value.typeId() == QMetaType::LongLong)
        return double(*static_cast<const qlonglong *>(value.constData()));
    return isNumber(value) ? value.toDouble() : 0.0;
}

QVariant Number::normalized(const QVariant &value)
{
    if (!isNumber(value))
        return QVariant();
    if (isReal(value))
        return QVariant(value.toDouble());
    if (value.typeId() == QMetaType::ULongLong || value.typeId() == QMetaType::ULong) {
        const qulonglong u = value.toULongLong();
        if (u > qulonglong(std::numeric_limits<qlonglong>::max()))
            return QVariant(double(u));
    }
    return QVariant(value.toLongLong());
}
