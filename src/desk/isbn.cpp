#include "desk/isbn.h"

namespace {
QString stripped(const QString& text)
{
    QString digits;
    for (const QChar c : text) {
        if (c.isDigit())
            digits += c;
        else if (c == QChar('X') || c == QChar('x'))
            digits += QChar('X');
        else if (c != QChar('-') && c != QChar(' ') && c != QChar(0x2010) && c != QChar(0x2013))
            return {};
    }
    return digits;
}

bool validIsbn10(const QString& d)
{
    if (d.size() != 10)
        return false;
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        const QChar c = d.at(i);
        int value = 0;
        if (c == QChar('X') && i == 9)
            value = 10;
        else if (c.isDigit())
            value = c.digitValue();
        else
            return false;
        sum += value * (10 - i);
    }
    return sum % 11 == 0;
}

int isbn13Check(const QString& first12)
{
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += first12.at(i).digitValue() * (i % 2 == 0 ? 1 : 3);
    return (10 - sum % 10) % 10;
}

bool validIsbn13(const QString& d)
{
    if (d.size() != 13 || d.contains(QChar('X')))
        return false;
    return isbn13Check(d.left(12)) == d.at(12).digitValue();
}
} // namespace

QString Isbn::compact(const QString& text)
{
    // Catalogue fields often carry a qualifier after the number: "7-02-000220-X (精装)".
    QString number = text.section(QChar('('), 0, 0).section(QChar(0xFF08), 0, 0).trimmed();
    const QString d = stripped(number);
    return validIsbn10(d) || validIsbn13(d) ? d : QString();
}

QString Isbn::toIsbn13(const QString& text)
{
    const QString d = compact(text);
    if (d.size() == 13)
        return d;
    if (d.size() != 10)
        return {};
    const QString first12 = "978" + d.left(9);
    return first12 + QString::number(isbn13Check(first12));
}

QString Isbn::toIsbn10(const QString& text)
{
    const QString d = toIsbn13(text);
    if (!d.startsWith("978"))
        return {};
    const QString first9 = d.mid(3, 9);
    int sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += first9.at(i).digitValue() * (10 - i);
    const int check = (11 - sum % 11) % 11;
    return first9 + (check == 10 ? QString("X") : QString::number(check));
}

QStringList Isbn::searchForms(const QString& text)
{
    QStringList forms;
    for (const QString& form : {toIsbn13(text), toIsbn10(text)})
        if (!form.isEmpty())
            forms << form;
    return forms;
}
