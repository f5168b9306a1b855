#pragma once

#include <QChar>
#include <QString>

// Pinyin initials of Chinese text, read from the GB2312 level-1 table of GBK codes.
namespace Pinyin {
// Upper-case initial of the first double-byte character, or QChar(0) when the text
// does not start with a level-1 character (Latin letters, digits and so on).
QChar initialLetter(const QString& text);
// Same rule on a raw pair of GBK bytes.
QChar initialOfCode(quint16 code);
// The mnemonic of a text: the initials of its characters, trimmed text taken in byte
// pairs; the first pair without an initial ends the mnemonic; an odd last byte is ignored.
QString initials(const QString& text);
} // namespace Pinyin
