#include "catalogue/bmcx.h"

#include "catalogue/bqdy.h"
#include "catalogue/mxfl.h"
#include "data/dates.h"
#include "data/sql.h"
#include "desk/catalogue.h"
#include "desk/classification.h"
#include "reports/bmcxprint.h"
#include "reports/reportoutput.h"
#include "ui/action.h"
#include "ui/bldbedit.h"
#include "ui/enterchain.h"
#include "ui/enterkeys.h"
#include "ui/export.h"
#include "ui/help.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr const char* noticeCaption = "提示信息";
constexpr const char* badDateText = "日期格式错误!";

const QList<GridColumn>& gridColumns()
{
    using Format = GridColumn::Format;
    static const QList<GridColumn> columns{
        {"Tsjsh", "图书检索号"},
        {"Fjch", "分卷册号"},
        {"Bt", "图书标题"},
        {"Ztm", "正题名"},
        {"Ftm", "副题名"},
        {"Sjm", "四角码"},
        {"Tskb", "图书开本"},
        {"Tsym", "图书页码", Format::Number},
        {"Tsbb", "图书版次"},
        {"Hbfh", "货币符号"},
        {"Tsjg", "图书价格", Format::Money},
        {"Ctys", "插图页数", Format::Number},
        {"pyzjh", "拼音助记符"},
    };
    return columns;
}
} // namespace

// The query's rows, with the rows corrected since the query read them as they are now.
class BookQueryModel : public QueryGridModel {
public:
    using QueryGridModel::QueryGridModel;

    QVariant value(int row, const QString& column) const override
    {
        if (const auto it = m_reread.constFind(row); it != m_reread.constEnd()) {
            const int at = it->indexOf(column);
            if (at >= 0)
                return it->value(at);
        }
        return QueryGridModel::value(row, column);
    }
    // The row as the store holds it now (after a correction).
    void reread(int row, const QString& barcode)
    {
        Sql q("select * from tszk where txm=:txm");
        q.bind(barcode).exec();
        if (!q.next())
            return;
        m_reread.insert(row, q.record());
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
    void forget() { m_reread.clear(); }

private:
    QHash<int, QSqlRecord> m_reread;
};

Tbmcxfm::Tbmcxfm(QWidget* parent) : QWidget(parent)
{
    setObjectName("bmcxfm");
    setWindowTitle("图书编目查询");
    setWindowFlags(windowFlags() & ~Qt::WindowMaximizeButtonHint);
    // Enter on a button moves on like Enter in a box; the barcode box runs the query.
    setProperty(EnterKeys::ownRulesProperty, true);
    buildScreen();
    FormShow();
}

void Tbmcxfm::buildScreen()
{
    const auto lineEdit = [this](const char* name) {
        auto* box = new QLineEdit(this);
        box->setObjectName(name);
        box->setMinimumWidth(150);
        return box;
    };
    const auto comboBox = [this](const char* name) {
        auto* box = new QComboBox(this);
        box->setObjectName(name);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setMinimumWidth(150);
        return box;
    };

    m_secondLevelCode = lineEdit("Edit8");
    m_barcode = lineEdit("Edit1");
    m_barcode->setMaxLength(12);
    m_title = lineEdit("Edit2");
    m_author = lineEdit("Edit3");
    m_cataloguer = lineEdit("Edit4");
    m_catalogued = lineEdit("Edit5");
    m_published = lineEdit("edit6");
    m_publisher = lineEdit("Edit7");
    m_series = lineEdit("Edit9");
    m_mnemonic = lineEdit("Edit12");
    m_language = comboBox("ComboBox1");
    m_language->addItems({"中文", "西文"});
    m_firstLevel = comboBox("ComboBox2");
    m_firstLevelName = lineEdit("Edit13");
    m_firstLevelName->setReadOnly(true);
    m_firstLevelName->setFocusPolicy(Qt::ClickFocus);
    m_secondLevel = lineEdit("Edit14");
    m_shelf = lineEdit("Edit10");
    m_pages = lineEdit("Edit11");

    // Each place: its label, its condition box and the result box of the same column.
    struct Place {
        const char* label;
        QWidget* condition;
        const char* column; // the result box shown there, or none
    };
    auto* firstLevel = new QWidget(this);
    auto* firstLevelRow = new QHBoxLayout(firstLevel);
    firstLevelRow->setContentsMargins(0, 0, 0, 0);
    firstLevelRow->addWidget(m_firstLevel);
    firstLevelRow->addWidget(m_firstLevelName);
    m_firstLevel->setMinimumWidth(60);
    m_firstLevelName->setMinimumWidth(90);
    auto* mnemonic = new QWidget(this);
    auto* mnemonicRow = new QHBoxLayout(mnemonic);
    mnemonicRow->setContentsMargins(0, 0, 0, 0);
    mnemonicRow->addWidget(m_mnemonic);
    mnemonicRow->addWidget(new QLabel("区分大小写", mnemonic));
    const QList<Place> places{
        {"图书条形码：", m_barcode, "txm"},
        {"图书名称：", m_title, "tsmc"},
        {"作者：", m_author, "zz"},
        {"编目人：", m_cataloguer, "bmr"},
        {"编目日期：", m_catalogued, "bmrq"},
        {"出版时间：", m_published, "cbsj"},
        {"出版社名称：", m_publisher, "cbsmc"},
        {"二级分类码：", m_secondLevelCode, "mxflm"},
        {"系列名：", m_series, "xlm"},
        {"语种：", m_language, "yz"},
        {"书架号：", m_shelf, "fsjh"},
        {"页数：", m_pages, "tsym"},
        {"拼音助记符", mnemonic, nullptr},
        {"一级分类代码", firstLevel, nullptr},
        {"二级分类代码", m_secondLevel, nullptr},
    };
    auto* boxes = new QGridLayout;
    boxes->setHorizontalSpacing(8);
    boxes->setVerticalSpacing(6);
    for (int i = 0; i < places.size(); ++i) {
        const Place& p = places.at(i);
        const int row = i / 3;
        const int column = (i % 3) * 2;
        boxes->addWidget(new QLabel(p.label, this), row, column, Qt::AlignRight);
        boxes->addWidget(p.condition, row, column + 1);
        if (!p.column)
            continue;
        auto* result = new TBlDBEdit(this);
        result->setObjectName(p.column);
        result->setCaseMode(TBlDBEdit::cmProperCase);
        result->hide();
        const QString name = p.column;
        if (name == "txm") {
            // A new barcode would part the title from its loans, fines and disposals.
            result->setReadOnly(true);
        } else {
            connect(result, &QLineEdit::textEdited, this, [this, name](const QString& text) {
                if (m_showing || !m_resultMode)
                    return;
                m_pending.insert(name, text);
                m_pendingRow = m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : 0;
            });
        }
        boxes->addWidget(result, row, column + 1);
        m_resultBoxes.insert(name, result);
        m_resultPlaces << p.condition;
    }
    for (int c : {1, 3, 5})
        boxes->setColumnStretch(c, 1);

    m_model = new BookQueryModel(gridColumns(), this);
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    Grid::setUp(m_grid, m_model);
    // Several titles may be chosen for one sheet of labels.
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setMinimumSize(760, 220);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex&, const QModelIndex& previous) {
                if (!m_pending.isEmpty() && previous.isValid() && previous.row() == m_pendingRow)
                    storePending();
                showCurrent();
            });

    const auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* query = button("查询&F", "query");
    QPushButton* remove = button("删除", "delete");
    QPushButton* print = button("打印&P", "print");
    QPushButton* labels = button("打印标签", "labels");
    QPushButton* requery = button("重查(&C)", "requery");
    QPushButton* exportButton = button("导出Excel", "export");
    QPushButton* help = button("帮助&H", "help");
    QPushButton* close = button("关闭&X", "close");
    connect(query, &QPushButton::clicked, this, &Tbmcxfm::queryClick);
    connect(remove, &QPushButton::clicked, this, &Tbmcxfm::deleteClick);
    connect(print, &QPushButton::clicked, this, &Tbmcxfm::printClick);
    connect(labels, &QPushButton::clicked, this, &Tbmcxfm::labelsClick);
    connect(requery, &QPushButton::clicked, this, &Tbmcxfm::requeryClick);
    connect(exportButton, &QPushButton::clicked, this, &Tbmcxfm::exportClick);
    connect(close, &QPushButton::clicked, this, [this] { Screen::close(this); });
    Help::attach(this, helpContext, help);
    Screen::closeOnEscape(this);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(4);
    bottom->addWidget(Navigator::forGrid(this, m_grid));
    bottom->addStretch();
    const QList<QPushButton*> buttons{query,   remove,       print, labels,
                                      requery, exportButton, help,  close};
    for (QPushButton* b : buttons)
        bottom->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);

    // Enter walks the condition boxes to the buttons and along them.
    QList<QWidget*> chain{m_barcode,   m_title,      m_author,          m_cataloguer, m_catalogued,
                          m_published, m_publisher,  m_secondLevelCode, m_series,     m_mnemonic,
                          m_language,  m_firstLevel, m_secondLevel,     m_shelf,      m_pages};
    for (QPushButton* b : buttons)
        chain << b;
    chain << m_barcode;
    for (int i = 0; i + 2 < chain.size(); ++i)
        setTabOrder(chain.at(i), chain.at(i + 1));
    EnterChain::link(this, chain)->onEnter(m_barcode, [this] {
        if (m_barcode->text().isEmpty())
            return true;
        queryClick();
        return false;
    });

    for (QLineEdit* box : {m_catalogued, m_published})
        Screen::onLeave(box, [this, box] { return checkDate(box); });
    Screen::onLeave(m_pages, [this] { return checkPages(); });
    Screen::onLeave(m_secondLevelCode, [this] { return checkSecondLevel(); });
    connect(m_firstLevel, &QComboBox::currentTextChanged, this, [this](const QString& code) {
        if (code.isEmpty()) {
            m_firstLevelName->clear();
            return;
        }
        QString name;
        if (Action::run(this, [&] { name = Classification::firstLevelName(code); }))
            m_firstLevelName->setText(name);
    });
    // Entering the barcode box starts a new set of conditions.
    m_barcode->installEventFilter(this);
}

bool Tbmcxfm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_barcode && event->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            reason != Qt::OtherFocusReason)
            conditionMode();
    }
    return QWidget::eventFilter(watched, event);
}

void Tbmcxfm::FormShow()
{
    move(0, 0);
    loadFirstLevelCodes();
    conditionMode();
    m_barcode->setFocus();
}

void Tbmcxfm::loadFirstLevelCodes()
{
    Action::run(this, [&] {
        Sql codes("select * from bmdyb where type_from_id= :typess order by type_id");
        codes.bind("0").exec();
        while (codes.next())
            m_firstLevel->addItem(codes.text("type_id"));
    });
    m_firstLevel->setCurrentIndex(-1);
    m_firstLevel->setEditText(QString());
    m_firstLevelName->clear(); // filling the list chose its first code on the way
}

void Tbmcxfm::conditionMode()
{
    if (!m_pending.isEmpty())
        storePending();
    m_language->setCurrentIndex(-1);
    m_language->setEditText(QString());
    for (QLineEdit* box : {m_barcode, m_title, m_cataloguer, m_catalogued, m_author, m_published,
                           m_publisher, m_secondLevelCode, m_series})
        box->clear();
    m_secondLevelChecked.clear();
    for (QWidget* w : m_resultPlaces)
        w->show();
    for (TBlDBEdit* box : m_resultBoxes)
        box->hide();
    m_resultMode = false;
}

void Tbmcxfm::resultMode()
{
    for (QWidget* w : m_resultPlaces)
        w->hide();
    for (TBlDBEdit* box : m_resultBoxes)
        box->show();
    m_language->setCurrentIndex(-1);
    m_language->setEditText(QString());
    m_resultMode = true;
    showCurrent();
}

bool Tbmcxfm::checkDate(QLineEdit* box)
{
    if (box->text().isEmpty())
        return true;
    const QDate date = Dates::parse(box->text());
    if (!date.isValid()) {
        Messages::notice(this, noticeCaption, badDateText);
        return false;
    }
    box->setText(Dates::toText(date));
    return true;
}

bool Tbmcxfm::checkPages()
{
    if (m_pages->text().isEmpty())
        return true;
    bool ok = false;
    const int pages = m_pages->text().trimmed().toInt(&ok);
    if (!ok) {
        Messages::notice(this, noticeCaption, "请输入数字！");
        return false;
    }
    m_pages->setText(QString::number(pages));
    return true;
}

bool Tbmcxfm::checkSecondLevel()
{
    const QString text = m_secondLevelCode->text();
    if (text.isEmpty() || text == m_secondLevelChecked)
        return true;
    std::optional<QString> code;
    int count = 0;
    {
        Tmxflfm list(text, this);
        count = list.count();
        if (count > 1)
            list.exec();
        if (count > 0)
            code = list.code();
    }
    if (count == 0) {
        Messages::notice(this, noticeCaption, "不存在此明细分类");
        return false;
    }
    m_secondLevelCode->setText(*code);
    m_secondLevelChecked = *code;
    return true;
}

bool Tbmcxfm::readConditions(BookQueryConditions* c)
{
    // Boxes are checked when they are left; one typed and never left is checked here.
    for (QLineEdit* box : {m_catalogued, m_published}) {
        if (!checkDate(box)) {
            box->setFocus();
            return false;
        }
    }
    if (!checkPages()) {
        m_pages->setFocus();
        return false;
    }
    c->secondLevelCode = m_secondLevelCode->text();
    c->barcode = m_barcode->text();
    c->title = m_title->text();
    c->author = m_author->text();
    c->cataloguer = m_cataloguer->text();
    c->catalogued = Dates::parse(m_catalogued->text());
    c->published = Dates::parse(m_published->text());
    c->publisher = m_publisher->text();
    c->series = m_series->text();
    c->mnemonic = m_mnemonic->text();
    c->language = m_language->currentText();
    c->firstLevel = m_firstLevel->currentText();
    c->secondLevel = m_secondLevel->text();
    c->shelf = m_shelf->text();
    if (!m_pages->text().isEmpty())
        c->pages = m_pages->text().toInt();
    return true;
}

void Tbmcxfm::queryClick()
{
    if (m_resultMode)
        return;
    BookQueryConditions conditions;
    if (!readConditions(&conditions))
        return;
    const BookQueryStatement statement = BookQuery::statement(conditions);
    bool found = false;
    const bool ran = Action::run(this, [&] {
        Sql q(statement.text());
        q.bindAll(statement.values).exec();
        m_model->forget();
        m_model->show(q);
        found = m_model->rowCount() > 0;
    });
    if (!ran)
        return;
    if (!found) {
        m_model->closeQuery();
        Messages::notice(this, noticeCaption, "无查询信息,请重新输入!");
        conditionMode();
        m_barcode->setFocus();
        return;
    }
    m_listed = statement;
    m_listedConditions = conditions;
    m_pending.clear();
    m_grid->selectRow(0);
    resultMode();
    m_grid->setFocus();
}

void Tbmcxfm::requeryClick()
{
    if (!m_pending.isEmpty())
        storePending();
    m_pending.clear();
    m_model->forget();
    m_model->closeQuery();
    m_mnemonic->clear();
    m_firstLevel->setCurrentIndex(-1);
    m_firstLevel->setEditText(QString());
    m_firstLevelName->clear();
    conditionMode();
    m_barcode->setFocus();
}

bool Tbmcxfm::reopen()
{
    return Action::run(this, [&] {
        Sql q(m_listed.text());
        q.bindAll(m_listed.values).exec();
        m_model->forget();
        m_model->show(q);
    });
}

void Tbmcxfm::deleteClick()
{
    if (!m_resultMode || m_model->rowCount() == 0)
        return;
    if (!m_pending.isEmpty() && !storePending())
        return;
    const QModelIndex current = m_grid->currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    const QString barcode = m_model->value(row, "txm").toString();
    const Ask ask = [this](const QString& caption, const QString& text) {
        return Messages::question(this, caption, text);
    };
    if (!Action::run(this,
                     [&] { Catalogue::remove(barcode, ask, "提示", "您确定要删除此条记录吗？"); }))
        return;
    if (!reopen())
        return;
    if (m_model->rowCount() == 0) {
        m_model->closeQuery();
        conditionMode();
        m_barcode->setFocus();
        return;
    }
    while (row >= m_model->rowCount() && m_model->canFetchMore())
        m_model->fetchMore();
    m_grid->selectRow(std::min(row, m_model->rowCount() - 1));
    showCurrent();
}

void Tbmcxfm::printClick()
{
    if (!m_resultMode)
        return;
    if (!m_pending.isEmpty() && !storePending())
        return;
    int count = 0;
    if (!Action::run(this, [&] { count = BookQuery::count(m_listedConditions); }))
        return;
    Tbmcxprintfm report;
    report.setRows(m_listed);
    report.setRecordCount(count);
    ReportOutput::preview(report.report(), this);
}

void Tbmcxfm::labelsClick()
{
    if (!m_resultMode)
        return;
    if (!m_pending.isEmpty() && !storePending())
        return;
    // The chosen rows in the order listed; without a choice, the current row.
    QList<int> rows;
    for (const QModelIndex& index : m_grid->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    if (rows.isEmpty() && m_grid->currentIndex().isValid())
        rows << m_grid->currentIndex().row();
    QStringList barcodes;
    for (int row : rows)
        barcodes << m_model->value(row, "txm").toString();
    Tbqdyfm::print(this, barcodes);
}

void Tbmcxfm::exportClick()
{
    if (!m_pending.isEmpty() && !storePending())
        return;
    Export::toSpreadsheet(this, BookQuery::exportStatement, {}, "图书编目",
                          "系统正在导出数据,如果数据量大，请耐心等待...");
}

void Tbmcxfm::showCurrent()
{
    if (!m_resultMode)
        return;
    const QModelIndex current = m_grid->currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    m_showing = true;
    for (auto it = m_resultBoxes.cbegin(); it != m_resultBoxes.cend(); ++it) {
        const QVariant value = m_model->value(row, it.key());
        it.value()->setText(value.isNull() ? QString() : value.toString());
        it.value()->setCursorPosition(0);
    }
    m_showing = false;
}

bool Tbmcxfm::storePending()
{
    const int row = m_pendingRow;
    const QMap<QString, QString> changes = m_pending;
    m_pending.clear();
    m_pendingRow = -1;
    if (changes.isEmpty() || row < 0 || row >= m_model->rowCount())
        return true;
    const QString barcode = m_model->value(row, "txm").toString();
    const bool stored = Action::run(this, [&] { BookQuery::correct(barcode, changes); });
    // Either way the row shows what the store holds.
    Action::run(this, [&] { m_model->reread(row, barcode); });
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid() || current.row() == row)
        showCurrent();
    return stored;
}

void Tbmcxfm::closeEvent(QCloseEvent* event)
{
    if (!m_pending.isEmpty())
        storePending();
    conditionMode();
    m_model->closeQuery();
    QWidget::closeEvent(event);
}
