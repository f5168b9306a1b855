#include "ui/gbklimit.h"

#include "data/gbk.h"

#include <QLineEdit>

GbkWidthValidator::GbkWidthValidator(int maxBytes, QObject* parent)
    : QValidator(parent), m_maxBytes(maxBytes)
{
}

QValidator::State GbkWidthValidator::validate(QString& input, int&) const
{
    return Gbk::width(input) <= m_maxBytes ? Acceptable : Invalid;
}

void GbkWidthValidator::fixup(QString& input) const
{
    input = Gbk::truncate(input, m_maxBytes);
}

void GbkLimit::apply(QLineEdit* box, int maxBytes)
{
    box->setValidator(new GbkWidthValidator(maxBytes, box));
}
