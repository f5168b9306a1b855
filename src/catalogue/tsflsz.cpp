#include "catalogue/tsflsz.h"

#include "catalogue/tsflcx.h"
#include "data/sql.h"
#include "desk/classification.h"
#include "pickers/columnsmodel.h"
#include "ui/action.h"
#include "ui/messages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TFormtsflsz::TFormtsflsz(QWidget* parent) : QDialog(parent)
{
    setObjectName("Formtsflsz");
    setWindowTitle("图书分类设置");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* boxes = new QGridLayout;
    struct Place {
        const char* label;
        const char* hint;
        int maxLength;
    };
    const QList<Place> places{{"图书一级分类代码", "[最长2位]", Classification::firstCodeLength},
                              {"图书一级分名称", nullptr, 0},
                              {"图书二级分类代码", "[最长8位]", Classification::secondCodeLength},
                              {"图书二级分名称", nullptr, 0}};
    for (int i = 0; i < places.size(); ++i) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString("Edit%1").arg(i + 1));
        box->setMinimumWidth(180);
        if (places[i].maxLength > 0)
            box->setMaxLength(places[i].maxLength);
        box->installEventFilter(this);
        m_boxes << box;
        boxes->addWidget(new QLabel(places[i].label, this), i, 0, Qt::AlignRight);
        boxes->addWidget(box, i, 1);
        if (places[i].hint) {
            auto* hint = new QLabel(places[i].hint, this);
            hint->setStyleSheet("color: blue;");
            boxes->addWidget(hint, i, 2);
        }
    }

    m_model = new ColumnsModel({{"dldm", "图书一类代码"},
                                {"dlmc", "图书一类代码名称"},
                                {"mxldm", "图书二类代码"},
                                {"mxlmc", "图书二类代码名称"}},
                               this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    ColumnsModel::setUpGrid(m_grid, m_model);
    m_grid->setColumnWidth(0, 100);
    m_grid->setColumnWidth(1, 150);
    m_grid->setColumnWidth(2, 100);
    m_grid->setMinimumSize(540, 260);
    m_grid->viewport()->installEventFilter(this);

    auto button = [this](const char* text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* clear = button("重填", "Button1");
    m_save = button("保存", "Button2");
    QPushButton* remove = button("删除", "Button3");
    QPushButton* query = button("查询", "Button4");
    QPushButton* close = button("关闭", "Button5");
    connect(clear, &QPushButton::clicked, this, &TFormtsflsz::clearClick);
    connect(m_save, &QPushButton::clicked, this, &TFormtsflsz::saveClick);
    connect(remove, &QPushButton::clicked, this, &TFormtsflsz::deleteClick);
    connect(query, &QPushButton::clicked, this, &TFormtsflsz::queryClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {clear, m_save, remove, query, close})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    reload();
    m_boxes.first()->setFocus();
    setFixedSize(sizeHint());
}

bool TFormtsflsz::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const qsizetype at = m_boxes.indexOf(qobject_cast<QLineEdit*>(watched));
        if (at >= 0 && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            // Enter in an empty box does nothing; with text it moves on, and ends on Save.
            if (!m_boxes.at(at)->text().isEmpty()) {
                if (at + 1 < m_boxes.size())
                    m_boxes.at(at + 1)->setFocus();
                else
                    m_save->setFocus();
            }
            return true;
        }
    }
    if (watched == m_grid->viewport() && event->type() == QEvent::MouseButtonPress &&
        m_model->rowCount() == 0) {
        Messages::plain(this, Classification::nothingToDeleteText);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFormtsflsz::reload()
{
    Action::run(this, [&] {
        Sql q(Classification::listStatement);
        q.exec();
        m_model->show(q.takeQuery());
    });
    const int rows = m_model->countAll();
    if (rows > 0) {
        m_grid->selectRow(rows - 1);
        m_grid->scrollToBottom();
    }
}

void TFormtsflsz::clearClick()
{
    for (QLineEdit* box : m_boxes)
        box->clear();
    m_boxes.first()->setFocus();
}

void TFormtsflsz::saveClick()
{
    const ClassPair pair{m_boxes[0]->text(), m_boxes[1]->text(), m_boxes[2]->text(),
                         m_boxes[3]->text()};
    if (!Action::run(this, [&] { Classification::save(pair); }))
        return;
    // The first level stays for the next pair of the same class.
    m_boxes[2]->clear();
    m_boxes[3]->clear();
    m_boxes[2]->setFocus();
    reload();
}

void TFormtsflsz::deleteClick()
{
    if (m_model->rowCount() == 0) {
        Messages::plain(this, Classification::nothingToDeleteText);
        return;
    }
    const QModelIndex current = m_grid->currentIndex();
    const int row = current.isValid() ? current.row() : m_model->rowCount() - 1;
    const qint64 iid = m_model->value(row, "iid").toLongLong();
    if (Action::run(this, [&] { Classification::remove(iid, Action::askWith(this)); }))
        reload();
}

void TFormtsflsz::queryClick()
{
    TFormtsflcx query(this);
    query.exec();
}
