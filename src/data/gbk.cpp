#include "data/gbk.h"

#include <QStringEncoder>

QByteArray Gbk::encode(const QString& text)
{
    QStringEncoder encoder("GBK");
    if (!encoder.isValid())
        return text.toLocal8Bit();
    return encoder.encode(text);
}

int Gbk::width(const QString& text)
{
    return static_cast<int>(encode(text).size());
}

QString Gbk::truncate(const QString& text, int maxBytes)
{
    if (width(text) <= maxBytes)
        return text;
    QString result;
    int used = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype step = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString piece = text.mid(i, step);
        const int w = width(piece);
        if (used + w > maxBytes)
            break;
        result += piece;
        used += w;
        i += step;
    }
    return result;
}
