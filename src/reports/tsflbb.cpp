#include "reports/tsflbb.h"

Report TFormtsflbb::report() const
{
    using E = ReportElement;
    const ReportFont body = ReportFont::song(10);

    Report r;
    r.name = "图书分类报表";
    r.page = ReportPage::a4();
    const double width = r.page.printableMm().width();

    ReportBand& header = r.pageHeader;
    header.height = 24;
    header.add(E::text({0, 2, width}, "图书分类报表", ReportFont::song(16, true))
                   .aligned(ReportAlign::Centre));
    header.add(E::hline(0, 14, width));
    header.add(E::text({4.2, 16, 38}, "一级分类代码", body));
    header.add(E::text({44.5, 16, 46}, "一级分类代码名", body));
    header.add(E::text({93.1, 16, 44}, "二级分类代码", body));
    header.add(E::text({139.7, 16, 46}, "二级分类代码名", body));
    header.add(E::hline(0, 22, width));

    ReportBand& detail = r.detail;
    detail.height = 7;
    detail.add(E::field({4.2, 1.2, 38}, "dldm", body));
    detail.add(E::field({44.5, 1.2, 47}, "dlmc", body));
    detail.add(E::field({93.1, 1.2, 46}, "mxldm", body));
    detail.add(E::field({141.8, 1.2, width - 141.8}, "mxlmc", body));
    detail.add(E::hline(0, 6.8, width));

    ReportBand& summary = r.summary;
    summary.height = 9;
    summary.add(E::text({width - 24, 2, 5}, "第", body));
    summary.add(E::pageNumber({width - 19, 2, 12}, body).aligned(ReportAlign::Centre));
    summary.add(E::text({width - 7, 2, 5}, "页", body));

    r.rows = std::make_shared<SqlRowSource>(statement, QVariantList{m_code + "%"});
    return r;
}
