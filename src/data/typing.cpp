#include "data/typing.h"

QString Typing::halfWidth(const QString& typed)
{
    QString folded = typed;
    for (QChar& c : folded) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            c = QChar(char16_t(u - 0xFF01 + 0x21));
        else if (u == 0x3000)
            c = QChar(u' ');
    }
    return folded;
}
