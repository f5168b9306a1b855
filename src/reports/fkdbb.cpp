#include "reports/fkdbb.h"

Report Tfkdbbfm::report() const
{
    using E = ReportElement;
    const ReportFont body = ReportFont::song(11);
    const auto label = [&](double left, double top, double width, const QString& text) {
        return E::text({left, top, width}, text, body);
    };
    const auto value = [&](double left, double top, double width, const QString& text,
                           ReportAlign align) {
        return E::value({left, top, width}, text, body).aligned(align);
    };

    Report r;
    r.name = "逾期罚款单";
    r.page = ReportPage::b5();
    ReportBand& band = r.title;
    band.height = 70.1;

    // The frame is drawn as four lines, as the bill has always been printed.
    band.add(E::hline(5.8, 0.5, 127.8));
    band.add(E::hline(5.8, 65.1, 127.8));
    band.add(E::vline(5.6, 1.1, 64.8));
    band.add(E::vline(133.3, 1.1, 64.8));

    band.add(E::text({64.3, 3.2, 13.8}, "罚款单", ReportFont::hei(12, true)));
    band.add(label(15.3, 11.1, 10.3, "姓名:"));
    band.add(value(30.7, 10.8, 17.2, m_readerName, ReportAlign::Right));
    band.add(E::hline(30.2, 16.4, 19.1));
    band.add(label(15.3, 20.1, 22.2, "原因及金额:"));
    band.add(label(25.1, 27.8, 28.0, "您借阅的书号为"));
    band.add(value(55.3, 27.8, 17.2, m_barcode, ReportAlign::Centre));
    band.add(label(75.9, 27.8, 20.1, "的图书超期"));
    band.add(value(97.1, 27.8, 17.2, QString::number(m_days), ReportAlign::Centre));
    band.add(label(115.6, 28.3, 8.2, "天，"));
    band.add(E::hline(24.6, 33.6, 100.0));
    band.add(label(16.9, 36.0, 16.1, "因此罚款"));
    band.add(value(35.5, 35.5, 19.8, m_amount, ReportAlign::Centre));
    band.add(label(57.9, 36.0, 65.9, "元。 请以后按时归还所借阅的图书。"));
    band.add(E::hline(16.7, 41.5, 109.0));
    band.add(label(98.2, 50.3, 12.2, "图书馆"));
    band.add(E::date({93.9, 58.2, 13.0}, body));
    return r;
}
