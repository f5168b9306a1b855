#include "data/database.h"

#include "data/log.h"
#include "data/paths.h"
#include "data/schema.h"
#include "data/storeerror.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <utility>
#include <sys/stat.h>

namespace {
void makeDatabaseFilesPrivate(const QString& file)
{
    for (const char* suffix : {"", "-wal", "-shm"})
        ProgramPaths::makeFilePrivate(file + suffix);
}

bool applyPragmas(QSqlDatabase& db, QString* error)
{
    QSqlQuery q(db);
    for (const char* pragma : {
             // Prefix look-ups are case-sensitive and this lets them use the indexes.
             "PRAGMA case_sensitive_like=ON",
             "PRAGMA journal_mode=WAL",
             "PRAGMA synchronous=FULL",
             "PRAGMA foreign_keys=OFF",
         }) {
        if (!q.exec(pragma)) {
            if (error)
                *error = q.lastError().text();
            return false;
        }
    }
    return true;
}

// Older databases cut texts with triggers that call a function only this program
// knows; with them no other tool could write a row. The store cuts at bind time now.
void dropWidthTriggers(QSqlDatabase& db)
{
    QSqlQuery list(db);
    QStringList triggers;
    if (list.exec("select name from sqlite_master where type='trigger' and "
                  "(name like '%\\_width\\_insert' escape '\\' or "
                  "name like '%\\_width\\_update' escape '\\')")) {
        while (list.next())
            triggers << list.value(0).toString();
    }
    list.finish();
    for (const QString& name : triggers) {
        QSqlQuery drop(db);
        if (!drop.exec(QString("drop trigger if exists \"%1\"").arg(name)))
            Log::write(QString("could not drop trigger %1: %2").arg(name, drop.lastError().text()));
    }
    if (!triggers.isEmpty())
        Log::write(QString("dropped %1 width triggers").arg(triggers.size()));
}

QString recoveryNote;

// A restore moves library.db aside as library.db.previous before the restored copy takes
// its name; a stop between the two leaves no library.db. The previous data go back rather
// than an empty library being made in their place. False when they are waiting but could
// not be put back.
bool putPreviousBack(const QString& file)
{
    const QString previous = file + ".previous";
    if (QFileInfo::exists(file) || !QFileInfo::exists(previous))
        return true;
    for (const char* suffix : {"-wal", "-shm"})
        QFile::remove(file + suffix);
    if (!QFile::rename(previous, file))
        return false;
    Log::write(QString("start-up: %1 was missing; put %2 back").arg(file, previous));
    recoveryNote = QString::fromUtf8("上次数据恢复没有完成，数据库文件不在原处，"
                                     "已放回恢复前的数据。");
    return true;
}
} // namespace

QString Database::takeRecoveryNote()
{
    return std::exchange(recoveryNote, QString());
}

void Database::bringUpToDate(QSqlDatabase& db)
{
    dropWidthTriggers(db);
    Schema::upgrade(db);
}

namespace {
// The identity of the opened library file: its device and inode.
struct FileIdentity {
    bool known = false;
    dev_t device = 0;
    ino_t inode = 0;
};

FileIdentity& opened()
{
    static FileIdentity identity;
    return identity;
}

FileIdentity identityOf(const QString& file)
{
    struct stat info {};
    if (::stat(QFile::encodeName(file).constData(), &info) != 0)
        return {};
    return {true, info.st_dev, info.st_ino};
}
} // namespace

bool Database::replacedUnderUs()
{
    if (!opened().known || !isOpen())
        return false;
    const FileIdentity now = identityOf(ProgramPaths::databaseFile());
    return !now.known || now.device != opened().device || now.inode != opened().inode;
}

QSqlDatabase Database::connection()
{
    return QSqlDatabase::database(connectionName, false);
}

bool Database::isOpen()
{
    return QSqlDatabase::contains(connectionName) && connection().isOpen();
}

void Database::close()
{
    if (!QSqlDatabase::contains(connectionName))
        return;
    {
        QSqlDatabase db = connection();
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

bool Database::open(QString* error)
{
    close();
    ProgramPaths::tightenPrivateFolders();
    ProgramPaths::makeFilePrivate(ProgramPaths::logFile());
    const QString file = ProgramPaths::databaseFile();
    if (!putPreviousBack(file)) {
        if (error)
            *error = QString("cannot move %1.previous back to %1").arg(file);
        Log::write(QString("start-up: cannot move %1.previous back").arg(file));
        return false;
    }
    try {
        if (!QFileInfo::exists(file)) {
            Schema::createDelivered(file);
            Log::write(QString("created the delivered database %1").arg(file));
        }
    } catch (const StoreError& e) {
        if (error)
            *error = e.message();
        Log::write(QString("could not create %1: %2").arg(file, e.message()));
        return false;
    }
    makeDatabaseFilesPrivate(file);
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connectionName);
    db.setDatabaseName(file);
    db.setConnectOptions(
        QString("QSQLITE_OPEN_READWRITE;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
    if (!db.open()) {
        if (error)
            *error = db.lastError().text();
        Log::write(QString("could not open %1: %2").arg(file, db.lastError().text()));
        return false;
    }
    {
        QSqlQuery probe(db);
        if (!probe.exec("select count(*) from userk")) {
            if (error)
                *error = probe.lastError().text();
            Log::write(
                QString("%1 is not a library database: %2").arg(file, probe.lastError().text()));
            return false;
        }
    }
    QString reason;
    if (!applyPragmas(db, &reason)) {
        if (error)
            *error = reason;
        Log::write(QString("could not set up %1: %2").arg(file, reason));
        return false;
    }
    try {
        bringUpToDate(db);
    } catch (const StoreError& e) {
        if (error)
            *error = e.message();
        Log::write(QString("could not upgrade %1: %2").arg(file, e.message()));
        return false;
    }
    makeDatabaseFilesPrivate(file);
    opened() = identityOf(file);
    return true;
}
