#include "PredicateParser.h"

#include "ComparisonPredicate.h"
#include "CompoundPredicate.h"
#include "ConstantPredicate.h"
#include "Number.h"
#include "RelativeDate.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

// Words with a meaning of their own; a key path segment spelled like one is written with "#".
const char *const kKeywords[] = {
    "AND",      "OR",      "NOT",           "ANY",
    "SOME",     "ALL",     "NONE",          "IN",
    "LIKE",     "MATCHES", "BEGINSWITH",    "ENDSWITH",
    "CONTAINS", "BETWEEN", "TRUEPREDICATE", "FALSEPREDICATE",
    "NIL",      "NULL",    "TRUE",          "FALSE",
    "YES",      "NO",      "CAST",          "RELATIVEDATE",
};

bool isKeyword(QStringView word)
{
    for (const char *keyword : kKeywords) {
        if (word.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool isNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('@') || c == QLatin1Char('$');
}

bool isNamePart(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

struct SyntaxError
{
    qsizetype position;
    QString message;
};

struct Token
{
    enum Type
    {
        End,
        Name,
        EscapedName,
        Number,
        String,
        Symbol
    } type = End;
    QString text; // the name, the number's digits, the string's value, or the symbol
    qsizetype position = 0;
};

class Lexer
{
public:
    explicit Lexer(const QString &text) : s(text) {}

    Token next()
    {
        while (i < s.size() && s.at(i).isSpace())
            ++i;
        Token t;
        t.position = i;
        if (i >= s.size())
            return t;
        const QChar c = s.at(i);
        if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < s.size() && s.at(i + 1).isDigit()))
            return number(t);
        if (c == QLatin1Char('"') || c == QLatin1Char('\''))
            return string(t);
        if (c == QLatin1Char('#')) {
            ++i;
            if (i >= s.size() || !isNameStart(s.at(i)))
                throw SyntaxError{t.position, qtTrId("predicate.error.bad_character").arg(c)};
            t = name(t);
            t.type = Token::EscapedName;
            return t;
        }
        if (isNameStart(c))
            return name(t);
        static const char *const kSymbols[] = {"<=", "=<", ">=", "=>", "==", "!=", "<>", "&&",
                                               "||", "<",  ">",  "=",  "!",  "(",  ")",  "{",
                                               "}",  "[",  "]",  ",",  ".",  "+",  "-"};
        for (const char *symbol : kSymbols) {
            const QLatin1String sym(symbol);
            if (QStringView(s).mid(i).startsWith(sym)) {
                t.type = Token::Symbol;
                t.text = sym;
                i += sym.size();
                return t;
            }
        }
        throw SyntaxError{t.position, qtTrId("predicate.error.bad_character").arg(c)};
    }

private:
    Token number(Token t)
    {
        const qsizetype start = i;
        while (i < s.size() && s.at(i).isDigit())
            ++i;
        if (i < s.size() && s.at(i) == QLatin1Char('.')) {
            ++i;
            while (i < s.size() && s.at(i).isDigit())
                ++i;
        }
        if (i < s.size() && (s.at(i) == QLatin1Char('e') || s.at(i) == QLatin1Char('E'))) {
            qsizetype j = i + 1;
            if (j < s.size() && (s.at(j) == QLatin1Char('+') || s.at(j) == QLatin1Char('-')))
                ++j;
            if (j < s.size() && s.at(j).isDigit()) {
                i = j;
                while (i < s.size() && s.at(i).isDigit())
                    ++i;
            }
        }
        // A number runs straight into a name: "12abc".
        if (i < s.size() && (isNamePart(s.at(i)) || s.at(i) == QLatin1Char('.'))) {
            qsizetype j = i;
            while (j < s.size() && (isNamePart(s.at(j)) || s.at(j) == QLatin1Char('.')))
                ++j;
            throw SyntaxError{start,
                              qtTrId("predicate.error.bad_number").arg(s.mid(start, j - start))};
        }
        t.type = Token::Number;
        t.text = s.mid(start, i - start);
        return t;
    }

    Token string(Token t)
    {
        const QChar quote = s.at(i++);
        QString value;
        while (true) {
            if (i >= s.size())
                throw SyntaxError{t.position, qtTrId("predicate.error.unterminated_string")};
            const QChar c = s.at(i);
            if (c == quote) {
                ++i;
                break;
            }
            if (c != QLatin1Char('\\')) {
                value += c;
                ++i;
                continue;
            }
            const qsizetype escape = i;
            if (i + 1 >= s.size())
                throw SyntaxError{t.position, qtTrId("predicate.error.unterminated_string")};
            const QChar e = s.at(i + 1);
            i += 2;
            if (e == QLatin1Char('\\') || e == QLatin1Char('"') || e == QLatin1Char('\''))
                value += e;
            else if (e == QLatin1Char('n'))
                value += QLatin1Char('\n');
            else if (e == QLatin1Char('t'))
                value += QLatin1Char('\t');
            else if (e == QLatin1Char('r'))
                value += QLatin1Char('\r');
            else if (e == QLatin1Char('u') && i + 4 <= s.size()) {
                bool ok = false;
                const ushort code = s.mid(i, 4).toUShort(&ok, 16);
                if (!ok)
                    throw SyntaxError{escape, qtTrId("predicate.error.bad_escape")};
                value += QChar(code);
                i += 4;
            } else {
                throw SyntaxError{escape, qtTrId("predicate.error.bad_escape")};
            }
        }
        t.type = Token::String;
        t.text = value;
        return t;
    }

    Token name(Token t)
    {
        const qsizetype start = i++;
        while (i < s.size() && isNamePart(s.at(i)))
            ++i;
        t.type = Token::Name;
        t.text = s.mid(start, i - start);
        return t;
    }

    const QString &s;
    qsizetype i = 0;
};

class Parser
{
public:
    explicit Parser(const QString &text) : lexer(text) { advance(); }

    PredicatePtr parseAll()
    {
        if (tok.type == Token::End)
            throw SyntaxError{tok.position, qtTrId("predicate.error.empty")};
        PredicatePtr p = parseOr(0);
        if (tok.type != Token::End)
            throw SyntaxError{tok.position, qtTrId("predicate.error.trailing").arg(tokenText())};
        // Every compound is built from parts parsed just before it, so nothing is shared and the
        // size follows the length of the text; refuse what a file could not hold either.
        if (p->expandedSize() > Predicate::kMaxExpandedSize)
            //: %1 is the greatest number of parts allowed
            throw SyntaxError{0,
                              qtTrId("predicate.error.too_large").arg(Predicate::kMaxExpandedSize)};
        return p;
    }

private:
    void advance() { tok = lexer.next(); }

    bool isWord(const char *word) const
    {
        return tok.type == Token::Name &&
               tok.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(const char *symbol) const
    {
        return tok.type == Token::Symbol && tok.text == QLatin1String(symbol);
    }
    QString tokenText() const
    {
        return tok.type == Token::String ? PredicateParser::formatString(tok.text) : tok.text;
    }
    [[noreturn]] void unexpected(const QString &expectation) const
    {
        if (tok.type == Token::End)
            throw SyntaxError{tok.position, qtTrId("predicate.error.unexpected_end")};
        throw SyntaxError{tok.position, expectation};
    }
    void expectSymbol(const char *symbol)
    {
        if (!isSymbol(symbol))
            unexpected(qtTrId("predicate.error.expected_close").arg(QLatin1String(symbol)));
        advance();
    }
    void checkDepth(int depth) const
    {
        if (depth > PredicateParser::kMaxDepth)
            throw SyntaxError{tok.position, qtTrId("predicate.error.too_deep")};
    }

    PredicatePtr parseOr(int depth)
    {
        QList<PredicatePtr> parts{parseAnd(depth)};
        while (isWord("OR") || isSymbol("||")) {
            advance();
            parts.append(parseAnd(depth));
        }
        return parts.size() == 1 ? parts.first()
                                 : CompoundPredicate::orPredicateWithSubpredicates(parts);
    }

    PredicatePtr parseAnd(int depth)
    {
        QList<PredicatePtr> parts{parseNot(depth)};
        while (isWord("AND") || isSymbol("&&")) {
            advance();
            parts.append(parseNot(depth));
        }
        return parts.size() == 1 ? parts.first()
                                 : CompoundPredicate::andPredicateWithSubpredicates(parts);
    }

    PredicatePtr parseNot(int depth)
    {
        checkDepth(depth);
        if (isWord("NOT") || isSymbol("!")) {
            advance();
            return CompoundPredicate::notPredicateWithSubpredicate(parseNot(depth + 1));
        }
        return parsePrimary(depth);
    }

    PredicatePtr parsePrimary(int depth)
    {
        if (isSymbol("(")) {
            advance();
            PredicatePtr p = parseOr(depth + 1);
            expectSymbol(")");
            return p;
        }
        if (isWord("TRUEPREDICATE")) {
            advance();
            return ConstantPredicate::truePredicate();
        }
        if (isWord("FALSEPREDICATE")) {
            advance();
            return ConstantPredicate::falsePredicate();
        }
        if (isWord("AND") || isWord("OR")) {
            // AND(...) and OR(...): compounds of any number of subpredicates, written out.
            const bool isAnd = isWord("AND");
            advance();
            expectSymbol("(");
            QList<PredicatePtr> parts;
            if (!isSymbol(")")) {
                parts.append(parseOr(depth + 1));
                while (isSymbol(",")) {
                    advance();
                    parts.append(parseOr(depth + 1));
                }
            }
            expectSymbol(")");
            return isAnd ? CompoundPredicate::andPredicateWithSubpredicates(parts)
                         : CompoundPredicate::orPredicateWithSubpredicates(parts);
        }
        return parseComparison();
    }

    PredicatePtr parseComparison()
    {
        qint32 modifier = ComparisonPredicate::DirectPredicateModifier;
        bool none = false;
        if (isWord("ANY") || isWord("SOME")) {
            modifier = ComparisonPredicate::AnyPredicateModifier;
            advance();
        } else if (isWord("ALL")) {
            modifier = ComparisonPredicate::AllPredicateModifier;
            advance();
        } else if (isWord("NONE")) {
            modifier = ComparisonPredicate::AnyPredicateModifier;
            none = true;
            advance();
        }
        const Expression left = parseExpression();
        const qint32 type = parseOperator();
        const qint32 options = parseOptions();
        const qsizetype rightPosition = tok.position;
        const Expression right = parseExpression();

        if (type == ComparisonPredicate::MatchesPredicateOperatorType &&
            right.expressionType() == Expression::ConstantValueExpressionType &&
            right.constantKind() == Expression::ConstantKind::String) {
            const QRegularExpression check(right.constantValue().toString());
            if (!check.isValid())
                throw SyntaxError{rightPosition,
                                  qtTrId("predicate.error.bad_regex").arg(check.errorString())};
        }
        const PredicatePtr predicate =
            ComparisonPredicate::predicateWithLeftExpression(left, right, modifier, type, options);
        return none ? CompoundPredicate::notPredicateWithSubpredicate(predicate) : predicate;
    }

    qint32 parseOperator()
    {
        static const struct
        {
            const char *text;
            bool symbol;
            qint32 type;
        } kOperators[] = {
            {"<", true, ComparisonPredicate::LessThanPredicateOperatorType},
            {"<=", true, ComparisonPredicate::LessThanOrEqualToPredicateOperatorType},
            {"=<", true, ComparisonPredicate::LessThanOrEqualToPredicateOperatorType},
            {">", true, ComparisonPredicate::GreaterThanPredicateOperatorType},
            {">=", true, ComparisonPredicate::GreaterThanOrEqualToPredicateOperatorType},
            {"=>", true, ComparisonPredicate::GreaterThanOrEqualToPredicateOperatorType},
            {"=", true, ComparisonPredicate::EqualToPredicateOperatorType},
            {"==", true, ComparisonPredicate::EqualToPredicateOperatorType},
            {"!=", true, ComparisonPredicate::NotEqualToPredicateOperatorType},
            {"<>", true, ComparisonPredicate::NotEqualToPredicateOperatorType},
            {"MATCHES", false, ComparisonPredicate::MatchesPredicateOperatorType},
            {"LIKE", false, ComparisonPredicate::LikePredicateOperatorType},
            {"BEGINSWITH", false, ComparisonPredicate::BeginsWithPredicateOperatorType},
            {"ENDSWITH", false, ComparisonPredicate::EndsWithPredicateOperatorType},
            {"IN", false, ComparisonPredicate::InPredicateOperatorType},
            {"CONTAINS", false, ComparisonPredicate::ContainsPredicateOperatorType},
            {"BETWEEN", false, ComparisonPredicate::BetweenPredicateOperatorType},
        };
        for (const auto &op : kOperators) {
            if (op.symbol ? isSymbol(op.text) : isWord(op.text)) {
                advance();
                return op.type;
            }
        }
        unexpected(qtTrId("predicate.error.expected_operator"));
    }

    qint32 parseOptions()
    {
        if (!isSymbol("["))
            return 0;
        advance();
        qint32 options = 0;
        if (tok.type != Token::Name)
            unexpected(qtTrId("predicate.error.bad_options").arg(tokenText()));
        for (const QChar c : std::as_const(tok.text)) {
            if (c == QLatin1Char('c') || c == QLatin1Char('C'))
                options |= ComparisonPredicate::CaseInsensitivePredicateOption;
            else if (c == QLatin1Char('d') || c == QLatin1Char('D'))
                options |= ComparisonPredicate::DiacriticInsensitivePredicateOption;
            else
                throw SyntaxError{tok.position, qtTrId("predicate.error.bad_options").arg(c)};
        }
        advance();
        expectSymbol("]");
        return options;
    }

    // A number with an optional sign, as a qlonglong (whole) or a double (fractional).
    QVariant parseNumber()
    {
        bool negative = false;
        if (isSymbol("-") || isSymbol("+")) {
            negative = isSymbol("-");
            advance();
            if (tok.type != Token::Number)
                unexpected(qtTrId("predicate.error.bad_number").arg(tokenText()));
        }
        const QByteArray digits = tok.text.toLatin1();
        const qsizetype position = tok.position;
        advance();
        const char *first = digits.constData();
        const char *last = first + digits.size();
        if (!digits.contains('.') && !digits.contains('e') && !digits.contains('E')) {
            quint64 magnitude = 0;
            const auto result = std::from_chars(first, last, magnitude);
            if (result.ec == std::errc() && result.ptr == last) {
                constexpr quint64 kMax = quint64(std::numeric_limits<qint64>::max());
                if (magnitude <= kMax)
                    return Number::integer(negative ? -qint64(magnitude) : qint64(magnitude));
                if (negative && magnitude == kMax + 1)
                    return Number::integer(std::numeric_limits<qint64>::min());
            }
        }
        double value = 0;
        const auto result = std::from_chars(first, last, value);
        if (result.ec == std::errc::result_out_of_range) {
            // Too large gives infinity, too small zero.
            const qsizetype e = qMax(digits.indexOf('e'), digits.indexOf('E'));
            value = (e >= 0 && digits.mid(e + 1).startsWith('-'))
                        ? 0.0
                        : std::numeric_limits<double>::infinity();
        } else if (result.ec != std::errc() || result.ptr != last) {
            throw SyntaxError{position, qtTrId("predicate.error.bad_number").arg(tok.text)};
        }
        return Number::real(negative ? -value : value);
    }

    Expression parseExpression()
    {
        if (tok.type == Token::Number || isSymbol("-") || isSymbol("+"))
            return Expression::expressionForConstantValue(parseNumber());
        if (tok.type == Token::String) {
            const QString value = tok.text;
            advance();
            return Expression::expressionForConstantValue(value);
        }
        if (isSymbol("{"))
            return parseArray();
        if (tok.type == Token::EscapedName)
            return parseKeyPath();
        if (tok.type != Token::Name)
            unexpected(qtTrId("predicate.error.expected_expression"));

        if (isWord("NIL") || isWord("NULL")) {
            advance();
            return Expression::expressionForConstantValue(QVariant());
        }
        if (isWord("TRUE") || isWord("YES") || isWord("FALSE") || isWord("NO")) {
            const bool value = isWord("TRUE") || isWord("YES");
            advance();
            return Expression::expressionForConstantValue(Number::integer(value ? 1 : 0));
        }
        if (isWord("CAST")) {
            const qsizetype position = tok.position;
            advance();
            expectSymbol("(");
            if (tok.type != Token::Number && !isSymbol("-") && !isSymbol("+"))
                throw SyntaxError{position, qtTrId("predicate.error.bad_cast")};
            const QVariant seconds = parseNumber();
            expectSymbol(",");
            if (tok.type != Token::String || tok.text != QLatin1String("NSDate"))
                throw SyntaxError{position, qtTrId("predicate.error.bad_cast")};
            advance();
            expectSymbol(")");
            return Expression::expressionForConstantValue(
                QVariant::fromValue(Date(Number::toDouble(seconds))));
        }
        if (isWord("RELATIVEDATE")) {
            const qsizetype position = tok.position;
            advance();
            expectSymbol("(");
            if (tok.type != Token::Number && !isSymbol("-") && !isSymbol("+"))
                throw SyntaxError{position, qtTrId("predicate.error.bad_relative_date")};
            const QVariant interval = parseNumber();
            expectSymbol(",");
            if (tok.type != Token::Number && !isSymbol("-") && !isSymbol("+"))
                throw SyntaxError{position, qtTrId("predicate.error.bad_relative_date")};
            const QVariant units = parseNumber();
            if (units.typeId() != QMetaType::LongLong ||
                units.toLongLong() != qint32(units.toLongLong()))
                throw SyntaxError{position, qtTrId("predicate.error.bad_relative_date")};
            expectSymbol(")");
            return Expression::expressionForConstantValue(
                QVariant::fromValue(RelativeDate::fromTimeInterval(Number::toDouble(interval),
                                                                   qint32(units.toLongLong()))));
        }
        if (isKeyword(tok.text))
            unexpected(qtTrId("predicate.error.unexpected").arg(tok.text));
        return parseKeyPath();
    }

    Expression parseKeyPath()
    {
        QString path = tok.text;
        advance();
        while (isSymbol(".")) {
            advance();
            if (tok.type == Token::EscapedName ||
                (tok.type == Token::Name && !isKeyword(tok.text))) {
                path += QLatin1Char('.') + tok.text;
                advance();
            } else {
                unexpected(qtTrId("predicate.error.expected_expression"));
            }
        }
        return Expression::expressionForKeyPath(path);
    }

    Expression parseArray()
    {
        advance();
        QVariantList elements;
        if (!isSymbol("}")) {
            while (true) {
                const qsizetype elementPosition = tok.position;
                if (isSymbol("{")) // arrays hold numbers and texts only, never arrays
                    throw SyntaxError{elementPosition, qtTrId("predicate.error.bad_array")};
                const Expression element = parseExpression();
                if (element.expressionType() != Expression::ConstantValueExpressionType ||
                    (element.constantKind() != Expression::ConstantKind::Number &&
                     element.constantKind() != Expression::ConstantKind::String))
                    throw SyntaxError{elementPosition, qtTrId("predicate.error.bad_array")};
                elements.append(element.constantValue());
                if (!isSymbol(","))
                    break;
                advance();
            }
        }
        if (!isSymbol("}"))
            unexpected(qtTrId("predicate.error.expected_close").arg(QLatin1Char('}')));
        advance();
        if (elements.isEmpty())
            return Expression::expressionForConstantValue(QStringList());
        return Expression::expressionForConstantValue(elements);
    }

    Lexer lexer;
    Token tok;
};

} // namespace

PredicatePtr PredicateParser::parse(const QString &text, QString *error, qsizetype *errorPosition)
{
    try {
        Parser parser(text);
        PredicatePtr result = parser.parseAll();
        if (error)
            error->clear();
        if (errorPosition)
            *errorPosition = -1;
        return result;
    } catch (const SyntaxError &e) {
        if (error)
            *error = qtTrId("predicate.error.at").arg(e.message).arg(e.position + 1);
        if (errorPosition)
            *errorPosition = e.position;
        return nullptr;
    }
}

QString PredicateParser::formatKeyPath(const QString &keyPath)
{
    QStringList segments = keyPath.split(QLatin1Char('.'));
    for (QString &segment : segments) {
        if (isKeyword(segment))
            segment.prepend(QLatin1Char('#'));
    }
    return segments.join(QLatin1Char('.'));
}

QString PredicateParser::formatNumber(const QVariant &number)
{
    if (number.typeId() != QMetaType::Double)
        return QString::number(number.toLongLong());
    const double value = number.toDouble();
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("1e999") : QStringLiteral("-1e999");
    // The shortest text that reads back as the same double; plain digits where that is short.
    char buffer[400];
    const double magnitude = std::fabs(value);
    const bool plain = magnitude == 0 || (magnitude >= 1e-4 && magnitude < 1e16);
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value,
                      plain ? std::chars_format::fixed : std::chars_format::scientific);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    if (!text.contains(QLatin1Char('.')) && !text.contains(QLatin1Char('e')) &&
        !text.contains(QLatin1Char('n')))
        text += QLatin1String(".0");
    return text;
}

QString PredicateParser::formatString(const QString &string)
{
    QString text = QStringLiteral("\"");
    for (const QChar c : string) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            text += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\n'))
            text += QLatin1String("\\n");
        else if (c == QLatin1Char('\t'))
            text += QLatin1String("\\t");
        else if (c == QLatin1Char('\r'))
            text += QLatin1String("\\r");
        else
            text += c;
    }
    return text + QLatin1Char('"');
}

QString PredicateParser::operatorText(qint32 type)
{
    switch (type) {
    case ComparisonPredicate::LessThanPredicateOperatorType:
        return QStringLiteral("<");
    case ComparisonPredicate::LessThanOrEqualToPredicateOperatorType:
        return QStringLiteral("<=");
    case ComparisonPredicate::GreaterThanPredicateOperatorType:
        return QStringLiteral(">");
    case ComparisonPredicate::GreaterThanOrEqualToPredicateOperatorType:
        return QStringLiteral(">=");
    case ComparisonPredicate::EqualToPredicateOperatorType:
        return QStringLiteral("==");
    case ComparisonPredicate::NotEqualToPredicateOperatorType:
        return QStringLiteral("!=");
    case ComparisonPredicate::MatchesPredicateOperatorType:
        return QStringLiteral("MATCHES");
    case ComparisonPredicate::LikePredicateOperatorType:
        return QStringLiteral("LIKE");
    case ComparisonPredicate::BeginsWithPredicateOperatorType:
        return QStringLiteral("BEGINSWITH");
    case ComparisonPredicate::EndsWithPredicateOperatorType:
        return QStringLiteral("ENDSWITH");
    case ComparisonPredicate::InPredicateOperatorType:
        return QStringLiteral("IN");
    case ComparisonPredicate::ContainsPredicateOperatorType:
        return QStringLiteral("CONTAINS");
    case ComparisonPredicate::BetweenPredicateOperatorType:
        return QStringLiteral("BETWEEN");
    default:
        return QString();
    }
}
