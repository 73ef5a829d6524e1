#include "PredicateArchive.h"

#include "ComparisonPredicate.h"
#include "CompoundPredicate.h"
#include "ConstantPredicate.h"
#include "Expression.h"
#include "KeyedArchiver.h"
#include "KeyedUnarchiver.h"
#include "RelativeDate.h"

#include <algorithm>

namespace {

// Decoded parts that are not predicates themselves.
struct OperatorFields
{
    qint32 type = 0;
    qint32 modifier = 0;
    qint32 options = 0;
};
struct SelfExpression
{};
struct KeyPathSpecifier
{
    QString keyPath;
};

const QString kNSObject = QStringLiteral("NSObject");
const QString kLeft = QStringLiteral("NSLeftExpression");
const QString kRight = QStringLiteral("NSRightExpression");
const QString kOperator = QStringLiteral("NSPredicateOperator");
const QString kOperatorType = QStringLiteral("NSOperatorType");
const QString kModifier = QStringLiteral("NSModifier");
const QString kVariant = QStringLiteral("NSVariant");
const QString kOptions = QStringLiteral("NSOptions");
const QString kNegate = QStringLiteral("NSNegate");
const QString kFlags = QStringLiteral("NSFlags");
const QString kPosition = QStringLiteral("NSPosition");
const QString kCompoundType = QStringLiteral("NSCompoundPredicateType");
const QString kSubpredicates = QStringLiteral("NSSubpredicates");
const QString kExpressionType = QStringLiteral("NSExpressionType");
const QString kConstantValue = QStringLiteral("NSConstantValue");
const QString kConstantValueClassName = QStringLiteral("NSConstantValueClassName");
const QString kOperand = QStringLiteral("NSOperand");
const QString kSelectorName = QStringLiteral("NSSelectorName");
const QString kArguments = QStringLiteral("NSArguments");
const QString kKeyPath = QStringLiteral("NSKeyPath");
const QString kCollection = QStringLiteral("NSCollection");
const QString kValueForKey = QStringLiteral("valueForKey:");
const QString kValueForKeyPath = QStringLiteral("valueForKeyPath:");

const QStringList kComparisonChain = {QStringLiteral("NSComparisonPredicate"),
                                      QStringLiteral("NSPredicate"), kNSObject};
const QStringList kCompoundChain = {QStringLiteral("NSCompoundPredicate"),
                                    QStringLiteral("NSPredicate"), kNSObject};
const QStringList kTrueChain = {QStringLiteral("NSTruePredicate"), QStringLiteral("NSPredicate"),
                                kNSObject};
const QStringList kFalseChain = {QStringLiteral("NSFalsePredicate"), QStringLiteral("NSPredicate"),
                                 kNSObject};
const QStringList kConstantChain = {QStringLiteral("NSConstantValueExpression"),
                                    QStringLiteral("NSExpression"), kNSObject};
const QStringList kKeyPathChain = {QStringLiteral("NSKeyPathExpression"),
                                   QStringLiteral("NSFunctionExpression"),
                                   QStringLiteral("NSExpression"), kNSObject};
const QStringList kSelfChain = {QStringLiteral("NSSelfExpression"), QStringLiteral("NSExpression"),
                                kNSObject};
const QStringList kSpecifierChain = {QStringLiteral("NSKeyPathSpecifierExpression"),
                                     QStringLiteral("NSExpression"), kNSObject};
const QStringList kComparisonOperatorChain = {QStringLiteral("NSComparisonPredicateOperator"),
                                              QStringLiteral("NSPredicateOperator"), kNSObject};
const QStringList kEqualityOperatorChain = {QStringLiteral("NSEqualityPredicateOperator"),
                                            QStringLiteral("NSPredicateOperator"), kNSObject};
const QStringList kMatchingOperatorChain = {QStringLiteral("NSMatchingPredicateOperator"),
                                            QStringLiteral("NSStringPredicateOperator"),
                                            QStringLiteral("NSPredicateOperator"), kNSObject};
const QStringList kLikeOperatorChain = {QStringLiteral("NSLikePredicateOperator"),
                                        QStringLiteral("NSStringPredicateOperator"),
                                        QStringLiteral("NSPredicateOperator"), kNSObject};
const QStringList kSubstringOperatorChain = {QStringLiteral("NSSubstringPredicateOperator"),
                                             QStringLiteral("NSStringPredicateOperator"),
                                             QStringLiteral("NSPredicateOperator"), kNSObject};
const QStringList kInOperatorChain = {QStringLiteral("NSInPredicateOperator"),
                                      QStringLiteral("NSStringPredicateOperator"),
                                      QStringLiteral("NSPredicateOperator"), kNSObject};
const QStringList kBetweenOperatorChain = {QStringLiteral("NSBetweenPredicateOperator"),
                                           QStringLiteral("NSPredicateOperator"), kNSObject};

using Op = ComparisonPredicate;

QVariant unusable()
{
    return KeyedUnarchiver::unusable(qtTrId("archive.error.unusable_predicate"));
}

// --- Writing -------------------------------------------------------------------------------------

KeyedArchiver::Reference encodeOperator(KeyedArchiver &archiver, qint32 type, qint32 modifier,
                                        qint32 options)
{
    const QStringList *chain = &kBetweenOperatorChain;
    switch (type) {
    case Op::LessThanPredicateOperatorType:
    case Op::LessThanOrEqualToPredicateOperatorType:
    case Op::GreaterThanPredicateOperatorType:
    case Op::GreaterThanOrEqualToPredicateOperatorType:
        chain = &kComparisonOperatorChain;
        break;
    case Op::EqualToPredicateOperatorType:
    case Op::NotEqualToPredicateOperatorType:
        chain = &kEqualityOperatorChain;
        break;
    case Op::MatchesPredicateOperatorType:
        chain = &kMatchingOperatorChain;
        break;
    case Op::LikePredicateOperatorType:
        chain = &kLikeOperatorChain;
        break;
    case Op::BeginsWithPredicateOperatorType:
    case Op::EndsWithPredicateOperatorType:
        chain = &kSubstringOperatorChain;
        break;
    case Op::InPredicateOperatorType:
    case Op::ContainsPredicateOperatorType:
        chain = &kInOperatorChain;
        break;
    default:
        break;
    }
    return archiver.encodeNewObject(*chain, [type, modifier, options](KeyedArchiver &a) {
        a.encodeInt(type, kOperatorType);
        a.encodeInt(modifier, kModifier);
        switch (type) {
        case Op::LessThanPredicateOperatorType:
        case Op::LessThanOrEqualToPredicateOperatorType:
        case Op::GreaterThanPredicateOperatorType:
        case Op::GreaterThanOrEqualToPredicateOperatorType:
            a.encodeInt(type, kVariant);
            a.encodeInt(options, kOptions);
            break;
        case Op::EqualToPredicateOperatorType:
        case Op::NotEqualToPredicateOperatorType:
            a.encodeBool(type == Op::NotEqualToPredicateOperatorType, kNegate);
            a.encodeInt(options, kOptions);
            break;
        case Op::BeginsWithPredicateOperatorType:
        case Op::EndsWithPredicateOperatorType:
            a.encodeInt(options, kFlags);
            a.encodeInt(type == Op::BeginsWithPredicateOperatorType ? 0 : 1, kPosition);
            break;
        case Op::MatchesPredicateOperatorType:
        case Op::LikePredicateOperatorType:
        case Op::InPredicateOperatorType:
        case Op::ContainsPredicateOperatorType:
            a.encodeInt(options, kFlags);
            break;
        default:
            break;
        }
    });
}

KeyedArchiver::Reference encodeSelf(KeyedArchiver &archiver)
{
    return archiver.encodeNewObject(kSelfChain,
                                    [](KeyedArchiver &s) { s.encodeInt(1, kExpressionType); });
}

KeyedArchiver::Reference encodeSpecifier(KeyedArchiver &archiver, const QString &keyPath)
{
    return archiver.encodeNewObject(kSpecifierChain, [&keyPath](KeyedArchiver &s) {
        s.encodeInt(10, kExpressionType);
        s.encodeObject(keyPath, kKeyPath);
    });
}

QVariant encodePredicate(KeyedArchiver &archiver, const PredicatePtr &predicate)
{
    switch (predicate->kind()) {
    case Predicate::Kind::Comparison: {
        const ComparisonPredicate &c = *predicate->asComparison();
        return QVariant::fromValue(
            archiver.encodeNewObject(kComparisonChain, [&c](KeyedArchiver &a) {
                a.encodeObject(QVariant::fromValue(c.leftExpression()), kLeft);
                a.encodeObject(QVariant::fromValue(c.rightExpression()), kRight);
                a.encodeObject(QVariant::fromValue(encodeOperator(a, c.predicateOperatorType(),
                                                                  c.comparisonPredicateModifier(),
                                                                  c.options())),
                               kOperator);
            }));
    }
    case Predicate::Kind::Compound: {
        const CompoundPredicate &c = *predicate->asCompound();
        return QVariant::fromValue(archiver.encodeNewObject(kCompoundChain, [&c](KeyedArchiver &a) {
            a.encodeInt(c.compoundPredicateType(), kCompoundType);
            QVariantList subpredicates;
            for (const PredicatePtr &p : c.subpredicates())
                subpredicates.append(QVariant::fromValue(p));
            a.encodeObject(subpredicates, kSubpredicates);
        }));
    }
    case Predicate::Kind::True:
        return QVariant::fromValue(archiver.encodeNewObject(kTrueChain, [](KeyedArchiver &) {}));
    case Predicate::Kind::False:
        return QVariant::fromValue(archiver.encodeNewObject(kFalseChain, [](KeyedArchiver &) {}));
    }
    return QVariant();
}

QVariant encodeExpression(KeyedArchiver &archiver, const Expression &e)
{
    if (e.expressionType() == Expression::KeyPathExpressionType) {
        const QString keyPath = e.keyPath();
        return QVariant::fromValue(archiver.encodeNewObject(kKeyPathChain, [&keyPath](
                                                                               KeyedArchiver &a) {
            a.encodeInt(Expression::KeyPathExpressionType, kExpressionType);
            a.encodeObject(QVariant::fromValue(encodeSelf(a)), kOperand);
            a.encodeObject(keyPath.contains(u'.') ? kValueForKeyPath : kValueForKey, kSelectorName);
            a.encodeObject(QVariantList{QVariant::fromValue(encodeSpecifier(a, keyPath))},
                           kArguments);
        }));
    }
    if (e.constantKind() == Expression::ConstantKind::Unsupported) {
        archiver.failWithReason(qtTrId("archive.error.unusable_predicate"));
        return QVariant();
    }
    const QVariant value = e.constantValue();
    return QVariant::fromValue(archiver.encodeNewObject(kConstantChain, [&value](KeyedArchiver &a) {
        a.encodeInt(Expression::ConstantValueExpressionType, kExpressionType);
        a.encodeObject(value, kConstantValue);
    }));
}

// --- Reading -------------------------------------------------------------------------------------

template <class T> bool holds(const QVariant &v)
{
    return v.metaType() == QMetaType::fromType<T>();
}

// "NSExpressionType", when present, must be the expected code.
bool expressionTypeIs(KeyedUnarchiver &u, qint32 expected)
{
    return !u.containsValueForKey(kExpressionType) ||
           (u.valueForKey(kExpressionType).isInteger() &&
            u.decodeInt64ForKey(kExpressionType) == expected);
}

QVariant decodeConstant(KeyedUnarchiver &u)
{
    if (!expressionTypeIs(u, Expression::ConstantValueExpressionType) ||
        u.containsValueForKey(kConstantValueClassName))
        return unusable();
    const QVariant value = u.decodeObjectForKey(kConstantValue);
    if (KeyedUnarchiver::isUnusable(value))
        return value;
    const Expression e = Expression::expressionForConstantValue(value);
    if (e.constantKind() == Expression::ConstantKind::Unsupported)
        return unusable();
    return QVariant::fromValue(e);
}

QVariant decodeAggregate(KeyedUnarchiver &u)
{
    if (!expressionTypeIs(u, 14))
        return unusable();
    const QVariant collection = u.decodeObjectForKey(kCollection);
    if (KeyedUnarchiver::isUnusable(collection))
        return collection;
    if (collection.typeId() != QMetaType::QVariantList)
        return unusable();
    QVariantList values;
    for (const QVariant &item : collection.toList()) {
        if (!holds<Expression>(item))
            return unusable();
        const Expression element = item.value<Expression>();
        if (element.expressionType() != Expression::ConstantValueExpressionType)
            return unusable();
        values.append(element.constantValue());
    }
    const Expression e = Expression::expressionForConstantValue(values);
    if (e.constantKind() != Expression::ConstantKind::List &&
        e.constantKind() != Expression::ConstantKind::StringList)
        return unusable();
    return QVariant::fromValue(e);
}

QVariant decodeKeyPath(KeyedUnarchiver &u)
{
    if (!expressionTypeIs(u, Expression::KeyPathExpressionType))
        return unusable();
    const QVariant operand = u.decodeObjectForKey(kOperand);
    const QVariant selector = u.decodeObjectForKey(kSelectorName);
    const QVariant arguments = u.decodeObjectForKey(kArguments);
    for (const QVariant *v : {&operand, &selector, &arguments}) {
        if (KeyedUnarchiver::isUnusable(*v))
            return *v;
    }
    if (!holds<SelfExpression>(operand) || arguments.typeId() != QMetaType::QVariantList)
        return unusable();
    const QVariantList list = arguments.toList();
    if (list.size() != 1 || !holds<KeyPathSpecifier>(list[0]))
        return unusable();
    const QString keyPath = list[0].value<KeyPathSpecifier>().keyPath;
    const QString name = selector.toString();
    if (selector.typeId() != QMetaType::QString ||
        !(name == kValueForKeyPath || (name == kValueForKey && !keyPath.contains(u'.'))))
        return unusable();
    return QVariant::fromValue(Expression::expressionForKeyPath(keyPath));
}

QVariant decodeSelf(KeyedUnarchiver &u)
{
    return expressionTypeIs(u, 1) ? QVariant::fromValue(SelfExpression{}) : unusable();
}

QVariant decodeSpecifier(KeyedUnarchiver &u)
{
    const QVariant keyPath = u.decodeObjectForKey(kKeyPath);
    if (!expressionTypeIs(u, 10) || keyPath.typeId() != QMetaType::QString ||
        keyPath.toString().isEmpty())
        return unusable();
    return QVariant::fromValue(KeyPathSpecifier{keyPath.toString()});
}

// An operator of one of the classes above; `types` lists the codes its class stands for.
QVariant decodeOperator(KeyedUnarchiver &u, std::initializer_list<qint32> types,
                        const QString &optionsKey)
{
    OperatorFields fields;
    fields.type = *types.begin();
    if (u.containsValueForKey(kOperatorType))
        fields.type = u.decodeIntForKey(kOperatorType);
    else if (u.containsValueForKey(kNegate) && u.decodeBoolForKey(kNegate))
        fields.type = Op::NotEqualToPredicateOperatorType;
    else if (u.containsValueForKey(kPosition) && u.decodeIntForKey(kPosition) == 1)
        fields.type = Op::EndsWithPredicateOperatorType;
    if (std::find(types.begin(), types.end(), fields.type) == types.end())
        return unusable();
    fields.modifier = u.decodeIntForKey(kModifier);
    fields.options = optionsKey.isEmpty() ? 0 : u.decodeIntForKey(optionsKey);
    return QVariant::fromValue(fields);
}

QVariant decodeComparison(KeyedUnarchiver &u)
{
    const QVariant left = u.decodeObjectForKey(kLeft);
    const QVariant right = u.decodeObjectForKey(kRight);
    const QVariant op = u.decodeObjectForKey(kOperator);
    for (const QVariant *v : {&left, &right, &op}) {
        if (KeyedUnarchiver::isUnusable(*v))
            return *v;
    }
    if (!holds<Expression>(left) || !holds<Expression>(right) || !holds<OperatorFields>(op))
        return unusable();
    const OperatorFields fields = op.value<OperatorFields>();
    const PredicatePtr p = ComparisonPredicate::predicateWithLeftExpression(
        left.value<Expression>(), right.value<Expression>(), fields.modifier, fields.type,
        fields.options);
    return p ? QVariant::fromValue(p) : unusable();
}

QVariant decodeCompound(KeyedUnarchiver &u)
{
    const QVariant subpredicates = u.decodeObjectForKey(kSubpredicates);
    if (KeyedUnarchiver::isUnusable(subpredicates))
        return subpredicates;
    if (subpredicates.typeId() != QMetaType::QVariantList)
        return unusable();
    QList<PredicatePtr> list;
    quint64 size = 1;
    for (const QVariant &item : subpredicates.toList()) {
        if (!holds<PredicatePtr>(item))
            return unusable();
        list.append(item.value<PredicatePtr>());
        size += list.last()->expandedSize();
        // A file can share one subpredicate between many places, level after level: refuse
        // what would take too long to evaluate, print or compare, before building it.
        if (size > Predicate::kMaxExpandedSize)
            return KeyedUnarchiver::unusable(
                //: %1 is the greatest number of parts allowed
                qtTrId("archive.error.predicate_too_large").arg(Predicate::kMaxExpandedSize));
    }
    const PredicatePtr p =
        CompoundPredicate::predicateWithType(u.decodeIntForKey(kCompoundType), list);
    return p ? QVariant::fromValue(p) : unusable();
}

} // namespace

Q_DECLARE_METATYPE(OperatorFields)
Q_DECLARE_METATYPE(SelfExpression)
Q_DECLARE_METATYPE(KeyPathSpecifier)

void PredicateArchive::registerClasses(KeyedArchiver &archiver)
{
    archiver.registerConverter<PredicatePtr>(encodePredicate);
    archiver.registerConverter<Expression>(encodeExpression);
    // The parts of predicates are written back as the objects they were read from, should a
    // file have put one where a value of its own is kept (an information item, say).
    archiver.registerConverter<OperatorFields>([](KeyedArchiver &a, const OperatorFields &fields) {
        return QVariant::fromValue(encodeOperator(a, fields.type, fields.modifier, fields.options));
    });
    archiver.registerConverter<SelfExpression>([](KeyedArchiver &a, const SelfExpression &) {
        return QVariant::fromValue(encodeSelf(a));
    });
    archiver.registerConverter<KeyPathSpecifier>([](KeyedArchiver &a, const KeyPathSpecifier &k) {
        return QVariant::fromValue(encodeSpecifier(a, k.keyPath));
    });
}

void PredicateArchive::registerClasses(KeyedUnarchiver &unarchiver)
{
    unarchiver.registerClass(QStringLiteral("NSComparisonPredicate"), decodeComparison);
    unarchiver.registerClass(QStringLiteral("NSCompoundPredicate"), decodeCompound);
    unarchiver.registerClass(QStringLiteral("NSTruePredicate"), [](KeyedUnarchiver &) {
        return QVariant::fromValue(ConstantPredicate::truePredicate());
    });
    unarchiver.registerClass(QStringLiteral("NSFalsePredicate"), [](KeyedUnarchiver &) {
        return QVariant::fromValue(ConstantPredicate::falsePredicate());
    });
    unarchiver.registerClass(QStringLiteral("NSConstantValueExpression"), decodeConstant);
    unarchiver.registerClass(QStringLiteral("NSKeyPathExpression"), decodeKeyPath);
    unarchiver.registerClass(QStringLiteral("NSSelfExpression"), decodeSelf);
    unarchiver.registerClass(QStringLiteral("NSKeyPathSpecifierExpression"), decodeSpecifier);
    unarchiver.registerClass(QStringLiteral("NSAggregateExpression"), decodeAggregate);
    unarchiver.registerClass(
        QStringLiteral("NSComparisonPredicateOperator"), [](KeyedUnarchiver &u) {
            return decodeOperator(u,
                                  {Op::LessThanPredicateOperatorType,
                                   Op::LessThanOrEqualToPredicateOperatorType,
                                   Op::GreaterThanPredicateOperatorType,
                                   Op::GreaterThanOrEqualToPredicateOperatorType},
                                  kOptions);
        });
    unarchiver.registerClass(QStringLiteral("NSEqualityPredicateOperator"), [](KeyedUnarchiver &u) {
        return decodeOperator(
            u, {Op::EqualToPredicateOperatorType, Op::NotEqualToPredicateOperatorType}, kOptions);
    });
    unarchiver.registerClass(QStringLiteral("NSMatchingPredicateOperator"), [](KeyedUnarchiver &u) {
        return decodeOperator(u, {Op::MatchesPredicateOperatorType}, kFlags);
    });
    unarchiver.registerClass(QStringLiteral("NSLikePredicateOperator"), [](KeyedUnarchiver &u) {
        return decodeOperator(u, {Op::LikePredicateOperatorType}, kFlags);
    });
    unarchiver.registerClass(
        QStringLiteral("NSSubstringPredicateOperator"), [](KeyedUnarchiver &u) {
            return decodeOperator(
                u, {Op::BeginsWithPredicateOperatorType, Op::EndsWithPredicateOperatorType},
                kFlags);
        });
    unarchiver.registerClass(QStringLiteral("NSInPredicateOperator"), [](KeyedUnarchiver &u) {
        return decodeOperator(u, {Op::InPredicateOperatorType, Op::ContainsPredicateOperatorType},
                              kFlags);
    });
    unarchiver.registerClass(QStringLiteral("NSBetweenPredicateOperator"), [](KeyedUnarchiver &u) {
        return decodeOperator(u, {Op::BetweenPredicateOperatorType}, QString());
    });
}

PredicatePtr PredicateArchive::decodePredicateForKey(KeyedUnarchiver &coder, const QString &key,
                                                     QString *why)
{
    KeyedUnarchiver::Tolerance tolerance(coder);
    const QVariant value = coder.decodeObjectForKey(key);
    if (holds<PredicatePtr>(value))
        return value.value<PredicatePtr>();
    if (why)
        *why = KeyedUnarchiver::isUnusable(value) ? KeyedUnarchiver::unusableReason(value)
                                                  : qtTrId("archive.error.unusable_predicate");
    return nullptr;
}
