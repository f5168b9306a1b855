#include "catalogue/ljjs.h"

#include "ui/action.h"
#include "ui/enterchain.h"
#include "ui/help.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QThread>
#include <QVBoxLayout>

Tljjsfm::Tljjsfm(QWidget* parent, const QString& isbn) : QDialog(parent)
{
    setObjectName("ljjsfm");
    setWindowTitle("联机检索");
    m_field = new QComboBox(this);
    m_field->setObjectName("ComboBox1");
    m_field->addItems({"ISBN", "题名", "责任者"});
    m_text = new QLineEdit(isbn, this);
    m_text->setObjectName("Edit1");
    m_text->setMinimumWidth(260);
    m_search = new QPushButton("检索&F", this);
    m_search->setObjectName("search");
    m_cancel = new QPushButton("取消检索", this);
    m_cancel->setObjectName("cancel");
    m_cancel->setEnabled(false);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName("progress");
    m_progress->setRange(0, 0);
    m_progress->setVisible(false);
    m_progress->setMaximumWidth(160);
    m_status = new QLabel(this);
    m_status->setObjectName("status");

    m_model = new QStandardItemModel(0, 6, this);
    m_model->setHorizontalHeaderLabels({"题名", "责任者", "出版社", "出版日期", "价格", "来源"});
    m_grid = new QTableView(this);
    m_grid->setObjectName("DBGrid1");
    Grid::setUp(m_grid, m_model);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setColumnWidth(0, 220);
    m_grid->setColumnWidth(1, 130);
    m_grid->setColumnWidth(2, 150);
    m_grid->setMinimumSize(760, 280);

    m_ok = new QPushButton("确定", this);
    m_ok->setObjectName("ok");
    auto* help = new QPushButton("帮助&H", this);
    help->setObjectName("help");
    auto* close = new QPushButton("关闭&X", this);
    close->setObjectName("close");
    for (QPushButton* b : {m_search, m_cancel, m_ok, help, close})
        b->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("检索项:", this));
    top->addWidget(m_field);
    top->addWidget(m_text, 1);
    top->addWidget(m_search);
    top->addWidget(m_cancel);
    auto* state = new QHBoxLayout;
    state->addWidget(m_progress);
    state->addWidget(m_status, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    for (QPushButton* b : {m_ok, help, close})
        bottom->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(state);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);

    connect(m_search, &QPushButton::clicked, this, &Tljjsfm::search);
    connect(m_cancel, &QPushButton::clicked, this, &Tljjsfm::cancel);
    connect(m_ok, &QPushButton::clicked, this, &Tljjsfm::okClick);
    connect(m_grid, &QTableView::doubleClicked, this, &Tljjsfm::okClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    EnterChain::link(this, {m_field, m_text, m_search});
    Help::attach(this, helpContext, help);
    Screen::closeOnEscape(this);
    m_text->setFocus();
}

Tljjsfm::~Tljjsfm()
{
    if (m_cancelled)
        m_cancelled->store(true); // searches still under way stop fetching records
}

std::optional<CatalogueRecord> Tljjsfm::choose(QWidget* parent, const QString& isbn)
{
    Tljjsfm dialog(parent, isbn);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

void Tljjsfm::search()
{
    if (isSearching())
        return;
    Z3950Query query;
    query.field = static_cast<Z3950Query::Field>(m_field->currentIndex());
    query.text = m_text->text();
    if (query.text.trimmed().isEmpty()) {
        Screen::notice(this, "请输入检索内容!");
        m_text->setFocus();
        return;
    }
    if (query.pqf().isEmpty()) {
        Screen::notice(this, "ISBN号不正确,请重输!");
        m_text->setFocus();
        return;
    }
    QList<Z3950Target> targets;
    if (!Action::run(this, [&] { targets = Z3950::targets(true); }))
        return;
    if (targets.isEmpty()) {
        Screen::notice(this, "还没有设置联机检索目标,请先在“联机检索目标设置”中设置!");
        return;
    }
    m_records.clear();
    m_model->setRowCount(0);
    m_failures.clear();
    m_cancelled = std::make_shared<std::atomic_bool>(false);
    const int generation = ++m_generation;
    m_pending = static_cast<int>(targets.size());
    m_search->setEnabled(false);
    m_cancel->setEnabled(true);
    m_progress->setVisible(true);
    m_status->setText(QString("正在检索 %1 个目标…").arg(targets.size()));
    for (const Z3950Target& target : targets) {
        auto answer = std::make_shared<Z3950Answer>();
        auto cancelled = m_cancelled;
        QThread* worker = QThread::create([target, query, answer, cancelled] {
            *answer = Z3950::search(target, query, timeoutSeconds, 20, cancelled.get());
        });
        // The thread is not the dialog's child: a dialog closed mid-search leaves it to end.
        connect(worker, &QThread::finished, worker, &QObject::deleteLater);
        connect(worker, &QThread::finished, this,
                [this, answer, generation] { answered(*answer, generation); });
        worker->start();
    }
}

void Tljjsfm::cancel()
{
    if (!isSearching())
        return;
    m_cancelled->store(true);
    ++m_generation;
    m_pending = 0;
    finishSearch();
    m_status->setText("检索已取消。");
}

void Tljjsfm::answered(const Z3950Answer& answer, int generation)
{
    if (generation != m_generation)
        return;
    if (!answer.error.isEmpty())
        m_failures << QString("%1：%2").arg(answer.target, answer.error);
    for (const CatalogueRecord& record : answer.records) {
        m_records.append(record);
        QList<QStandardItem*> row;
        for (const QString& text :
             {record.title, record.author, record.publisher, record.date,
              record.price ? record.price->toFixed2() : QString(), record.target})
            row << new QStandardItem(text);
        m_model->appendRow(row);
    }
    if (--m_pending > 0)
        return;
    finishSearch();
    m_status->setText(QString("共找到 %1 条记录。").arg(m_records.size()));
    if (!m_failures.isEmpty())
        Messages::notice(this, "提示信息", "以下检索目标没有应答:\n" + m_failures.join("\n"));
    if (!m_records.isEmpty())
        m_grid->selectRow(0);
}

void Tljjsfm::finishSearch()
{
    m_search->setEnabled(true);
    m_cancel->setEnabled(false);
    m_progress->setVisible(false);
}

void Tljjsfm::okClick()
{
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid() || current.row() >= m_records.size()) {
        Screen::notice(this, "请先选择一条记录!");
        return;
    }
    m_chosen = m_records.at(current.row());
    accept();
}
