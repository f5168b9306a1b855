#include "reports/reportoutput.h"

#include "data/log.h"
#include "data/sql.h"
#include "reports/reportcanvas.h"
#include "reports/reportrenderer.h"
#include "ui/filedialogs.h"
#include "ui/messages.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QToolBar>

#include <optional>

namespace {
struct Script {
    bool scripted = false;
    QString pdfFolder;
    std::optional<bool> printerInstalled; // set by a test; otherwise asked of the system
    QList<ReportOutput::Request> requests;
    int written = 0;
};

Script& script()
{
    static Script s;
    return s;
}

// The whole paper is ours: the renderer applies the report's own margins.
QPageLayout paperLayout(const ReportPage& page)
{
    QPageLayout layout(QPageSize(page.size),
                       page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

void preparePrinter(QPrinter& printer, const Report& report)
{
    printer.setFullPage(true);
    printer.setPageLayout(paperLayout(report.page));
    printer.setDocName(report.name);
}

// Paints the report on a printer or PDF writer; the painter always ends, also on error.
int paint(const Report& report, QPagedPaintDevice& device,
          const ReportRenderer::PageStarted& started = {})
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    PainterCanvas canvas(painter, &device);
    try {
        const int pages = ReportRenderer::render(report, canvas, started);
        painter.end();
        return pages;
    } catch (...) {
        painter.end();
        throw;
    }
}

bool hasPrinter()
{
    if (script().printerInstalled)
        return *script().printerInstalled;
    if (script().scripted)
        return true;
    return !QPrinterInfo::availablePrinters().isEmpty();
}

void tellNoPrinter(QWidget* parent, const Report& report)
{
    Log::write(QString("print of %1 refused: no printer installed").arg(report.name));
    Messages::notice(parent, ReportOutput::noPrinterCaption, ReportOutput::noPrinterText);
}

// The preview's print button: without a printer the operator is told so, as when
// printing directly, instead of being offered Qt's print-to-file dialog.
void guardPrintButton(QPrintPreviewDialog& dialog, const Report& report)
{
    const QString printText = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction* action : dialog.findChildren<QAction*>()) {
        if (action->text() != printText)
            continue;
        action->setObjectName("print");
        QObject::disconnect(action, nullptr, &dialog, nullptr);
        QObject::connect(action, &QAction::triggered, &dialog, [&dialog, &report] {
            if (!hasPrinter()) {
                tellNoPrinter(&dialog, report);
                return;
            }
            // The preview's own printing: the print dialog, then the pages it shows.
            QMetaObject::invokeMethod(&dialog, "_q_print");
        });
        return;
    }
}

QPrinterInfo defaultPrinter()
{
    const QPrinterInfo chosen = QPrinterInfo::defaultPrinter();
    if (!chosen.isNull())
        return chosen;
    const auto all = QPrinterInfo::availablePrinters();
    return all.isEmpty() ? QPrinterInfo() : all.first();
}

void record(ReportOutput::Request::Kind kind, const Report& report)
{
    ReportOutput::Request request{kind, report.name, 0, {}};
    if (!script().pdfFolder.isEmpty()) {
        request.pdf = QDir(script().pdfFolder)
                          .filePath(QString("%1-%2.pdf").arg(++script().written).arg(report.name));
        ReportOutput::toPdf(report, request.pdf);
    }
    request.pages = ReportOutput::pageCount(report);
    script().requests.append(request);
}

QString withPdfSuffix(const QString& path)
{
    return QFileInfo(path).suffix().isEmpty() ? path + ".pdf" : path;
}

// The preview's own "save as PDF" button.
void savePdfFrom(QWidget* preview, const Report& report)
{
    const QString proposed =
        QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(report.name + ".pdf");
    QString path = FileDialogs::saveFile(preview, "保存为PDF", proposed, "PDF 文件 (*.pdf)");
    if (path.isEmpty())
        return;
    path = withPdfSuffix(path);
    if (QFileInfo::exists(path) &&
        !Messages::question(preview, "提示信息", QString("文件 %1 已存在，要替换它吗?").arg(path)))
        return;
    try {
        if (ReportOutput::toPdf(report, path))
            return;
        Messages::error(preview, QString("PDF文件 %1 保存不成功！").arg(path));
    } catch (const StoreError& e) {
        Messages::error(preview, QString("报表数据读取出错：%1").arg(e.message()));
    }
}

void addSavePdfButton(QPrintPreviewDialog& dialog, const Report& report)
{
    QToolBar* toolbar = dialog.findChild<QToolBar*>();
    if (!toolbar)
        return;
    toolbar->addSeparator();
    QAction* save = toolbar->addAction("保存为PDF");
    save->setObjectName("savePdf");
    QObject::connect(save, &QAction::triggered, &dialog,
                     [&dialog, &report] { savePdfFrom(&dialog, report); });
}
} // namespace

void ReportOutput::preview(const Report& report, QWidget* parent)
{
    if (script().scripted) {
        record(Request::Kind::Preview, report);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, report);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle("打印预览");
    bool failed = false;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&report, &failed, &dialog](QPrinter* target) {
                         if (failed)
                             return;
                         try {
                             paint(report, *target);
                         } catch (const StoreError& e) {
                             // Shown once; the preview stays empty rather than retrying.
                             failed = true;
                             Messages::error(&dialog,
                                             QString("报表数据读取出错：%1").arg(e.message()));
                         }
                     });
    addSavePdfButton(dialog, report);
    guardPrintButton(dialog, report);
    dialog.exec();
}

bool ReportOutput::printDirect(const Report& report, QWidget* parent)
{
    if (!hasPrinter()) {
        tellNoPrinter(parent, report);
        return false;
    }
    if (script().scripted) {
        record(Request::Kind::Print, report);
        return true;
    }
    QPrinter printer(defaultPrinter(), QPrinter::HighResolution);
    preparePrinter(printer, report);
    QProgressDialog progress("正在打印，请稍候...", QString(), 0, 0, parent);
    progress.setWindowTitle("打印");
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setCancelButton(nullptr);
    progress.setMinimumDuration(0);
    progress.show();
    QApplication::processEvents();
    const int pages = paint(report, printer, [&progress](int page) {
        progress.setLabelText(QString("正在打印第 %1 页，请稍候...").arg(page + 1));
        QApplication::processEvents();
    });
    if (pages == 0) {
        Log::write(QString("print of %1 failed on %2").arg(report.name, printer.printerName()));
        Messages::error(parent, QString("打印机 %1 无法打印。").arg(printer.printerName()));
        return false;
    }
    return true;
}

bool ReportOutput::toPdf(const Report& report, const QString& path)
{
    QPdfWriter writer(path);
    writer.setPageLayout(paperLayout(report.page));
    writer.setTitle(report.name);
    writer.setCreator(Messages::applicationTitle);
    const int pages = paint(report, writer);
    if (pages == 0) {
        Log::write(QString("could not write PDF %1").arg(path));
        return false;
    }
    return true;
}

QImage ReportOutput::toImage(const Report& report, int page, int dpi)
{
    const QSizeF paper = report.page.paperMm();
    QImage image(qRound(paper.width() / 25.4 * dpi), qRound(paper.height() / 25.4 * dpi),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    PainterCanvas canvas(painter, nullptr, page);
    const int pages = ReportRenderer::render(report, canvas);
    painter.end();
    return page < pages ? image : QImage();
}

int ReportOutput::pageCount(const Report& report)
{
    RecordingCanvas canvas;
    return ReportRenderer::render(report, canvas);
}

void ReportOutput::setScripted(bool scripted, const QString& pdfFolder)
{
    script() = Script();
    script().scripted = scripted;
    script().pdfFolder = pdfFolder;
}

bool ReportOutput::isScripted()
{
    return script().scripted;
}

void ReportOutput::setPrinterInstalled(bool installed)
{
    script().printerInstalled = installed;
}

QList<ReportOutput::Request> ReportOutput::takeRequests()
{
    QList<Request> taken = script().requests;
    script().requests.clear();
    return taken;
}
