#pragma once

#include "reports/report.h"

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVector>

class QPainter;
class QPagedPaintDevice;

// Where the renderer draws. Every position is in millimetres from the paper's top-left
// corner, so one renderer serves the printer, a PDF file, an image and the recorder.
class ReportCanvas {
public:
    virtual ~ReportCanvas() = default;
    virtual void beginPage(int index) = 0; // pages count from 0
    // A single line of text whose box starts at box.topLeft(); box.width() is the width the
    // alignment works in (0: the text's own width).
    virtual void text(const QRectF& box, const QString& text, const ReportFont& font,
                      ReportAlign align, ReportElement::Overflow overflow) = 0;
    virtual void line(QPointF from, QPointF to, double penMm) = 0;
    virtual void frame(const QRectF& box, double penMm) = 0;
    virtual void image(const QRectF& box, const QImage& image) = 0;
};

// Paints on a QPainter whose origin is the paper's top-left corner. With a paged device,
// each page after the first starts a new sheet; with onlyPage set, the other pages are
// laid out but not drawn (an image holds one page).
class PainterCanvas : public ReportCanvas {
public:
    PainterCanvas(QPainter& painter, QPagedPaintDevice* pages, int onlyPage = -1);
    void beginPage(int index) override;
    void text(const QRectF& box, const QString& text, const ReportFont& font, ReportAlign align,
              ReportElement::Overflow overflow) override;
    void line(QPointF from, QPointF to, double penMm) override;
    void frame(const QRectF& box, double penMm) override;
    void image(const QRectF& box, const QImage& image) override;

    // Where a text ends up and in which size, in millimetres (also used by the recorder).
    struct PlacedText {
        QRectF box;
        QFont font;
    };
    static PlacedText place(const QRectF& box, const QString& text, const ReportFont& font,
                            ReportAlign align, ReportElement::Overflow overflow);

private:
    bool drawing() const { return m_onlyPage < 0 || m_page == m_onlyPage; }
    QPointF toDevice(QPointF mm) const;
    QRectF toDevice(const QRectF& mm) const;
    double toDevice(double mm) const;

    QPainter& m_painter;
    QPagedPaintDevice* m_pages;
    int m_onlyPage;
    int m_page = -1;
    double m_dotsPerMm;
};

// Keeps what was drawn, page by page, for tests of positions and texts.
class RecordingCanvas : public ReportCanvas {
public:
    struct Item {
        enum class Kind { Text, Line, Frame, Image } kind;
        int page = 0;
        QRectF box; // text: the placed box; line: from topLeft to bottomRight
        QString text;
        QFont font;
    };

    void beginPage(int index) override { m_page = index; }
    void text(const QRectF& box, const QString& text, const ReportFont& font, ReportAlign align,
              ReportElement::Overflow overflow) override;
    void line(QPointF from, QPointF to, double penMm) override;
    void frame(const QRectF& box, double penMm) override;
    void image(const QRectF& box, const QImage& image) override;

    const QVector<Item>& items() const { return m_items; }
    QVector<Item> texts(const QString& text) const; // every text item equal to text

private:
    QVector<Item> m_items;
    int m_page = 0;
};
