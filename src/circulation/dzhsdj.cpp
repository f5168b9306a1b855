#include "circulation/dzhsdj.h"

#include "circulation/dzshfk.h"
#include "circulation/yqfkdj.h"
#include "data/sql.h"
#include "pickers/dzjykxx.h"
#include "pickers/jsxxzl.h"
#include "ui/action.h"
#include "ui/enterchain.h"
#include "ui/gbklimit.h"
#include "ui/halfwidth.h"
#include "ui/help.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include <optional>
#include <utility>

namespace {
Fines::OverdueOutcome runOverdueDialog(const Returns::FineOffer& offer,
                                       QList<FineBills::Bill>* bills, QWidget* parent)
{
    Tyqfkdjfm dialog(parent);
    dialog.offer(offer.card, offer.grade, offer.barcode, offer.days, offer.amount.toShortest());
    dialog.exec();
    *bills << dialog.bills();
    return dialog.outcome();
}

void runDamageDialog(const QString& readerName, const QString& barcode,
                     QList<FineBills::Bill>* bills, QWidget* parent)
{
    Tdzshfkfm dialog(readerName, barcode, parent);
    dialog.exec();
    *bills << dialog.bills();
}

// The list's titles are centred, except the illustration count's, which is right-aligned.
class LoanListModel : public QueryGridModel {
public:
    using QueryGridModel::QueryGridModel;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole && section == 2)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QueryGridModel::headerData(section, orientation, role);
    }
    // A column of a listed loan, shown or not.
    QVariant at(int row, const QString& column) const
    {
        const int source = record().indexOf(column);
        if (source < 0 || row < 0 || row >= rowCount())
            return {};
        return QSqlQueryModel::data(createIndex(row, source), Qt::DisplayRole);
    }
};

QLineEdit* box(QWidget* parent, const char* name, bool readOnly, int width)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(readOnly);
    edit->setFixedWidth(width);
    return edit;
}

bool isEnter(QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Focus that went to another window (a message box, another screen) has not left the box.
bool leftForAnotherWindow(QEvent* event)
{
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}
} // namespace

QVariant Tdzhsdjfm::loanValue(int row, const QString& column) const
{
    return static_cast<const LoanListModel*>(m_loanModel)->at(row, column);
}

Tdzhsdjfm::Tdzhsdjfm(QWidget* parent) : QWidget(parent)
{
    setObjectName("dzhsdjfm");
    setWindowTitle("读者还书登记");
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    buildScreen();
    // Each opening starts without printing.
    FineBills::setPrintFlag(false);
    m_return->setEnabled(false);
    m_renew->setEnabled(false);
    m_cardList->hide();
    setFixedSize(sizeHint());
    m_card->setFocus();
}

void Tdzhsdjfm::buildScreen()
{
    m_card = box(this, "Edit1", false, 150);
    HalfWidth::apply(m_card);
    GbkLimit::apply(m_card, 12);
    m_name = box(this, "Edit4", false, 150);
    m_grade = box(this, "Edit6", true, 60);
    m_loanId = box(this, "Edit2", true, 60);
    m_loanId->hide();

    m_cardList = new QPushButton(">>>", this);
    m_cardList->setObjectName("BitBtn5");
    m_cardList->setAutoDefault(false);
    m_cardList->setFixedWidth(m_cardList->fontMetrics().horizontalAdvance(">>>") + 24);
    QSizePolicy keep = m_cardList->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_cardList->setSizePolicy(keep);
    connect(m_cardList, &QPushButton::clicked, this, [this] { cardEntry(true); });

    auto* boxes = new QHBoxLayout;
    boxes->addWidget(new QLabel("借阅卡号", this));
    boxes->addWidget(m_card);
    boxes->addWidget(m_cardList);
    boxes->addSpacing(12);
    boxes->addWidget(new QLabel("读者名", this));
    boxes->addWidget(m_name);
    boxes->addSpacing(12);
    boxes->addWidget(new QLabel("借书证等级", this));
    boxes->addWidget(m_grade);
    boxes->addStretch();

    m_loanModel = new LoanListModel({{"txm", "图书条码"},
                                     {"tsmc", "图书名称"},
                                     {"ctys", "插图页数", GridColumn::Format::Number},
                                     {"HSRQ", "借书到期日期"}},
                                    this);
    m_loans = new QTableView(this);
    m_loans->setObjectName("DBGrid1");
    Grid::setUp(m_loans, m_loanModel);
    m_loans->setSelectionMode(QAbstractItemView::ExtendedSelection); // several rows may be selected
    m_loans->setColumnWidth(0, 140);
    m_loans->setColumnWidth(1, 260);
    m_loans->setColumnWidth(2, 80);
    m_loans->horizontalHeader()->setStretchLastSection(true);
    m_loans->setMinimumSize(640, 260);
    m_loans->installEventFilter(this);
    connect(m_loans, &QTableView::doubleClicked, this, [this] { showDetails(); });
    connect(m_loans->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                m_loanId->setText(loanValue(current.row(), "iid").toString());
            });

    // The list's own pop-up menu: return and renew by keyboard.
    auto* returnAction = new QAction("还书", m_loans);
    returnAction->setObjectName("N1");
    returnAction->setShortcut(QKeySequence("Ctrl+H"));
    auto* renewAction = new QAction("续借", m_loans);
    renewAction->setObjectName("N2");
    renewAction->setShortcut(QKeySequence("Ctrl+J"));
    for (QAction* action : {returnAction, renewAction}) {
        action->setShortcutContext(Qt::WidgetShortcut);
        m_loans->addAction(action);
    }
    m_loans->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(returnAction, &QAction::triggered, this, &Tdzhsdjfm::returnClick);
    connect(renewAction, &QAction::triggered, this, &Tdzhsdjfm::renewClick);

    m_damage = new QComboBox(this);
    m_damage->setObjectName("ComboBox1");
    m_damage->setEditable(true);
    m_damage->addItems({"Y", "N"});
    m_damage->setCurrentText("N");
    m_damage->setFixedWidth(60);
    connect(m_damage, &QComboBox::currentTextChanged, this, [this] { m_loans->setFocus(); });

    m_print = new QCheckBox("打印罚款单", this);
    m_print->setObjectName("cb1");
    connect(m_print, &QCheckBox::toggled, this, [](bool on) { FineBills::setPrintFlag(on); });

    auto* options = new QHBoxLayout;
    options->addWidget(new QLabel("是否损坏", this));
    options->addWidget(m_damage);
    options->addSpacing(24);
    options->addWidget(m_print);
    options->addStretch();

    auto* hint =
        new QLabel("提示：请先选择一条要还书的记录，然后，再点击“还书”或\"续借\"按钮", this);
    hint->setStyleSheet("color: blue;");

    auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(true);
        return b;
    };
    m_return = button("还书&O", "BitBtn1");
    m_renew = button("续借&J", "BitBtn4");
    QPushButton* help = button("帮助&H", "BitBtn3");
    QPushButton* close = button("关闭&X", "BitBtn2");
    connect(m_return, &QPushButton::clicked, this, &Tdzhsdjfm::returnClick);
    connect(m_renew, &QPushButton::clicked, this, &Tdzhsdjfm::renewClick);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {m_return, m_renew, help, close})
        buttons->addWidget(b);

    auto* status = new QStatusBar(this);
    status->setObjectName("sb1");
    status->setSizeGripEnabled(false);
    m_panel1 = new QLabel("罚款合计", status);
    m_panel1->setObjectName("panel1");
    m_panel1->setAlignment(Qt::AlignCenter);
    m_panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_panel2 = new QLabel("0", status);
    m_panel2->setObjectName("panel2");
    for (QLabel* panel : {m_panel1, m_panel2}) {
        panel->setFixedWidth(200);
        status->addWidget(panel);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addWidget(m_loans, 1);
    layout->addLayout(options);
    layout->addWidget(hint);
    layout->addLayout(buttons);
    layout->addWidget(status);

    EnterChain::link(this, {m_card})->onEnter(m_card, [this] {
        cardEntry(false);
        return false;
    });
    connect(m_card, &QLineEdit::textEdited, this, &Tdzhsdjfm::cardEdited);
    m_card->installEventFilter(this);
    m_cardList->installEventFilter(this);
    setTabOrder(m_card, m_name);
    setTabOrder(m_name, m_loans);
    setTabOrder(m_loans, m_damage);
    setTabOrder(m_damage, m_print);
    setTabOrder(m_print, m_return);

    Help::attach(this, helpContext, help);
    Screen::closeOnEscape(this);
}

bool Tdzhsdjfm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_loans && isEnter(event)) {
        showDetails();
        return true;
    }
    // The card list button shows beside the card box while either has the focus.
    if (event->type() == QEvent::FocusIn && watched == m_card) {
        m_cardList->show();
    } else if (event->type() == QEvent::FocusOut && !leftForAnotherWindow(event)) {
        QWidget* now = QApplication::focusWidget();
        if ((watched == m_card && now != m_cardList) || (watched == m_cardList && now != m_card))
            m_cardList->hide();
    }
    return QWidget::eventFilter(watched, event);
}

void Tdzhsdjfm::cardEdited(const QString& text)
{
    m_panel1->setText("借阅卡号：" + text + "罚款合计");
    showTotal();
}

void Tdzhsdjfm::cardEntry(bool allCards)
{
    const QString typed = m_card->text();
    Match match;
    if (!Action::run(this,
                     [&] { match = allCards ? Returns::findAnyCard() : Returns::findCard(typed); }))
        return;
    QString number = match.key;
    if (match.kind == Match::Several) {
        number = Tdzjykxxfm::pick(allCards ? QString() : typed, this);
        if (number.isEmpty())
            return;
    }
    Returns::Reader reader;
    if (!Action::run(this, [&] { reader = Returns::reader(number); }))
        return;
    m_card->setText(reader.number);
    m_name->setText(reader.name);
    m_grade->setText(reader.grade);
    loadLoans(reader.number);
    if (m_loanModel->rowCount() > 0) {
        m_return->setEnabled(true);
        m_renew->setEnabled(true);
    } else {
        Messages::notice(this, "提示信息", "该读者没有借书!");
        m_card->setFocus();
    }
    m_panel1->setText("借阅卡号：" + m_card->text() + "罚款合计");
    showTotal();
}

void Tdzhsdjfm::loadLoans(const QString& card)
{
    m_listedCard = card;
    Action::run(this, [&] {
        Sql loans(Returns::openLoansStatement());
        loans.bind(card).exec();
        m_loanModel->show(loans);
    });
    m_loans->clearSelection();
    m_loanId->clear();
    if (m_loanModel->rowCount() > 0) {
        // The first loan is the current row, not yet selected: the operator picks one.
        m_loans->selectionModel()->setCurrentIndex(m_loanModel->index(0, 0),
                                                   QItemSelectionModel::NoUpdate);
        m_loanId->setText(loanValue(0, "iid").toString());
    }
}

qint64 Tdzhsdjfm::currentLoan()
{
    const QModelIndex current = m_loans->currentIndex();
    if (m_loanModel->rowCount() == 0 || !current.isValid())
        return 0;
    if (!m_loans->selectionModel()->isRowSelected(current.row(), {})) {
        Messages::plain(this, "请先选择一条记录！");
        return 0;
    }
    return loanValue(current.row(), "iid").toLongLong();
}

Returns::FineDesk Tdzhsdjfm::fineDesk(QList<FineBills::Bill>* bills)
{
    Returns::FineDesk desk;
    desk.overdue = [this, bills](const Returns::FineOffer& offer) {
        return runOverdueDialog(offer, bills, this);
    };
    desk.damage = [this, bills](const QString& card, const QString& barcode) {
        runDamageDialog(Fines::readerName(card), barcode, bills, this);
    };
    return desk;
}

void Tdzhsdjfm::resetDamage()
{
    // "Damaged" is said of one book: the next return starts undamaged.
    const QSignalBlocker quiet(m_damage);
    m_damage->setCurrentText("N");
}

void Tdzhsdjfm::showTotal()
{
    m_panel2->setText(m_total.toShortest());
}

void Tdzhsdjfm::returnClick()
{
    const qint64 loan = currentLoan();
    if (loan == 0)
        return;
    QList<FineBills::Bill> bills;
    Returns::Outcome outcome;
    const Returns::ReturnRequest request{loan, m_card->text(), m_damage->currentText()};
    // The damage fine is asked once the return is committed: no dialog waits while the
    // library is locked for the return's writes.
    Returns::FineDesk desk = fineDesk(&bills);
    const auto damageDialogNow = desk.damage;
    std::optional<std::pair<QString, QString>> damaged;
    desk.damage = [&](const QString& card, const QString& barcode) {
        damaged = std::make_pair(card, barcode);
    };
    if (!Action::run(this, [&] { outcome = Returns::giveBack(request, desk); })) {
        m_loans->setFocus();
        return;
    }
    if (damaged)
        damageDialogNow(damaged->first, damaged->second);
    if (outcome.fine.confirmed()) {
        m_total += outcome.fine.amount;
        m_panel1->setText("借阅卡号：" + outcome.card + "罚款合计");
        showTotal();
    }
    FineBills::print(bills, this);
    Messages::notice(this, Returns::saveCaption, Returns::returnSaved);
    resetDamage();
    loadLoans(m_listedCard);
}

void Tdzhsdjfm::renewClick()
{
    const qint64 loan = currentLoan();
    if (loan == 0)
        return;
    QList<FineBills::Bill> bills;
    Returns::Outcome outcome;
    const Ask okOrCancel = [this](const QString& caption, const QString& text) {
        return Messages::question(this, caption, text, Messages::Buttons::OkCancel);
    };
    const bool done =
        Action::run(this, [&] { outcome = Returns::renew(loan, okOrCancel, fineDesk(&bills)); });
    m_return->setEnabled(true);
    m_renew->setEnabled(true);
    if (!done)
        return;
    if (outcome.fine.confirmed()) {
        m_total += outcome.fine.amount;
        m_panel1->setText("借阅卡号：" + outcome.card + "罚款合计");
        showTotal();
    }
    FineBills::print(bills, this);
    if (outcome.limitReached) {
        Messages::notice(this, Returns::saveCaption, Returns::renewalLimit);
        m_return->setFocus();
        return;
    }
    // The renewed loan stays in the list with its new due date.
    loadLoans(m_listedCard);
    Messages::notice(this, Returns::saveCaption, Returns::renewalSaved);
}

void Tdzhsdjfm::showDetails()
{
    const QModelIndex current = m_loans->currentIndex();
    if (!current.isValid())
        return;
    const QString barcode = loanValue(current.row(), "txm").toString();
    if (!barcode.isEmpty())
        Tjsxxzlfm::open(barcode, this);
}
