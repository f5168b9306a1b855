#include "data/sql.h"
#include "fixture.h"
#include "reportprobe.h"
#include "reports/reportcanvas.h"
#include "reports/reportfonts.h"
#include "reports/reportformat.h"
#include "reports/reportoutput.h"
#include "reports/reportrenderer.h"
#include "testmain.h"

#include <QTest>

using Item = RecordingCanvas::Item;

namespace {
// A list report on B5 paper: title once, page header and footer with the page number,
// one 5 mm line per row, the total of the amounts after the last row.
Report listReport(std::shared_ptr<RowSource> rows)
{
    using E = ReportElement;
    Report r;
    r.name = "list";
    r.page = ReportPage::b5();
    r.title.height = 20;
    r.title.add(E::text({50, 2}, "明细清单", ReportFont::song(16, true)));
    r.pageHeader.height = 8;
    r.pageHeader.add(E::text({0, 1}, "编号")).add(E::hline(0, 7, 160));
    r.detail.height = 5;
    r.detail.add(E::field({0, 0, 20}, "no"));
    r.detail.add(E::field({40, 0, 30}, "je").formatted("0.00").aligned(ReportAlign::Right));
    r.summary.height = 10;
    r.summary.add(E::text({0, 2}, "合计："));
    r.summary.add(E::sum({40, 2, 30}, "je", "0.00").aligned(ReportAlign::Right));
    r.pageFooter.height = 8;
    r.pageFooter.add(E::text({70, 2}, "第")).add(E::pageNumber({76, 2, 6}));
    r.rows = std::move(rows);
    return r;
}

std::shared_ptr<RowSource> numberedRows(int count)
{
    QVector<QVariantList> rows;
    for (int i = 1; i <= count; ++i)
        rows.append({QString::number(i), i % 5 == 0 ? QVariant() : QVariant(i * 0.25)});
    return std::make_shared<VectorRowSource>(QStringList{"NO", "JE"}, rows);
}

struct Rendered {
    int pages = 0;
    RecordingCanvas canvas;
};

std::unique_ptr<Rendered> render(const Report& report)
{
    auto r = std::make_unique<Rendered>();
    r->pages = ReportRenderer::render(report, r->canvas);
    return r;
}
} // namespace

// The banded engine: pagination, order of rows, page numbers, sums, formats and fonts.
class ReportEngineTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup() { fixture.reset(); }

    // rows → pages, and the page the summary lands on. B5 leaves 237 mm: the first page
    // takes 40 rows under the title, later pages 44; a summary that does not fit under the
    // last row goes onto a page of its own.
    void pagination_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("summaryPage");
        QTest::newRow("no rows") << 0 << 1 << 0;
        QTest::newRow("one row") << 1 << 1 << 0;
        QTest::newRow("three pages") << 120 << 3 << 2;
        QTest::newRow("summary pushed over") << 83 << 3 << 2;
        QTest::newRow("summary just fits") << 82 << 2 << 1;
    }
    void pagination()
    {
        QFETCH(int, rows);
        QFETCH(int, pages);
        QFETCH(int, summaryPage);
        const auto out = render(listReport(numberedRows(rows)));
        QCOMPARE(out->pages, pages);

        // Every row once, in the source's order, never below the footer.
        const QRectF area = ReportPage::b5().printableMm();
        QStringList numbers;
        double lastRowBottom = 0;
        int lastRowPage = 0;
        for (const Item& item : out->canvas.items()) {
            if (item.kind != Item::Kind::Text || item.box.left() != area.left() ||
                item.text == "编号" || item.text == "合计：")
                continue;
            numbers << item.text;
            QVERIFY(item.box.top() + 5 <= area.bottom() - 8 + 1e-6);
            lastRowBottom = item.box.top() + 5;
            lastRowPage = item.page;
        }
        QStringList expected;
        for (int i = 1; i <= rows; ++i)
            expected << QString::number(i);
        QCOMPARE(numbers, expected);

        // Title once, header and numbered footer on every page.
        QCOMPARE(out->canvas.texts("明细清单").size(), 1);
        QCOMPARE(out->canvas.texts("编号").size(), pages);
        for (int p = 0; p < pages; ++p) {
            const auto number = out->canvas.texts(QString::number(p + 1));
            QVERIFY(std::any_of(number.begin(), number.end(), [&](const Item& i) {
                return i.page == p && i.box.left() == area.left() + 76;
            }));
        }

        // The summary follows the last row.
        const auto total = out->canvas.texts("合计：");
        QCOMPARE(total.size(), 1);
        QCOMPARE(total[0].page, summaryPage);
        if (rows > 0 && lastRowPage == summaryPage)
            QVERIFY(total[0].box.top() >= lastRowBottom);
    }

    void sumsAndFormats()
    {
        // 1..120 × 0.25 without every fifth row (null): 1815 - 375 = 1440
        const auto out = render(listReport(numberedRows(120)));
        QCOMPARE(out->canvas.texts("1440.00").size(), 1);
        QCOMPARE(out->canvas.texts("0.25").size(), 1); // row 1, "0.00"
        QVERIFY(out->canvas.texts("合计：").size() == 1);

        const auto empty = render(listReport(numberedRows(0)));
        QCOMPARE(empty->canvas.texts("0.00").size(), 1);
    }

    void displayFormats_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("shown");
        QTest::newRow("two decimals") << QVariant(12.5) << "0.00"
                                      << "12.50";
        QTest::newRow("half away from zero") << QVariant(2.675) << "0.00"
                                             << "2.68";
        QTest::newRow("negative") << QVariant(-0.125) << "0.00"
                                  << "-0.13";
        QTest::newRow("negative rounds to zero") << QVariant(-0.001) << "0.00"
                                                 << "0.00";
        QTest::newRow("whole number") << QVariant(2.5) << "0"
                                      << "3";
        QTest::newRow("grouped") << QVariant(1234567.5) << "#,##0.00"
                                 << "1,234,567.50";
        QTest::newRow("optional decimals") << QVariant(3.10) << "0.##"
                                           << "3.1";
        QTest::newRow("number stored as text") << QVariant("7") << "0.00"
                                               << "7.00";
        QTest::newRow("null prints nothing") << QVariant() << "0.00"
                                             << "";
        QTest::newRow("blank prints nothing") << QVariant("") << "0.00"
                                              << "";
        QTest::newRow("not a number prints as is") << QVariant("abc") << "0.00"
                                                   << "abc";
        QTest::newRow("no format, shortest") << QVariant(12.50) << ""
                                             << "12.5";
        QTest::newRow("no format, text kept") << QVariant("007") << ""
                                              << "007";
        QTest::newRow("date") << QVariant(QDate(2026, 12, 9)) << ""
                              << "2026-12-09";
    }
    void displayFormats()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, format);
        QFETCH(QString, shown);
        QCOMPARE(ReportFormat::display(value, format), shown);
    }

    // Rows straight from the store: read forward in the statement's order, summed exactly,
    // and read again for a second pass (preview, then print).
    void rowsFromTheStore()
    {
        Sql::run("insert into cwk(srje,szyy,fsrq) values(:a,:b,:c)", {0.1, "收押金", "2026-12-02"});
        Sql::run("insert into cwk(srje,szyy,fsrq) values(:a,:b,:c)",
                 {0.2, "收工本费", "2026-12-01"});
        Sql::run("insert into cwk(zcje,szyy,fsrq) values(:a,:b,:c)",
                 {5.0, "退还押金", "2026-12-03"});
        Report r = listReport(std::make_shared<SqlRowSource>(
            "select szyy as no, srje as je from cwk where fsrq>=:tj1 order by fsrq",
            QVariantList{"2026-12-01"}));
        for (int pass = 0; pass < 2; ++pass) {
            const auto out = render(r);
            QStringList reasons;
            for (const Item& i : out->canvas.items())
                if (i.text.startsWith("收") || i.text.startsWith("退"))
                    reasons << i.text;
            QCOMPARE(reasons, QStringList({"收工本费", "收押金", "退还押金"}));
            QCOMPARE(out->canvas.texts("0.30").size(), 1); // exact, not 0.30000000000000004
        }

        Report broken = listReport(std::make_shared<SqlRowSource>("select * from nosuchtable"));
        QVERIFY_THROWS_EXCEPTION(StoreError, render(broken));
    }

    // A label grows to the right; a filled-in value keeps its box in a smaller size.
    void overflow()
    {
        Report r;
        r.title.height = 20;
        const QString longText = "一二三四五六七八九十一二三四五六七八九十";
        r.title.add(ReportElement::text({10, 0, 20, 0}, longText));
        r.title.add(ReportElement::value({10, 10, 20, 0}, longText));
        const auto out = render(r);
        const auto items = out->canvas.texts(longText);
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0].box.left(), 20.0); // 10 mm margin + 10
        QVERIFY(items[0].box.width() > 40);
        QCOMPARE(items[1].box.width(), 20.0);
        QVERIFY(items[1].font.pointSizeF() < 9);
    }

    void fallbackFaces_data()
    {
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<QString>("installed");
        QTest::newRow("宋体") << "宋体"
                              << "AR PL UMing CN";
        QTest::newRow("SimSun") << "SimSun"
                                << "AR PL UMing CN";
        QTest::newRow("黑体") << "黑体"
                              << "WenQuanYi Micro Hei";
        QTest::newRow("missing face") << "楷体_GB2312"
                                      << "AR PL UMing CN";
    }
    void fallbackFaces()
    {
        QFETCH(QString, wanted);
        QFETCH(QString, installed);
        const QString family = ReportFonts::installedFamily(wanted);
        // Under a Chinese locale fontconfig names WenQuanYi in Chinese.
        QVERIFY2(family == installed ||
                     (installed.startsWith("WenQuanYi") && family == "文泉驿微米黑"),
                 qPrintable(family));
    }

    // 120 rows to a PDF: three numbered pages, the total on the last.
    void multiPagePdf()
    {
        const QString file = fixture->path("list.pdf");
        QVERIFY(ReportOutput::toPdf(listReport(numberedRows(120)), file));
        QCOMPARE(ReportProbe::pdfPages(file), 3);
        const QStringList pages = ReportProbe::pdfText(file).split('\f');
        QVERIFY(pages[2].contains("合计："));
        QVERIFY(pages[2].contains("1440.00"));
        QVERIFY(!pages[1].contains("合计："));
        QVERIFY(pages[0].contains("明细清单"));
        QVERIFY(!pages[1].contains("明细清单"));
    }
};

LIBRARY_TEST(ReportEngineTest)
#include "reportenginetest.moc"
