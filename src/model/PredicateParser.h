#pragma once

#include "Predicate.h"

#include <QString>
#include <QVariant>

// The text form of predicates: a recursive-descent parser and the formatting helpers of the
// printer. Grammar, keywords case-insensitive:
//
//   predicate   := or
//   or          := and (("OR" | "||") and)*
//   and         := not (("AND" | "&&") not)*
//   not         := ("NOT" | "!") not | primary
//   primary     := "(" predicate ")" | "TRUEPREDICATE" | "FALSEPREDICATE"
//                | ("AND" | "OR") "(" [predicate ("," predicate)*] ")"    -- explicit compound
//                | ["ANY" | "SOME" | "ALL" | "NONE"] expression operator [options] expression
//   operator    := "<" | "<=" | "=<" | ">" | ">=" | "=>" | "=" | "==" | "!=" | "<>"
//                | "MATCHES" | "LIKE" | "BEGINSWITH" | "ENDSWITH" | "IN" | "CONTAINS" | "BETWEEN"
//   options     := "[" ("c" | "d" | "cd" | "dc") "]"
//   expression  := keypath | number | string | array | "nil" | "NULL"
//                | "TRUE" | "YES" | "FALSE" | "NO"
//                | "CAST" "(" number "," "\"NSDate\"" ")"
//                | "RELATIVEDATE" "(" number "," integer ")"
//   keypath     := name ("." name)*      name: letters, digits, "_", "@count"; "#" escapes a
//   keyword array       := "{" [expression ("," expression)*] "}"
//
// NONE x op y reads as NOT (ANY x op y).
class PredicateParser
{
public:
    static PredicatePtr parse(const QString &text, QString *error, qsizetype *errorPosition);

    // Printer helpers, each the exact inverse of what the parser reads.
    static QString formatKeyPath(const QString &keyPath);
    static QString formatNumber(const QVariant &number);
    static QString formatString(const QString &string);
    static QString operatorText(qint32 type);

    // Nesting deeper than this is a syntax error (keeps the parser's stack bounded).
    static constexpr int kMaxDepth = 100;
};
