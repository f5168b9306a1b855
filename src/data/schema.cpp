#include "data/schema.h"

#include "data/log.h"
#include "data/passwords.h"
#include "data/paths.h"
#include "data/storeerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
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
    run(db, QString("PRAGMA user_version=%1").arg(Schema::version));
    if (!db.commit())
        throw StoreError(db.lastError().text(), "commit");
}

int userVersion(QSqlDatabase& db)
{
    QSqlQuery q(db);
    if (!q.exec("PRAGMA user_version") || !q.next())
        throw StoreError(q.lastError().text(), "PRAGMA user_version");
    return q.value(0).toInt();
}

bool exists(QSqlDatabase& db, const QString& type, const QString& name)
{
    QSqlQuery q(db);
    q.prepare("select count(*) from sqlite_master where type=? and lower(name)=lower(?)");
    q.addBindValue(type);
    q.addBindValue(name);
    if (!q.exec() || !q.next())
        throw StoreError(q.lastError().text(), "sqlite_master");
    return q.value(0).toInt() > 0;
}

QStringList columnsOf(QSqlDatabase& db, const QString& table)
{
    QSqlQuery q(db);
    if (!q.exec(QString("pragma table_info(%1)").arg(table)))
        throw StoreError(q.lastError().text(), table);
    QStringList names;
    while (q.next())
        names << q.value(1).toString().toLower();
    return names;
}

// The column definitions of a "create table name (...)" statement.
QStringList columnDefinitions(const QString& statement)
{
    const qsizetype open = statement.indexOf('(');
    const qsizetype close = statement.lastIndexOf(')');
    QStringList defs;
    QString current;
    int depth = 0;
    for (qsizetype i = open + 1; i < close; ++i) {
        const QChar c = statement.at(i);
        if (c == '(')
            ++depth;
        else if (c == ')')
            --depth;
        if (c == ',' && depth == 0) {
            defs << current.simplified();
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.trimmed().isEmpty())
        defs << current.simplified();
    return defs;
}

// Adds a table the file lacks, or the columns an existing table lacks. A column added to
// rows that exist cannot be "not null" or "unique"; its type and default are kept.
void upgradeTable(QSqlDatabase& db, const QString& statement, const QString& name)
{
    if (!exists(db, "table", name)) {
        run(db, statement);
        return;
    }
    const QStringList present = columnsOf(db, name);
    static const QRegularExpression constraint(R"(^(primary|unique|check|foreign|constraint)\b)",
                                               QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression dropped(R"(\b(not\s+null|unique|primary\s+key\s*\w*)\b)",
                                            QRegularExpression::CaseInsensitiveOption);
    for (QString definition : columnDefinitions(statement)) {
        if (constraint.match(definition).hasMatch())
            continue;
        const QString column = definition.section(' ', 0, 0).toLower();
        if (present.contains(column))
            continue;
        definition.remove(dropped);
        run(db, QString("alter table %1 add column %2").arg(name, definition.simplified()));
    }
}

// A title index made now starts with the titles already catalogued; its triggers keep
// it in step from then on.
void fillTitleIndex(QSqlDatabase& db, const QString& table)
{
    if (table.compare("tszk_title", Qt::CaseInsensitive) == 0)
        run(db, "insert into tszk_title(rowid, tsmc) select rowid, tsmc from tszk");
    if (table.compare("tszk_bigram", Qt::CaseInsensitive) == 0)
        run(db, "insert or ignore into tszk_bigram(gram, book) "
                "select substr(t.tsmc, p.key + 1, 2), t.rowid from tszk t, "
                "json_each('[' || replace(hex(zeroblob(length(t.tsmc))), '00', '0,') || '0]') p "
                "where p.key < length(t.tsmc) - 1");
}

void upgradeSchema(QSqlDatabase& db)
{
    static const QRegularExpression created(
        R"(^create\s+(unique\s+index|index|virtual\s+table|table|trigger)\s+(\w+))",
        QRegularExpression::CaseInsensitiveOption);
    for (const QString& statement : splitScript(Schema::scriptText(":/schema/schema.sql"))) {
        const auto match = created.match(statement);
        if (!match.hasMatch())
            continue;
        const QString kind = match.captured(1).toLower().simplified();
        const QString name = match.captured(2);
        if (kind == "table" || kind == "virtual table") {
            const bool added = !exists(db, "table", name);
            if (kind == "table")
                upgradeTable(db, statement, name);
            else if (added)
                run(db, statement);
            if (added)
                fillTitleIndex(db, name);
        } else if (!exists(db, kind.endsWith("trigger") ? "trigger" : "index", name)) {
            run(db, statement);
        }
    }
}

// Functions the rights catalogue lacks are added and granted to the superuser.
void upgradeRights(QSqlDatabase& db)
{
    static const QRegularExpression function(R"(values\s*\('([^']*)','([^']*)','([^']*)')",
                                             QRegularExpression::CaseInsensitiveOption);
    for (const QString& statement : splitScript(Schema::scriptText(":/schema/delivered.sql"))) {
        if (!statement.startsWith("insert into subfunk", Qt::CaseInsensitive))
            continue;
        const auto match = function.match(statement);
        if (!match.hasMatch())
            continue;
        QSqlQuery q(db);
        q.prepare("select count(*) from subfunk where funcename=?");
        q.addBindValue(match.captured(2));
        if (!q.exec() || !q.next())
            throw StoreError(q.lastError().text(), "subfunk");
        if (q.value(0).toInt() > 0)
            continue;
        run(db, statement);
        run(db, "insert into usergrantk(loginuser,funename,funcname) values('ADMIN',?,?)",
            {match.captured(2), match.captured(3)});
    }
}

void removeBuildConnection()
{
    QSqlDatabase::removeDatabase(buildConnection);
}
} // namespace

void Schema::upgrade(QSqlDatabase& db)
{
    if (userVersion(db) >= version)
        return;
    if (!db.transaction())
        throw StoreError(db.lastError().text(), "begin transaction");
    try {
        upgradeSchema(db);
        upgradeRights(db);
        run(db, QString("PRAGMA user_version=%1").arg(version));
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit())
        throw StoreError(db.lastError().text(), "commit");
    Log::write(QString("upgraded the database to version %1").arg(version));
}

QStringList Schema::scriptStatements(const QString& resource)
{
    return splitScript(scriptText(resource));
}

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
