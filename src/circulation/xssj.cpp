#include "circulation/xssj.h"

#include "desk/shelving.h"
#include "ui/action.h"
#include "ui/enterchain.h"
#include "ui/gbklimit.h"
#include "ui/halfwidth.h"
#include "ui/help.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Txssjfm::Txssjfm(QWidget* parent) : QWidget(parent)
{
    setObjectName("xssjfm");
    setWindowTitle("图书上架登记管理");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    buildScreen();
    Help::attach(this, helpContext);
    Action::run(this, [&] { m_shelf->addItems(Shelving::shelves()); });
    m_shelf->setCurrentIndex(-1);
    m_shelf->clearEditText();
    setFixedSize(sizeHint());
    m_barcode->setFocus();
}

void Txssjfm::buildScreen()
{
    m_barcode = new QLineEdit(this);
    HalfWidth::apply(m_barcode);
    m_barcode->setObjectName("Edit1");
    GbkLimit::apply(m_barcode, 20);
    m_title = new QLineEdit(this);
    m_title->setObjectName("Edit2");
    m_title->setReadOnly(true); // shows the book looked up; only a look-up fills it
    m_title->setFocusPolicy(Qt::NoFocus);
    m_title->setMinimumWidth(280);
    m_shelf = new QComboBox(this);
    m_shelf->setObjectName("ComboBox1");
    m_shelf->setEditable(true);
    m_shelf->setInsertPolicy(QComboBox::NoInsert);
    GbkLimit::apply(m_shelf->lineEdit(), Shelving::shelfWidth);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("图书条形码", this), 0, 0);
    grid->addWidget(m_barcode, 0, 1);
    grid->addWidget(new QLabel("图书名称", this), 1, 0);
    grid->addWidget(m_title, 1, 1);
    grid->addWidget(new QLabel("图书架号", this), 2, 0);
    grid->addWidget(m_shelf, 2, 1);

    auto* ok = new QPushButton("确定&O", this);
    ok->setObjectName("BitBtn1");
    auto* cancel = new QPushButton("取消&X", this);
    cancel->setObjectName("BitBtn2");
    // Nothing is held back for writing: Enter in the shelf box writes at once, so both
    // buttons only close the screen.
    connect(ok, &QPushButton::clicked, this, [this] { Screen::close(this); });
    connect(cancel, &QPushButton::clicked, this, [this] { Screen::close(this); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setContentsMargins(16, 14, 16, 12);

    EnterChain::link(this, {m_barcode, m_shelf})
        ->onEnter(m_barcode,
                  [this] {
                      lookUp();
                      return false;
                  })
        ->onEnter(m_shelf, [this] {
            save();
            return false;
        });
    // A changed barcode is not the book shown any more: nothing is written for it
    // until it is looked up.
    connect(m_barcode, &QLineEdit::textEdited, this, [this] {
        m_title->clear();
        m_found.clear();
    });
    Screen::closeOnEscape(this);
}

void Txssjfm::lookUp()
{
    const QString barcode = m_barcode->text();
    if (barcode.isEmpty())
        return;
    Shelving::Book book;
    if (!Action::run(this, [&] { book = Shelving::lookUp(barcode); }))
        return;
    m_found = book.barcode;
    m_barcode->setText(book.barcode);
    m_title->setText(book.title);
    m_shelf->setEditText(book.shelf);
    m_shelf->setFocus();
}

void Txssjfm::save()
{
    const QString shelf = m_shelf->currentText();
    if (shelf.isEmpty() || m_barcode->text().isEmpty() || m_title->text().isEmpty() ||
        m_found.isEmpty())
        return;
    if (!Action::run(this, [&] { Shelving::save(m_found, shelf); }))
        return;
    Messages::notice(this, "保存信息", "您已经将新书的放书架号登记成功！");
    m_found.clear();
    m_barcode->clear();
    m_title->clear();
    m_shelf->setCurrentIndex(-1);
    m_shelf->clearEditText();
    m_barcode->setFocus();
}
