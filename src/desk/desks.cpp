#include "desk/desks.h"

#include "data/sql.h"
#include "desk/refused.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <optional>
#include <sys/types.h>

namespace {
QString computer()
{
    return QSysInfo::machineHostName();
}

qint64 process()
{
    return QCoreApplication::applicationPid();
}

QString now()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
}

// The operator this program entered the library as, while it is in.
std::optional<QString>& enteredAs()
{
    static std::optional<QString> name;
    return name;
}

// A row of this computer whose process has ended is stale at once; a row of another
// computer when it has not been seen for a while.
bool isStale(const QString& rowComputer, qint64 rowProcess, const QString& seen)
{
    if (rowComputer == computer() && rowProcess > 0 && ::kill(pid_t(rowProcess), 0) != 0 &&
        errno == ESRCH)
        return true;
    const QDateTime last = QDateTime::fromString(seen, Qt::ISODate);
    return !last.isValid() ||
           last.secsTo(QDateTime::currentDateTimeUtc()) > Desks::staleAfterSeconds;
}
} // namespace

void Desks::enter(const QString& operatorName)
{
    enteredAs() = operatorName;
    Transaction::run([&] {
        Sql::run("delete from desks where computer=:computer and process=:process",
                 {computer(), process()});
        Sql::run("insert into desks(computer,process,operator,since,seen) "
                 "values(:computer,:process,:operator,:since,:seen)",
                 {computer(), process(), operatorName, now(), now()});
    });
}

void Desks::refresh()
{
    if (!enteredAs())
        return;
    Sql update("update desks set seen=:seen where computer=:computer and process=:process");
    update.bind(now()).bind(computer()).bind(process()).exec();
    if (update.rowsAffected() == 0)
        enter(*enteredAs());
}

void Desks::leave()
{
    if (!enteredAs())
        return;
    Sql::run("delete from desks where computer=:computer and process=:process",
             {computer(), process()});
    enteredAs().reset();
}

QList<Desks::Desk> Desks::others()
{
    QList<Desk> found;
    QList<qint64> stale;
    Sql q("select iid,computer,process,operator,since,seen from desks order by iid");
    q.exec();
    while (q.next()) {
        const QString rowComputer = q.text("computer");
        const qint64 rowProcess = q.value("process").toLongLong();
        if (rowComputer == computer() && rowProcess == process())
            continue;
        if (isStale(rowComputer, rowProcess, q.text("seen"))) {
            stale << q.value("iid").toLongLong();
            continue;
        }
        const QDateTime since = QDateTime::fromString(q.text("since"), Qt::ISODate).toLocalTime();
        found << Desk{rowComputer, q.text("operator"), since.toString("yyyy-MM-dd hh:mm")};
    }
    for (const qint64 id : stale)
        Sql::run("delete from desks where iid=:iid", {id});
    return found;
}

QString Desks::othersInNotice()
{
    const QList<Desk> desks = others();
    if (desks.isEmpty())
        return {};
    QStringList names;
    for (const Desk& d : desks)
        names
            << QString::fromUtf8("%1（操作员 %2，%3 起）").arg(d.computer, d.operatorName, d.since);
    return QString::fromUtf8("%1 正在使用本馆数据，请先退出")
        .arg(names.join(QString::fromUtf8("、")));
}

void Desks::refuseWhileOthersIn()
{
    const QString notice = othersInNotice();
    if (!notice.isEmpty())
        throw Refused::notice(notice);
}
