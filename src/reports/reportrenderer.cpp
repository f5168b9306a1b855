#include "reports/reportrenderer.h"

#include "data/clock.h"
#include "data/dates.h"
#include "data/money.h"
#include "reports/barcode.h"
#include "reports/reportcanvas.h"
#include "reports/reportformat.h"

#include <QHash>

namespace {
// One pass over a report: the page being filled, its number and the running sums.
class Pass {
public:
    Pass(const Report& report, ReportCanvas& canvas, const ReportRenderer::PageStarted& started)
        : m_report(report), m_canvas(canvas), m_started(started), m_area(report.page.printableMm())
    {
    }

    int run()
    {
        RowSource* rows = m_report.rows.get();
        if (!rows)
            return paginate(nullptr);
        try {
            const int pages = paginate(rows);
            rows->finish();
            return pages;
        } catch (...) {
            rows->finish();
            throw;
        }
    }

private:
    int paginate(RowSource* rows)
    {
        if (rows)
            rows->rewind();
        startPage();
        while (rows && rows->next()) {
            if (!fits(m_report.detail.height))
                turnPage();
            addToSums(*rows);
            printBand(m_report.detail, rows);
        }
        if (!m_report.summary.isEmpty()) {
            if (!fits(m_report.summary.height))
                turnPage();
            printBand(m_report.summary, nullptr);
        }
        finishPage();
        return m_page + 1;
    }

    double footerTop() const { return m_area.bottom() - footerHeight(); }
    double footerHeight() const
    {
        return m_report.pageFooter.isEmpty() ? 0 : m_report.pageFooter.height;
    }

    // A band that is taller than an empty page prints anyway rather than forever
    // turning pages.
    bool fits(double height) const { return m_y + height <= footerTop() + 1e-6 || m_pageIsBare; }

    void startPage()
    {
        if (m_started)
            m_started(m_page);
        m_canvas.beginPage(m_page);
        m_y = m_area.top();
        if (m_page == 0 || m_report.titleOnEveryPage)
            printBand(m_report.title, nullptr);
        printBand(m_report.pageHeader, nullptr);
        m_pageIsBare = true;
    }

    void finishPage()
    {
        if (!m_report.pageFooter.isEmpty()) {
            m_y = footerTop();
            printBand(m_report.pageFooter, nullptr);
        }
    }

    void turnPage()
    {
        finishPage();
        ++m_page;
        startPage();
    }

    void addToSums(const RowSource& rows)
    {
        for (const QString& column : summedColumns()) {
            const QVariant v = rows.value(column);
            bool numeric = false;
            const double number = v.toString().trimmed().toDouble(&numeric);
            if (numeric)
                m_sums[column.toLower()] += Money::fromDouble(number);
        }
    }

    const QStringList& summedColumns()
    {
        if (!m_summedKnown) {
            for (const ReportBand* band : {&m_report.title, &m_report.pageHeader, &m_report.detail,
                                           &m_report.summary, &m_report.pageFooter})
                for (const ReportElement& e : band->elements)
                    if (e.kind() == ReportElement::Kind::Sum && !m_summed.contains(e.text()))
                        m_summed.append(e.text());
            m_summedKnown = true;
        }
        return m_summed;
    }

    void printBand(const ReportBand& band, const RowSource* row)
    {
        if (band.isEmpty())
            return;
        const QPointF origin(m_area.left(), m_y);
        for (const ReportElement& e : band.elements)
            printElement(e, origin, row);
        m_y += band.height;
        m_pageIsBare = false;
    }

    void printElement(const ReportElement& e, QPointF origin, const RowSource* row)
    {
        const QRectF box = e.box().translated(origin);
        using Kind = ReportElement::Kind;
        switch (e.kind()) {
        case Kind::Text:
            m_canvas.text(box, e.text(), e.font(), e.align(), e.overflow());
            break;
        case Kind::Field: {
            const QVariant v = row ? row->value(e.text()) : QVariant();
            m_canvas.text(box, ReportFormat::display(v, e.format()), e.font(), e.align(),
                          e.overflow());
            break;
        }
        case Kind::HLine:
            m_canvas.line(box.topLeft(), QPointF(box.right(), box.top()), e.penWidth());
            break;
        case Kind::VLine:
            m_canvas.line(box.topLeft(), QPointF(box.left(), box.bottom()), e.penWidth());
            break;
        case Kind::Rect:
            m_canvas.frame(box, e.penWidth());
            break;
        case Kind::Image:
            m_canvas.image(box, e.picture());
            break;
        case Kind::Barcode: {
            const QString code = !e.format().isEmpty() ? e.format()
                                 : row                 ? row->value(e.text()).toString()
                                                       : QString();
            m_canvas.image(box, Barcode::code128(code));
            break;
        }
        case Kind::Date:
            m_canvas.text(box, Dates::toText(Clock::today()), e.font(), e.align(), e.overflow());
            break;
        case Kind::PageNumber:
            m_canvas.text(box, QString::number(m_page + 1), e.font(), e.align(), e.overflow());
            break;
        case Kind::Sum: {
            const Money total = m_sums.value(e.text().toLower());
            m_canvas.text(box, ReportFormat::number(total.toDouble(), e.format()), e.font(),
                          e.align(), e.overflow());
            break;
        }
        }
    }

    const Report& m_report;
    ReportCanvas& m_canvas;
    const ReportRenderer::PageStarted& m_started;
    const QRectF m_area;
    int m_page = 0;
    double m_y = 0;
    bool m_pageIsBare = true;
    QHash<QString, Money> m_sums;
    QStringList m_summed;
    bool m_summedKnown = false;
};
} // namespace

int ReportRenderer::render(const Report& report, ReportCanvas& canvas, const PageStarted& started)
{
    return Pass(report, canvas, started).run();
}
