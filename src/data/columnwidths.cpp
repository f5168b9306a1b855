#include "data/columnwidths.h"

#include "data/gbk.h"
#include "data/schema.h"

#include <QHash>
#include <QRegularExpression>

namespace {
struct Table {
    QStringList columns;        // as declared
    QHash<QString, int> widths; // lower-case column name -> GBK bytes
};

using Tables = QHash<QString, Table>; // lower-case table name

QStringList splitTopLevel(const QString& body)
{
    QStringList parts;
    QString current;
    int depth = 0;
    for (const QChar c : body) {
        if (c == QChar('('))
            ++depth;
        else if (c == QChar(')'))
            --depth;
        if (c == QChar(',') && depth == 0) {
            parts << current.trimmed();
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.trimmed().isEmpty())
        parts << current.trimmed();
    return parts;
}

Tables readSchema()
{
    QString script = Schema::scriptText(":/schema/schema.sql");
    static const QRegularExpression comment(R"(--[^\n]*)");
    script.remove(comment);
    static const QRegularExpression table(R"(create\s+table\s+(\w+)\s*\((.*?)\)\s*;)",
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression declared(R"(^(\w+)\s+varchar\s*\(\s*(\d+)\s*\))",
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression constraint(R"(^(unique|primary|foreign|check|constraint)\b)",
                                               QRegularExpression::CaseInsensitiveOption);
    Tables tables;
    for (auto it = table.globalMatch(script); it.hasNext();) {
        const auto match = it.next();
        Table& t = tables[match.captured(1).toLower()];
        for (const QString& part : splitTopLevel(match.captured(2))) {
            if (constraint.match(part).hasMatch())
                continue;
            t.columns << part.section(QRegularExpression(R"(\s+)"), 0, 0);
            const auto width = declared.match(part);
            if (width.hasMatch())
                t.widths.insert(width.captured(1).toLower(), width.captured(2).toInt());
        }
    }
    return tables;
}

const Tables& tables()
{
    static const Tables all = readSchema();
    return all;
}
} // namespace

int ColumnWidths::width(const QString& table, const QString& column)
{
    const auto t = tables().constFind(table.toLower());
    return t == tables().constEnd() ? 0 : t->widths.value(column.toLower(), 0);
}

QStringList ColumnWidths::columns(const QString& table)
{
    return tables().value(table.toLower()).columns;
}

QString ColumnWidths::cut(const QString& table, const QString& column, const QString& text)
{
    const int bytes = width(table, column);
    // A text's GBK width never exceeds its UTF-16 length times two.
    if (bytes <= 0 || text.size() * 2 <= bytes)
        return text;
    return Gbk::truncate(text, bytes);
}
