#include "data/columnwidths.h"

#include "data/gbk.h"
#include "data/sql.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QStringList>

#include <sqlite3.h>

namespace {
void gbkCut(sqlite3_context* context, int, sqlite3_value** args)
{
    if (sqlite3_value_type(args[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
    const int width = sqlite3_value_int(args[1]);
    const QByteArray cut = Gbk::truncate(QString::fromUtf8(text), width).toUtf8();
    sqlite3_result_text(context, cut.constData(), static_cast<int>(cut.size()), SQLITE_TRANSIENT);
}
} // namespace

bool ColumnWidths::registerFunctions(QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return false;
    sqlite3* connection = *static_cast<sqlite3* const*>(handle.data());
    if (!connection)
        return false;
    return sqlite3_create_function(connection, "gbk_cut", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                   nullptr, gbkCut, nullptr, nullptr) == SQLITE_OK;
}

void ColumnWidths::createTriggers()
{
    static const QRegularExpression declared(R"(^varchar\((\d+)\)$)",
                                             QRegularExpression::CaseInsensitiveOption);
    QStringList tables;
    Sql list("select name from sqlite_master where type='table' and name not like 'sqlite%'");
    list.exec();
    while (list.next())
        tables << list.text("name");
    for (const QString& table : tables) {
        Sql columns(QString("pragma table_info(%1)").arg(table));
        columns.exec();
        QList<QPair<QString, int>> widths;
        while (columns.next()) {
            const auto match = declared.match(columns.text("type"));
            if (match.hasMatch())
                widths.append({columns.text("name"), match.captured(1).toInt()});
        }
        for (const auto& [column, width] : widths) {
            // A text's GBK width never exceeds its UTF-8 length, so only a text whose
            // UTF-8 form is longer than the column might not fit and is handed to the cut.
            const QString cut = QString("update %1 set %2=gbk_cut(%2,%3) where rowid=new.rowid;")
                                    .arg(table, column)
                                    .arg(width);
            const QString when =
                QString("when length(cast(new.%1 as blob))>%2").arg(column).arg(width);
            Sql::run(QString("create trigger %1_%2_width_insert after insert on %1 %3 begin %4 end")
                         .arg(table, column, when, cut));
            Sql::run(QString("create trigger %1_%2_width_update after update of %2 on %1 %3 "
                             "begin %4 end")
                         .arg(table, column, when, cut));
        }
    }
}
