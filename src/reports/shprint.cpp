#include "reports/shprint.h"

Report Tshprintfm::report() const
{
    using E = ReportElement;
    const ReportFont body = ReportFont::song(11);
    const auto label = [&](double left, double top, double width, const QString& text) {
        return E::text({left, top, width}, text, body);
    };
    const auto value = [&](double left, double top, double width, const QString& text) {
        return E::value({left, top, width}, text, body);
    };

    Report r;
    r.name = "损坏罚款单";
    r.page = ReportPage::b5();
    ReportBand& band = r.title;
    band.height = 74.1;

    band.add(E::rect({6.3, 3.2, 118.3, 64.6}));
    band.add(E::text({59.7, 7.2, 13.8}, "罚款单", ReportFont::hei(12, true)));
    band.add(label(17.6, 15.2, 9.7, "姓名:"));
    band.add(value(34.1, 14.6, 15.5, m_readerName));
    band.add(E::hline(32.8, 19.8, 22.0));
    band.add(label(17.1, 24.3, 21.2, "原因及金额:"));
    band.add(label(32.6, 32.8, 26.9, "您借阅的书号为"));
    band.add(value(63.5, 32.6, 15.5, m_barcode));
    band.add(label(83.8, 32.6, 30.7, "的图书已被损坏，"));
    band.add(E::hline(31.0, 38.4, 84.7));
    band.add(label(21.4, 42.3, 15.5, "因此罚款"));
    band.add(value(40.4, 41.9, 15.5, m_amount));
    band.add(label(61.2, 41.3, 53.6, "元，请以后妥善保管借阅书籍。"));
    band.add(E::hline(20.1, 47.4, 96.3));
    band.add(label(96.5, 54.8, 11.6, "图书馆"));
    band.add(E::date({92.3, 61.2, 11.6}, body));
    return r;
}
