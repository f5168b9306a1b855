#include "reports/reportcanvas.h"

#include "reports/reportfonts.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

namespace {
constexpr double mmPerInch = 25.4;
// A filled-in value never shrinks below this size, however long it is.
constexpr double smallestPoints = 4;
// Metrics are taken at a fixed high resolution, so that every device lays a text out
// the same way in millimetres.
constexpr double metricsDpi = 1200;

QImage& metricsDevice()
{
    static QImage image = [] {
        QImage i(1, 1, QImage::Format_Mono);
        i.setDotsPerMeterX(qRound(metricsDpi / mmPerInch * 1000));
        i.setDotsPerMeterY(qRound(metricsDpi / mmPerInch * 1000));
        return i;
    }();
    return image;
}

Qt::Alignment qtAlignment(ReportAlign align)
{
    switch (align) {
    case ReportAlign::Centre:
        return Qt::AlignHCenter;
    case ReportAlign::Right:
        return Qt::AlignRight;
    case ReportAlign::Left:
        break;
    }
    return Qt::AlignLeft;
}
} // namespace

PainterCanvas::PlacedText PainterCanvas::place(const QRectF& box, const QString& text,
                                               const ReportFont& font, ReportAlign align,
                                               ReportElement::Overflow overflow)
{
    QFont qfont = ReportFonts::resolve(font);
    const double dotsPerMm = metricsDpi / mmPerInch;
    QFontMetricsF metrics(qfont, &metricsDevice());
    double textWidth = metrics.horizontalAdvance(text) / dotsPerMm;
    double width = box.width();
    double left = box.left();

    if (width <= 0) {
        width = textWidth;
    } else if (textWidth > width) {
        if (overflow == ReportElement::Overflow::Shrink) {
            const double points = std::max(smallestPoints, font.pointSize * width / textWidth);
            qfont.setPointSizeF(points);
            metrics = QFontMetricsF(qfont, &metricsDevice());
        } else {
            // A label grows away from its anchored side.
            if (align == ReportAlign::Right)
                left = box.right() - textWidth;
            else if (align == ReportAlign::Centre)
                left = box.center().x() - textWidth / 2;
            width = textWidth;
        }
    }
    const double height = box.height() > 0 ? box.height() : metrics.height() / dotsPerMm;
    return {QRectF(left, box.top(), width, height), qfont};
}

PainterCanvas::PainterCanvas(QPainter& painter, QPagedPaintDevice* pages, int onlyPage)
    : m_painter(painter), m_pages(pages), m_onlyPage(onlyPage),
      m_dotsPerMm(painter.device()->logicalDpiX() / mmPerInch)
{
}

void PainterCanvas::beginPage(int index)
{
    if (m_pages && index > 0 && m_onlyPage < 0)
        m_pages->newPage();
    m_page = index;
}

QPointF PainterCanvas::toDevice(QPointF mm) const
{
    return mm * m_dotsPerMm;
}

QRectF PainterCanvas::toDevice(const QRectF& mm) const
{
    return QRectF(toDevice(mm.topLeft()), mm.size() * m_dotsPerMm);
}

double PainterCanvas::toDevice(double mm) const
{
    return mm * m_dotsPerMm;
}

void PainterCanvas::text(const QRectF& box, const QString& text, const ReportFont& font,
                         ReportAlign align, ReportElement::Overflow overflow)
{
    if (!drawing() || text.isEmpty())
        return;
    const PlacedText placed = place(box, text, font, align, overflow);
    m_painter.setFont(placed.font);
    m_painter.setPen(Qt::black);
    m_painter.drawText(toDevice(placed.box),
                       qtAlignment(align) | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                       text);
}

void PainterCanvas::line(QPointF from, QPointF to, double penMm)
{
    if (!drawing())
        return;
    QPen pen(Qt::black, toDevice(penMm));
    pen.setCapStyle(Qt::FlatCap);
    m_painter.setPen(pen);
    m_painter.drawLine(toDevice(from), toDevice(to));
}

void PainterCanvas::frame(const QRectF& box, double penMm)
{
    if (!drawing())
        return;
    QPen pen(Qt::black, toDevice(penMm));
    pen.setJoinStyle(Qt::MiterJoin);
    m_painter.setPen(pen);
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(toDevice(box));
}

void PainterCanvas::image(const QRectF& box, const QImage& image)
{
    if (!drawing() || image.isNull())
        return;
    m_painter.drawImage(toDevice(box), image);
}

void RecordingCanvas::text(const QRectF& box, const QString& text, const ReportFont& font,
                           ReportAlign align, ReportElement::Overflow overflow)
{
    const auto placed = PainterCanvas::place(box, text, font, align, overflow);
    m_items.append({Item::Kind::Text, m_page, placed.box, text, placed.font});
}

void RecordingCanvas::line(QPointF from, QPointF to, double)
{
    m_items.append({Item::Kind::Line, m_page, QRectF(from, to), {}, {}});
}

void RecordingCanvas::frame(const QRectF& box, double)
{
    m_items.append({Item::Kind::Frame, m_page, box, {}, {}});
}

void RecordingCanvas::image(const QRectF& box, const QImage& image)
{
    if (!image.isNull())
        m_items.append({Item::Kind::Image, m_page, box, {}, {}});
}

QVector<RecordingCanvas::Item> RecordingCanvas::texts(const QString& text) const
{
    QVector<Item> found;
    for (const Item& item : m_items)
        if (item.kind == Item::Kind::Text && item.text == text)
            found.append(item);
    return found;
}
