#pragma once

#include "Predicate.h"

#include <QString>

class KeyedArchiver;
class KeyedUnarchiver;

// Predicates and their expressions in the keyed archive forms of Foundation's predicate
// classes, so that filters move between files of both:
// - NSComparisonPredicate: "NSLeftExpression", "NSRightExpression", "NSPredicateOperator"; the
//   operator object holds "NSOperatorType" and "NSModifier" and its class depends on the type:
//   NSComparisonPredicateOperator (0-3, "NSVariant", "NSOptions"), NSEqualityPredicateOperator
//   (4, 5, "NSNegate", "NSOptions"), NSMatchingPredicateOperator (6) and
//   NSLikePredicateOperator (7) ("NSFlags"), NSSubstringPredicateOperator (8, 9, "NSFlags",
//   "NSPosition"), NSInPredicateOperator (10, 99, "NSFlags"), NSBetweenPredicateOperator (100).
// - NSCompoundPredicate: "NSCompoundPredicateType", "NSSubpredicates"; NSTruePredicate and
//   NSFalsePredicate.
// - Expressions by "NSExpressionType": NSConstantValueExpression (0, "NSConstantValue"),
//   NSKeyPathExpression (3: "NSOperand" an NSSelfExpression (1), "NSSelectorName"
//   "valueForKey:" or "valueForKeyPath:", "NSArguments" one NSKeyPathSpecifierExpression (10,
//   "NSKeyPath")); an NSAggregateExpression (14, "NSCollection") of constants reads as an array
//   constant.
// Reading is lenient in one way only: whatever the program cannot use (another kind of
// expression or operator, "NSConstantValueClassName", inconsistent codes) makes the predicate
// unusable rather than the file unreadable; decodePredicateForKey() then answers none.
class PredicateArchive
{
public:
    static void registerClasses(KeyedArchiver &archiver);
    static void registerClasses(KeyedUnarchiver &unarchiver);

    // The predicate under the key of the object being decoded; none when the key is absent or
    // holds anything that is not a usable predicate (then *why says what, when asked).
    static PredicatePtr decodePredicateForKey(KeyedUnarchiver &coder, const QString &key,
                                              QString *why = nullptr);
};
