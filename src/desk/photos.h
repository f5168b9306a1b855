#pragma once

#include <QImage>
#include <QString>

// Reader photographs: "pic/<n>.bmp" under the program folder, numbered by the counter
// row of `zpidb`.
namespace Photos {
// Takes the next number, writes the picture as BMP under it and returns its full path.
// Throws StoreError, or std::runtime_error when the file cannot be written.
QString store(const QImage& picture);
} // namespace Photos
