#include "data/pinyin.h"

#include "data/gbk.h"

#include <array>

namespace {
struct Range {
    quint16 from;
    quint16 to;
    char letter;
};

constexpr std::array<Range, 23> levelOneRanges{{
    {0xB0A1, 0xB0C4, 'A'}, {0xB0C5, 0xB2C0, 'B'}, {0xB2C1, 0xB4ED, 'C'}, {0xB4EE, 0xB6E9, 'D'},
    {0xB6EA, 0xB7A1, 'E'}, {0xB7A2, 0xB8C0, 'F'}, {0xB8C1, 0xB9FD, 'G'}, {0xB9FE, 0xBBF6, 'H'},
    {0xBBF7, 0xBFA5, 'J'}, {0xBFA6, 0xC0AB, 'K'}, {0xC0AC, 0xC2E7, 'L'}, {0xC2E8, 0xC4C2, 'M'},
    {0xC4C3, 0xC5B5, 'N'}, {0xC5B6, 0xC5BD, 'O'}, {0xC5BE, 0xC6D9, 'P'}, {0xC6DA, 0xC8BA, 'Q'},
    {0xC8BB, 0xC8F5, 'R'}, {0xC8F6, 0xCBF9, 'S'}, {0xCBFA, 0xCDD9, 'T'}, {0xCDDA, 0xCEF3, 'W'},
    {0xCEF4, 0xD1B8, 'X'}, {0xD1B9, 0xD4D0, 'Y'}, {0xD4D1, 0xD7F9, 'Z'},
}};

quint16 pairAt(const QByteArray& bytes, qsizetype index)
{
    return static_cast<quint16>((static_cast<quint8>(bytes.at(index)) << 8) |
                                static_cast<quint8>(bytes.at(index + 1)));
}
} // namespace

QChar Pinyin::initialOfCode(quint16 code)
{
    for (const Range& range : levelOneRanges) {
        if (code >= range.from && code <= range.to)
            return QChar(range.letter);
    }
    return QChar(0);
}

QChar Pinyin::initialLetter(const QString& text)
{
    const QByteArray bytes = Gbk::encode(text);
    if (bytes.size() < 2)
        return QChar(0);
    return initialOfCode(pairAt(bytes, 0));
}

QString Pinyin::initials(const QString& text)
{
    const QByteArray bytes = Gbk::encode(text.trimmed());
    QString result;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const QChar letter = initialOfCode(pairAt(bytes, i));
        if (letter.isNull())
            break;
        result += letter;
    }
    return result;
}
