#include "ui/export.h"

#include "data/dates.h"
#include "data/log.h"
#include "data/sql.h"
#include "ui/filedialogs.h"
#include "ui/messages.h"
#include "ui/tsfm.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryFile>
#include <cmath>
#include <optional>
#include <xlsxwriter.h>

namespace {
constexpr int maxCellLength = 32767; // the longest text a spreadsheet cell holds

QString shortestNumber(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    if (value == 0)
        return "0";
    // The exact shortest form, unless arithmetic noise (0.30000000000000004)
    // hides a shorter number that 15 significant digits show.
    const QString exact = QString::number(value, 'f', QLocale::FloatingPointShortest);
    const QString rounded = QString::number(value, 'g', 15);
    if (!rounded.contains('e') && rounded.size() < exact.size())
        return rounded;
    return exact;
}

lxw_error putText(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const QString& text)
{
    if (text.isEmpty())
        return LXW_NO_ERROR; // an empty cell
    const QByteArray utf8 = text.left(maxCellLength).toUtf8();
    return worksheet_write_string(sheet, row, column, utf8.constData(), nullptr);
}

QString reasonOf(lxw_error error)
{
    return QString::fromUtf8(lxw_strerror(error));
}

// Asks for the file. Empty when the operator cancels or keeps an existing file.
QString chooseTarget(QWidget* parent, const QString& proposedName)
{
    const QString chosen = FileDialogs::saveFile(parent, QString(), proposedName, QString());
    if (chosen.isEmpty())
        return {};
    const QString path = Export::fileNameFor(chosen);
    if (QFileInfo::exists(path) &&
        !Messages::question(nullptr, QString::fromUtf8("系统询问"),
                            QString::fromUtf8("当前位置已存在该文件名的文件，是否替换？"),
                            Messages::Buttons::YesNo, Messages::Icon::Question))
        return {};
    return path;
}

// Writes the workbook beside the target and puts it in place only when complete,
// so a failure never costs the operator the file that was there.
QString replaceWithWorkbook(const QString& path, QSqlQuery& result, bool onFirstRecord)
{
    const QFileInfo target(path);
    QString partName;
    {
        QTemporaryFile part(target.absolutePath() + "/." + target.fileName() + ".XXXXXX");
        if (!part.open())
            return part.errorString();
        part.setAutoRemove(false);
        partName = part.fileName();
    }
    QString reason = Export::writeWorkbook(partName, result, onFirstRecord);
    if (reason.isEmpty() && (target.exists() || target.isSymLink())) {
        QFile old(path);
        if (!old.remove())
            reason = old.errorString();
    }
    if (reason.isEmpty()) {
        QFile part(partName);
        if (part.rename(path))
            return {};
        reason = part.errorString();
    }
    QFile::remove(partName);
    return reason;
}

bool writeTarget(QWidget* parent, const QString& path, QSqlQuery& result, bool onFirstRecord,
                 const QString& busyText)
{
    QString reason;
    {
        std::optional<BusyNotice> busy;
        if (!busyText.isEmpty())
            busy.emplace(parent, busyText);
        reason = replaceWithWorkbook(path, result, onFirstRecord);
    }
    if (reason.isEmpty())
        return true;
    Log::write(QString("export to %1 failed: %2").arg(path, reason));
    Messages::error(parent, QString::fromUtf8("文件“%1”未能写入。\n原因：%2").arg(path, reason));
    return false;
}
} // namespace

QString Export::fileNameFor(const QString& chosen)
{
    return chosen.contains('.') ? chosen : chosen + ".xlsx";
}

QString Export::cellText(const QVariant& value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return shortestNumber(value.toDouble());
    case QMetaType::QDate:
        return Dates::toText(value.toDate());
    case QMetaType::QDateTime: {
        const QDateTime moment = value.toDateTime();
        return moment.time() == QTime(0, 0) ? Dates::toText(moment.date())
                                            : moment.toString("yyyy-MM-dd hh:mm:ss");
    }
    default:
        return value.toString();
    }
}

QString Export::writeWorkbook(const QString& path, QSqlQuery& result, bool onFirstRecord)
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE; // rows go to disk as they are written
    const QByteArray fileName = QFile::encodeName(path);
    lxw_workbook* workbook = workbook_new_opt(fileName.constData(), &options);
    if (!workbook)
        return QString::fromUtf8("无法创建工作簿");
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);

    QString reason;
    const QSqlRecord fields = result.record();
    const int columns = fields.count();
    if (columns > LXW_COL_MAX)
        reason = QString::fromUtf8("列数超过工作表的上限");
    for (int column = 0; reason.isEmpty() && column < columns; ++column) {
        if (lxw_error error = putText(sheet, 0, column, fields.fieldName(column)))
            reason = reasonOf(error);
    }

    lxw_row_t row = 1;
    bool more = onFirstRecord || result.next();
    while (reason.isEmpty() && more) {
        if (row >= LXW_ROW_MAX) {
            reason = QString::fromUtf8("记录数超过工作表的上限（%1 行）").arg(LXW_ROW_MAX);
            break;
        }
        for (int column = 0; reason.isEmpty() && column < columns; ++column) {
            if (lxw_error error = putText(sheet, row, column, cellText(result.value(column))))
                reason = reasonOf(error);
        }
        if (++row % 512 == 0)
            BusyNotice::keepAlive();
        more = result.next();
    }
    if (reason.isEmpty() && result.lastError().isValid())
        reason = result.lastError().text();

    const lxw_error closed = workbook_close(workbook); // also frees the workbook
    if (reason.isEmpty() && closed != LXW_NO_ERROR)
        reason = reasonOf(closed);
    return reason;
}

bool Export::toSpreadsheet(QWidget* parent, const QString& statement, const QVariantList& values,
                           const QString& proposedName, const QString& busyText)
{
    // Read forward only: rows are handed over one at a time and not kept.
    Sql rows(statement, Sql::Reading::ForwardOnly);
    bool hasRows = false;
    try {
        rows.bindAll(values).exec();
        hasRows = rows.next();
    } catch (const StoreError& e) {
        Messages::error(parent,
                        QString::fromUtf8("读取要导出的记录时出错。\n原因：%1").arg(e.message()));
        return false;
    }
    if (!hasRows) {
        Messages::plain(parent, QString::fromUtf8(noRecordsText));
        return false;
    }
    const QString path = chooseTarget(parent, proposedName);
    if (path.isEmpty())
        return false;
    return writeTarget(parent, path, rows.query(), true, busyText);
}

bool Export::toSpreadsheet(QWidget* parent, QSqlQuery& result, const QString& proposedName,
                           const QString& busyText)
{
    const QString path = chooseTarget(parent, proposedName);
    if (path.isEmpty())
        return false;
    if (!result.isActive()) {
        Messages::notice(nullptr, QString::fromUtf8("系统提示"),
                         QString::fromUtf8("没有记录内容可以导出，操作失败！"));
        return false;
    }
    // A forward-only result that has been read from carries on where it stands.
    const bool onFirstRecord = result.isForwardOnly() && result.at() != QSql::BeforeFirstRow
                                   ? result.isValid()
                                   : result.first();
    return writeTarget(parent, path, result, onFirstRecord, busyText);
}
