#include "bench.h"

#include "data/database.h"
#include "data/paths.h"
#include "data/sql.h"
#include "desk/backup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// A large library built by the store itself: titles, cards and loans.
void fillLibrary()
{
    Transaction t;
    Sql::run("insert into tszk(txm,tsmc,zz,cbsmc,bs,jcs,tszt,bmr,bmrq) "
             "with recursive n(i) as (select 1 union all select i+1 from n limit 1000000) "
             "select printf('B%08d',i), '图书馆管理与信息检索第'||i||'卷', '作者'||(i%5000), "
             "'商务印书馆', 1+i%5, 0, 'W', '测试员', '2020-01-01' from n");
    Sql::run("insert into cardk(kno,kdj,km,dzm,sfzh,dz,tel,bkrq,yxrq,yj,jsbs,sfyx) "
             "with recursive n(i) as (select 1 union all select i+1 from n limit 100000) "
             "select printf('%08d',i), 'A', '借阅证', '读者'||i, '11010119800101'||(i%10000), "
             "'北京市海淀区中关村大街'||i||'号', '1380000'||(i%10000), '2020-01-01', "
             "'2030-01-01', 100, 0, 'Y' from n");
    Sql::run("insert into dzjsmxk(kno,txm,jsrq,jsjsr,hsrq,hsjsr,sfsh,xjcs) "
             "with recursive n(i) as (select 1 union all select i+1 from n limit 3000000) "
             "select printf('%08d',1+i%100000), printf('B%08d',1+i%1000000), '2024-01-01', "
             "'测试员', '2024-02-01', '测试员', 'N', 0 from n");
    t.commit();
}

void backupOfALargeLibrary(const std::function<void(const Figure&)>& report)
{
    const QString home = Bench::freshHome();
    fillLibrary();
    const QString target = QDir(home).filePath("backup");
    const double backup = Bench::seconds([&] { Backup::backupTo(target); });

    // The floor: a plain copy of the same database file, made while nothing is open.
    Database::close();
    const QString copy = QDir(home).filePath("copy.db");
    const double floor = Bench::seconds([&] { QFile::copy(ProgramPaths::databaseFile(), copy); });
    Database::open();
    const double mib = QFileInfo(ProgramPaths::databaseFile()).size() / (1024.0 * 1024.0);
    report({"backup of a library of " + QString::number(mib, 'f', 0) + " MiB", backup, "s", floor});

    const double restore =
        Bench::seconds([&] { Backup::restoreFrom(target, [] { return true; }); });
    report({"restore of the same backup", restore, "s", floor});
}
} // namespace

LIBRARY_BENCH(backup, backupOfALargeLibrary)
