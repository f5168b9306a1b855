#include "reportprobe.h"
#include "reports/barcode.h"
#include "reports/labelsheet.h"
#include "reports/reportoutput.h"
#include "reports/tszprint.h"
#include "testmain.h"

#include <QTemporaryDir>
#include <QTest>

// Barcode labels and the card's number barcode, as a scanner reads them off the paper.
class LabelTest : public QObject {
    Q_OBJECT
    QTemporaryDir folder;

private slots:
    void aLabelSheetHasOneLabelPerCopyThatScansBack()
    {
        const QList<BookLabel> books = {{"B0001", "红楼梦", "I242.4", "A01", 2},
                                        {"B0002", "三国演义", "I242.3", "", 1},
                                        {"TS-2026-0003", "水浒传", "", "A02", 1}};
        LabelSheet sheet; // 3 × 8 on A4
        const Report report = labelSheetReport(books, sheet);
        const QString pdf = folder.filePath("labels.pdf");
        QVERIFY(ReportOutput::toPdf(report, pdf));
        // zbarimg reports a symbol once however often it is printed; the copies show in the text.
        QCOMPARE(ReportProbe::barcodes(pdf), (QStringList{"B0001", "B0002", "TS-2026-0003"}));
        const QString text = ReportProbe::pdfText(pdf);
        QCOMPARE(text.count("B0001"), 2);
        for (const char* expected : {"红楼梦", "三国演义", "水浒传", "I242.4", "A01", "A02"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        // The second row of labels starts one label height down.
        const auto words = ReportProbe::pdfWords(pdf);
        double first = -1, second = -1;
        for (const auto& w : words) {
            if (w.text == "B0001" && first < 0)
                first = w.top;
            else if (w.text == "TS-2026-0003")
                second = w.top;
        }
        QVERIFY(first > 0 && second > first);
        QVERIFY(qAbs(second - first - sheet.labelMm().height()) < 1.0);
    }

    void theCardCarriesItsNumberWhenAsked()
    {
        Ttszprintfm card;
        card.setCardNumber("20261001");
        card.setName("张三");
        card.setNumberBarcode(true);
        const QString pdf = folder.filePath("card.pdf");
        QVERIFY(ReportOutput::toPdf(card.report(), pdf));
        QCOMPARE(ReportProbe::barcodes(pdf), QStringList{"20261001"});
        card.setNumberBarcode(false);
        QVERIFY(ReportOutput::toPdf(card.report(), pdf));
        QCOMPARE(ReportProbe::barcodes(pdf), QStringList());
    }

    void textsCode128CannotHoldAreNotDrawn()
    {
        QVERIFY(Barcode::code128("").isNull());
        QVERIFY(Barcode::code128("图书").isNull());
        QVERIFY(!Barcode::code128("B0001").isNull());
    }
};

LIBRARY_TEST(LabelTest)
#include "labeltest.moc"
