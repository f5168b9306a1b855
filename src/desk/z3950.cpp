#include "desk/z3950.h"

#include "data/sql.h"
#include "desk/isbn.h"
#include "desk/refused.h"

#include <yaz/zoom.h>

namespace {
QString quoted(const QString& text)
{
    QString escaped = text.simplified();
    escaped.replace(QChar('\\'), QString("\\\\"));
    escaped.replace(QChar('"'), QString("\\\""));
    return '"' + escaped + '"';
}

QString errorText(ZOOM_connection connection)
{
    const char* message = nullptr;
    const char* addinfo = nullptr;
    const int code = ZOOM_connection_error(connection, &message, &addinfo);
    if (code == 0)
        return {};
    QString text = QString::fromUtf8(message ? message : "error");
    if (addinfo && *addinfo)
        text += QString(" (%1)").arg(QString::fromUtf8(addinfo));
    return text;
}
} // namespace

QString Z3950Query::pqf() const
{
    switch (field) {
    case Field::Isbn: {
        const QStringList forms = Isbn::searchForms(text);
        if (forms.isEmpty())
            return {};
        if (forms.size() == 1)
            return "@attr 1=7 " + quoted(forms.first());
        return "@or @attr 1=7 " + quoted(forms.at(0)) + " @attr 1=7 " + quoted(forms.at(1));
    }
    case Field::Title:
        return text.trimmed().isEmpty() ? QString() : "@attr 1=4 " + quoted(text);
    case Field::Author:
        return text.trimmed().isEmpty() ? QString() : "@attr 1=1003 " + quoted(text);
    }
    return {};
}

Z3950Answer Z3950::search(const Z3950Target& target, const Z3950Query& query, int timeoutSeconds,
                          int maxRecords, const std::atomic_bool* cancelled)
{
    Z3950Answer answer;
    answer.target = target.name;
    const QByteArray pqf = query.pqf().toUtf8();
    if (pqf.isEmpty()) {
        answer.error = QString::fromUtf8("检索条件无效");
        return answer;
    }
    ZOOM_options options = ZOOM_options_create();
    ZOOM_options_set(options, "timeout", QByteArray::number(timeoutSeconds).constData());
    ZOOM_options_set(options, "databaseName", target.database.toUtf8().constData());
    ZOOM_options_set(options, "preferredRecordSyntax", target.syntax.toUtf8().constData());
    // Search terms go out in the catalogue's own character set.
    ZOOM_options_set(options, "rpnCharset", target.charset.toUtf8().constData());
    ZOOM_connection connection = ZOOM_connection_create(options);
    ZOOM_connection_connect(connection, target.host.toUtf8().constData(), target.port);
    answer.error = errorText(connection);
    if (answer.error.isEmpty()) {
        ZOOM_resultset results = ZOOM_connection_search_pqf(connection, pqf.constData());
        answer.error = errorText(connection);
        if (answer.error.isEmpty()) {
            answer.found = static_cast<int>(ZOOM_resultset_size(results));
            const int wanted = std::min(answer.found, maxRecords);
            for (int i = 0; i < wanted; ++i) {
                if (cancelled && cancelled->load())
                    break;
                ZOOM_record record = ZOOM_resultset_record(results, static_cast<size_t>(i));
                if (!record)
                    break;
                int length = 0;
                const char* raw = ZOOM_record_get(record, "raw", &length);
                if (!raw || length <= 0)
                    continue;
                const auto format = target.syntax.contains("UNIMARC", Qt::CaseInsensitive) ||
                                            target.syntax.contains("CNMARC", Qt::CaseInsensitive)
                                        ? Marc::Format::Unimarc
                                        : Marc::Format::Guess;
                if (auto decoded = Marc::read(QByteArray(raw, length), target.charset, format)) {
                    decoded->target = target.name;
                    answer.records.append(*decoded);
                }
            }
            if (answer.error.isEmpty())
                answer.error = errorText(connection);
        }
        ZOOM_resultset_destroy(results);
    }
    ZOOM_connection_destroy(connection);
    ZOOM_options_destroy(options);
    return answer;
}

QList<Z3950Target> Z3950::targets(bool enabledOnly)
{
    Sql q(enabledOnly ? "select * from ljmbk where sfqy=\"Y\" order by mc"
                      : "select * from ljmbk order by mc");
    q.exec();
    QList<Z3950Target> list;
    while (q.next()) {
        Z3950Target t;
        t.id = q.value("iid").toLongLong();
        t.name = q.text("mc");
        t.host = q.text("zj");
        t.port = q.integer("dk");
        t.database = q.text("sjk");
        t.syntax = q.text("jlgs");
        t.charset = q.text("zfj");
        t.enabled = q.text("sfqy") == "Y";
        list.append(t);
    }
    return list;
}

qint64 Z3950::saveTarget(const Z3950Target& t)
{
    if (t.name.trimmed().isEmpty())
        throw Refused::notice("请输入检索目标的名称!", "Edit1");
    if (t.host.trimmed().isEmpty())
        throw Refused::notice("请输入检索目标的主机地址!", "Edit2");
    if (t.port < 1 || t.port > 65535)
        throw Refused::notice("端口号应在1到65535之间!", "Edit3");
    const QVariantList values = {t.name.trimmed(),     t.host.trimmed(), t.port,
                                 t.database.trimmed(), t.syntax,         t.charset,
                                 t.enabled ? "Y" : "N"};
    if (t.id == 0) {
        Sql insert("insert into ljmbk(mc,zj,dk,sjk,jlgs,zfj,sfqy) values(:a,:b,:c,:d,:e,:f,:g)");
        insert.bindAll(values).exec();
        return insert.lastInsertId().toLongLong();
    }
    Sql("update ljmbk set mc=:a,zj=:b,dk=:c,sjk=:d,jlgs=:e,zfj=:f,sfqy=:g where iid=:id")
        .bindAll(values)
        .bind(t.id)
        .exec();
    return t.id;
}

void Z3950::removeTarget(qint64 id)
{
    Sql::run("delete from ljmbk where iid=:id", {id});
}
