#pragma once

#include "reports/rowsource.h"

#include <QImage>
#include <QMarginsF>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <QVector>

#include <memory>

// A banded report laid out in millimetres.
//
// A report is plain data: a page, five bands and, for a list, a row source. Building
// one paints nothing; ReportOutput (reportoutput.h) previews, prints or saves it.
//
//   Report r;
//   r.page = ReportPage::b5();
//   r.title.height = 20;
//   r.title.add(ReportElement::text({60, 2}, "财 务 明 细 报 表", ReportFont::song(16, true)));
//   r.detail.height = 5;
//   r.detail.add(ReportElement::field({22, 0, 25}, "fsrq"));
//   r.detail.add(ReportElement::field({70, 0, 39}, "srje").aligned(ReportAlign::Right)
//                    .formatted("0.00"));
//   r.summary.height = 8;
//   r.summary.add(ReportElement::sum({70, 1, 39}, "srje", "0.00").aligned(ReportAlign::Right));
//   r.rows = std::make_shared<SqlRowSource>("select * from cwk order by fsrq");
//   ReportOutput::preview(r, this);

enum class ReportAlign { Left, Centre, Right };

// A font by its Windows name ("宋体", "黑体") or any installed family; the renderer
// picks an installed CJK face where the named one is missing (see reportfonts.h).
struct ReportFont {
    QString family = QStringLiteral("宋体");
    double pointSize = 9;
    bool bold = false;

    static ReportFont song(double points, bool bold = false) { return {"宋体", points, bold}; }
    static ReportFont hei(double points, bool bold = false) { return {"黑体", points, bold}; }
};

// Paper, orientation and margins. Positions in bands are measured from the top-left
// corner of the printable area (the paper less the margins).
struct ReportPage {
    QPageSize::PageSizeId size = QPageSize::A4;
    bool landscape = false;
    QMarginsF marginsMm{10, 10, 10, 10};

    static ReportPage a4() { return {}; }
    // B5 as the desk's bills use it: 182 × 257 mm (JIS), not ISO B5.
    static ReportPage b5() { return {QPageSize::JisB5, false, {10, 10, 10, 10}}; }

    QSizeF paperMm() const;     // with the orientation applied
    QRectF printableMm() const; // paper less margins, in paper coordinates
};

// A place in a band, in millimetres from the band's top-left corner: {left, top},
// {left, top, width} or {left, top, width, height}. A width of 0 sizes a text to itself;
// a height of 0 is one line of the element's font.
struct ReportBox {
    ReportBox(double left, double top, double width = 0, double height = 0)
        : left(left), top(top), width(width), height(height)
    {
    }
    ReportBox(const QRectF& r) : ReportBox(r.left(), r.top(), r.width(), r.height()) {}
    QRectF rect() const { return QRectF(left, top, width, height); }

    double left;
    double top;
    double width;
    double height;
};

// One thing drawn in a band. Build with the named constructors, then adjust with the
// chained modifiers:
//   ReportElement::field({30.7, 10.8, 17.2}, "dzm").aligned(ReportAlign::Right)
class ReportElement {
public:
    enum class Kind { Text, Field, HLine, VLine, Rect, Image, Date, PageNumber, Sum, Barcode };
    // What a text does when it is wider than its box: a label grows (to the right when
    // left-aligned), a filled-in value keeps its box and is drawn in a smaller size.
    enum class Overflow { Grow, Shrink };

    // Fixed text (a label); it grows when the text is wider than the box.
    static ReportElement text(ReportBox box, const QString& text, ReportFont font = {});
    // A column of the current detail row, shown in its box (shrinks to fit).
    static ReportElement field(ReportBox box, const QString& column, ReportFont font = {});
    // A text the caller fills in, kept in its box like a field (shrinks to fit).
    static ReportElement value(ReportBox box, const QString& text, ReportFont font = {});
    static ReportElement hline(double left, double top, double length);
    static ReportElement vline(double left, double top, double length);
    static ReportElement rect(ReportBox box);
    // The image stretched to fill the box; a null image draws nothing.
    static ReportElement image(ReportBox box, const QImage& image);
    // A Code 128 symbol of a column of the current row (or of `fixed` when not empty),
    // stretched to fill the box.
    static ReportElement barcode(ReportBox box, const QString& column,
                                 const QString& fixed = QString());
    // Today (Clock::today()) as "yyyy-MM-dd".
    static ReportElement date(ReportBox box, ReportFont font = {});
    // The number of the page being printed, counted from 1.
    static ReportElement pageNumber(ReportBox box, ReportFont font = {});
    // The sum of a column over every detail row printed so far, in the given format.
    static ReportElement sum(ReportBox box, const QString& column,
                             const QString& format = QStringLiteral("0.00"), ReportFont font = {});

    ReportElement aligned(ReportAlign a) const;
    ReportElement formatted(const QString& displayFormat) const; // "0.00", "0", "#,##0.00"
    ReportElement withFont(ReportFont f) const;
    ReportElement overflowing(Overflow o) const;
    ReportElement withPenWidth(double mm) const; // lines and frames; 0.2 mm by default

    Kind kind() const { return m_kind; }
    QRectF box() const { return m_box; }    // millimetres from the band's top-left corner
    QString text() const { return m_text; } // Text/value: the text; Field/Sum: the column
    QString format() const { return m_format; }
    ReportFont font() const { return m_font; }
    ReportAlign align() const { return m_align; }
    Overflow overflow() const { return m_overflow; }
    double penWidth() const { return m_penWidth; }
    const QImage& picture() const { return m_image; }

private:
    Kind m_kind = Kind::Text;
    QRectF m_box;
    QString m_text;
    QString m_format;
    ReportFont m_font;
    ReportAlign m_align = ReportAlign::Left;
    Overflow m_overflow = Overflow::Grow;
    double m_penWidth = 0.2;
    QImage m_image;
};

// A horizontal strip of the page. A band of height 0 is not printed.
struct ReportBand {
    double height = 0; // millimetres
    QVector<ReportElement> elements;

    ReportBand& add(const ReportElement& e)
    {
        elements.append(e);
        return *this;
    }
    bool isEmpty() const { return height <= 0; }
};

struct Report {
    QString name = QStringLiteral("report"); // print job and proposed PDF file name
    ReportPage page;

    ReportBand title; // first page only, or every page when titleOnEveryPage
    bool titleOnEveryPage = false;
    ReportBand pageHeader; // top of every page, under the title
    ReportBand detail;     // once per row, in the row source's order
    ReportBand summary;    // after the last row (also when there are no rows)
    ReportBand pageFooter; // bottom of every page

    // Rows for the detail band; null prints no detail rows. The renderer rewinds it
    // before each pass, so one report can be previewed and then printed.
    std::shared_ptr<RowSource> rows;
};
