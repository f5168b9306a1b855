#pragma once

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>
#include <QXmlStreamReader>

// Reads rendered reports back the way a person checking a printout would: the text and
// word boxes of a PDF through poppler's pdftotext, and the lines of a page image.
namespace ReportProbe {

constexpr double mmPerPoint = 25.4 / 72.0;

inline QString run(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The barcodes a scanner (zbarimg) reads off the first page of a PDF rendered at 300 dpi,
// sorted; each symbol once, however often it is printed.
inline QStringList barcodes(const QString& pdf)
{
    QTemporaryDir folder;
    const QString png = folder.filePath("page");
    run("pdftoppm", {"-r", "300", "-f", "1", "-l", "1", "-png", pdf, png});
    QStringList codes;
    const QString out = run("zbarimg", {"--quiet", "--raw", png + "-1.png"});
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts))
        codes << line.trimmed();
    codes.sort();
    return codes;
}

inline QString pdfText(const QString& pdf, bool layout = false)
{
    QStringList args;
    if (layout)
        args << "-layout";
    return run("pdftotext", args << pdf << "-");
}

// A word of the PDF with its box in millimetres from the paper's top-left corner.
struct Word {
    int page = 0;
    QString text;
    double left = 0, top = 0, right = 0, bottom = 0;
};

inline QVector<Word> pdfWords(const QString& pdf)
{
    QVector<Word> words;
    QXmlStreamReader xml(run("pdftotext", {"-bbox", pdf, "-"}));
    int page = -1;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("page")) {
            ++page;
        } else if (xml.name() == QLatin1String("word")) {
            const auto a = xml.attributes();
            Word w;
            w.page = page;
            w.left = a.value("xMin").toDouble() * mmPerPoint;
            w.top = a.value("yMin").toDouble() * mmPerPoint;
            w.right = a.value("xMax").toDouble() * mmPerPoint;
            w.bottom = a.value("yMax").toDouble() * mmPerPoint;
            w.text = xml.readElementText();
            words.append(w);
        }
    }
    return words;
}

inline int pdfPages(const QString& pdf)
{
    const auto match = QRegularExpression("Pages:\\s+(\\d+)").match(run("pdfinfo", {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

inline QSizeF pdfPaperMm(const QString& pdf)
{
    const auto match =
        QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+) pts").match(run("pdfinfo", {pdf}));
    if (!match.hasMatch())
        return {};
    return QSizeF(match.captured(1).toDouble() * mmPerPoint,
                  match.captured(2).toDouble() * mmPerPoint);
}

// The centre of the dark run crossed when walking across a line, in millimetres: along a
// column at x for a horizontal line, along a row at y for a vertical one. The search
// stays within ±window mm of where the line is expected; -1 when nothing is dark there.
inline double darkCentre(const QImage& image, double dpi, bool walkDown, double acrossMm,
                         double expectedMm, double window = 1.0)
{
    const double dotsPerMm = dpi / 25.4;
    const int fixed = qRound(acrossMm * dotsPerMm);
    const int from = qMax(0, qRound((expectedMm - window) * dotsPerMm));
    const int to = qRound((expectedMm + window) * dotsPerMm);
    double weight = 0, sum = 0;
    for (int i = from; i <= to; ++i) {
        const int x = walkDown ? fixed : i;
        const int y = walkDown ? i : fixed;
        if (x >= image.width() || y >= image.height())
            break;
        const double darkness = 1.0 - qGray(image.pixel(x, y)) / 255.0;
        if (darkness > 0.2) {
            weight += darkness;
            sum += darkness * (i + 0.5);
        }
    }
    return weight > 0 ? sum / weight / dotsPerMm : -1;
}

inline double horizontalLineY(const QImage& image, double dpi, double xMm, double expectedYMm)
{
    return darkCentre(image, dpi, true, xMm, expectedYMm);
}

inline double verticalLineX(const QImage& image, double dpi, double yMm, double expectedXMm)
{
    return darkCentre(image, dpi, false, yMm, expectedXMm);
}

// Where a horizontal line at y starts and ends (the outermost dark pixels of its row
// within [fromMm, toMm]).
inline QPair<double, double> horizontalExtent(const QImage& image, double dpi, double yMm,
                                              double fromMm, double toMm)
{
    const double dotsPerMm = dpi / 25.4;
    const int y = qRound(yMm * dotsPerMm);
    int first = -1, last = -1;
    for (int x = qRound(fromMm * dotsPerMm); x <= qRound(toMm * dotsPerMm); ++x) {
        if (qGray(image.pixel(x, y)) < 128) {
            if (first < 0)
                first = x;
            last = x;
        }
    }
    if (first < 0)
        return {-1, -1};
    return {first / dotsPerMm, (last + 1) / dotsPerMm};
}

} // namespace ReportProbe
