#include "catalogue/cxxxts.h"

#include <QHBoxLayout>
#include <QLabel>

Tcxxxtsfm::Tcxxxtsfm(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName("cxxxtsfm");
    setWindowTitle("查询信息提示");
    m_label = new QLabel(usualText, this);
    m_label->setObjectName("Label1");
    QFont large = m_label->font();
    large.setPointSizeF(large.pointSizeF() * 1.3);
    m_label->setFont(large);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(m_label);
    setStyleSheet("QDialog { border: 1px solid palette(dark); }");
}

void Tcxxxtsfm::setText(const QString& text)
{
    m_label->setText(text);
    adjustSize();
}

QString Tcxxxtsfm::text() const
{
    return m_label->text();
}

void Tcxxxtsfm::keyPressEvent(QKeyEvent*)
{
    accept();
}

void Tcxxxtsfm::mousePressEvent(QMouseEvent*)
{
    accept();
}

void Tcxxxtsfm::done(int result)
{
    QDialog::done(result);
    m_label->setText(usualText);
}

void Tcxxxtsfm::open(const QString& text, QWidget* parent)
{
    Tcxxxtsfm popup(parent);
    popup.setText(text);
    popup.exec();
}
