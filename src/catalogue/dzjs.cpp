#include "catalogue/dzjs.h"

#include "data/dates.h"
#include "data/sql.h"
#include "pickers/columnsmodel.h"
#include "reports/dzjsprint.h"
#include "reports/reportoutput.h"
#include "ui/action.h"
#include "ui/datebox.h"
#include "ui/help.h"
#include "ui/messages.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const char* const noticeCaption = "提示信息";
const char* const badDateText = "日期格式错误!";
} // namespace

Tdzjsfm::Tdzjsfm(QWidget* parent) : QWidget(parent)
{
    setObjectName("dzjsfm");
    setWindowTitle("图书信息查询");
    Help::setContext(this, helpContext);
    buildScreen();
    FormShow();
}

void Tdzjsfm::buildScreen()
{
    auto* boxes = new QGridLayout;
    boxes->setHorizontalSpacing(8);
    boxes->setVerticalSpacing(6);
    auto lineEdit = [this](const char* name) {
        auto* box = new QLineEdit(this);
        box->setObjectName(name);
        box->setMinimumWidth(170);
        return box;
    };
    auto comboBox = [this](const char* name) {
        auto* box = new QComboBox(this);
        box->setObjectName(name);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setMinimumWidth(170);
        return box;
    };
    auto resultBox = [this](const char* name) {
        auto* box = new QLineEdit(this);
        box->setObjectName(name);
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::ClickFocus);
        box->hide();
        return box;
    };

    m_barcode = lineEdit("Edit1");
    m_room = comboBox("ComboBox2");
    m_author = lineEdit("Edit3");
    m_series = lineEdit("Edit4");
    m_title = lineEdit("Edit5");
    m_publisher = lineEdit("Edit6");
    m_published = lineEdit("Edit7");
    m_dateButton = new QPushButton(">>>", this);
    m_dateButton->setObjectName("BitBtn6");
    m_dateButton->setAutoDefault(false);
    m_dateButton->setFocusPolicy(Qt::ClickFocus);
    m_dateButton->setFixedWidth(m_dateButton->fontMetrics().horizontalAdvance(">>>") + 36);
    QSizePolicy keep = m_dateButton->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_dateButton->setSizePolicy(keep);
    m_language = comboBox("ComboBox1");
    m_language->addItems({"中文", "西文"});
    m_class = comboBox("ComboBox3");
    m_class->addItems({"军事", "经济", "文化"});

    // Each row: label, condition box, and the read-only result box of the same column.
    struct Place {
        const char* label;
        QWidget* condition;
        const char* resultName;
        const char* column;
    };
    const QList<Place> places{
        {"图书条形码:", m_barcode, "Txm", "txm"},
        {"藏书地点:", m_room, "tssmc", "tssmc"},
        {"作者:", m_author, "Zz", "zz"},
        {"图书系列名:", m_series, "Xlm", "xlm"},
        {"图书名称:", m_title, "Tsmc", "tsmc"},
        {"出版社名称:", m_publisher, "Cbsmc", "cbsmc"},
        {"出版时间:", m_published, "Cbsj", "cbsj"},
        {"语种:", m_language, "Yz", "yz"},
        {"所属分类", m_class, nullptr, nullptr},
    };
    for (int i = 0; i < places.size(); ++i) {
        const Place& p = places.at(i);
        const int row = i / 2;
        const int column = (i % 2) * 4;
        boxes->addWidget(new QLabel(p.label, this), row, column, Qt::AlignRight);
        boxes->addWidget(p.condition, row, column + 1);
        if (p.resultName) {
            QLineEdit* result = resultBox(p.resultName);
            boxes->addWidget(result, row, column + 1);
            m_resultBoxes << result;
            m_resultColumns << p.column;
        }
        m_conditionWidgets << p.condition;
    }
    boxes->addWidget(m_dateButton, 3, 2);
    boxes->setColumnMinimumWidth(3, 24);
    boxes->setColumnStretch(1, 1);
    boxes->setColumnStretch(5, 1);
    m_conditionWidgets << m_dateButton;

    m_model = new ColumnsModel(
        {{"Tsjg", "图书价格", ColumnsModel::twoDecimals, Qt::AlignRight | Qt::AlignVCenter},
         {"Bs", "图书本数", {}, Qt::AlignRight | Qt::AlignVCenter},
         {"Jcs", "借出数", {}, Qt::AlignRight | Qt::AlignVCenter},
         {"Fjch", "分卷册号"},
         {"Tsbb", "图书版次"},
         {"Tsym", "图书页码", {}, Qt::AlignRight | Qt::AlignVCenter},
         {"Tskb", "图书开本"},
         {"Ztm", "正题名"},
         {"Ftm", "副题名"}},
        this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    ColumnsModel::setUpGrid(m_grid, m_model);
    for (int c = 0; c < 7; ++c)
        m_grid->setColumnWidth(c, 76);
    m_grid->setColumnWidth(7, 150);
    m_grid->setMinimumSize(760, 240);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &Tdzjsfm::showCurrent);

    auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(true);
        return b;
    };
    m_query = button("查询&F", "BitBtn1");
    QPushButton* requery = button("重查&R", "BitBtn2");
    QPushButton* print = button("打印", "BitBtn3");
    QPushButton* help = button("帮助&H", "BitBtn4");
    QPushButton* close = button("关闭&X", "BitBtn5");
    connect(m_query, &QPushButton::clicked, this, &Tdzjsfm::queryClick);
    connect(requery, &QPushButton::clicked, this, &Tdzjsfm::requeryClick);
    connect(print, &QPushButton::clicked, this, &Tdzjsfm::printClick);
    connect(help, &QPushButton::clicked, this, [this] { Help::showContext(helpContext, this); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto navigatorButton = [this](Qt::ArrowType arrow, const char* name) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setArrowType(arrow);
        b->setFixedSize(28, 24);
        return b;
    };
    QToolButton* prior = navigatorButton(Qt::LeftArrow, "prior");
    QToolButton* next = navigatorButton(Qt::RightArrow, "next");
    connect(prior, &QToolButton::clicked, this, [this] { step(-1); });
    connect(next, &QToolButton::clicked, this, [this] { step(+1); });
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(4);
    bottom->addWidget(prior);
    bottom->addWidget(next);
    bottom->addStretch();
    for (QPushButton* b : {m_query, requery, print, help, close})
        bottom->addWidget(b);

    auto* printAction = new QAction("打印", this);
    printAction->setObjectName("N1");
    printAction->setShortcut(Qt::Key_F4);
    connect(printAction, &QAction::triggered, this, &Tdzjsfm::printClick);
    auto* exitAction = new QAction("退出", this);
    exitAction->setObjectName("N2");
    exitAction->setShortcut(Qt::Key_Escape);
    connect(exitAction, &QAction::triggered, this, &QWidget::close);
    addAction(printAction);
    addAction(exitAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    // Enter moves along the condition boxes and ends on "查询&F".
    m_chain = {m_barcode,   m_room,      m_author,   m_series, m_title,
               m_publisher, m_published, m_language, m_class,  m_query};
    for (QWidget* w : m_chain) {
        if (w == m_query)
            continue;
        w->installEventFilter(this);
        if (auto* combo = qobject_cast<QComboBox*>(w))
            combo->lineEdit()->installEventFilter(this);
    }
    for (int i = 0; i + 1 < m_chain.size(); ++i)
        setTabOrder(m_chain.at(i), m_chain.at(i + 1));
    DateBox* date = DateBox::attach(m_published, m_dateButton, m_language);
    date->checkOnLeave(noticeCaption, badDateText);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
}

bool Tdzjsfm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            QWidget* box = qobject_cast<QWidget*>(watched);
            if (auto* combo = qobject_cast<QComboBox*>(box ? box->parentWidget() : nullptr))
                box = combo;
            const qsizetype at = m_chain.indexOf(box);
            if (at >= 0 && at + 1 < m_chain.size()) {
                m_chain.at(at + 1)->setFocus();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Tdzjsfm::FormShow()
{
    move(0, 0);
    Action::run(this, [&] {
        Sql rooms("select tssmc from tssxxk");
        rooms.exec();
        while (rooms.next())
            m_room->addItem(rooms.text("tssmc"));
    });
    m_class->setCurrentIndex(-1);
    m_class->setEditText(QString());
    m_model->close();
    conditionMode();
    m_barcode->setFocus();
}

void Tdzjsfm::conditionMode()
{
    for (QLineEdit* box : {m_barcode, m_author, m_series, m_title, m_publisher, m_published})
        box->clear();
    m_language->setCurrentText("中文");
    m_room->setCurrentIndex(-1);
    m_room->setEditText(QString());
    for (QWidget* w : m_conditionWidgets)
        w->setVisible(w != m_dateButton);
    m_dateButton->hide();
    for (QLineEdit* box : m_resultBoxes)
        box->hide();
    m_resultMode = false;
}

void Tdzjsfm::resultMode()
{
    for (QWidget* w : m_conditionWidgets)
        w->hide();
    for (QLineEdit* box : m_resultBoxes)
        box->show();
    m_resultMode = true;
    showCurrent();
}

BookSearchConditions Tdzjsfm::conditions(bool* ok)
{
    BookSearchConditions c;
    c.barcode = m_barcode->text();
    c.room = m_room->currentText();
    c.author = m_author->text();
    c.series = m_series->text();
    c.title = m_title->text();
    c.publisher = m_publisher->text();
    c.language = m_language->currentText();
    c.className = m_class->currentText();
    *ok = true;
    if (!m_published->text().isEmpty()) {
        // A date typed and never left is checked here rather than dropped.
        c.published = Dates::parse(m_published->text());
        if (!c.published.isValid()) {
            Messages::notice(this, noticeCaption, badDateText);
            m_published->setFocus();
            *ok = false;
        }
    }
    return c;
}

void Tdzjsfm::queryClick()
{
    if (m_resultMode)
        return;
    bool ok = false;
    const BookSearchConditions c = conditions(&ok);
    if (!ok)
        return;
    const BookSearchStatement statement = BookSearch::statement(c);
    bool found = false;
    const bool ran = Action::run(this, [&] {
        Sql q(statement.text);
        q.bindAll(statement.values).exec();
        m_model->show(q.takeQuery());
        found = m_model->rowCount() > 0;
    });
    if (!ran)
        return;
    if (!found) {
        Messages::notice(this, noticeCaption, "没有查找到所需记录！");
        return;
    }
    m_listed = statement;
    m_printable = true;
    m_grid->selectRow(0);
    resultMode();
    m_grid->setFocus();
}

void Tdzjsfm::requeryClick()
{
    m_model->close();
    m_printable = false;
    conditionMode();
    m_barcode->setFocus();
}

void Tdzjsfm::printClick()
{
    if (!m_printable)
        return;
    Tdzjsprintfm report;
    report.setRows(m_listed);
    ReportOutput::preview(report.report(), this);
}

void Tdzjsfm::showCurrent()
{
    if (!m_resultMode)
        return;
    const QModelIndex current = m_grid->currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    for (int i = 0; i < m_resultBoxes.size(); ++i) {
        QLineEdit* box = m_resultBoxes.at(i);
        box->setText(m_model->text(row, m_resultColumns.at(i)));
        box->setCursorPosition(0);
    }
}

void Tdzjsfm::step(int delta)
{
    const int rows = m_model->rowCount();
    if (rows == 0)
        return;
    const int current = m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : 0;
    if (current + delta >= rows && m_model->canFetchMore())
        m_model->fetchMore();
    m_grid->selectRow(std::clamp(current + delta, 0, m_model->rowCount() - 1));
}
