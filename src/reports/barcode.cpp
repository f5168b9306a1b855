#include "reports/barcode.h"

#include <zint.h>

#include <cstring>

QImage Barcode::code128(const QString& text, int moduleWidthPx, int heightPx)
{
    const QByteArray data = text.toLatin1();
    if (text.isEmpty() || QString::fromLatin1(data) != text)
        return {};
    zint_symbol* symbol = ZBarcode_Create();
    if (!symbol)
        return {};
    symbol->symbology = BARCODE_CODE128;
    symbol->show_hrt = 0;          // the label prints the text itself, in the desk's font
    symbol->whitespace_width = 10; // quiet zones of ten modules
    symbol->scale = 0.5f;          // one pixel per module; scaled below
    symbol->height = 40;
    QImage image;
    if (ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char*>(data.constData()),
                        static_cast<int>(data.size())) < ZINT_ERROR &&
        ZBarcode_Buffer(symbol, 0) < ZINT_ERROR && symbol->bitmap) {
        const int width = symbol->bitmap_width;
        const int height = symbol->bitmap_height;
        QImage raster(width, height, QImage::Format_RGB888);
        for (int y = 0; y < height; ++y)
            std::memcpy(raster.scanLine(y), symbol->bitmap + static_cast<size_t>(y) * width * 3,
                        static_cast<size_t>(width) * 3);
        // Whole pixels per module keep every bar edge sharp when the picture is printed.
        image = raster.convertToFormat(QImage::Format_Mono)
                    .scaled(width * moduleWidthPx, heightPx, Qt::IgnoreAspectRatio,
                            Qt::FastTransformation);
    }
    ZBarcode_Delete(symbol);
    return image;
}
