#include "data/schema.h"

#include "data/passwords.h"
#include "data/paths.h"
#include "data/storeerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {
constexpr const char* buildConnection = "SCHEMA_BUILD";

// A trigger's body holds statements of its own, each ending in ';', up to its "end".
bool insideTriggerBody(const QString& statement)
{
    const QString text = statement.trimmed().toLower();
    return text.startsWith(QLatin1String("create trigger")) && !text.endsWith(QLatin1String("end"));
}

QStringList splitScript(const QString& script)
{
    QStringList statements;
    QString current;
    QChar quote;
    bool comment = false;
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script.at(i);
        if (comment) {
            if (c == QChar('\n'))
                comment = false;
            continue;
        }
        if (quote.isNull() && c == QChar('-') && i + 1 < script.size() &&
            script.at(i + 1) == QChar('-')) {
            comment = true;
            continue;
        }
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QChar('\'') || c == QChar('"')) {
            quote = c;
        } else if (c == QChar(';') && !insideTriggerBody(current)) {
            if (!current.trimmed().isEmpty())
                statements << current.trimmed();
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

void run(QSqlDatabase& db, const QString& statement, const QVariantList& values = {})
{
    QSqlQuery q(db);
    if (!q.prepare(statement))
        throw StoreError(q.lastError().text(), statement);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw StoreError(q.lastError().text(), statement);
}

void runScript(QSqlDatabase& db, const QString& resource)
{
    for (const QString& statement : splitScript(Schema::scriptText(resource)))
        run(db, statement);
}

void build(QSqlDatabase& db)
{
    // The journal mode is kept in the file: every later connection works in WAL.
    run(db, "PRAGMA journal_mode=WAL");
    if (!db.transaction())
        throw StoreError(db.lastError().text(), "begin transaction");
    runScript(db, ":/schema/schema.sql");
    runScript(db, ":/schema/delivered.sql");
    runScript(db, ":/schema/mxflk.sql");
    run(db, "insert into userk(loginuser,name,passw,dj) values(?,?,?,?)",
        {"ADMIN", QString::fromUtf8("管理员"),
         Passwords::hash(Passwords::deliveredSuperuserPassword), "A"});
    // The superuser holds every key of the rights catalogue.
    run(db, "insert into usergrantk(loginuser,funename,funcname) "
            "select 'ADMIN', ownerename, ownercname from funk");
    run(db, "insert into usergrantk(loginuser,funename,funcname) "
            "select 'ADMIN', funcename, funccname from subfunk");
    if (!db.commit())
        throw StoreError(db.lastError().text(), "commit");
}

void removeBuildConnection()
{
    QSqlDatabase::removeDatabase(buildConnection);
}
} // namespace

QString Schema::scriptText(const QString& resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        throw StoreError(QString("missing resource %1").arg(resource), QString());
    return QString::fromUtf8(file.readAll());
}

void Schema::createDelivered(const QString& file)
{
    ProgramPaths::makePrivateFolder(QFileInfo(file).absolutePath());
    const QString partial = file + ".new";
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(partial + suffix);
    if (!ProgramPaths::createPrivateFile(partial))
        throw StoreError(QString("cannot create %1").arg(partial), partial);
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", buildConnection);
        db.setDatabaseName(partial);
        if (!db.open()) {
            failure = db.lastError().text();
        } else {
            try {
                build(db);
            } catch (const StoreError& e) {
                failure = e.message();
                db.rollback();
            }
            // Closing the only connection folds the WAL back into the file.
            db.close();
        }
    }
    removeBuildConnection();
    if (!failure.isEmpty()) {
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(partial + suffix);
        throw StoreError(failure, partial);
    }
    if (!QFile::rename(partial, file))
        throw StoreError(QString("cannot move %1 into place").arg(partial), file);
}
