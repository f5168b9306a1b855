#include "cards/kpcx.h"

#include "cards/cardgrid.h"
#include "data/dates.h"
#include "data/gbk.h"
#include "data/session.h"
#include "desk/cardrecord.h"
#include "desk/readerpins.h"
#include "desk/refused.h"
#include "reports/reportoutput.h"
#include "reports/tszprint.h"
#include "ui/action.h"
#include "ui/datebox.h"
#include "ui/enterchain.h"
#include "ui/export.h"
#include "ui/gbklimit.h"
#include "ui/halfwidth.h"
#include "ui/help.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {
constexpr const char* noticeCaption = "提示信息";
constexpr const char* badDateText = "日期格式错误!";

// Cell editors hold no more than their columns do.
class CardCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            const QString column = CardGridModel::columnName(index.column());
            if (column == "sfzh")
                edit->setMaxLength(CardRecords::identityLength);
            else if (column == "kdj")
                edit->setMaxLength(1);
            else if (column == "dzm")
                GbkLimit::apply(edit, 8);
        }
        return editor;
    }
};
} // namespace

Tkpcxfm::Tkpcxfm(QWidget* parent) : QWidget(parent)
{
    setObjectName("kpcxfm");
    setWindowTitle("借书证查询");
    Help::setContext(this, helpContext);
    buildScreen();
    m_model->clear();
    m_queried = false;
    m_number->setFocus();
}

void Tkpcxfm::buildScreen()
{
    auto* strip = new QGroupBox("查询条件", this);
    m_number = new QLineEdit(strip);
    HalfWidth::apply(m_number);
    m_number->setObjectName("Edit1");
    GbkLimit::apply(m_number, 12);
    m_name = new QLineEdit(strip);
    m_name->setObjectName("Edit3");
    GbkLimit::apply(m_name, 8);
    m_fromBox = DateBox::create(strip, "Edit4", "BitBtn1");
    m_toBox = DateBox::create(strip, "Edit2", "BitBtn2");
    m_from = m_fromBox->edit();
    m_to = m_toBox->edit();
    m_fromBox->setNext(m_to);
    for (DateBox* box : {m_fromBox, m_toBox})
        box->checkOnLeave(noticeCaption, badDateText, DateBox::OnInvalid::Clear);
    connect(m_toBox, &DateBox::leftWithDate, this, &Tkpcxfm::checkRange);
    for (QLineEdit* box : {m_number, m_name, m_from, m_to}) {
        box->setFixedWidth(box == m_name ? 110 : 100);
    }

    auto* conditions = new QHBoxLayout;
    conditions->addWidget(new QLabel("编号:", strip));
    conditions->addWidget(m_number);
    conditions->addWidget(new QLabel("读者姓名:", strip));
    conditions->addWidget(m_name);
    conditions->addWidget(new QLabel("日期:", strip));
    conditions->addWidget(m_from);
    conditions->addWidget(m_fromBox->button());
    conditions->addWidget(new QLabel("到", strip));
    conditions->addWidget(m_to);
    conditions->addWidget(m_toBox->button());
    conditions->addStretch();

    const auto button = [strip](const char* text, const char* name) {
        auto* b = new QPushButton(text, strip);
        b->setObjectName(name);
        b->setAutoDefault(true);
        return b;
    };
    QPushButton* query = button("查询&F", "query");
    QPushButton* save = button("修改保存", "save");
    QPushButton* exportButton = button("导出Excel", "export");
    QPushButton* help = button("帮助&H", "help");
    QPushButton* close = button("关闭&X", "close");
    // Operators granted it give a reader a first web catalogue PIN again.
    QPushButton* resetPin = button("重置网上密码", "kpmm");
    resetPin->setVisible(Session::current().holds("kpmm"));
    connect(resetPin, &QPushButton::clicked, this, &Tkpcxfm::resetPinClick);
    m_toBox->setNext(query);
    connect(query, &QPushButton::clicked, this, &Tkpcxfm::queryClick);
    connect(save, &QPushButton::clicked, this, &Tkpcxfm::saveClick);
    connect(exportButton, &QPushButton::clicked, this, &Tkpcxfm::exportClick);
    connect(close, &QPushButton::clicked, this, &Tkpcxfm::closeScreen);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {query, save, exportButton, resetPin, help, close})
        buttons->addWidget(b);

    auto* stripLayout = new QVBoxLayout;
    stripLayout->addLayout(conditions);
    stripLayout->addLayout(buttons);
    m_photo = new QLabel(strip);
    m_photo->setObjectName("Image1");
    m_photo->setFixedSize(90, 100);
    m_photo->setFrameShape(QFrame::Box);
    m_photo->setAlignment(Qt::AlignCenter);
    auto* photoColumn = new QVBoxLayout;
    photoColumn->addWidget(new QLabel("相片", strip), 0, Qt::AlignHCenter);
    photoColumn->addWidget(m_photo);
    auto* stripRow = new QHBoxLayout(strip);
    stripRow->addLayout(stripLayout, 1);
    stripRow->addLayout(photoColumn);

    m_model = new CardGridModel(this);
    m_grid = new CardGrid(this);
    m_grid->setObjectName("DBGrid1");
    Grid::setUp(m_grid, m_model);
    m_grid->setItemDelegate(new CardCellDelegate(m_grid));
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    const QList<int> widths = {100, 40, 80, 160, 70, 90, 90, 100, 160, 140};
    for (int i = 0; i < widths.size(); ++i)
        m_grid->setColumnWidth(i, widths[i]);
    m_grid->setMinimumSize(760, 300);
    connect(m_grid, &QTableView::clicked, this,
            [this](const QModelIndex& index) { showPhoto(index.row()); });
    // A row's corrections are stored when the operator moves to another row.
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex&, const QModelIndex& previous) {
                if (m_model->hasPending() && previous.isValid() &&
                    previous.row() == m_model->pendingRow())
                    storePending();
            });

    auto* statusBar = new QStatusBar(this);
    statusBar->setSizeGripEnabled(false);
    const auto panel = [statusBar](const QString& text, const char* name, int width) {
        auto* label = new QLabel(text, statusBar);
        label->setObjectName(name);
        label->setMinimumWidth(width);
        statusBar->addWidget(label);
        return label;
    };
    panel("记录数", "countCaption", 50);
    m_countPanel = panel(QString(), "countPanel", 100);
    panel("总押金", "depositCaption", 50);
    m_depositPanel = panel(QString(), "depositPanel", 100);
    statusBar->addWidget(new QLabel(statusBar), 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(strip);
    layout->addWidget(m_grid, 1);
    layout->addWidget(statusBar);

    Help::attach(this, helpContext, help);
    Screen::closeOnEscape(this, [this] {
        if (!m_grid->cancelOpenEditor())
            closeScreen();
    });
    auto* reprintAction = new QAction("重打", this);
    reprintAction->setObjectName("reprint");
    reprintAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    reprintAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(reprintAction, &QAction::triggered, this, &Tkpcxfm::reprint);
    // The pop-up menu of the strip and the grid: "关闭" and "重打".
    addAction(reprintAction);

    setTabOrder(m_number, m_name);
    setTabOrder(m_name, m_from);
    setTabOrder(m_from, m_to);
    setTabOrder(m_to, query);
    EnterChain::link(this, {m_number, m_name, m_from, m_to, query});
}

void Tkpcxfm::closeScreen()
{
    Screen::close(this);
}

void Tkpcxfm::closeEvent(QCloseEvent* event)
{
    // Corrections typed into a row are not lost by closing the window.
    m_grid->commitOpenEditor();
    if (m_model->hasPending())
        storePending();
    QWidget::closeEvent(event);
}

void Tkpcxfm::checkRange(const QDate& to)
{
    const QDate from = m_fromBox->date();
    if (from.isValid() && from > to) {
        Messages::notice(this, noticeCaption, "该日期小于前一个日期!");
        m_to->clear();
        m_toBox->refocus();
    }
}

bool Tkpcxfm::readDates(QDate* from, QDate* to)
{
    // The boxes check a date when they are left; one typed and never left is checked here.
    for (QLineEdit* box : {m_from, m_to}) {
        if (!box->text().isEmpty() && !Dates::isDate(box->text())) {
            Messages::notice(this, noticeCaption, badDateText);
            box->clear();
            box->setFocus();
            return false;
        }
    }
    *from = Dates::parse(m_from->text());
    *to = Dates::parse(m_to->text());
    return true;
}

void Tkpcxfm::queryClick()
{
    m_grid->commitOpenEditor();
    if (m_model->hasPending())
        storePending();
    QDate from;
    QDate to;
    if (!readDates(&from, &to))
        return;
    const CardSelection selection({m_number->text(), m_name->text(), from, to});
    CardSelection::Summary summary;
    if (!Action::run(this, [&] {
            summary = selection.summary();
            m_model->list(selection, summary.count);
        }))
        return;
    m_selection = selection;
    if (summary.count == 0) {
        Messages::notice(this, noticeCaption, "没有查找到你所需的记录,请重新输入!");
        return;
    }
    m_countPanel->setText(QString::number(summary.count) + "条记录");
    m_depositPanel->setText(summary.deposits.toShortest());
    m_queried = true;
    // The last listed card is the current one, as after walking the rows for the total.
    m_grid->selectRow(summary.count - 1);
    m_grid->scrollTo(m_model->index(summary.count - 1, 0));
}

bool Tkpcxfm::storePending()
{
    const int row = m_model->pendingRow();
    const QString number = m_model->card(row).number;
    const QMap<QString, QString> changes = m_model->pending();
    if (Action::run(this, [&] { CardQuery::correct(number, changes); })) {
        m_model->pendingStored();
        return true;
    }
    m_model->dropPending(); // the row shows what is stored
    return false;
}

void Tkpcxfm::saveClick()
{
    m_grid->commitOpenEditor();
    if (!m_model->hasPending())
        return;
    const int row = m_model->pendingRow();
    if (!storePending())
        return;
    // The same statement again: the grid shows the cards as they are now.
    int count = 0;
    if (!Action::run(this, [&] {
            count = m_selection.summary().count;
            m_model->list(m_selection, count);
        }))
        return;
    if (count > 0)
        m_grid->selectRow(std::min(row, count - 1));
}

void Tkpcxfm::resetPinClick()
{
    const QModelIndex current = m_grid->currentIndex();
    if (!m_queried || !current.isValid())
        return;
    const QString number = m_model->card(current.row()).number;
    if (!Messages::question(this, noticeCaption, "确定要重置借书证 " + number + " 的网上密码吗？"))
        return;
    QString pin;
    if (Action::run(this, [&] { pin = ReaderPins::reset(number); }))
        Messages::notice(this, noticeCaption,
                         "借书证 " + number + " 的网上初始密码是：" + pin +
                             "\n读者第一次登录后必须修改密码。");
}

void Tkpcxfm::showPhoto(int row)
{
    if (m_model->rowCount() == 0)
        return;
    const CardRecord card = m_model->card(row);
    m_photo->clear();
    m_photoImage = QImage();
    m_photoCard.clear();
    if (card.photoPath.isEmpty())
        return;
    const QImage picture(card.photoPath); // an unreadable file shows nothing
    if (picture.isNull())
        return;
    m_photoImage = picture;
    m_photoCard = card.number;
    m_photo->setPixmap(QPixmap::fromImage(picture).scaled(m_photo->size(), Qt::KeepAspectRatio,
                                                          Qt::SmoothTransformation));
}

void Tkpcxfm::reprint()
{
    const QModelIndex current = m_grid->currentIndex();
    if (!m_queried || m_model->rowCount() == 0 || !current.isValid())
        return;
    const CardRecord card = m_model->card(current.row());
    Ttszprintfm layout;
    layout.setGrade(card.grade);
    layout.setCardNumber(card.number);
    layout.setName(card.name);
    layout.setIdentityNumber(card.identity);
    layout.setAddress(card.address);
    layout.setWorkUnit(QString()); // the reprint leaves the work unit empty
    layout.setCardDate(Dates::toText(card.issued));
    layout.setValidUntil(Dates::toText(card.validUntil));
    // The photograph shown, when it is this card's.
    if (m_photoCard == card.number)
        layout.setPhoto(m_photoImage);
    // A reprint replaces a card at the desk, whose scanner reads the number off it.
    layout.setNumberBarcode(true);
    ReportOutput::preview(layout.report(), this);
}

void Tkpcxfm::exportClick()
{
    if (m_from->text().isEmpty() || m_to->text().isEmpty()) {
        Messages::plain(this, "日期不能为空！");
        return;
    }
    QDate from;
    QDate to;
    if (!readDates(&from, &to))
        return;
    Export::toSpreadsheet(this, CardQuery::exportStatement,
                          {Dates::toText(from), Dates::toText(to)}, "借阅证资料",
                          "系统正在导出数据,请稍候...");
}
