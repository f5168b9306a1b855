#include "catalogue/bqdy.h"

#include "reports/reportoutput.h"
#include "ui/action.h"
#include "ui/screenkit.h"
#include "ui/windows.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

Tbqdyfm::Tbqdyfm(const QList<BookLabel>& labels, QWidget* parent)
    : QDialog(parent), m_labels(labels)
{
    setObjectName("bqdyfm");
    setWindowTitle("打印条码标签");
    int count = 0;
    for (const BookLabel& label : labels)
        count += std::max(1, label.copies);
    const LabelSheet defaults;
    const auto spin = [this](const char* name, int low, int high, int value) {
        auto* box = new QSpinBox(this);
        box->setObjectName(name);
        box->setRange(low, high);
        box->setValue(value);
        return box;
    };
    const auto margin = [this](const char* name, double value) {
        auto* box = new QDoubleSpinBox(this);
        box->setObjectName(name);
        box->setRange(0, 40);
        box->setDecimals(1);
        box->setSuffix(" mm");
        box->setValue(value);
        return box;
    };
    m_rows = spin("SpinBox1", 1, 20, defaults.rows);
    m_columns = spin("SpinBox2", 1, 6, defaults.columns);
    m_top = margin("SpinBox3", defaults.marginsMm.top());
    m_bottom = margin("SpinBox4", defaults.marginsMm.bottom());
    m_left = margin("SpinBox5", defaults.marginsMm.left());
    m_right = margin("SpinBox6", defaults.marginsMm.right());

    auto* form = new QFormLayout;
    form->addRow(new QLabel(QString("共 %1 张标签（每册一张）").arg(count), this));
    form->addRow("每页行数:", m_rows);
    form->addRow("每页列数:", m_columns);
    form->addRow("上边距:", m_top);
    form->addRow("下边距:", m_bottom);
    form->addRow("左边距:", m_left);
    form->addRow("右边距:", m_right);
    auto* ok = new QPushButton("预览打印&P", this);
    ok->setObjectName("ok");
    auto* close = new QPushButton("关闭&X", this);
    close->setObjectName("close");
    connect(ok, &QPushButton::clicked, this, &Tbqdyfm::okClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    Screen::closeOnEscape(this);
    ok->setDefault(true);
}

LabelSheet Tbqdyfm::sheet() const
{
    LabelSheet sheet;
    sheet.rows = m_rows->value();
    sheet.columns = m_columns->value();
    sheet.marginsMm =
        QMarginsF(m_left->value(), m_top->value(), m_right->value(), m_bottom->value());
    return sheet;
}

void Tbqdyfm::okClick()
{
    ReportOutput::preview(labelSheetReport(m_labels, sheet()), this);
    accept();
}

void Tbqdyfm::print(QWidget* parent, const QStringList& barcodes)
{
    QList<BookLabel> labels;
    if (!Action::run(parent, [&] { labels = Labels::forBooks(barcodes); }))
        return;
    if (labels.isEmpty()) {
        Screen::notice(parent, "没有可打印条码标签的图书!");
        return;
    }
    Windows::runModal(new Tbqdyfm(labels, parent));
}
