#include "app/yhsqgl.h"

#include "desk/rights.h"
#include "ui/action.h"
#include "ui/help.h"
#include "ui/screenkit.h"

#include <QComboBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int keyRole = Qt::UserRole;
constexpr int codeWidth = 8;
constexpr const char* dragFormat = "application/x-library-right";
// Hints on this screen: red-violet and long enough to read.
constexpr int hintMs = 4000;
constexpr const char* hintStyle = "QToolTip { background-color: rgb(221, 26, 99); color: white; }";

// A catalogue list the operator drags entries from.
class SourceList : public QListWidget {
public:
    SourceList(Tyhsqglfm::List kind, QPushButton* grant, QWidget* parent)
        : QListWidget(parent), m_kind(kind), m_grant(grant)
    {
        setDragEnabled(true);
        setDragDropMode(QAbstractItemView::DragOnly);
        setAcceptDrops(false);
    }

protected:
    void startDrag(Qt::DropActions) override
    {
        // Only while granting is possible (an operator is chosen and this list entered).
        if (!m_grant->isEnabled() || !currentItem())
            return;
        auto* mime = new QMimeData;
        mime->setData(dragFormat, QByteArray::number(int(m_kind)));
        auto* drag = new QDrag(this);
        drag->setMimeData(mime);
        drag->exec(Qt::CopyAction);
    }

private:
    Tyhsqglfm::List m_kind;
    QPushButton* m_grant;
};

// The grants list: takes drops from the two catalogue lists only.
class GrantList : public QListWidget {
public:
    GrantList(Tyhsqglfm* screen, QWidget* parent) : QListWidget(parent), m_screen(screen)
    {
        setAcceptDrops(true);
        setDragDropMode(QAbstractItemView::DropOnly);
    }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override { accept(event); }
    void dragMoveEvent(QDragMoveEvent* event) override { accept(event); }
    void dropEvent(QDropEvent* event) override
    {
        if (!accepted(event))
            return;
        event->acceptProposedAction();
        m_screen->dropped(Tyhsqglfm::List(event->mimeData()->data(dragFormat).toInt()));
    }

private:
    bool accepted(QDropEvent* event) const
    {
        return event->mimeData()->hasFormat(dragFormat) &&
               dynamic_cast<SourceList*>(event->source()) != nullptr;
    }
    void accept(QDragMoveEvent* event)
    {
        if (accepted(event))
            event->acceptProposedAction();
        else
            event->ignore();
    }
    Tyhsqglfm* m_screen;
};

void fill(QListWidget* list, const QList<Rights::Entry>& entries)
{
    list->clear();
    for (const Rights::Entry& entry : entries) {
        auto* item = new QListWidgetItem(entry.caption, list);
        item->setData(keyRole, entry.key);
    }
}
} // namespace

Tyhsqglfm::Tyhsqglfm(QWidget* parent) : QDialog(parent)
{
    setObjectName("yhsqglfm");
    setWindowTitle("用户授权管理");
    // No border icons: the screen closes by its button or the pop-up "关闭" (Esc).
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    buildScreen();
    FormShow();
}

void Tyhsqglfm::buildScreen()
{
    setStyleSheet(hintStyle);
    m_operator = new QComboBox(this);
    m_operator->setObjectName("ComboBox1");
    m_operator->setEditable(true);
    m_operator->setInsertPolicy(QComboBox::NoInsert);
    m_operator->lineEdit()->setMaxLength(codeWidth);
    m_operator->setMinimumWidth(120);
    m_name = new QLineEdit(this);
    m_name->setObjectName("Edit1");
    m_name->setReadOnly(true);
    m_name->setFocusPolicy(Qt::NoFocus);

    m_grant = new QPushButton("&G   授 权 ", this);
    m_grant->setObjectName("SB1");
    m_grantAll = new QPushButton("&A 全部授权", this);
    m_grantAll->setObjectName("sb2");
    m_revoke = new QPushButton(" 撤 消   &U", this);
    m_revoke->setObjectName("SB3");
    m_revokeAll = new QPushButton("全部撤消 &N", this);
    m_revokeAll->setObjectName("SB4");
    for (QPushButton* button : {m_grant, m_grantAll, m_revoke, m_revokeAll}) {
        button->setEnabled(false);
        button->setAutoDefault(false);
        // Pressing a button must not take the list's part away.
        button->setFocusPolicy(Qt::NoFocus);
    }
    auto* help = new QPushButton("帮助&H", this);
    help->setObjectName("BitBtn1");
    auto* close = new QPushButton("关闭&X", this);
    close->setObjectName("BitBtn2");

    m_groups = new SourceList(List::Groups, m_grant, this);
    m_groups->setObjectName("Look1");
    m_groups->setToolTip("双击此框一项，此功能所有子项被选中");
    m_functions = new SourceList(List::Functions, m_grant, this);
    m_functions->setObjectName("look3");
    m_functions->setToolTip("双击此框一项，该功能即被选择");
    m_grants = new GrantList(this, this);
    m_grants->setObjectName("Look2");
    m_grants->setToolTip("双击此框一项，该功能既被撤消");
    for (QListWidget* list : {m_groups, m_functions, m_grants}) {
        list->setToolTipDuration(hintMs);
        list->setMinimumSize(170, 260);
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
    }
    m_groupsLabel = new QLabel("主要功能", this);
    m_functionsLabel = new QLabel("相关子功能", this);
    m_grantsLabel = new QLabel("当前使用功能", this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("代号", this));
    top->addWidget(m_operator);
    top->addSpacing(16);
    top->addWidget(new QLabel("姓名", this));
    top->addWidget(m_name);
    top->addStretch();

    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {m_grant, m_grantAll, m_revoke, m_revokeAll})
        buttons->addWidget(button);
    buttons->addStretch();

    auto* lists = new QGridLayout;
    lists->addWidget(m_groupsLabel, 0, 0);
    lists->addWidget(m_functionsLabel, 0, 1);
    lists->addWidget(m_grantsLabel, 0, 3);
    lists->addWidget(m_groups, 1, 0);
    lists->addWidget(m_functions, 1, 1);
    lists->addLayout(buttons, 1, 2);
    lists->addWidget(m_grants, 1, 3);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(help);
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(lists);
    layout->addLayout(bottom);

    connect(m_operator, &QComboBox::currentTextChanged, this, &Tyhsqglfm::operatorChanged);
    connect(m_groups, &QListWidget::currentRowChanged, this, &Tyhsqglfm::loadFunctions);
    connect(m_groups, &QListWidget::itemDoubleClicked, this, [this] {
        if (m_grant->isEnabled())
            grantGroup();
    });
    connect(m_functions, &QListWidget::itemDoubleClicked, this, [this] {
        if (m_grant->isEnabled())
            grantFunction();
    });
    connect(m_grants, &QListWidget::itemDoubleClicked, this, &Tyhsqglfm::revokeCurrent);
    connect(m_grant, &QPushButton::clicked, this, &Tyhsqglfm::grantClick);
    connect(m_grantAll, &QPushButton::clicked, this, &Tyhsqglfm::grantAllClick);
    connect(m_revoke, &QPushButton::clicked, this, &Tyhsqglfm::revokeClick);
    connect(m_revokeAll, &QPushButton::clicked, this, &Tyhsqglfm::revokeAllClick);
    connect(close, &QPushButton::clicked, this, &Tyhsqglfm::reject);
    Help::attach(this, helpContext, help);
    Screen::closeOnEscape(this);
}

void Tyhsqglfm::FormShow()
{
    Action::run(this, [this] {
        fill(m_groups, Rights::groups());
        const QSignalBlocker blocker(m_operator);
        m_operator->addItems(Rights::operatorCodes());
        m_operator->setCurrentIndex(-1);
        m_operator->setEditText(QString());
    });
    if (m_groups->count() > 0)
        m_groups->setCurrentRow(0);
    m_operator->setFocus();
}

QString Tyhsqglfm::typedCode() const
{
    return m_operator->currentText();
}

bool Tyhsqglfm::operatorChosen() const
{
    const QString code = Rights::operatorCode(typedCode());
    bool exists = false;
    if (!code.isEmpty())
        Action::run(const_cast<Tyhsqglfm*>(this), [&] { exists = Rights::operatorExists(code); });
    return exists;
}

QString Tyhsqglfm::currentKey(QListWidget* list) const
{
    const QListWidgetItem* item = list->currentItem();
    return item ? item->data(keyRole).toString() : QString();
}

void Tyhsqglfm::operatorChanged()
{
    QString name;
    if (!typedCode().trimmed().isEmpty())
        Action::run(this, [&] { name = Rights::operatorName(typedCode()); });
    m_name->setText(name);
    loadGrants();
    // A different operator: the buttons wait until a list is entered again.
    if (m_active != List::None)
        enterList(m_active);
}

void Tyhsqglfm::loadFunctions()
{
    const QString group = currentKey(m_groups);
    Action::run(this, [&] { fill(m_functions, Rights::functions(group)); });
}

void Tyhsqglfm::loadGrants()
{
    const int row = m_grants->currentRow();
    m_grants->clear();
    if (typedCode().trimmed().isEmpty())
        return;
    Action::run(this, [&] { fill(m_grants, Rights::grants(typedCode())); });
    if (m_grants->count() > 0)
        m_grants->setCurrentRow(qBound(0, row, m_grants->count() - 1));
}

void Tyhsqglfm::enterList(List list)
{
    m_active = list;
    const bool chosen = operatorChosen();
    if (list == List::Groups || list == List::Functions) {
        m_grant->setEnabled(chosen);
        m_grantAll->setEnabled(chosen);
        m_revoke->setEnabled(false);
        m_revokeAll->setEnabled(false);
        QListWidget* source = list == List::Groups ? m_groups : m_functions;
        source->viewport()->setCursor(chosen ? Qt::PointingHandCursor : Qt::ArrowCursor);
    } else if (list == List::Grants) {
        m_grant->setEnabled(false);
        m_grantAll->setEnabled(false);
        m_revoke->setEnabled(true);
        m_revokeAll->setEnabled(true);
    }
    const auto mark = [list](QLabel* label, List own) {
        label->setStyleSheet(list == own ? "color: red;" : "color: black;");
    };
    mark(m_groupsLabel, List::Groups);
    mark(m_functionsLabel, List::Functions);
    mark(m_grantsLabel, List::Grants);
}

bool Tyhsqglfm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress) {
        for (auto [list, kind] :
             {std::pair{m_groups, List::Groups}, std::pair{m_functions, List::Functions},
              std::pair{m_grants, List::Grants}}) {
            if (watched == list || watched == list->viewport()) {
                if (event->type() == QEvent::MouseButtonPress)
                    list->setFocus(Qt::MouseFocusReason);
                else
                    enterList(kind);
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tyhsqglfm::run(const std::function<void()>& work)
{
    Action::run(this, work);
    loadGrants();
}

void Tyhsqglfm::grantGroup()
{
    const QString group = currentKey(m_groups);
    if (group.isEmpty())
        return;
    run([&] { Rights::grantGroup(typedCode(), group); });
}

void Tyhsqglfm::grantFunction()
{
    const QString function = currentKey(m_functions);
    if (function.isEmpty())
        return;
    run([&] { Rights::grantFunction(typedCode(), function); });
}

void Tyhsqglfm::grantClick()
{
    if (m_active == List::Groups)
        grantGroup();
    else if (m_active == List::Functions)
        grantFunction();
}

void Tyhsqglfm::grantAllClick()
{
    if (m_active == List::Groups) {
        const int group = m_groups->currentRow();
        run([&] { Rights::grantAll(typedCode()); });
        m_groups->setCurrentRow(group);
    } else if (m_active == List::Functions) {
        grantGroup();
    }
}

void Tyhsqglfm::revokeCurrent()
{
    const QString key = currentKey(m_grants);
    if (key.isEmpty())
        return;
    run([&] { Rights::revoke(typedCode(), key); });
}

void Tyhsqglfm::revokeClick()
{
    revokeCurrent();
}

void Tyhsqglfm::revokeAllClick()
{
    if (m_grants->count() == 0)
        return;
    run([&] { Rights::revokeAll(typedCode()); });
}

void Tyhsqglfm::dropped(List from)
{
    if (!m_grant->isEnabled())
        return;
    if (from == List::Groups)
        grantGroup();
    else if (from == List::Functions)
        grantFunction();
}
