#include "catalogue/xgccd.h"

#include "data/log.h"
#include "data/sql.h"
#include "desk/refused.h"
#include "desk/relocation.h"
#include "desk/rooms.h"
#include "pickers/tsxx.h"
#include "ui/action.h"
#include "ui/halfwidth.h"
#include "ui/help.h"
#include "ui/messages.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
const char* const noBooksText = "没有您所查询的图书信息！";
}

Tgbccdfm::Tgbccdfm(QWidget* parent) : QWidget(parent)
{
    setObjectName("gbccdfm");
    setWindowTitle("改变图书存放地点");
    Help::setContext(this, helpContext);

    auto* modes = new QGroupBox("请选择调整模式", this);
    modes->setObjectName("RadioGroup1");
    m_oneBook = new QRadioButton("单本书", modes);
    m_oneBook->setObjectName("RadioButton1");
    m_wholeRoom = new QRadioButton("整个借阅室", modes);
    m_wholeRoom->setObjectName("RadioButton2");
    auto* modeRow = new QHBoxLayout(modes);
    modeRow->addWidget(m_oneBook);
    modeRow->addWidget(m_wholeRoom);
    modeRow->addStretch();

    m_book = new QLineEdit(this);
    HalfWidth::apply(m_book, HalfWidth::Fold::DigitsAndLetters);
    m_book->setObjectName("Edit1");
    m_before = new QComboBox(this);
    m_before->setObjectName("ComboBox1");
    m_after = new QComboBox(this);
    m_after->setObjectName("ComboBox2");
    for (QWidget* w : {static_cast<QWidget*>(m_book), static_cast<QWidget*>(m_before),
                       static_cast<QWidget*>(m_after)}) {
        w->setMinimumWidth(220);
        w->installEventFilter(this);
    }
    auto* boxes = new QGridLayout;
    boxes->addWidget(new QLabel("修改前的图书号", this), 0, 0, Qt::AlignRight);
    boxes->addWidget(m_book, 0, 1);
    boxes->addWidget(new QLabel("修改前的图书室", this), 1, 0, Qt::AlignRight);
    boxes->addWidget(m_before, 1, 1);
    boxes->addWidget(new QLabel("修改后的图书室", this), 2, 0, Qt::AlignRight);
    boxes->addWidget(m_after, 2, 1);

    m_ok = new QPushButton("确定&O", this);
    m_ok->setObjectName("BitBtn1");
    auto* help = new QPushButton("帮助&H", this);
    help->setObjectName("BitBtn2");
    auto* close = new QPushButton("关闭&X", this);
    close->setObjectName("BitBtn3");
    for (QPushButton* b : {m_ok, help, close})
        b->setAutoDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &Tgbccdfm::okClick);
    connect(help, &QPushButton::clicked, this, [this] { Help::showContext(helpContext, this); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {m_ok, help, close})
        buttons->addWidget(b);

    auto* closeAction = new QAction("关闭", this);
    closeAction->setObjectName("N1");
    closeAction->setShortcut(Qt::Key_Escape);
    connect(closeAction, &QAction::triggered, this, &QWidget::close);
    addAction(closeAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modes);
    layout->addLayout(boxes);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(m_oneBook, &QRadioButton::toggled, this, &Tgbccdfm::modeChanged);
    connect(m_before, &QComboBox::activated, this, &Tgbccdfm::roomBeforeChosen);
    setTabOrder(m_book, m_before);
    setTabOrder(m_before, m_after);
    setTabOrder(m_after, m_ok);

    move(0, 0);
    Action::run(this, [&] {
        Sql rooms("select * from tssxxk");
        rooms.exec();
        while (rooms.next()) {
            m_before->addItem(rooms.text("tssmc"));
            m_after->addItem(rooms.text("tssmc"));
        }
    });
    m_before->setCurrentIndex(-1);
    m_after->setCurrentIndex(-1);
    m_oneBook->setChecked(true);
    m_book->setFocus();
}

bool Tgbccdfm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_book) {
                bookEntered();
                return true;
            }
            if (watched == m_before) {
                m_after->setFocus();
                return true;
            }
            if (watched == m_after) {
                m_ok->setFocus();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Tgbccdfm::modeChanged()
{
    const bool oneBook = m_oneBook->isChecked();
    m_book->setEnabled(oneBook); // the disabled box shows in the inactive colour
    if (oneBook)
        m_book->setFocus();
    else
        m_before->setFocus();
}

void Tgbccdfm::pickFrom(const QString& statement, const QVariantList& values)
{
    Ttsxxfm picker(statement, values, this);
    picker.exec();
    if (!picker.barcode().isEmpty())
        m_book->setText(picker.barcode());
}

void Tgbccdfm::bookEntered()
{
    const QString text = m_book->text();
    if (text.isEmpty()) {
        bool any = false;
        if (!Action::run(this, [&] {
                any = !Sql::scalar("select txm from tszk limit 1").toString().isEmpty();
            }))
            return;
        if (!any) {
            Messages::notice(this, "查询提示", noBooksText);
            return;
        }
        pickFrom("select * from tszk", {});
        return;
    }
    const QString statement = "select * from tszk where txm like:txm or tsmc like:tsmc";
    const QVariantList values{"%" + text + "%", "%" + text + "%"};
    int rows = 0;
    QString only;
    if (!Action::run(this, [&] {
            Sql q(statement + " limit 2");
            q.bindAll(values).exec();
            while (q.next()) {
                only = q.text("txm");
                ++rows;
            }
        }))
        return;
    if (rows == 1) {
        m_book->setText(only);
        m_before->setFocus();
        return;
    }
    if (rows == 0) {
        // An empty picker would only hand back an empty barcode.
        Messages::notice(this, "查询提示", noBooksText);
        return;
    }
    pickFrom(statement, values);
}

void Tgbccdfm::roomBeforeChosen()
{
    if (!m_oneBook->isChecked() || m_book->text().isEmpty())
        return;
    bool in = true;
    Action::run(this, [&] {
        const QString number = Rooms::numberOf(m_before->currentText());
        if (!number.isEmpty())
            in = Relocation::isIn(m_book->text(), number);
    });
    if (!in) {
        Messages::notice(this, "提示", Relocation::notInRoomText);
        m_before->setFocus();
    }
}

void Tgbccdfm::okClick()
{
    RelocationRequest request;
    request.wholeRoom = m_wholeRoom->isChecked();
    request.barcode = request.wholeRoom ? QString() : m_book->text();
    request.roomBefore = m_before->currentText();
    request.roomAfter = m_after->currentText();
    const bool moved = Action::run(this, [&] {
        try {
            Relocation::move(request);
        } catch (const StoreError& e) {
            Log::write(QString("relocation failed: %1 (%2)").arg(e.message(), e.statement()));
            throw Refused("修改提示", "图书藏储地点修改失败。", request.wholeRoom ? "" : "Edit1");
        }
    });
    if (moved)
        Messages::notice(this, "修改提示", "恭喜您！图书藏储地点修改成功。");
}
