#pragma once

#include <QValidator>

class QLineEdit;

// Text columns hold a number of GBK bytes (a Chinese character takes two).
// A box limited this way refuses typing past the column's width.
class GbkWidthValidator : public QValidator {
    Q_OBJECT
public:
    GbkWidthValidator(int maxBytes, QObject* parent);
    State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

private:
    int m_maxBytes;
};

namespace GbkLimit {
void apply(QLineEdit* box, int maxBytes);
}
