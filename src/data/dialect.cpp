#include "data/dialect.h"

#include <QList>
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

// The left operand and operator in front of an empty literal, e.g. "and hsjsr=".
const QRegularExpression& comparisonTail()
{
    static const QRegularExpression re(R"(([A-Za-z_][\w.]*)\s*(=|<>|!=)\s*$)");
    return re;
}

// Where the statement writes values rather than compares them.
struct WriteRegion {
    qsizetype from = -1; // token index where writing starts
    qsizetype to = -1;   // token index where it ends (exclusive)
};

WriteRegion findWriteRegion(const QList<Token>& tokens)
{
    QString head;
    for (const Token& t : tokens) {
        if (t.kind == Kind::Text) {
            head = t.text.trimmed().section(QChar(' '), 0, 0).toLower();
            break;
        }
    }
    WriteRegion region;
    if (head == QLatin1String("insert")) {
        region.from = 0;
        region.to = tokens.size();
        return region;
    }
    if (head != QLatin1String("update"))
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
} // namespace

Dialect::Translated Dialect::translate(const QString& statement)
{
    const QList<Token> tokens = tokenize(statement);
    const WriteRegion writes = findWriteRegion(tokens);
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
        case Kind::Parameter:
            if (!out.sql.isEmpty() && isNameChar(out.sql.back()))
                out.sql += QChar(' ');
            out.sql += QChar('?');
            ++out.parameterCount;
            break;
        case Kind::EmptyLiteral: {
            const auto match = comparisonTail().match(out.sql);
            const bool inWrites = i >= writes.from && i < writes.to;
            const bool assignment = inWrites && (!match.hasMatch() || match.captured(2) == "=");
            if (match.hasMatch() && !assignment) {
                out.sql.chop(match.capturedLength(0));
                out.sql +=
                    match.captured(1) + (match.captured(2) == "=" ? QLatin1String(" IS NULL")
                                                                  : QLatin1String(" IS NOT NULL"));
            } else {
                out.sql += QLatin1String("NULL");
            }
            break;
        }
        }
    }
    return out;
}

QString Dialect::quoteLiteral(const QString& text)
{
    return sqlLiteral(text);
}
