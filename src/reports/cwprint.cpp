#include "reports/cwprint.h"

Report Tcwprintfm::report() const
{
    using E = ReportElement;
    const ReportFont body = ReportFont::song(9);

    Report r;
    r.name = "财务明细报表";
    r.page = ReportPage::b5();
    const double width = r.page.printableMm().width();

    // The heading repeats on every page so that each page carries its number and columns.
    r.titleOnEveryPage = true;
    ReportBand& title = r.title;
    title.height = 25;
    title.add(E::text({0, 1, width}, "财 务 明 细 报 表", ReportFont::song(16, true))
                  .aligned(ReportAlign::Centre));
    title.add(E::value({24, 12, 22}, m_from, body));
    title.add(E::value({46.5, 12, 3}, m_dash, body).aligned(ReportAlign::Centre));
    title.add(E::value({50, 12, 22}, m_to, body));
    // The number's box leaves room for three digits between "第" and "页".
    title.add(E::text({140, 12, 4}, "第", body).aligned(ReportAlign::Right));
    title.add(E::pageNumber({144, 12, 6}, body).aligned(ReportAlign::Centre));
    title.add(E::text({150, 12, 4}, "页", body));
    title.add(E::text({22, 18.5, 25}, "日期", body));
    title.add(E::text({51, 18.5, 35}, "收支原因", body));
    title.add(E::text({85, 18.5, 24}, "收入金额", body).aligned(ReportAlign::Right));
    title.add(E::text({124, 18.5, 24}, "支出金额", body).aligned(ReportAlign::Right));
    title.add(E::hline(20, 23.5, 130));

    ReportBand& detail = r.detail;
    detail.height = 5;
    detail.add(E::field({22, 0.8, 28}, "fsrq", body));
    detail.add(E::field({51, 0.8, 35}, "szyy", body));
    detail.add(E::field({85, 0.8, 24}, "srje", body).aligned(ReportAlign::Right).formatted("0.00"));
    detail.add(
        E::field({118, 0.8, 30}, "zcje", body).aligned(ReportAlign::Right).formatted("0.00"));

    ReportBand& summary = r.summary;
    summary.height = 8;
    summary.add(E::hline(20, 0.5, 130));
    summary.add(E::text({51, 2, 20}, "总计：", body));
    summary.add(E::sum({79, 2, 30}, "srje", "0.00", body).aligned(ReportAlign::Right));
    summary.add(E::sum({118, 2, 30}, "zcje", "0.00", body).aligned(ReportAlign::Right));

    r.rows = std::make_shared<SqlRowSource>(m_rows.statement(), m_rows.values());
    return r;
}
