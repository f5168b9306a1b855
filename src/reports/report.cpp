#include "reports/report.h"

QSizeF ReportPage::paperMm() const
{
    const QSizeF portrait = QPageSize(size).size(QPageSize::Millimeter);
    return landscape ? portrait.transposed() : portrait;
}

QRectF ReportPage::printableMm() const
{
    const QSizeF paper = paperMm();
    return QRectF(marginsMm.left(), marginsMm.top(),
                  paper.width() - marginsMm.left() - marginsMm.right(),
                  paper.height() - marginsMm.top() - marginsMm.bottom());
}

ReportElement ReportElement::text(ReportBox box, const QString& text, ReportFont font)
{
    ReportElement e;
    e.m_kind = Kind::Text;
    e.m_box = box.rect();
    e.m_text = text;
    e.m_font = font;
    return e;
}

ReportElement ReportElement::field(ReportBox box, const QString& column, ReportFont font)
{
    ReportElement e = text(box, column, font);
    e.m_kind = Kind::Field;
    e.m_overflow = Overflow::Shrink;
    return e;
}

ReportElement ReportElement::value(ReportBox box, const QString& text, ReportFont font)
{
    ReportElement e = ReportElement::text(box, text, font);
    e.m_overflow = Overflow::Shrink;
    return e;
}

ReportElement ReportElement::hline(double left, double top, double length)
{
    ReportElement e;
    e.m_kind = Kind::HLine;
    e.m_box = QRectF(left, top, length, 0);
    return e;
}

ReportElement ReportElement::vline(double left, double top, double length)
{
    ReportElement e;
    e.m_kind = Kind::VLine;
    e.m_box = QRectF(left, top, 0, length);
    return e;
}

ReportElement ReportElement::rect(ReportBox box)
{
    ReportElement e;
    e.m_kind = Kind::Rect;
    e.m_box = box.rect();
    return e;
}

ReportElement ReportElement::image(ReportBox box, const QImage& image)
{
    ReportElement e;
    e.m_kind = Kind::Image;
    e.m_box = box.rect();
    e.m_image = image;
    return e;
}

ReportElement ReportElement::date(ReportBox box, ReportFont font)
{
    ReportElement e = text(box, QString(), font);
    e.m_kind = Kind::Date;
    return e;
}

ReportElement ReportElement::pageNumber(ReportBox box, ReportFont font)
{
    ReportElement e = text(box, QString(), font);
    e.m_kind = Kind::PageNumber;
    return e;
}

ReportElement ReportElement::sum(ReportBox box, const QString& column, const QString& format,
                                 ReportFont font)
{
    ReportElement e = text(box, column, font);
    e.m_kind = Kind::Sum;
    e.m_format = format;
    e.m_overflow = Overflow::Shrink;
    return e;
}

ReportElement ReportElement::aligned(ReportAlign a) const
{
    ReportElement e = *this;
    e.m_align = a;
    return e;
}

ReportElement ReportElement::formatted(const QString& displayFormat) const
{
    ReportElement e = *this;
    e.m_format = displayFormat;
    return e;
}

ReportElement ReportElement::withFont(ReportFont f) const
{
    ReportElement e = *this;
    e.m_font = f;
    return e;
}

ReportElement ReportElement::overflowing(Overflow o) const
{
    ReportElement e = *this;
    e.m_overflow = o;
    return e;
}

ReportElement ReportElement::withPenWidth(double mm) const
{
    ReportElement e = *this;
    e.m_penWidth = mm;
    return e;
}

ReportElement ReportElement::barcode(ReportBox box, const QString& column, const QString& fixed)
{
    ReportElement e;
    e.m_kind = Kind::Barcode;
    e.m_box = box.rect();
    e.m_text = column;
    e.m_format = fixed;
    return e;
}
