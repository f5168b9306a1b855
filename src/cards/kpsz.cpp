#include "cards/kpsz.h"

#include "data/money.h"
#include "data/sql.h"
#include "ui/action.h"
#include "ui/enterchain.h"
#include "ui/gbklimit.h"
#include "ui/halfwidth.h"
#include "ui/help.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSqlRecord>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const char* const noticeCaption = "提示信息";

const QStringList moneyColumns = {"gbf", "yjje", "jsyj", "yqfkje"};
const QStringList integerColumns = {"jyqx", "yjsbs", "yxxjcs"};

QValidator* amountValidator(QObject* parent)
{
    return new QRegularExpressionValidator(QRegularExpression(R"(\d{0,9}(\.\d{0,4})?)"), parent);
}

QValidator* countValidator(QObject* parent)
{
    // small integer columns: four digits keep every value in range
    return new QRegularExpressionValidator(QRegularExpression(R"(\d{0,4})"), parent);
}

bool isDuplicateKey(const StoreError& error)
{
    return error.message().contains("UNIQUE constraint failed", Qt::CaseInsensitive);
}

QString displayText(const QString& column, const QVariant& value)
{
    if (value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isEmpty()))
        return {};
    if (moneyColumns.contains(column))
        return Money::fromVariant(value).toFixed2();
    if (integerColumns.contains(column))
        return QString::number(value.toInt());
    if (column == "yxts")
        return QString::number(value.toDouble());
    return value.toString();
}

QVariant columnValue(const QString& column, const QString& text)
{
    if (text.isEmpty())
        return QVariant(QMetaType::fromType<QString>()); // blank
    if (moneyColumns.contains(column))
        return Money::fromText(text).toDouble();
    if (integerColumns.contains(column))
        return text.toInt();
    return text;
}
} // namespace

// --- GradeTable ---

const QStringList& GradeTable::bufferColumns()
{
    static const QStringList columns = {"kdj",  "km",    "gbf",  "yjje",
                                        "jyqx", "yjsbs", "jsyj", "jyqxdw"};
    return columns;
}

void GradeTable::open()
{
    reload();
    m_current = 0;
    m_state = State::Browse;
    m_modified = false;
    m_buffer.clear();
}

void GradeTable::reload()
{
    m_rows.clear();
    Sql q("select rowid as rid, * from jykdjk order by kdj");
    q.exec();
    while (q.next()) {
        const QSqlRecord record = q.record();
        QVariantMap row;
        for (int i = 0; i < record.count(); ++i)
            row.insert(record.fieldName(i).toLower(), record.value(i));
        m_rows.append(row);
    }
    m_current = std::clamp(m_current, 0, std::max(0, rowCount() - 1));
}

QVariantMap GradeTable::currentStored() const
{
    return m_rows.isEmpty() ? QVariantMap() : m_rows.at(m_current);
}

QString GradeTable::field(const QString& column) const
{
    if (isEditing())
        return m_buffer.value(column).toString();
    return displayText(column, currentStored().value(column));
}

QVariant GradeTable::storedValue(int row, const QString& column) const
{
    return m_rows.at(row).value(column);
}

QString GradeTable::storedText(int row, const QString& column) const
{
    return displayText(column, storedValue(row, column));
}

void GradeTable::edit()
{
    if (isEditing())
        return;
    if (isEmpty()) {
        append();
        return;
    }
    m_buffer.clear();
    for (const QString& column : bufferColumns())
        m_buffer.insert(column, storedText(m_current, column));
    m_state = State::Edit;
    m_modified = false;
}

void GradeTable::append()
{
    // A new grade starts with no fee, no amount and no loan period.
    m_buffer.clear();
    for (const QString& column : bufferColumns())
        m_buffer.insert(column, QString());
    m_buffer["gbf"] = "0.00";
    m_buffer["yjje"] = "0.00";
    m_buffer["jyqx"] = "0";
    m_state = State::Insert;
    m_modified = false;
}

void GradeTable::cancel()
{
    m_buffer.clear();
    m_state = State::Browse;
    m_modified = false;
}

void GradeTable::setField(const QString& column, const QString& text)
{
    edit();
    m_buffer[column] = text;
    m_modified = true;
}

void GradeTable::write() const
{
    const QStringList& columns = bufferColumns();
    QVariantList values;
    for (const QString& column : columns)
        values.append(columnValue(column, m_buffer.value(column).toString()));
    if (m_state == State::Insert) {
        Sql::run("insert into jykdjk(kdj,km,gbf,yjje,jyqx,yjsbs,jsyj,jyqxdw) "
                 "values(:tj0,:tj1,:tj2,:tj3,:tj4,:tj5,:tj6,:tj7)",
                 values);
    } else if (m_state == State::Edit) {
        values.append(currentStored().value("rid"));
        Sql::run("update jykdjk set kdj=:tj0,km=:tj1,gbf=:tj2,yjje=:tj3,jyqx=:tj4,yjsbs=:tj5,"
                 "jsyj=:tj6,jyqxdw=:tj7 where rowid=:rid",
                 values);
    }
}

void GradeTable::afterWrite(const QString& grade)
{
    cancel();
    reload();
    for (int i = 0; i < rowCount(); ++i) {
        if (m_rows.at(i).value("kdj").toString() == grade)
            m_current = i;
    }
}

void GradeTable::writeRules(const QString& grade, Money finePerDay, int renewals, int validDays)
{
    Sql("update jykdjk set yqfkje=:tj1,yxxjcs=:tj2,yxts=:tj3 where kdj= :kdj")
        .bind(finePerDay)
        .bind(renewals)
        .bind(validDays)
        .bind(grade)
        .exec();
}

void GradeTable::removeCurrent()
{
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    cancel();
    if (isEmpty())
        return;
    Sql::run("delete from jykdjk where rowid=:rid", {currentStored().value("rid")});
    reload();
}

void GradeTable::moveTo(int index)
{
    cancel();
    m_current = std::clamp(index, 0, std::max(0, rowCount() - 1));
}

// --- UpDownStepper ---

UpDownStepper::UpDownStepper(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* up = new QToolButton(this);
    up->setObjectName("up");
    up->setArrowType(Qt::UpArrow);
    auto* down = new QToolButton(this);
    down->setObjectName("down");
    down->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {up, down}) {
        button->setFixedSize(18, 12);
        button->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(button);
    }
    connect(up, &QToolButton::clicked, this, [this] { step(+1); });
    connect(down, &QToolButton::clicked, this, [this] { step(-1); });
}

void UpDownStepper::step(int delta)
{
    const int moved = std::clamp(m_position + delta, minimum, maximum);
    if (moved == m_position)
        return;
    m_position = moved;
    emit stepped(delta);
}

// --- Tkpszfm ---

Tkpszfm::Tkpszfm(QWidget* parent) : QDialog(parent)
{
    setObjectName("kpszfm");
    setWindowTitle("借书证等级设置");
    Help::attach(this, helpContext);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    buildScreen();
    FormShow();
    setFixedSize(sizeHint());
}

void Tkpszfm::buildScreen()
{
    auto lineEdit = [this](const char* name) {
        auto* box = new QLineEdit(this);
        box->setObjectName(name);
        return box;
    };
    m_grade = lineEdit("DBEdit6");
    GbkLimit::apply(m_grade, 1);
    m_cardName = lineEdit("DBEdit7");
    GbkLimit::apply(m_cardName, 10);
    m_chooser = new QComboBox(this);
    m_chooser->setObjectName("ComboBox1");
    m_chooser->addItems({"IC卡", "借阅证"});
    m_chooser->setCurrentIndex(-1);
    m_cardTypeStack = new QStackedWidget(this);
    m_cardTypeStack->addWidget(m_cardName);
    m_cardTypeStack->addWidget(m_chooser);
    m_cardTypeStack->setFixedWidth(120);

    m_fee = lineEdit("DBEdit1");
    m_amount = lineEdit("DBEdit2");
    m_loanPeriod = lineEdit("DBEdit3");
    m_maxBooks = lineEdit("DBEdit4");
    m_deposit = lineEdit("DBEdit5");
    for (QLineEdit* box : {m_fee, m_amount, m_deposit})
        box->setValidator(amountValidator(box));
    for (QLineEdit* box : {m_loanPeriod, m_maxBooks})
        box->setValidator(countValidator(box));
    m_renewals = lineEdit("Edit1");
    m_fine = lineEdit("Edit2");
    m_validity = lineEdit("Edit3");
    for (QLineEdit* box :
         {m_fee, m_amount, m_loanPeriod, m_maxBooks, m_deposit, m_renewals, m_fine, m_validity})
        HalfWidth::apply(box);
    m_fine->setText("0.5");
    m_validity->setText("365");
    m_stepper = new UpDownStepper(this);
    m_stepper->setObjectName("UpDown1");

    m_bound = {{m_grade, "kdj"},   {m_cardName, "km"},     {m_fee, "gbf"},
               {m_amount, "yjje"}, {m_loanPeriod, "jyqx"}, {m_maxBooks, "yjsbs"},
               {m_deposit, "jsyj"}};
    for (const auto& [box, column] : m_bound) {
        QLineEdit* edited = box;
        const QString col = column;
        connect(box, &QLineEdit::textEdited, this,
                [this, edited, col](const QString& text) { boundEdited(edited, col, text); });
    }
    connect(m_stepper, &UpDownStepper::stepped, this, &Tkpszfm::stepLoanPeriod);

    auto* gradeGroup = new QGroupBox("请输入卡片等级", this);
    auto* gradeLayout = new QHBoxLayout(gradeGroup);
    gradeLayout->addWidget(new QLabel("借书证等级:", gradeGroup));
    m_grade->setFixedWidth(60);
    gradeLayout->addWidget(m_grade);
    gradeLayout->addSpacing(24);
    gradeLayout->addWidget(new QLabel("借书证名:", gradeGroup));
    gradeLayout->addWidget(m_cardTypeStack);
    gradeLayout->addStretch();

    auto* contentGroup = new QGroupBox("卡片内容", this);
    auto* grid = new QGridLayout(contentGroup);
    grid->setHorizontalSpacing(8);
    auto label = [contentGroup](const QString& text) { return new QLabel(text, contentGroup); };
    auto boldLabel = [contentGroup](const QString& text) {
        auto* l = new QLabel(text, contentGroup);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        return l;
    };
    for (QLineEdit* box :
         {m_fee, m_amount, m_loanPeriod, m_maxBooks, m_deposit, m_renewals, m_fine, m_validity})
        box->setFixedWidth(90);
    grid->addWidget(label("工本费:"), 0, 0);
    grid->addWidget(m_fee, 0, 1);
    grid->addWidget(label("最大借书金额:"), 0, 3);
    grid->addWidget(m_amount, 0, 4);
    grid->addWidget(label("借书期限:"), 1, 0);
    auto* loanRow = new QHBoxLayout;
    loanRow->setSpacing(2);
    loanRow->addWidget(m_loanPeriod);
    loanRow->addWidget(m_stepper);
    grid->addLayout(loanRow, 1, 1);
    grid->addWidget(label("日"), 1, 2);
    grid->addWidget(label("最大借书本数:"), 1, 3);
    grid->addWidget(m_maxBooks, 1, 4);
    grid->addWidget(label("借书押金:"), 2, 0);
    grid->addWidget(m_deposit, 2, 1);
    grid->addWidget(label("允许续借次数"), 2, 3);
    grid->addWidget(m_renewals, 2, 4);
    grid->addWidget(label("读者借书逾期罚款设置"), 3, 0);
    grid->addWidget(m_fine, 3, 1);
    grid->addWidget(boldLabel("元"), 3, 2);
    auto* hint = label("[提示：每逾期1天的罚款金额]");
    hint->setStyleSheet("color: blue;");
    grid->addWidget(hint, 3, 3, 1, 3);
    grid->addWidget(label("有效期天数"), 4, 0);
    grid->addWidget(m_validity, 4, 1);
    grid->addWidget(boldLabel("天"), 4, 2);
    grid->setColumnStretch(5, 1);

    auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        // Enter in a box moves along the boxes (never a default button); Enter on a focused
        // button presses it (EnterKeys).
        b->setAutoDefault(false);
        return b;
    };
    m_save = button("保存", "save");
    QPushButton* add = button("增加&N", "add");
    QPushButton* remove = button("删除&D", "remove");
    QPushButton* close = button("关闭&X", "close");
    // Enter: every grade box goes on to the renewals, then the fine, then Save.
    auto* chain = EnterChain::link(this, {m_renewals, m_fine, m_save});
    for (const auto& [box, column] : m_bound)
        chain->hop(box, m_renewals);
    chain->hop(m_chooser, m_renewals);
    connect(m_save, &QPushButton::clicked, this, &Tkpszfm::saveClick);
    connect(add, &QPushButton::clicked, this, &Tkpszfm::addClick);
    connect(remove, &QPushButton::clicked, this, &Tkpszfm::deleteClick);
    connect(close, &QPushButton::clicked, this, &Tkpszfm::reject);

    auto* navigator = new Navigator(this);
    m_prior = navigator->prior();
    m_next = navigator->next();
    connect(navigator, &Navigator::stepped, this, [this](int delta) {
        const int target = m_table.currentIndex() + delta;
        if (target >= 0 && target < m_table.rowCount())
            moveTo(target);
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(navigator);
    buttons->addStretch();
    for (QPushButton* b : {m_save, add, remove, close})
        buttons->addWidget(b); // Enter on a focused button presses it (EnterKeys)

    m_gridModel = new QStandardItemModel(this);
    m_gridModel->setHorizontalHeaderLabels({"等级", "借阅证类型", "工本费", "最大借书金额",
                                            "借阅期限", "最大借书本数", "借书押金", "允许续借次数",
                                            "逾期罚款金额", "有效天数"});
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    Grid::setUp(m_grid, m_gridModel);
    m_grid->setMinimumHeight(170);
    connect(m_grid, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (index.row() < m_table.rowCount() && index.row() != m_table.currentIndex())
            moveTo(index.row());
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gradeGroup);
    layout->addWidget(contentGroup);
    layout->addLayout(buttons);
    layout->addWidget(m_grid);

    Screen::closeOnEscape(this);
}

void Tkpszfm::FormShow()
{
    m_table.open();
    m_table.edit(); // an empty table starts a new row
    if (!m_table.isEmpty() && !m_table.storedText(0, "km").isEmpty())
        showCardNameBox();
    else
        showChooser();
    showRuleBoxes();
    showRow();
    // Wide enough for every column without scrolling sideways.
    m_grid->resizeColumnsToContents();
    int width = m_grid->verticalHeader()->sizeHint().width() + 2 * m_grid->frameWidth() + 4;
    for (int c = 0; c < m_gridModel->columnCount(); ++c)
        width += m_grid->columnWidth(c);
    m_grid->setMinimumWidth(width);
}

bool Tkpszfm::chooserOnTop() const
{
    return m_cardTypeStack->currentWidget() == m_chooser;
}

void Tkpszfm::showChooser()
{
    m_cardTypeStack->setCurrentWidget(m_chooser);
}

void Tkpszfm::showCardNameBox()
{
    m_cardTypeStack->setCurrentWidget(m_cardName);
}

QString Tkpszfm::cardType() const
{
    // The chooser decides only while it is the one on top; otherwise the card-name box,
    // which shows the row's own type, does.
    if (chooserOnTop() && !m_chooser->currentText().isEmpty())
        return m_chooser->currentText();
    return m_cardName->text();
}

void Tkpszfm::showRow(QLineEdit* except)
{
    for (const auto& [box, column] : m_bound) {
        if (box != except)
            box->setText(m_table.field(column));
    }
    refreshGrid();
}

void Tkpszfm::refreshGrid()
{
    static const QStringList columns = {"kdj",   "km",   "gbf",    "yjje",   "jyqx",
                                        "yjsbs", "jsyj", "yxxjcs", "yqfkje", "yxts"};
    const int rows = m_table.rowCount() + (m_table.state() == GradeTable::State::Insert ? 1 : 0);
    m_gridModel->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const bool current = row == m_table.currentIndex() && m_table.isEditing();
        for (int c = 0; c < columns.size(); ++c) {
            const QString& column = columns.at(c);
            QString text;
            if (current && GradeTable::bufferColumns().contains(column))
                text = displayText(column, columnValue(column, m_table.field(column)));
            else if (row < m_table.rowCount())
                text = m_table.storedText(row, column);
            auto* item = new QStandardItem(text);
            if (c >= 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_gridModel->setItem(row, c, item);
        }
    }
    if (rows > 0) {
        const QSignalBlocker block(m_grid->selectionModel());
        m_grid->selectRow(std::min(m_table.currentIndex(), rows - 1));
    }
}

void Tkpszfm::boundEdited(QLineEdit* box, const QString& column, const QString& text)
{
    m_table.setField(column, text);
    // Typing into an empty table starts a new row, whose other boxes show its start values.
    showRow(box);
}

bool Tkpszfm::requiredFieldsComplete()
{
    const QList<QPair<QLineEdit*, const char*>> required = {
        {m_grade, "借书卡等级不能为空!"},      {m_fee, "工本费不能为空!"},
        {m_loanPeriod, "借书期限值不能为空!"}, {m_deposit, "借书押金不能为空!"},
        {m_maxBooks, "请输入最大借书数量!"},
    };
    for (const auto& [box, message] : required) {
        if (box->text().isEmpty()) {
            Messages::notice(this, noticeCaption, message);
            m_complete = false;
            box->setFocus();
            return false;
        }
    }
    m_complete = true;
    return true;
}

bool Tkpszfm::writeCurrentRow(bool withRuleBoxes)
{
    const QString grade = m_grade->text();
    m_table.setField("km", cardType());
    m_table.setField("jyqxdw", "日");
    const bool written = Action::run(this, [&] {
        try {
            m_table.write();
        } catch (const StoreError& error) {
            if (!isDuplicateKey(error))
                throw;
            Messages::notice(this, noticeCaption, "记录重复,请重输!");
            throw ActionCancelled{};
        }
        if (withRuleBoxes) {
            GradeTable::writeRules(grade, Money::fromText(m_fine->text().trimmed()),
                                   m_renewals->text().trimmed().toInt(),
                                   m_validity->text().trimmed().toInt());
        }
    });
    if (written)
        m_table.afterWrite(grade);
    return written;
}

void Tkpszfm::saveClick()
{
    // A negative count or amount would turn the rule around (fines paid out, cards
    // expired on issue), so it is refused like any other malformed text.
    bool ok = false;
    if (m_renewals->text().trimmed().isEmpty()) {
        Messages::plain(this, "请填写续借次数！");
        m_renewals->setFocus();
        return;
    }
    const int renewals = m_renewals->text().trimmed().toInt(&ok);
    if (!ok || renewals < 0) {
        Messages::plain(this, "续借次数格式不对！");
        m_renewals->setFocus();
        return;
    }
    if (m_fine->text().trimmed().isEmpty()) {
        Messages::plain(this, "请填写逾期罚款！");
        m_fine->setFocus();
        return;
    }
    const Money fine = Money::fromText(m_fine->text(), &ok);
    if (!ok || fine < Money()) {
        Messages::plain(this, "逾期罚款数格式不对！");
        m_fine->setFocus();
        return;
    }
    if (m_validity->text().trimmed().isEmpty()) {
        Messages::plain(this, "办新借阅证时有效天数不能为空！");
        m_validity->setFocus();
        return;
    }
    const int validity = m_validity->text().trimmed().toInt(&ok);
    if (!ok || validity < 0) {
        Messages::plain(this, "办新借阅证时有效天数格式不能为空！");
        m_validity->setFocus();
        return;
    }
    if (!m_table.isEditing()) {
        // After a move the rule boxes may be all the operator changed: save the row
        // as shown instead of ignoring the click.
        m_table.edit();
        showRow();
    }
    if (!requiredFieldsComplete())
        return;
    if ((chooserOnTop() && m_chooser->currentText().isEmpty()) || cardType().isEmpty()) {
        Messages::notice(this, noticeCaption, "请输入借书证名!");
        (chooserOnTop() ? static_cast<QWidget*>(m_chooser) : m_cardName)->setFocus();
        return;
    }
    if (!writeCurrentRow(true))
        return;
    // Ready for the next grade.
    showChooser();
    m_table.append();
    showRow();
    m_grade->setFocus();
    m_renewals->clear();
}

void Tkpszfm::addClick()
{
    // An edit nobody typed into (the grade shown at opening) gives way to the new row.
    if (m_table.isEditing() && !m_table.isModified())
        m_table.cancel();
    if (m_table.isEditing())
        return;
    if (m_cardName->text().isEmpty()) {
        Messages::notice(this, noticeCaption, "借书卡名不能为空!");
        showCardNameBox();
        m_cardName->setFocus();
        return;
    }
    m_renewals->clear();
    m_fine->clear();
    if (!requiredFieldsComplete())
        return;
    m_table.append();
    showChooser();
    showRow();
    m_grade->setFocus();
}

void Tkpszfm::deleteClick()
{
    if (m_table.isEmpty())
        return;
    if (!Action::run(this, [this] { m_table.removeCurrent(); })) {
        m_table.open(); // the row is still there; show the table as stored
    }
    showChooser();
    m_renewals->clear();
    m_fine->clear();
    showRuleBoxes();
    showRow();
    m_grade->setFocus();
}

bool Tkpszfm::moveTo(int index)
{
    if (!leaveCurrentRow(index)) {
        refreshGrid();
        return false;
    }
    if (m_table.isEmpty()) {
        showRow();
        return true;
    }
    m_table.moveTo(index);
    afterMove();
    return true;
}

bool Tkpszfm::leaveCurrentRow(int& index)
{
    if (!m_table.isEditing())
        return true;
    if (m_table.isModified() && m_table.state() == GradeTable::State::Insert) {
        // A new grade needs its rule boxes, which only Save checks and writes.
        Messages::notice(this, noticeCaption, "新增的借书证等级还没有保存，请先保存!");
        m_save->setFocus();
        return false;
    }
    // A row still showing a zero fee, amount or loan period passes unchecked unless changed.
    const bool zeroShown =
        m_fee->text() == "0.00" || m_amount->text() == "0.00" || m_loanPeriod->text() == "0";
    if (!zeroShown || m_table.isModified()) {
        if (!requiredFieldsComplete())
            return false;
        if (cardType().isEmpty()) {
            Messages::notice(this, noticeCaption, "请输入借书证名!");
            return false;
        }
    }
    if (!m_table.isModified()) {
        m_table.cancel();
        return true;
    }
    const int offset = index - m_table.currentIndex();
    const QVariant target = m_table.storedValue(index, "rid");
    if (!writeCurrentRow(false))
        return false;
    // The written row may have moved in grade order: follow the step or the clicked row.
    const bool byNavigator = offset == 1 || offset == -1;
    index = m_table.currentIndex() + (byNavigator ? offset : 0);
    for (int i = 0; !byNavigator && i < m_table.rowCount(); ++i) {
        if (m_table.storedValue(i, "rid") == target)
            index = i;
    }
    return true;
}

void Tkpszfm::afterMove()
{
    showCardNameBox();
    showRuleBoxes();
    showRow();
}

void Tkpszfm::showRuleBoxes()
{
    // The renewals, fine and validity are not edited through the grade buffer: they show
    // the current grade's stored values, so that Save writes back what the screen shows.
    if (m_table.isEmpty() || m_table.state() == GradeTable::State::Insert)
        return;
    const int row = m_table.currentIndex();
    m_renewals->setText(QString::number(m_table.storedValue(row, "yxxjcs").toInt()));
    m_fine->setText(Money::fromVariant(m_table.storedValue(row, "yqfkje")).toShortest());
    m_validity->setText(m_table.storedText(row, "yxts"));
}

void Tkpszfm::stepLoanPeriod(int delta)
{
    m_table.edit();
    // A loan period below zero days would make every loan overdue at once.
    const int period = std::max(0, m_table.field("jyqx").toInt() + delta);
    m_table.setField("jyqx", QString::number(period));
    showRow();
}

void Tkpszfm::reject()
{
    if (m_maxBooks->text().isEmpty() && m_grade->text().isEmpty() && m_cardName->text().isEmpty()) {
        QDialog::reject();
        return;
    }
    if (!m_cardName->text().isEmpty()) {
        if (!requiredFieldsComplete())
            return;
        QDialog::reject();
        return;
    }
    Messages::notice(this, noticeCaption, "借书卡名不能为空!");
    m_cardName->setFocus();
    QDialog::reject();
}
