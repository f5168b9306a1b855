#pragma once

#include <QByteArray>
#include <QString>

// Text widths of the tables are counted in GBK bytes: a Chinese character takes two.
namespace Gbk {
QByteArray encode(const QString& text);
int width(const QString& text);
// The longest leading part of the text that fits into the given number of bytes,
// never cutting a character in half.
QString truncate(const QString& text, int maxBytes);
} // namespace Gbk
