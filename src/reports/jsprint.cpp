#include "reports/jsprint.h"

Report Tjsprintfm::report() const
{
    using E = ReportElement;
    const ReportFont body = ReportFont::song(9);

    Report r;
    r.name = "旧书处理报表";
    r.page = ReportPage::b5();
    const double width = r.page.printableMm().width();

    ReportBand& title = r.title;
    title.height = 28;
    title.add(E::text({54, 1}, "旧 书 处 理 报 表", ReportFont::song(16, true)));
    title.add(E::value({62, 10, 20}, m_from, body));
    if (!m_to.isEmpty()) {
        title.add(E::text({82, 10, 3}, "-", body));
        title.add(E::value({85, 10, 20}, m_to, body));
    }
    title.add(E::text({2, 16}, "条形码", body));
    title.add(E::text({45, 16}, "图书名称", body));
    title.add(E::text({100, 16}, "处理方式", body));
    title.add(E::text({123, 16}, "处理本数", body));
    title.add(E::text({145, 16}, "处理金额", body));
    title.add(E::hline(0, 21, width));
    title.add(E::text({120, 22.5}, "打印日期:", body));
    title.add(E::date({141, 22.5, 20}, body));

    ReportBand& detail = r.detail;
    detail.height = 5;
    detail.add(E::field({0, 0.8, 17.5}, "Txm", body));
    detail.add(E::field({18, 0.8, 81.5}, "Tsmc", body));
    detail.add(E::field({100, 0.8, 26.5}, "Clfs", body));
    detail.add(E::field({127, 0.8, 12.5}, "Clbs", body).formatted("0"));
    detail.add(
        E::field({140, 0.8, 20}, "Clje", body).aligned(ReportAlign::Right).formatted("0.00"));

    ReportBand& summary = r.summary;
    summary.height = 8;
    summary.add(E::hline(0, 0.5, width));
    summary.add(E::text({1, 2}, "总金额：", body));
    summary.add(E::sum({125, 2, 35}, "Clje", "0.00", body).aligned(ReportAlign::Right));

    r.rows = std::make_shared<SqlRowSource>(m_rows.statement(), m_rows.values());
    return r;
}
