#include "app/yhgl.h"

#include "app/yhmm.h"
#include "data/log.h"
#include "data/sql.h"
#include "desk/operators.h"
#include "ui/action.h"
#include "ui/enterchain.h"
#include "ui/gbklimit.h"
#include "ui/help.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr int codeWidth = 8;
constexpr int nameWidth = 8;
constexpr const char* saveCaption = "保存提示";
} // namespace

Tyhglfm::Tyhglfm(QWidget* parent) : QDialog(parent)
{
    setObjectName("yhglfm");
    setWindowTitle("用户管理");
    buildScreen();
    reload();
}

void Tyhglfm::buildScreen()
{
    m_model = new QueryGridModel(
        {{"loginuser", "用户代号"}, {"name", "姓  名"}, {"dj", "权限等级"}}, this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    Grid::setUp(m_grid, m_model);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setMinimumSize(330, 220);
    m_grid->installEventFilter(this);

    m_code = new QLineEdit(this);
    m_code->setObjectName("DBEdit1");
    GbkLimit::apply(m_code, codeWidth);
    m_name = new QLineEdit(this);
    m_name->setObjectName("DBEdit3");
    GbkLimit::apply(m_name, nameWidth);
    m_grade = new QComboBox(this);
    m_grade->setObjectName("DBComboBox1");
    m_grade->addItems({"A", "B", "C", "D", "E", "F"});
    auto* form = new QFormLayout;
    form->addRow("用户代号:", m_code);
    form->addRow("用户姓名:", m_name);
    form->addRow("用户等级:", m_grade);

    m_save = new QPushButton("保存&S", this);
    m_save->setObjectName("save");
    auto* edit = new QPushButton("修改&E", this);
    edit->setObjectName("edit");
    auto* remove = new QPushButton("删除&D", this);
    remove->setObjectName("remove");
    auto* close = new QPushButton("关闭&X", this);
    close->setObjectName("close");
    auto* add = new QPushButton("新增&N", this);
    add->setObjectName("add");
    auto* cancel = new QPushButton("取消&U", this);
    cancel->setObjectName("cancel");
    auto* password = new QPushButton("修改密码", this);
    password->setObjectName("password");
    auto* buttons = new QGridLayout;
    const QList<QPushButton*> order{add, edit, m_save, cancel, remove, password, close};
    for (int i = 0; i < order.size(); ++i) {
        order[i]->setAutoDefault(true); // Enter presses the focused button
        buttons->addWidget(order[i], i / 2, i % 2);
    }
    connect(add, &QPushButton::clicked, this, &Tyhglfm::addClick);
    connect(edit, &QPushButton::clicked, this, &Tyhglfm::editClick);
    connect(m_save, &QPushButton::clicked, this, &Tyhglfm::saveClick);
    connect(cancel, &QPushButton::clicked, this, &Tyhglfm::cancelClick);
    connect(remove, &QPushButton::clicked, this, &Tyhglfm::deleteClick);
    connect(password, &QPushButton::clicked, this, &Tyhglfm::passwordClick);
    connect(close, &QPushButton::clicked, this, &Tyhglfm::reject);

    auto* side = new QVBoxLayout;
    side->addLayout(form);
    side->addSpacing(12);
    side->addLayout(buttons);
    side->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(side);

    // Enter moves on from a box only when it holds something.
    const auto filled = [](QLineEdit* box) { return [box] { return !box->text().isEmpty(); }; };
    EnterChain::link(this, {m_code, m_name, m_save})
        ->hop(m_grade, m_name)
        ->onEnter(m_code, filled(m_code))
        ->onEnter(m_name, filled(m_name))
        ->onEnter(m_grade, [this] { return !m_grade->currentText().isEmpty(); });
    Help::setContext(this, helpContext);

    auto* quit = new QAction("退出", this);
    connect(quit, &QAction::triggered, this, &Tyhglfm::reject);
    addAction(quit);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    setEditing(State::Browsing);
}

void Tyhglfm::reload(const QString& select)
{
    Action::run(this, [this] {
        // The hashes stay out of the grid's model.
        Sql q("select loginuser,name,dj from userk order by loginuser ");
        q.exec();
        m_model->show(q);
        // A library has a handful of operators: all of them, to find the one to select.
        while (m_model->canFetchMore())
            m_model->fetchMore();
    });
    int row = 0;
    for (int r = 0; r < m_model->rowCount(); ++r)
        if (m_model->value(r, "loginuser").toString() == select)
            row = r;
    m_grid->selectRow(row);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &Tyhglfm::showCurrent, Qt::UniqueConnection);
    showCurrent();
}

QString Tyhglfm::currentCode() const
{
    const int row = m_grid->currentIndex().row();
    return row < 0 ? QString() : m_model->value(row, "loginuser").toString();
}

void Tyhglfm::showCurrent()
{
    if (m_state != State::Browsing)
        return;
    const int row = m_grid->currentIndex().row();
    const auto value = [&](const char* column) {
        return row < 0 ? QString() : m_model->value(row, column).toString();
    };
    m_code->setText(value("loginuser"));
    m_name->setText(value("name"));
    m_grade->setCurrentText(value("dj"));
}

void Tyhglfm::setEditing(State state)
{
    m_state = state;
    const bool editing = state != State::Browsing;
    m_code->setReadOnly(!editing);
    m_name->setReadOnly(!editing);
    if (!editing)
        showCurrent();
}

bool Tyhglfm::eventFilter(QObject* watched, QEvent* event)
{
    // Going to the grid gives up a pending add or edit.
    if (watched == m_grid && event->type() == QEvent::FocusIn && m_state != State::Browsing)
        cancelClick();
    return QDialog::eventFilter(watched, event);
}

void Tyhglfm::addClick()
{
    if (m_state != State::Adding) {
        setEditing(State::Adding);
        m_code->clear();
        m_name->clear();
        m_grade->setCurrentText("A"); // proposed; the operator may choose another
    }
    m_code->setFocus();
}

void Tyhglfm::editClick()
{
    if (Operators::isSuperuser(m_code->text())) {
        Messages::plain(this, "超级用户不能被修改！");
        cancelClick();
        reload(currentCode());
        return;
    }
    // A row being added is the row being edited: it stays an addition, and no stored row
    // is opened behind it.
    if (m_state == State::Adding) {
        m_code->setFocus();
        return;
    }
    if (m_model->rowCount() == 0)
        return;
    m_editedCode = currentCode();
    setEditing(State::Editing);
    m_code->setFocus();
}

void Tyhglfm::cancelClick()
{
    setEditing(State::Browsing);
}

void Tyhglfm::deleteClick()
{
    const QString code = currentCode();
    if (m_model->rowCount() == 0 && !Operators::isSuperuser(code))
        return;
    const bool done = Action::run(this, [&] {
        Operators::remove(code, [this](const QString& caption, const QString& text) {
            return Messages::question(this, caption, text, Messages::Buttons::OkCancel);
        });
    });
    if (done) {
        setEditing(State::Browsing);
        reload();
    }
}

void Tyhglfm::saveClick()
{
    if (m_state == State::Browsing)
        return;
    const Operators::Account account{m_code->text(), m_name->text(), m_grade->currentText()};
    const bool adding = m_state == State::Adding;
    bool notSaved = false;
    bool noPassword = false;
    const auto askPassword = [&] {
        const QString password = TFormyhmm::ask(this, m_name->text());
        noPassword = password.isEmpty();
        return password;
    };
    const bool done = Action::run(this, [&] {
        try {
            if (adding)
                Operators::add(account, askPassword);
            else
                Operators::update(m_editedCode, account);
        } catch (const Operators::NotSaved& e) {
            Log::write(QString("operator %1 not saved: %2").arg(account.code, e.what()));
            notSaved = true;
            throw ActionCancelled();
        } catch (const StoreError& e) {
            Log::write(QString("operator %1 not saved: %2").arg(account.code, e.message()));
            notSaved = true;
            throw ActionCancelled();
        }
    });
    if (notSaved) {
        if (adding) {
            Messages::notice(this, saveCaption, "   保存发生错误!", Messages::Icon::Critical);
        } else {
            Messages::notice(this, saveCaption, "数据没有保存！");
            cancelClick();
        }
        return;
    }
    if (!done) {
        // An add without a password stores nothing: the new row goes.
        if (noPassword) {
            setEditing(State::Browsing);
            reload();
        }
        return;
    }
    const QString saved =
        Operators::isSuperuser(account.code) ? QString("ADMIN") : account.code.trimmed();
    setEditing(State::Browsing);
    reload(saved);
    if (adding)
        Messages::notice(this, saveCaption, "新用户已经添加成功！");
}

void Tyhglfm::passwordClick()
{
    if (m_model->rowCount() == 0)
        return;
    const QString code = currentCode();
    const QString name = m_name->text();
    const bool done =
        Action::run(this, [&] { Operators::setPassword(code, TFormyhmm::ask(this, name)); });
    if (done)
        Messages::plain(this, "密码修改成功！");
}
