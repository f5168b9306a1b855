#include "bench.h"

#include "circulation/xssj.h"
#include "data/database.h"
#include "data/sql.h"
#include "ui/messages.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSqlQuery>
#include <algorithm>
#include <vector>

namespace {
constexpr int titleCount = 1000000;
constexpr int rounds = 200;

void fillTitles()
{
    Transaction t;
    Transaction::beginWriting(); // the raw inserts below join it
    QSqlQuery fill(Database::connection());
    // Five hundred shelves, every hundredth title not shelved yet.
    if (!fill.exec(QString("with recursive n(i) as (select 0 union all select i+1 from n where "
                           "i<%1) insert into tszk(txm,tsmc,fsjh,bs,jcs,tszt,cbsmc,tsjg) "
                           "select printf('B%08d',i), '图书馆学基础教程第'||i||'册', "
                           "case when i%100=0 then null else printf('S%03d',i%500) end, "
                           "1+i%3, 0, 'W', '科学出版社', 25.5 from n")
                       .arg(titleCount - 1)))
        qFatal("cannot fill tszk");
    t.commit();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Enter in a box, as the scanner sends it.
void pressEnter(QWidget* box)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
    QApplication::sendEvent(box, &press);
}

double milliseconds(const std::function<void()>& work)
{
    return Bench::seconds(work) * 1000.0;
}

QString barcode(int round)
{
    return QString("B%1").arg(round * 4999 % titleCount, 8, 10, QChar('0'));
}
} // namespace

LIBRARY_BENCH(shelving_1m_titles, [](const auto& report) {
    Bench::freshHome();
    fillTitles();
    Messages::setScripted(true);

    // Opening: the screen with its list of shelf numbers.
    QSqlQuery bare(Database::connection());
    bare.setForwardOnly(true);
    const auto listFloor = [&] {
        bare.exec("select 1 from tszk where fsjh is null limit 1");
        bare.next();
        bare.exec("with recursive shelf(v) as (select min(fsjh) from tszk union all "
                  "select (select fsjh from tszk where fsjh > shelf.v order by fsjh limit 1) "
                  "from shelf where shelf.v is not null) "
                  "select v as fsjh from shelf where v is not null");
        int n = 0;
        while (bare.next())
            ++n;
        if (n == 0)
            qFatal("no shelves");
    };
    listFloor(); // warm the cache for both
    std::vector<double> opening, openingFloor;
    for (int i = 0; i < 5; ++i) {
        openingFloor.push_back(milliseconds(listFloor));
        opening.push_back(milliseconds([] { delete new Txssjfm; }));
    }
    report(Figure{"shelving_open", median(opening), "ms", median(openingFloor)});

    auto* screen = new Txssjfm;
    screen->show();
    auto* code = screen->findChild<QLineEdit*>("Edit1");
    auto* shelf = screen->findChild<QComboBox*>("ComboBox1");
    std::vector<double> lookUp, lookUpFloor, save, saveFloor;
    QSqlQuery find(Database::connection());
    find.prepare("select txm,tsmc,tsjg,cbsmc,cbsj,ISBN,fsjh from tszk where txm=?");
    QSqlQuery write(Database::connection());
    write.prepare("update tszk set fsjh=? where txm=?");
    for (int round = 0; round < rounds; ++round) {
        const QString txm = barcode(round);
        lookUpFloor.push_back(milliseconds([&] {
            find.addBindValue(txm);
            find.exec();
            find.next();
        }));
        lookUp.push_back(milliseconds([&] {
            code->setText(txm);
            pressEnter(code);
        }));
        if (screen->findChild<QLineEdit*>("Edit2")->text().isEmpty())
            qFatal("look-up found nothing");
        shelf->setEditText(QString("N%1").arg(round % 50, 3, 10, QChar('0')));
        save.push_back(milliseconds([&] { pressEnter(shelf->lineEdit()); }));
        if (!code->text().isEmpty())
            qFatal("save did not complete");
        saveFloor.push_back(milliseconds([&] {
            Transaction t;
            write.addBindValue("F001");
            write.addBindValue(txm);
            write.exec();
            t.commit();
        }));
    }
    Messages::takeShown();
    delete screen;
    report(Figure{"shelving_look_up_median", median(lookUp), "ms", median(lookUpFloor)});
    report(Figure{"shelving_save_median", median(save), "ms", median(saveFloor)});
})
