#pragma once

#include "data/sql.h"

#include <QString>
#include <QStringList>

// Cards as card issue leaves them, for the card-management tests: the card row and its
// lost-card register row ("否").
namespace CardSeed {
inline void grade(const QString& code, int validDays = 365)
{
    Sql::run("insert into jykdjk(kdj,km,gbf,jyqx,jyqxdw,yjsbs,jsyj,yxts) "
             "values(:a,:b,:c,:d,:e,:f,:g,:h)",
             {code, "借阅证", 5, 30, "日", 5, 50, validDays});
}

inline void card(const QString& number, const QString& name, const QString& identity = "110",
                 const QString& issued = "2026-01-05", double deposit = 50,
                 const QString& validUntil = "2027-01-05", const QString& grade = "A")
{
    Sql::run("insert into cardk(kno,kdj,km,dzm,sfzh,dz,tel,gzdw,bkrq,yxrq,yj) "
             "values(:a,:b,:c,:d,:e,:f,:g,:h,:i,:j,:k)",
             {number, grade, "借阅证", name, identity, "长安街1号", "8888", "图书馆", issued,
              validUntil, deposit});
    Sql::run("insert into gsb(kno,kdj,dzm,gsbz,sfzh) values(:a,:b,:c,:d,:e)",
             {number, grade, name, "否", identity});
}

// Every row, its cells joined by "|", for compact assertions.
inline QStringList rows(const QString& statement, const QVariantList& values = {})
{
    Sql q(statement);
    q.bindAll(values).exec();
    QStringList rows;
    while (q.next()) {
        QStringList cells;
        const QSqlRecord record = q.record();
        for (int i = 0; i < record.count(); ++i)
            cells << q.value(record.fieldName(i)).toString();
        rows << cells.join("|");
    }
    return rows;
}
} // namespace CardSeed
