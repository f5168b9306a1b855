#include "data/dialect.h"

#include "data/columnwidths.h"

#include <QRegularExpression>

namespace {
enum class Kind { Text, Literal, EmptyLiteral, Parameter };

struct Token {
    Kind kind;
    QString text;
};

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QChar('_');
}

QList<Token> tokenize(const QString& s)
{
    QList<Token> tokens;
    QString plain;
    auto flushPlain = [&] {
        if (!plain.isEmpty())
            tokens.append({Kind::Text, plain});
        plain.clear();
    };
    for (qsizetype i = 0; i < s.size();) {
        const QChar c = s.at(i);
        if (c == QChar('\'') || c == QChar('"')) {
            // A literal in either quote; a doubled quote inside stands for itself.
            QString value;
            qsizetype j = i + 1;
            while (j < s.size()) {
                if (s.at(j) == c) {
                    if (j + 1 < s.size() && s.at(j + 1) == c) {
                        value += c;
                        j += 2;
                        continue;
                    }
                    break;
                }
                value += s.at(j++);
            }
            flushPlain();
            tokens.append({value.isEmpty() ? Kind::EmptyLiteral : Kind::Literal, value});
            i = j + 1;
            continue;
        }
        if (c == QChar(':')) {
            qsizetype j = i + 1;
            while (j < s.size() && s.at(j) == QChar(' '))
                ++j;
            if (j < s.size() && isNameChar(s.at(j))) {
                while (j < s.size() && isNameChar(s.at(j)))
                    ++j;
                flushPlain();
                tokens.append({Kind::Parameter, QString()});
                i = j;
                continue;
            }
        }
        plain += c;
        ++i;
    }
    flushPlain();
    return tokens;
}

QString sqlLiteral(const QString& value)
{
    QString escaped = value;
    escaped.replace(QChar('\''), QLatin1String("''"));
    return QChar('\'') + escaped + QChar('\'');
}

// The left operand and operator in front of a value, e.g. "and hsjsr=".
const QRegularExpression& comparisonTail()
{
    static const QRegularExpression re(R"(([A-Za-z_][\w.]*)\s*(=|<>|!=)\s*$)");
    return re;
}

QString firstWord(const QList<Token>& tokens)
{
    for (const Token& t : tokens) {
        if (t.kind == Kind::Text)
            return t.text.trimmed().section(QRegularExpression(R"([\s(]+)"), 0, 0).toLower();
        return {};
    }
    return {};
}

// The tokens of an update's set list, where `col = value` assigns rather than compares.
struct SetRegion {
    qsizetype from = -1; // token index where the set list starts
    qsizetype to = -1;   // token index where it ends (exclusive)
    bool contains(qsizetype i) const { return i >= from && i < to; }
};

SetRegion findSetRegion(const QList<Token>& tokens)
{
    SetRegion region;
    if (firstWord(tokens) != QLatin1String("update"))
        return region;
    static const QRegularExpression setWord(R"(\bset\b)",
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression whereWord(R"(\bwhere\b)",
                                              QRegularExpression::CaseInsensitiveOption);
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != Kind::Text)
            continue;
        if (region.from < 0 && setWord.match(tokens[i].text).hasMatch())
            region.from = i;
        if (region.from >= 0 && whereWord.match(tokens[i].text).hasMatch()) {
            region.to = i + 1;
            return region;
        }
    }
    region.to = tokens.size();
    return region;
}

// A blank compared with a column: null and the empty text are one value.
QString blankComparison(const QString& column, const QString& op)
{
    return op == QLatin1String("=") ? QString("(%1 IS NULL OR %1 = '')").arg(column)
                                    : QString("(%1 IS NOT NULL AND %1 <> '')").arg(column);
}

// --- which column each parameter of an insert or update writes ---

constexpr QChar markOpen(0xE000);
constexpr QChar markClose(0xE001);

QString parameterMark(int index)
{
    return markOpen + QString::number(index) + markClose;
}

// The statement with literals blanked out and each parameter as a numbered mark.
QString skeleton(const QList<Token>& tokens)
{
    QString s;
    int parameter = 0;
    for (const Token& t : tokens) {
        if (t.kind == Kind::Text)
            s += t.text;
        else if (t.kind == Kind::Parameter)
            s += parameterMark(parameter++);
        else
            s += QLatin1String("''");
    }
    return s;
}

// The parameter an item consists of ("  :a "), or -1 when it is anything else.
int markedParameter(const QString& item)
{
    const QString t = item.trimmed();
    if (t.size() < 3 || t.front() != markOpen || t.back() != markClose)
        return -1;
    bool ok = false;
    const int index = t.mid(1, t.size() - 2).toInt(&ok);
    return ok ? index : -1;
}

QStringList splitTopLevel(const QString& list)
{
    QStringList parts;
    QString current;
    int depth = 0;
    for (const QChar c : list) {
        if (c == QChar('('))
            ++depth;
        else if (c == QChar(')'))
            --depth;
        if (c == QChar(',') && depth == 0) {
            parts << current;
            current.clear();
        } else {
            current += c;
        }
    }
    parts << current;
    return parts;
}

void findWrites(const QList<Token>& tokens, Dialect::Translated& out)
{
    out.writes.fill(QString(), out.parameterCount);
    const QString s = skeleton(tokens);
    static const QRegularExpression insert(
        R"(^\s*insert\s+(?:or\s+\w+\s+)?into\s+(\w+)\s*(?:\(([^)]*)\))?\s*values\s*\((.*)\)\s*;?\s*$)",
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression update(R"(^\s*update\s+(\w+)\s+set\s+(.*?)(?:\bwhere\b.*)?$)",
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression assignment(R"(^\s*(\w+)\s*=(.*)$)",
                                               QRegularExpression::DotMatchesEverythingOption);
    if (const auto m = insert.match(s); m.hasMatch()) {
        out.table = m.captured(1);
        QStringList columns;
        if (m.capturedLength(2) > 0) {
            for (const QString& c : m.captured(2).split(QChar(',')))
                columns << c.trimmed();
        } else {
            columns = ColumnWidths::columns(out.table);
        }
        const QStringList values = splitTopLevel(m.captured(3));
        for (qsizetype i = 0; i < values.size() && i < columns.size(); ++i) {
            const int p = markedParameter(values[i]);
            if (p >= 0 && p < out.parameterCount)
                out.writes[p] = columns[i];
        }
        return;
    }
    if (const auto m = update.match(s); m.hasMatch()) {
        out.table = m.captured(1);
        for (const QString& item : splitTopLevel(m.captured(2))) {
            const auto a = assignment.match(item);
            const int p = a.hasMatch() ? markedParameter(a.captured(2)) : -1;
            if (p >= 0 && p < out.parameterCount)
                out.writes[p] = a.captured(1);
        }
    }
}
} // namespace

Dialect::Translated Dialect::translate(const QString& statement, const QList<bool>& blankParameters)
{
    const QList<Token> tokens = tokenize(statement);
    const SetRegion assignments = findSetRegion(tokens);
    Translated out;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        switch (t.kind) {
        case Kind::Text:
            out.sql += t.text;
            break;
        case Kind::Literal:
            out.sql += sqlLiteral(t.text);
            break;
        case Kind::Parameter: {
            const int index = out.parameterCount++;
            const auto match = comparisonTail().match(out.sql);
            const bool comparison = match.hasMatch() && !assignments.contains(i);
            if (comparison && blankParameters.value(index, false)) {
                out.sql.chop(match.capturedLength(0));
                out.sql += blankComparison(match.captured(1), match.captured(2));
                break;
            }
            if (!out.sql.isEmpty() && isNameChar(out.sql.back()))
                out.sql += QChar(' ');
            out.sql += QChar('?');
            out.placeholders.append(index);
            break;
        }
        case Kind::EmptyLiteral: {
            const auto match = comparisonTail().match(out.sql);
            const bool comparison = match.hasMatch() && !assignments.contains(i);
            if (comparison) {
                out.sql.chop(match.capturedLength(0));
                out.sql += blankComparison(match.captured(1), match.captured(2));
            } else {
                // Written by insert or update (or a value of its own): null.
                out.sql += QLatin1String("NULL");
            }
            break;
        }
        }
    }
    findWrites(tokens, out);
    return out;
}

QString Dialect::quoteLiteral(const QString& text)
{
    return sqlLiteral(text);
}
