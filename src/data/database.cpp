#include "data/database.h"

#include "data/columnwidths.h"
#include "data/log.h"
#include "data/passwords.h"
#include "data/paths.h"
#include "data/sql.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace {
QString resourceText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw StoreError(QString("missing resource %1").arg(path), QString());
    return QString::fromUtf8(file.readAll());
}

void applyPragmas(QSqlDatabase& db)
{
    ColumnWidths::registerFunctions(db);
    QSqlQuery q(db);
    // Prefix look-ups are case-sensitive and this lets them use the indexes.
    q.exec("PRAGMA case_sensitive_like=ON");
    q.exec("PRAGMA synchronous=NORMAL");
    q.exec("PRAGMA foreign_keys=OFF");
}

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

void grantEverything(const QString& loginCode)
{
    Sql::run("insert into usergrantk(loginuser,funename,funcname) "
             "select :a, ownerename, ownercname from funk",
             {loginCode});
    Sql::run("insert into usergrantk(loginuser,funename,funcname) "
             "select :a, funcename, funccname from subfunk",
             {loginCode});
}
} // namespace

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

void Database::runScript(const QString& script)
{
    for (const QString& statement : splitScript(script)) {
        QSqlQuery q(connection());
        if (!q.exec(statement))
            throw StoreError(q.lastError().text(), statement);
    }
}

bool Database::open(QString* error)
{
    close();
    const QString file = ProgramPaths::databaseFile();
    try {
        if (!QFileInfo::exists(file)) {
            createDelivered(file);
            Log::write(QString("created the delivered database %1").arg(file));
        }
    } catch (const StoreError& e) {
        if (error)
            *error = e.message();
        Log::write(QString("could not create %1: %2").arg(file, e.message()));
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connectionName);
    db.setDatabaseName(file);
    db.setConnectOptions("QSQLITE_OPEN_READWRITE");
    if (!db.open()) {
        if (error)
            *error = db.lastError().text();
        Log::write(QString("could not open %1: %2").arg(file, db.lastError().text()));
        return false;
    }
    QSqlQuery probe(db);
    if (!probe.exec("select count(*) from userk")) {
        if (error)
            *error = probe.lastError().text();
        Log::write(QString("%1 is not a library database: %2").arg(file, probe.lastError().text()));
        return false;
    }
    // The probe's statement must be finished first: the store refuses to change the
    // like function while a statement is active, and the pragma would fail unnoticed
    // (index look-ups case-sensitive, every other like case-insensitive).
    probe.finish();
    applyPragmas(db);
    return true;
}

void Database::createDelivered(const QString& file)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    const QString partial = file + ".new";
    QFile::remove(partial);
    // Built through the program's own connection so the statement layer can be used;
    // the file only takes its real name once it is complete.
    close();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connectionName);
        db.setDatabaseName(partial);
        if (!db.open()) {
            const QString message = db.lastError().text();
            close();
            throw StoreError(message, partial);
        }
        applyPragmas(db);
    }
    try {
        Transaction transaction;
        runScript(resourceText(":/sql/schema.sql"));
        ColumnWidths::createTriggers();
        runScript(resourceText(":/sql/delivered.sql"));
        runScript(resourceText(":/sql/mxflk.sql"));
        Sql::run("insert into userk(loginuser,name,passw,dj) values(:a,:b,:c,:d)",
                 {"ADMIN", QString::fromUtf8("管理员"),
                  Passwords::hash(Passwords::deliveredSuperuserPassword), "A"});
        grantEverything("ADMIN");
        transaction.commit();
    } catch (...) {
        close();
        QFile::remove(partial);
        throw;
    }
    close();
    if (!QFile::rename(partial, file))
        throw StoreError(QString("cannot move %1 into place").arg(partial), file);
}
