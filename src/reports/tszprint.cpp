#include "reports/tszprint.h"

namespace {
// Filled-in values end just before the photo frame (or the card's right edge for the
// number) and print smaller when longer, so a long address never runs over the photo.
constexpr double beforePhoto = 57.6;
constexpr double cardRight = 90.2;
} // namespace

Report Ttszprintfm::report() const
{
    using E = ReportElement;
    const ReportFont small = ReportFont::song(9);
    const ReportFont number = ReportFont::song(8);
    const ReportFont large = ReportFont::song(11);
    const auto label = [](double left, double top, const QString& text, ReportFont font) {
        return E::text({left, top}, text, font);
    };
    const auto value = [](double left, double top, double right, const QString& text,
                          ReportFont font) {
        return E::value({left, top, right - left}, text, font);
    };

    Report r;
    r.name = "图书借阅证";
    r.page = ReportPage::a4();
    ReportBand& band = r.title;
    band.height = 72.2;

    band.add(E::rect({0.5, 0.5, 90.2, 61.1}));
    band.add(E::text({20.9, 2.9, 51.3, 5.8}, "图  书  借  阅  证", ReportFont::song(15, true)));
    band.add(E::hline(0.8, 15.3, 89.7));

    band.add(label(5.6, 10.1, "等级:", small));
    band.add(value(20.4, 10.1, 63.4, m_grade, small));
    band.add(label(64.0, 10.6, "NO:", number));
    band.add(value(71.4, 10.6, cardRight, m_number, number));

    band.add(label(5.8, 18.0, "姓名:", small));
    band.add(value(15.3, 18.0, beforePhoto, m_name, small));
    band.add(E::hline(5.0, 22.8, 46.6));
    band.add(label(5.8, 25.9, "身份证号:", small));
    band.add(value(23.3, 25.4, beforePhoto, m_identity, small));
    band.add(E::hline(5.0, 31.0, 46.8));
    band.add(label(5.8, 33.3, "地址:", small));
    band.add(value(15.3, 33.1, beforePhoto, m_address, small));
    band.add(E::hline(5.3, 38.4, 46.6));
    band.add(label(5.8, 40.5, "单位:", small));
    band.add(value(15.3, 40.7, beforePhoto, m_workUnit, small));
    band.add(E::hline(5.6, 45.8, 46.8));

    band.add(label(6.6, 49.5, "办卡日期:", large));
    band.add(value(25.7, 49.5, beforePhoto, m_cardDate, large));
    band.add(label(6.6, 55.8, "有效日期:", large));
    band.add(value(25.7, 55.8, beforePhoto, m_validUntil, large));

    band.add(E::rect({58.2, 18.5, 30.4, 34.7}));
    band.add(label(64.0, 31.5, "(照    片)", large));
    // Drawn after the frame text, so a photograph covers it.
    band.add(E::image({58.7, 19.1, 29.6, 33.6}, m_photo));
    if (m_barcode)
        band.add(E::barcode({58.4, 54.0, 30.0, 6.8}, QString(), m_number));
    return r;
}
