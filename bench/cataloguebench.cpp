#include "bench.h"

#include "data/database.h"
#include "data/sql.h"
#include "desk/catalogue.h"

#include <QSqlQuery>

namespace {
constexpr int titleCount = 1000000;
constexpr int operations = 2000;

const Ask yes = [](const QString&, const QString&) { return true; };

void fillTitles()
{
    Sql::run("insert into tssxxk(tssbh,tssmc,slrq) values('01','一室','2026-01-01')");
    Transaction t;
    Transaction::beginWriting(); // the raw inserts below join it
    QSqlQuery insert(Database::connection());
    insert.prepare("insert into tszk(txm,tsmc,pyzjh,tsjsh,flmc,mxflm,tskb,tsym,tsjg,bs,jcs,tszt,"
                   "sfsh,scddbh,cbsmc,bmr,bmrq) values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    for (int i = 0; i < titleCount; ++i) {
        const QVariantList values = {QString("B%1").arg(i, 8, 10, QChar('0')),
                                     QString("图书馆管理与信息检索第%1卷").arg(i),
                                     "TSGGLYXXJS",
                                     QString("I%1").arg(i % 400),
                                     "I",
                                     QString("I%1").arg(i % 400),
                                     "32开",
                                     120 + i % 700,
                                     19.5 + i % 300 * 0.25,
                                     1 + i % 5,
                                     0,
                                     "W",
                                     "N",
                                     "01",
                                     "人民文学出版社",
                                     "测试员",
                                     "2026-01-01"};
        for (const QVariant& v : values)
            insert.addBindValue(v);
        if (!insert.exec())
            qFatal("cannot fill tszk");
    }
    t.commit();
}

CatalogueEntry entry(int i)
{
    CatalogueEntry e;
    e.title = QString("新编图书第%1种").arg(i);
    e.firstLevel = "I";
    e.barcode = QString("N%1").arg(i, 8, 10, QChar('0'));
    e.searchNumber = "I242";
    e.language = "中文";
    e.format = "32开";
    e.pages = "300";
    e.price = "25.00";
    e.copies = "3";
    e.room = "01";
    e.state = "图书未出借";
    e.mnemonic = "XBTS";
    return e;
}

// Each save, correction and delete in its own transaction, as the screen runs them.
void run(const std::function<void(const Figure&)>& report)
{
    Bench::freshHome();
    report({"catalogue fill of 1,000,000 titles", Bench::seconds(fillTitles), "s", {}});

    const double saving = Bench::seconds([] {
        for (int i = 0; i < operations; ++i) {
            Transaction t;
            Catalogue::save(entry(i), QString(), std::nullopt, yes);
            t.commit();
        }
    });
    // The floor: the same title row and ledger row written by bare statements.
    const double bareSaving = Bench::seconds([] {
        QSqlQuery title(Database::connection());
        title.prepare("insert into tszk(txm,tsmc,pyzjh,tsjsh,flmc,tskb,tsym,tsjg,bs,jcs,tszt,"
                      "sfsh,scddbh,bmr,bmrq) values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        QSqlQuery ledger(Database::connection());
        ledger.prepare("insert into cwk(zcje,szyy,fsrq) values(?,?,?)");
        for (int i = 0; i < operations; ++i) {
            Transaction t;
            Transaction::beginWriting(); // the floor writes in one transaction too
            for (const QVariant& v :
                 QVariantList{QString("F%1").arg(i), "新编图书", "XBTS", "I242", "I", "32开", 300,
                              25.0, 3, 0, "W", "N", "01", "测试员", "2026-12-09"})
                title.addBindValue(v);
            title.exec();
            for (const QVariant& v : QVariantList{75.0, "购书费", "2026-12-09"})
                ledger.addBindValue(v);
            ledger.exec();
            t.commit();
        }
    });
    report({"catalogue save of a new title", saving * 1000 / operations, "ms",
            bareSaving * 1000 / operations});

    const double correcting = Bench::seconds([] {
        for (int i = 0; i < operations; ++i) {
            CatalogueEntry e = entry(i);
            e.copies = "5";
            Transaction t;
            Catalogue::save(e, e.barcode, std::nullopt, yes);
            t.commit();
        }
    });
    report({"catalogue correction", correcting * 1000 / operations, "ms", {}});

    const double stepping = Bench::seconds([] {
        qint64 row = 0;
        for (int i = 0; i < operations; ++i) {
            const auto reached = Catalogue::step(row, true);
            row = reached->row;
            Catalogue::load(reached->barcode);
        }
    });
    report({"catalogue next title", stepping * 1000 / operations, "ms", {}});

    const double deleting = Bench::seconds([] {
        for (int i = 0; i < operations; ++i) {
            Transaction t;
            Catalogue::remove(entry(i).barcode, yes);
            t.commit();
        }
    });
    report({"catalogue delete", deleting * 1000 / operations, "ms", {}});
}
} // namespace

LIBRARY_BENCH(catalogue, run)
