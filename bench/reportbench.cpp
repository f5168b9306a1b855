#include "bench.h"

#include "data/database.h"
#include "data/sql.h"
#include "reports/reportoutput.h"

#include <QPainter>
#include <QPdfWriter>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {
constexpr int rowCount = 1000;
const char* const statement = "select fsrq, szyy, srje, zcje from cwk order by fsrq";

void fillLedger()
{
    Transaction t;
    const QStringList reasons = {"收押金", "收工本费", "逾期罚款金额", "退还押金", "购书费"};
    for (int i = 0; i < rowCount; ++i) {
        const bool income = i % 4 != 3;
        Sql::run(
            QString("insert into cwk(%1,szyy,fsrq) values(:a,:b,:c)").arg(income ? "srje" : "zcje"),
            {10.0 + i % 97 * 0.5, reasons[i % reasons.size()],
             QDate(2026, 1, 1).addDays(i / 10).toString("yyyy-MM-dd")});
    }
    t.commit();
}

// A ledger list laid out like the finance report: 9 point lines of 5 mm on B5.
Report ledgerReport()
{
    using E = ReportElement;
    Report r;
    r.name = "ledger";
    r.page = ReportPage::b5();
    r.title.height = 24;
    r.titleOnEveryPage = true;
    r.title.add(E::text({55, 2}, "财 务 明 细 报 表", ReportFont::song(16, true)));
    r.title.add(E::text({141, 12}, "第")).add(E::pageNumber({145, 12, 5}));
    r.title.add(E::text({22, 18}, "日期")).add(E::text({51, 18}, "收支原因"));
    r.title.add(E::hline(0, 23, 160));
    r.detail.height = 5;
    r.detail.add(E::field({22, 0, 28}, "fsrq"));
    r.detail.add(E::field({51, 0, 35}, "szyy"));
    r.detail.add(E::field({89, 0, 20}, "srje").formatted("0.00").aligned(ReportAlign::Right));
    r.detail.add(E::field({128, 0, 20}, "zcje").formatted("0.00").aligned(ReportAlign::Right));
    r.summary.height = 10;
    r.summary.add(E::hline(0, 1, 160)).add(E::text({22, 3}, "总计："));
    r.summary.add(E::sum({89, 3, 20}, "srje").aligned(ReportAlign::Right));
    r.summary.add(E::sum({128, 3, 20}, "zcje").aligned(ReportAlign::Right));
    r.rows = std::make_shared<SqlRowSource>(statement);
    return r;
}

// The floor: the same rows drawn as plain text lines on a PDF writer, no layout engine.
void barePdf(const QString& path)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::JisB5));
    QPainter painter(&writer);
    QFont font("AR PL UMing CN");
    font.setPointSizeF(9);
    painter.setFont(font);
    const double dotsPerMm = writer.resolution() / 25.4;
    QSqlQuery q(Database::connection());
    q.setForwardOnly(true);
    q.exec(statement);
    int line = 0;
    while (q.next()) {
        if (line == 44) {
            writer.newPage();
            line = 0;
        }
        const double y = (10 + 24 + 5 * line++) * dotsPerMm;
        painter.drawText(QPointF(32 * dotsPerMm, y), q.value(0).toString());
        painter.drawText(QPointF(61 * dotsPerMm, y), q.value(1).toString());
        painter.drawText(QPointF(99 * dotsPerMm, y), q.value(2).toString());
        painter.drawText(QPointF(138 * dotsPerMm, y), q.value(3).toString());
    }
}
} // namespace

LIBRARY_BENCH(report_pdf_1000_rows, [](const auto& report) {
    Bench::freshHome();
    fillLedger();
    QTemporaryDir out;
    const Report ledger = ledgerReport();
    ReportOutput::toPdf(ledger, out.filePath("warm-up.pdf")); // fonts load once
    const double seconds =
        Bench::seconds([&] { ReportOutput::toPdf(ledger, out.filePath("ledger.pdf")); });
    const double floor = Bench::seconds([&] { barePdf(out.filePath("bare.pdf")); });
    report(Figure{"report_pdf_1000_rows", seconds, "s", floor});
})
