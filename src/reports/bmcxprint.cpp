#include "reports/bmcxprint.h"

Report Tbmcxprintfm::report() const
{
    using E = ReportElement;
    const ReportFont body = ReportFont::song(9);

    Report r;
    r.name = "编目报表";
    r.page = ReportPage::a4();
    const double width = r.page.printableMm().width();

    ReportBand& title = r.title;
    title.height = 24;
    title.add(E::text({74, 1}, "编  目  报  表", ReportFont::song(18, true)));
    title.add(E::text({138, 11, 4}, "第", body).aligned(ReportAlign::Right));
    title.add(E::pageNumber({142, 11, 8}, body).aligned(ReportAlign::Centre));
    title.add(E::text({150, 11, 4}, "页", body));
    title.add(E::text({0, 17}, "图书条形码", body));
    title.add(E::text({24, 17}, "图书名称", body));
    title.add(E::text({101, 17}, "作者", body));
    title.add(E::text({118, 17}, "出版社名称", body));
    title.add(E::text({160, 17}, "单价", body));
    title.add(E::text({173, 17}, "图书版本", body));
    title.add(E::hline(0, 22.5, width));

    ReportBand& detail = r.detail;
    detail.height = 5;
    detail.add(E::field({0, 0.8, 18.5}, "Txm", body));
    detail.add(E::field({19, 0.8, 82.5}, "Tsmc", body));
    detail.add(E::field({102, 0.8, 16.5}, "Zz", body));
    detail.add(E::field({119, 0.8, 40.5}, "Cbsmc", body));
    detail.add(E::field({160, 0.8, 14.5}, "Tsjg", body).formatted("0.00"));
    detail.add(E::field({175, 0.8, 15}, "Tsbb", body));

    ReportBand& summary = r.summary;
    summary.height = 8;
    summary.add(E::hline(0, 0.5, width));
    summary.add(E::text({4, 2}, "记录数：", body));
    summary.add(E::value({22, 2, 30}, QString::number(m_count), body));

    r.rows = std::make_shared<SqlRowSource>(m_rows.text(), m_rows.values);
    return r;
}
