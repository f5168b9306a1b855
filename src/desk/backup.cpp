#include "desk/backup.h"

#include "desk/desks.h"

#include "data/database.h"
#include "data/log.h"
#include "data/paths.h"
#include "data/schema.h"
#include "data/storeerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QTemporaryFile>
#include <QThread>

#include <sqlite3.h>

#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace {
using Kind = Backup::Stop::Kind;

QString u(const char* text)
{
    return QString::fromUtf8(text);
}

// A folder as one path, whatever way it was written (trailing slash, "..", links).
QString canonical(const QString& folder)
{
    const QFileInfo info(folder);
    const QString resolved = info.canonicalFilePath();
    return resolved.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : resolved;
}

bool isDataFolder(const QString& folder)
{
    return canonical(folder) == canonical(ProgramPaths::dataFolder());
}

sqlite3* rawHandle()
{
    const QVariant handle = Database::connection().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.data());
}

QString errorOf(sqlite3* db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : u("out of memory");
}

// A connection of our own to a file, closed when it goes.
class RawConnection {
public:
    RawConnection(const QString& file, int flags)
    {
        m_rc = sqlite3_open_v2(QFile::encodeName(file).constData(), &m_db, flags, nullptr);
        if (m_rc == SQLITE_OK)
            sqlite3_busy_timeout(m_db, 5000);
    }
    ~RawConnection() { sqlite3_close_v2(m_db); }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool ok() const { return m_rc == SQLITE_OK; }
    sqlite3* get() const { return m_db; }
    QString error() const { return errorOf(m_db); }
    bool exec(const char* statement)
    {
        return sqlite3_exec(m_db, statement, nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    // The first column of each row of a statement.
    QStringList column(const QString& statement, bool* ok = nullptr)
    {
        QStringList values;
        sqlite3_stmt* stmt = nullptr;
        const QByteArray sql = statement.toUtf8();
        int rc = sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr);
        while (rc == SQLITE_OK && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            values << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
            rc = SQLITE_OK;
        }
        sqlite3_finalize(stmt);
        if (ok)
            *ok = rc == SQLITE_DONE;
        return values;
    }
    // Table name -> its column names, in lower case.
    QHash<QString, QSet<QString>> tables(bool* ok)
    {
        QHash<QString, QSet<QString>> result;
        const QStringList names = column(
            "select name from sqlite_master where type='table' and name not like 'sqlite%'", ok);
        for (const QString& name : names) {
            QStringList columns;
            sqlite3_stmt* stmt = nullptr;
            const QByteArray sql = QString("pragma table_info(\"%1\")").arg(name).toUtf8();
            if (sqlite3_prepare_v2(m_db, sql.constData(), -1, &stmt, nullptr) == SQLITE_OK) {
                while (sqlite3_step(stmt) == SQLITE_ROW)
                    columns << QString::fromUtf8(
                                   reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)))
                                   .toLower();
            }
            sqlite3_finalize(stmt);
            result.insert(name.toLower(), QSet<QString>(columns.begin(), columns.end()));
        }
        return result;
    }

private:
    sqlite3* m_db = nullptr;
    int m_rc = SQLITE_ERROR;
};

QString deliveredSchema()
{
    for (const char* resource : {":/schema/schema.sql", ":/sql/schema.sql"}) {
        QFile file(QString::fromLatin1(resource));
        if (file.open(QIODevice::ReadOnly))
            return QString::fromUtf8(file.readAll());
    }
    return {};
}

void removeDatabaseFiles(const QString& file)
{
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(file + QLatin1String(suffix));
}

// Moves a file over another in one step: the target is either the old or the new file.
bool replace(const QString& from, const QString& to, QString* reason)
{
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(from).toStdString()),
                            std::filesystem::path(QFile::encodeName(to).toStdString()), error);
    if (error && reason)
        *reason = QString::fromLocal8Bit(error.message().c_str());
    return !error;
}

// The copy is on the disk before it takes the name of the real file.
bool flushToDisk(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    return ::fsync(f.handle()) == 0;
}

[[noreturn]] void backupFailed(const QString& reason)
{
    Log::write(QString("backup failed: %1").arg(reason));
    throw Backup::Stop(Kind::Error, u("提示"), u("数据备份失败！\n原因：%1").arg(reason));
}

[[noreturn]] void restoreFailed(const QString& reason)
{
    Log::write(QString("restore failed: %1").arg(reason));
    throw Backup::Stop(Kind::Error, u("提示"),
                       u("数据恢复失败，原有数据没有改变。\n原因：%1").arg(reason));
}

[[noreturn]] void notABackup(const QString& text)
{
    throw Backup::Stop(Kind::Notice, u("提示"), text);
}

// Copies the open database with the online backup into `file`; false with the reason.
bool copyOpenDatabase(const QString& file, QString* reason)
{
    sqlite3* source = rawHandle();
    if (!source) {
        *reason = u("数据库没有打开");
        return false;
    }
    RawConnection target(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    // A copy under a temporary name needs no journal of its own: an unfinished one is
    // thrown away, and the finished one goes to the disk in one flush before its rename.
    if (!target.ok() || !target.exec("PRAGMA synchronous=OFF") ||
        !target.exec("PRAGMA journal_mode=OFF")) {
        *reason = target.error();
        return false;
    }
    sqlite3_backup* backup = sqlite3_backup_init(target.get(), "main", source, "main");
    if (!backup) {
        *reason = target.error();
        return false;
    }
    int rc = SQLITE_OK;
    for (int attempt = 0; attempt < 100; ++attempt) {
        rc = sqlite3_backup_step(backup, -1);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
            break;
        QThread::msleep(50);
    }
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
        *reason = QString::fromUtf8(sqlite3_errstr(rc));
        return false;
    }
    // One self-contained file: no -wal beside it when the copy is moved or restored.
    if (!target.exec("PRAGMA journal_mode=DELETE")) {
        *reason = target.error();
        return false;
    }
    return true;
}

// --- a backup written by another version of the program ---

// Why the staged copy of a backup cannot be brought to this program's tables, or empty.
// A copy written by an earlier version is upgraded as an opened library is; one written
// by a newer version holds tables this program does not know and is refused. A file that
// is no library at all (no operator table) is left to the structure check.
QString upgradeRefusal(const QString& staged)
{
    int version = 0;
    {
        RawConnection db(staged, SQLITE_OPEN_READWRITE);
        bool ok = false;
        const QStringList operatorTable =
            db.column("select name from sqlite_master where type='table' and name='userk'", &ok);
        if (!db.ok() || !ok || operatorTable.isEmpty())
            return {};
        version = db.column("PRAGMA user_version").value(0).toInt();
    }
    if (version > Schema::version)
        return u("所选的备份数据是较新版本的程序建立的，本程序不能恢复！");
    if (version == Schema::version)
        return {};
    const QString connection = "RESTORE_UPGRADE";
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connection);
        db.setDatabaseName(staged);
        if (!db.open()) {
            failure = db.lastError().text();
        } else {
            try {
                Database::bringUpToDate(db);
            } catch (const StoreError& e) {
                failure = e.message();
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (!failure.isEmpty())
        return u("所选的数据不是本系统的备份数据，不能恢复！\n%1").arg(failure);
    Log::write(QString("restore: upgraded the copy from version %1").arg(version));
    return {};
}

// A library in which no operator could log in would lock everyone out once restored.
QString operatorRefusal(const QString& staged)
{
    RawConnection db(staged, SQLITE_OPEN_READONLY);
    if (db.column("select count(*) from userk").value(0).toInt() > 0)
        return {};
    return u("所选的备份数据中没有任何操作员，恢复后无人能登录，不能恢复！");
}
} // namespace

QString Backup::defaultFolder()
{
    return ProgramPaths::backupFolder();
}

void Backup::checkChosenFolder(const QString& folder)
{
    if (isDataFolder(folder))
        throw Stop(Kind::Notice, u("提示"), u("不是系统备份路径，错误的路径!"));
    // Tried rather than read from the permissions: a read-only medium says writable.
    QTemporaryFile probe(QDir(folder).filePath("probe-XXXXXX"));
    if (!QFileInfo(folder).isDir() || !probe.open())
        throw Stop(Kind::Error, u("系统提示"), u("该文件夹不可写，请检查文件夹是否写保护!"));
}

void Backup::backupTo(const QString& typedFolder)
{
    const QString folder = typedFolder.trimmed();
    if (folder.isEmpty())
        throw Stop(Kind::Plain, QString(), u("备份路径不能为空！"));
    if (isDataFolder(folder))
        throw Stop(Kind::NoticeNoIcon, u("提示"), u("备份路径不对，不能备份！"));
    if (!ProgramPaths::createFolder(folder))
        backupFailed(u("无法建立文件夹 %1").arg(folder));

    const QString file = QDir(folder).filePath(fileName);
    const QString partial = file + ".partial";
    removeDatabaseFiles(partial);
    QString reason;
    if (!copyOpenDatabase(partial, &reason)) {
        removeDatabaseFiles(partial);
        backupFailed(reason);
    }
    QFile::setPermissions(partial, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!flushToDisk(partial)) {
        removeDatabaseFiles(partial);
        backupFailed(u("无法写入 %1").arg(partial));
    }
    // A -wal or -shm left beside an older backup would be read as part of the new one.
    QFile::remove(file + "-wal");
    QFile::remove(file + "-shm");
    if (!replace(partial, file, &reason)) {
        removeDatabaseFiles(partial);
        backupFailed(reason);
    }
    Log::write(QString("backed up the database to %1").arg(file));
}

QString Backup::problemsOf(const QString& databaseFile)
{
    if (!QFileInfo(databaseFile).isFile())
        return u("没有数据库文件");
    RawConnection db(databaseFile, SQLITE_OPEN_READWRITE);
    if (!db.ok())
        return db.error();
    bool ok = false;
    const QStringList check = db.column("PRAGMA quick_check", &ok);
    if (!ok)
        return db.error();
    if (check != QStringList{"ok"})
        return check.join('\n');
    const auto found = db.tables(&ok);
    if (!ok)
        return db.error();

    RawConnection delivered(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    const QByteArray script = deliveredSchema().toUtf8();
    if (script.isEmpty() ||
        sqlite3_exec(delivered.get(), script.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        return u("无法读取系统的表结构");
    const auto expected = delivered.tables(&ok);
    QStringList missing;
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
        if (!found.contains(it.key())) {
            missing << it.key();
            continue;
        }
        for (const QString& column : it.value())
            if (!found.value(it.key()).contains(column))
                missing << it.key() + "." + column;
    }
    if (!missing.isEmpty()) {
        missing.sort();
        return u("缺少 %1").arg(missing.join(", "));
    }
    return {};
}

namespace {
// A restore swaps the library file: another desk still in would go on writing into the
// file that is swapped out.
void refuseWhileOtherDesksIn()
{
    const QString notice = Desks::othersInNotice();
    if (!notice.isEmpty())
        throw Backup::Stop(Backup::Stop::Kind::Notice, u("提示"), notice);
}
} // namespace

void Backup::restoreFrom(const QString& typedFolder, const std::function<bool()>& release)
{
    const QString folder = typedFolder.trimmed();
    if (folder.isEmpty())
        throw Stop(Kind::Plain, QString(), u("源数据路径不能为空！"));
    if (isDataFolder(folder))
        notABackup(u("源数据路径不对，不能恢复！"));
    const QString source = QDir(folder).filePath(fileName);
    if (!QFileInfo(source).isFile())
        notABackup(u("该文件夹中没有备份数据，不能恢复！"));
    refuseWhileOtherDesksIn();

    // The backup is checked as a copy beside the data, so the backup folder is only read
    // and the check sees exactly the file that will be swapped in.
    const QString live = ProgramPaths::databaseFile();
    const QString staged = live + ".restoring";
    removeDatabaseFiles(staged);
    if (!QFile::copy(source, staged) ||
        (QFileInfo::exists(source + "-wal") && !QFile::copy(source + "-wal", staged + "-wal"))) {
        removeDatabaseFiles(staged);
        restoreFailed(u("无法复制 %1").arg(source));
    }
    QFile::setPermissions(staged, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QString upgrade = upgradeRefusal(staged);
    if (!upgrade.isEmpty()) {
        removeDatabaseFiles(staged);
        Log::write(QString("restore refused %1: %2").arg(source, upgrade));
        notABackup(upgrade);
    }
    const QString problems = problemsOf(staged);
    if (!problems.isEmpty()) {
        removeDatabaseFiles(staged);
        Log::write(QString("restore refused %1: %2").arg(source, problems));
        notABackup(u("所选的数据不是本系统的备份数据，不能恢复！\n%1").arg(problems));
    }
    const QString noOperator = operatorRefusal(staged);
    if (!noOperator.isEmpty()) {
        removeDatabaseFiles(staged);
        Log::write(QString("restore refused %1: no operator").arg(source));
        notABackup(noOperator);
    }
    {
        // Fold any -wal into the file before it takes the live name.
        RawConnection fold(staged, SQLITE_OPEN_READWRITE);
        if (!fold.ok() || !fold.exec("PRAGMA journal_mode=DELETE")) {
            const QString reason = fold.error();
            removeDatabaseFiles(staged);
            restoreFailed(reason);
        }
    }
    flushToDisk(staged);

    if (release && !release()) {
        removeDatabaseFiles(staged);
        throw Stop(Kind::Notice, u("提示"), u("请先关闭其他窗口，再进行数据恢复！"));
    }

    // Closing the only connection folds the -wal into library.db, so the old data are
    // one file that can be moved aside and put back.
    Database::close();
    const QString previous = live + ".previous";
    removeDatabaseFiles(previous);
    QString reason;
    const bool hadLive = QFileInfo::exists(live);
    if (hadLive && !replace(live, previous, &reason)) {
        removeDatabaseFiles(staged);
        Database::open();
        restoreFailed(reason);
    }
    QFile::remove(live + "-wal");
    QFile::remove(live + "-shm");
    QString openError;
    if (!replace(staged, live, &reason) || !Database::open(&openError)) {
        if (reason.isEmpty())
            reason = openError;
        Database::close();
        removeDatabaseFiles(live);
        removeDatabaseFiles(staged);
        if (hadLive)
            replace(previous, live, nullptr);
        Database::open();
        restoreFailed(reason);
    }
    removeDatabaseFiles(previous);
    Log::write(QString("restored the database from %1").arg(source));
}
