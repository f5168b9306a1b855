#pragma once

#include "reports/report.h"

#include <QImage>
#include <QList>
#include <QString>

class QWidget;

// The one way reports leave the program: the print preview, the default printer, a PDF
// file or an image. Tests switch on scripted mode: nothing opens, every preview and print
// is recorded, and each can be written to a PDF file in a given folder.
//
//   Tfkdbbfm bill;
//   bill.setReaderName(name);
//   ...
//   ReportOutput::printDirect(bill.report(), this);   // fine bills: no preview
//
//   Ttszprintfm card;
//   ...
//   ReportOutput::preview(card.report(), this);       // returns when the preview closes
namespace ReportOutput {

// Told when printing is asked for on a computer without any printer.
inline constexpr const char* noPrinterCaption = "提示信息";
inline constexpr const char* noPrinterText = "没有安装打印机，无法打印。请先安装打印机后再打印。";

// Shows the pages in the print preview, from which the operator prints or saves a PDF
// ("保存为PDF"). Its print button on a computer without a printer gives the notice above. Returns
// when the preview is closed. A store error while reading the rows is shown to the operator and
// logged.
void preview(const Report& report, QWidget* parent = nullptr);

// Prints on the default printer with a progress window and no preview. Without a printer
// the operator gets the notice above and false comes back; nothing is written anywhere.
bool printDirect(const Report& report, QWidget* parent = nullptr);

// Writes the report as a PDF file. False when the file cannot be written.
bool toPdf(const Report& report, const QString& path);

// One page (counted from 0) at the given resolution, white paper; a null image when the
// report has fewer pages.
QImage toImage(const Report& report, int page, int dpi);

int pageCount(const Report& report);

// --- scripted mode for tests ---
struct Request {
    enum class Kind { Preview, Print } kind = Kind::Preview;
    QString name; // the report's name
    int pages = 0;
    QString pdf; // the PDF written for it, when a folder was given
};
// pdfFolder: when not empty, every preview and print is also written there as a PDF.
void setScripted(bool scripted, const QString& pdfFolder = QString());
bool isScripted();
// Whether the computer has a printer, for a test: scripted or not. Unless a test says so,
// a scripted computer has one and a real one is asked. setScripted() forgets it.
void setPrinterInstalled(bool installed);
QList<Request> takeRequests(); // everything asked for since the last call

} // namespace ReportOutput
