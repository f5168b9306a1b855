#include "reports/reportoutput.h"
#include "fixture.h"
#include "reportprobe.h"
#include "reports/fkdbb.h"
#include "reports/tszprint.h"
#include "testmain.h"
#include "ui/filedialogs.h"
#include "ui/messages.h"

#include <QAction>
#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <QTest>
#include <QTimer>

namespace {
Report bill()
{
    Tfkdbbfm b;
    b.setReaderName("张三丰");
    b.setBarcode("A0001234");
    b.setDaysOverdue(3);
    b.setAmount("1.5");
    return b.report();
}

QPrintPreviewDialog* openPreview()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* preview = qobject_cast<QPrintPreviewDialog*>(w); preview && preview->isVisible())
            return preview;
    return nullptr;
}
} // namespace

// How reports leave the program: preview, direct print, the no-printer notice and the
// preview's save-as-PDF button.
class ReportOutputTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup()
    {
        ReportOutput::setScripted(false);
        fixture.reset();
    }

    void scriptedPreviewAndPrintAreRecorded()
    {
        ReportOutput::setScripted(true, fixture->home());
        Ttszprintfm card;
        card.setName("王小明");
        ReportOutput::preview(card.report());
        QVERIFY(ReportOutput::printDirect(bill()));

        const auto requests = ReportOutput::takeRequests();
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests[0].kind, ReportOutput::Request::Kind::Preview);
        QCOMPARE(requests[0].name, QString("图书借阅证"));
        QCOMPARE(requests[0].pages, 1);
        QVERIFY(ReportProbe::pdfText(requests[0].pdf).contains("王小明"));
        QCOMPARE(requests[1].kind, ReportOutput::Request::Kind::Print);
        QVERIFY(ReportProbe::pdfText(requests[1].pdf).contains("罚款单"));
        QVERIFY(Messages::takeShown().isEmpty());
    }

    void noPrinterIsToldNotSilentlySaved()
    {
        ReportOutput::setScripted(true, fixture->home());
        ReportOutput::setPrinterInstalled(false);
        QVERIFY(!ReportOutput::printDirect(bill()));
        QVERIFY(ReportOutput::takeRequests().isEmpty());
        const auto shown = Messages::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QString(ReportOutput::noPrinterCaption));
        QCOMPARE(shown[0].text, QString("没有安装打印机，无法打印。请先安装打印机后再打印。"));
        QCOMPARE(QDir(fixture->home()).entryList({"*.pdf"}).size(), 0);
    }

    // The real path on a computer without printers (as the test machines are).
    void realPrintWithoutPrinter()
    {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("this computer has a printer");
        ReportOutput::setScripted(false);
        QVERIFY(!ReportOutput::printDirect(bill()));
        QCOMPARE(Messages::lastText(), QString(ReportOutput::noPrinterText));
    }

    // The real preview opens, saves a PDF through its own button (".pdf" added to a name
    // typed without one) and returns once closed.
    void previewSavesPdf()
    {
        ReportOutput::setScripted(false);
        const QString typed = fixture->path("bill");
        FileDialogs::queueAnswer(typed);
        bool saved = false;
        QTimer::singleShot(0, [&] {
            QPrintPreviewDialog* preview = openPreview();
            if (!preview)
                return;
            if (auto* save = preview->findChild<QAction*>("savePdf"))
                save->trigger();
            saved = QFile::exists(typed + ".pdf");
            preview->reject();
        });
        // Should the preview not be found, the test still ends.
        QTimer::singleShot(10000, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        ReportOutput::preview(bill());
        QVERIFY(saved);
        QVERIFY(ReportProbe::pdfText(typed + ".pdf").contains("张三丰"));
        QVERIFY(Messages::takeShown().isEmpty());
    }

    // The preview's print button without a printer tells so, as printing directly does,
    // and offers no print-to-file dialog.
    void previewPrintWithoutPrinter()
    {
        ReportOutput::setScripted(false);
        ReportOutput::setPrinterInstalled(false);
        bool found = false;
        bool onlyThePreview = false; // no other dialog was open a moment after the button
        QTimer::singleShot(0, [&] {
            QPrintPreviewDialog* preview = openPreview();
            if (!preview)
                return;
            // A print dialog would still be open a moment after the button.
            QTimer::singleShot(200, [&, preview] {
                QWidget* modal = QApplication::activeModalWidget();
                onlyThePreview = modal == preview;
                if (modal && modal != preview)
                    modal->close();
            });
            if (auto* print = preview->findChild<QAction*>("print")) {
                found = true;
                print->trigger();
            }
            QTest::qWait(400);
            preview->reject();
        });
        QObject thisTest; // should the preview not be found, the test still ends
        QTimer::singleShot(10000, &thisTest, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        ReportOutput::preview(bill());
        QVERIFY(found);
        QVERIFY(onlyThePreview);
        const auto shown = Messages::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QString(ReportOutput::noPrinterCaption));
        QCOMPARE(shown[0].text, QString(ReportOutput::noPrinterText));
    }

    void imageOfAMissingPageIsNull()
    {
        QVERIFY(!ReportOutput::toImage(bill(), 0, 50).isNull());
        QVERIFY(ReportOutput::toImage(bill(), 1, 50).isNull());
    }
};

LIBRARY_TEST(ReportOutputTest)
#include "reportoutputtest.moc"
