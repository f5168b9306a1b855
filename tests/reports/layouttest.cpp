#include "data/clock.h"
#include "fixture.h"
#include "reportprobe.h"
#include "reports/fkdbb.h"
#include "reports/reportcanvas.h"
#include "reports/reportoutput.h"
#include "reports/reportrenderer.h"
#include "reports/shprint.h"
#include "reports/tszprint.h"
#include "testmain.h"

#include <QTest>

using namespace ReportProbe;

Q_DECLARE_METATYPE(Report)

namespace {
constexpr double tolerance = 0.2; // mm
constexpr double dpi = 300;
constexpr double margin = 10; // every layout prints its band at the 10 mm margins

Tfkdbbfm overdueBill()
{
    Tfkdbbfm bill;
    bill.setReaderName("张三丰");
    bill.setBarcode("A0001234");
    bill.setDaysOverdue(3);
    bill.setAmount("1.5");
    return bill;
}

Tshprintfm damageBill()
{
    Tshprintfm bill;
    bill.setReaderName("李四");
    bill.setBarcode("B00077");
    bill.setAmount("abc"); // the amount box text as typed, even when it is not a number
    return bill;
}

Ttszprintfm card()
{
    Ttszprintfm c;
    c.setGrade("A");
    c.setCardNumber("20260001");
    c.setName("王小明");
    c.setIdentityNumber("110101199001011234");
    c.setAddress("北京市海淀区中关村大街1号");
    c.setWorkUnit("北京大学图书馆");
    c.setCardDate("2026-12-09");
    c.setValidUntil("2029-12-09");
    return c;
}

const Word* findWord(const QVector<Word>& words, const QString& text)
{
    for (const Word& w : words)
        if (w.text == text)
            return &w;
    return nullptr;
}
} // namespace

// The three printed layouts, read back from the PDF and from page images: paper, the
// positions of their frames and texts in millimetres, the fonts and the texts.
class LayoutTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    QString pdf(const Report& report)
    {
        const QString path = fixture->path(report.name + ".pdf");
        if (!ReportOutput::toPdf(report, path))
            return {};
        return path;
    }

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup() { fixture.reset(); }

    void paperSizes_data()
    {
        QTest::addColumn<Report>("report");
        QTest::addColumn<QSizeF>("paper");
        QTest::newRow("overdue bill on JIS B5") << overdueBill().report() << QSizeF(182, 257);
        QTest::newRow("damage bill on JIS B5") << damageBill().report() << QSizeF(182, 257);
        QTest::newRow("card on A4") << card().report() << QSizeF(210, 297);
    }
    void paperSizes()
    {
        QFETCH(Report, report);
        QFETCH(QSizeF, paper);
        const QString file = pdf(report);
        const QSizeF size = pdfPaperMm(file);
        // PDF page boxes are whole points: 182 mm is 515.9 pt, written as 516.
        QVERIFY2(qAbs(size.width() - paper.width()) < 0.4,
                 qPrintable(QString::number(size.width())));
        QVERIFY2(qAbs(size.height() - paper.height()) < 0.4,
                 qPrintable(QString::number(size.height())));
        QCOMPARE(pdfPages(file), 1);
        const QImage image = ReportOutput::toImage(report, 0, 100);
        QCOMPARE(image.size(),
                 QSize(qRound(paper.width() / 25.4 * 100), qRound(paper.height() / 25.4 * 100)));
    }

    // Texts as a reader finds them in the PDF: the left edge of left-aligned texts, the
    // right edge or centre of aligned values, the top of every text.
    void textPositions_data()
    {
        QTest::addColumn<Report>("report");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("anchor");
        QTest::addColumn<QPointF>("at"); // mm from the band's top-left corner
        const Report overdue = overdueBill().report();
        QTest::newRow("overdue title") << overdue << "罚款单"
                                       << "left" << QPointF(64.3, 3.2);
        QTest::newRow("overdue name label") << overdue << "姓名:"
                                            << "left" << QPointF(15.3, 11.1);
        QTest::newRow("overdue name, right-aligned") << overdue << "张三丰"
                                                     << "right" << QPointF(30.7 + 17.2, 10.8);
        QTest::newRow("overdue barcode, centred") << overdue << "A0001234"
                                                  << "centre" << QPointF(55.3 + 17.2 / 2, 27.8);
        QTest::newRow("overdue days, centred") << overdue << "3"
                                               << "centre" << QPointF(97.1 + 17.2 / 2, 27.8);
        QTest::newRow("overdue 天") << overdue << "天，"
                                    << "left" << QPointF(115.6, 28.3);
        QTest::newRow("overdue amount, centred") << overdue << "1.5"
                                                 << "centre" << QPointF(35.5 + 19.8 / 2, 35.5);
        QTest::newRow("overdue signature") << overdue << "图书馆"
                                           << "left" << QPointF(98.2, 50.3);
        QTest::newRow("overdue date") << overdue << "2026-12-09"
                                      << "left" << QPointF(93.9, 58.2);

        const Report damage = damageBill().report();
        QTest::newRow("damage title") << damage << "罚款单"
                                      << "left" << QPointF(59.7, 7.2);
        QTest::newRow("damage name") << damage << "李四"
                                     << "left" << QPointF(34.1, 14.6);
        QTest::newRow("damage barcode") << damage << "B00077"
                                        << "left" << QPointF(63.5, 32.6);
        QTest::newRow("damage amount as typed") << damage << "abc"
                                                << "left" << QPointF(40.4, 41.9);
        QTest::newRow("damage date") << damage << "2026-12-09"
                                     << "left" << QPointF(92.3, 61.2);

        const Report c = card().report();
        QTest::newRow("card grade label") << c << "等级:"
                                          << "left" << QPointF(5.6, 10.1);
        QTest::newRow("card number") << c << "20260001"
                                     << "left" << QPointF(71.4, 10.6);
        QTest::newRow("card identity label") << c << "身份证号:"
                                             << "left" << QPointF(5.8, 25.9);
        QTest::newRow("card identity") << c << "110101199001011234"
                                       << "left" << QPointF(23.3, 25.4);
        QTest::newRow("card valid-until label") << c << "有效日期:"
                                                << "left" << QPointF(6.6, 55.8);
        QTest::newRow("card valid until") << c << "2029-12-09"
                                          << "left" << QPointF(25.7, 55.8);
        QTest::newRow("card photo placeholder") << c << "(照"
                                                << "left" << QPointF(64.0, 31.5);
    }
    void textPositions()
    {
        QFETCH(Report, report);
        QFETCH(QString, text);
        QFETCH(QString, anchor);
        QFETCH(QPointF, at);
        const QVector<Word> words = pdfWords(pdf(report));
        const Word* word = findWord(words, text);
        QVERIFY2(word, qPrintable("not in the PDF: " + text));
        const double x = anchor == "left"    ? word->left
                         : anchor == "right" ? word->right
                                             : (word->left + word->right) / 2;
        QVERIFY2(qAbs(x - (margin + at.x())) < tolerance,
                 qPrintable(QString("%1 at x %2 mm").arg(text).arg(x - margin)));
        QVERIFY2(qAbs(word->top - (margin + at.y())) < tolerance,
                 qPrintable(QString("%1 at y %2 mm").arg(text).arg(word->top - margin)));
    }

    // Frames and rules found as dark pixels on a 300 dpi image of the page.
    void cardFrameAndRules()
    {
        const QImage page = ReportOutput::toImage(card().report(), 0, dpi);
        const double x0 = margin, y0 = margin;
        // card frame 0.5, 0.5, 90.2 × 61.1
        QVERIFY(qAbs(verticalLineX(page, dpi, y0 + 40, x0 + 0.5) - (x0 + 0.5)) < tolerance);
        QVERIFY(qAbs(verticalLineX(page, dpi, y0 + 40, x0 + 90.7) - (x0 + 90.7)) < tolerance);
        QVERIFY(qAbs(horizontalLineY(page, dpi, x0 + 30, y0 + 0.5) - (y0 + 0.5)) < tolerance);
        QVERIFY(qAbs(horizontalLineY(page, dpi, x0 + 30, y0 + 61.6) - (y0 + 61.6)) < tolerance);
        // rule under the title: 0.8, 15.3, 89.7 long
        QVERIFY(qAbs(horizontalLineY(page, dpi, x0 + 45, y0 + 15.3) - (y0 + 15.3)) < tolerance);
        const auto rule = horizontalExtent(page, dpi, y0 + 15.3, x0 + 0.7, x0 + 90.6);
        QVERIFY2(qAbs(rule.first - (x0 + 0.8)) < tolerance,
                 qPrintable(QString::number(rule.first)));
        QVERIFY2(qAbs(rule.second - (x0 + 90.5)) < tolerance,
                 qPrintable(QString::number(rule.second)));
        // rule under the address: 5.3, 38.4, 46.6 long
        const auto address = horizontalExtent(page, dpi, y0 + 38.4, x0 + 1, x0 + 57);
        QVERIFY(qAbs(address.first - (x0 + 5.3)) < tolerance);
        QVERIFY(qAbs(address.second - (x0 + 51.9)) < tolerance);
        // photo frame 58.2, 18.5, 30.4 × 34.7
        QVERIFY(qAbs(verticalLineX(page, dpi, y0 + 25, x0 + 58.2) - (x0 + 58.2)) < tolerance);
        QVERIFY(qAbs(horizontalLineY(page, dpi, x0 + 75, y0 + 53.2) - (y0 + 53.2)) < tolerance);
    }

    void fineBillFrames()
    {
        const QImage overdue = ReportOutput::toImage(overdueBill().report(), 0, dpi);
        const double x0 = margin, y0 = margin;
        // four lines: top and bottom 127.8 long from 5.8; verticals at 5.6 and 133.3
        QVERIFY(qAbs(horizontalLineY(overdue, dpi, x0 + 40, y0 + 0.5) - (y0 + 0.5)) < tolerance);
        QVERIFY(qAbs(horizontalLineY(overdue, dpi, x0 + 40, y0 + 65.1) - (y0 + 65.1)) < tolerance);
        QVERIFY(qAbs(verticalLineX(overdue, dpi, y0 + 30, x0 + 5.6) - (x0 + 5.6)) < tolerance);
        QVERIFY(qAbs(verticalLineX(overdue, dpi, y0 + 30, x0 + 133.3) - (x0 + 133.3)) < tolerance);
        const auto top = horizontalExtent(overdue, dpi, y0 + 0.5, x0 + 6.5, x0 + 140);
        QVERIFY2(qAbs(top.second - (x0 + 133.6)) < tolerance,
                 qPrintable(QString::number(top.second)));
        // the long rule under the amount: 16.7, 41.5, 109.0 long
        const auto rule = horizontalExtent(overdue, dpi, y0 + 41.5, x0 + 7, x0 + 132);
        QVERIFY(qAbs(rule.first - (x0 + 16.7)) < tolerance);
        QVERIFY(qAbs(rule.second - (x0 + 125.7)) < tolerance);

        const QImage damage = ReportOutput::toImage(damageBill().report(), 0, dpi);
        // rectangle 6.3, 3.2, 118.3 × 64.6
        QVERIFY(qAbs(verticalLineX(damage, dpi, y0 + 30, x0 + 6.3) - (x0 + 6.3)) < tolerance);
        QVERIFY(qAbs(verticalLineX(damage, dpi, y0 + 30, x0 + 124.6) - (x0 + 124.6)) < tolerance);
        QVERIFY(qAbs(horizontalLineY(damage, dpi, x0 + 40, y0 + 3.2) - (y0 + 3.2)) < tolerance);
        QVERIFY(qAbs(horizontalLineY(damage, dpi, x0 + 40, y0 + 67.8) - (y0 + 67.8)) < tolerance);
    }

    void textsAndFaces()
    {
        const QString overdue = pdf(overdueBill().report());
        const QString text = pdfText(overdue);
        for (const char* expected : {"罚款单", "张三丰", "原因及金额:", "的图书超期",
                                     "元。 请以后按时归还所借阅的图书。", "2026-12-09"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        // 宋体 prints in the Song face, 黑体 (the title) in a sans CJK face.
        const QString fonts = run("pdffonts", {overdue});
        QVERIFY2(fonts.contains("UMing"), qPrintable(fonts));
        QVERIFY2(fonts.contains("WenQuanYi"), qPrintable(fonts));

        QVERIFY(pdfText(pdf(damageBill().report())).contains("的图书已被损坏，"));

        // The card title is spaced out; pdftotext keeps its characters in one line.
        const QString cardText = pdfText(pdf(card().report()), true);
        QVERIFY2(QRegularExpression("图\\s+书\\s+借\\s+阅\\s+证").match(cardText).hasMatch(),
                 qPrintable(cardText));
    }

    void cardPhotoCoversThePlaceholder()
    {
        Ttszprintfm withoutPhoto = card();
        QVERIFY(pdfText(pdf(withoutPhoto.report())).contains("(照"));

        Ttszprintfm withPhoto = card();
        QImage photo(60, 70, QImage::Format_RGB32);
        photo.fill(QColor(200, 30, 30));
        withPhoto.setPhoto(photo);
        const QImage page = ReportOutput::toImage(withPhoto.report(), 0, 100);
        const double dotsPerMm = 100 / 25.4;
        // corners and centre of the photo box 58.7, 19.1, 29.6 × 33.6 are the photo
        for (const QPointF mm : {QPointF(59.2, 19.6), QPointF(87.8, 52.2), QPointF(66, 33)}) {
            const QColor c = page.pixelColor(qRound((margin + mm.x()) * dotsPerMm),
                                             qRound((margin + mm.y()) * dotsPerMm));
            QVERIFY2(c.red() > 150 && c.green() < 80, qPrintable(c.name()));
        }
    }

    void reprintLeavesWorkUnitEmpty()
    {
        Ttszprintfm reprint = card();
        reprint.setWorkUnit(QString());
        const QVector<Word> words = pdfWords(pdf(reprint.report()));
        const Word* label = findWord(words, "单位:");
        QVERIFY(label);
        for (const Word& w : words)
            QVERIFY2(qAbs(w.top - label->top) > 2 || w.left < label->right, qPrintable(w.text));
    }

    // No two texts share space, with the longest values the columns hold.
    void textsDoNotOverlap_data()
    {
        QTest::addColumn<Report>("report");
        Tfkdbbfm overdue = overdueBill();
        overdue.setReaderName("欧阳明月");
        overdue.setBarcode("ABCDEFGHIJ0123456789");
        overdue.setDaysOverdue(1234);
        overdue.setAmount("12345.50");
        QTest::newRow("overdue bill") << overdue.report();
        Tshprintfm damage = damageBill();
        damage.setReaderName("欧阳明月");
        damage.setBarcode("ABCDEFGHIJ0123456789");
        damage.setAmount("12345.50");
        QTest::newRow("damage bill") << damage.report();
        Ttszprintfm c = card();
        c.setGrade("A");
        c.setCardNumber("202612345678");
        c.setName("欧阳明月");
        c.setAddress("内蒙古自治区呼和浩特市赛罕区大学东街二三五号院");
        c.setWorkUnit("内蒙古自治区呼和浩特市第一中学");
        QTest::newRow("card") << c.report();
    }
    void textsDoNotOverlap()
    {
        QFETCH(Report, report);
        RecordingCanvas canvas;
        ReportRenderer::render(report, canvas);
        QVector<RecordingCanvas::Item> texts;
        for (const auto& item : canvas.items())
            if (item.kind == RecordingCanvas::Item::Kind::Text)
                texts.append(item);
        for (qsizetype i = 0; i < texts.size(); ++i)
            for (qsizetype j = i + 1; j < texts.size(); ++j)
                QVERIFY2(!texts[i].box.intersects(texts[j].box),
                         qPrintable(texts[i].text + " / " + texts[j].text));
    }

    // A long address keeps clear of the photo frame; a long name stays in its box.
    void longValuesStayInTheirBoxes()
    {
        Ttszprintfm c = card();
        c.setAddress("内蒙古自治区呼和浩特市赛罕区大学东街二三五号院");
        const QVector<Word> words = pdfWords(pdf(c.report()));
        const Word* address = findWord(words, "内蒙古自治区呼和浩特市赛罕区大学东街二三五号院");
        QVERIFY(address);
        QVERIFY2(address->right < margin + 58.2, qPrintable(QString::number(address->right)));

        Tfkdbbfm bill = overdueBill();
        bill.setBarcode("ABCDEFGHIJ0123456789");
        const Word* barcode = findWord(pdfWords(pdf(bill.report())), "ABCDEFGHIJ0123456789");
        QVERIFY(barcode);
        QVERIFY(barcode->left >= margin + 55.3 - tolerance);
        QVERIFY(barcode->right <= margin + 55.3 + 17.2 + tolerance);
    }
};

LIBRARY_TEST(LayoutTest)
#include "layouttest.moc"
