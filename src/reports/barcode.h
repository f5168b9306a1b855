#pragma once

#include <QImage>
#include <QString>

// Code 128 symbols (Zint), so that the desk scanner reads a printed label or card back.
namespace Barcode {
// The symbol of `text` as a black-and-white picture, `moduleWidthPx` pixels per narrow bar
// and `heightPx` high, with the quiet zones on both sides; null when the text cannot be
// encoded (empty, or characters Code 128 does not have).
QImage code128(const QString& text, int moduleWidthPx = 3, int heightPx = 120);
} // namespace Barcode
