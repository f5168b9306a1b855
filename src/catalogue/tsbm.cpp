#include "catalogue/tsbm.h"

#include "catalogue/bqdy.h"
#include "catalogue/flxx.h"
#include "catalogue/ljjs.h"
#include "catalogue/tssxx.h"

#include "data/dates.h"
#include "data/sql.h"
#include "desk/publishers.h"
#include "desk/refused.h"
#include "pickers/cbsxx.h"
#include "ui/action.h"
#include "ui/bldbedit.h"
#include "ui/commands.h"
#include "ui/enterchain.h"
#include "ui/gbklimit.h"
#include "ui/halfwidth.h"
#include "ui/help.h"
#include "ui/messages.h"
#include "ui/screenkit.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr const char* hint = "提示";
constexpr const char* saveCaption = "保存提示";

// The copy buffer: one title's boxes, kept for the whole run.
struct CopyBuffer {
    CatalogueEntry entry;
};
CopyBuffer& buffer()
{
    static CopyBuffer b;
    return b;
}

QLineEdit* lineEdit(QWidget* parent, const char* name, int gbkWidth = 0)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    if (gbkWidth > 0)
        GbkLimit::apply(edit, gbkWidth);
    return edit;
}

QLineEdit* readOnly(QWidget* parent, const char* name)
{
    QLineEdit* edit = lineEdit(parent, name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

QComboBox* comboBox(QWidget* parent, const char* name, bool editable, int gbkWidth = 0)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(editable);
    if (editable) {
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setCompleter(nullptr);
        if (gbkWidth > 0)
            GbkLimit::apply(box->lineEdit(), gbkWidth);
    }
    return box;
}

void wholeNumbersOnly(QLineEdit* edit)
{
    edit->setValidator(new QIntValidator(0, 32767, edit));
    HalfWidth::apply(edit);
}

QLabel* requiredMark(QWidget* parent)
{
    auto* mark = new QLabel("*", parent);
    mark->setStyleSheet("color: red;");
    return mark;
}

void focusLater(QWidget* widget)
{
    QTimer::singleShot(0, widget, [widget] { widget->setFocus(Qt::OtherFocusReason); });
}

QString text(const QComboBox* box)
{
    return box->currentText();
}

void setText(QComboBox* box, const QString& value)
{
    if (box->isEditable()) {
        box->setEditText(value);
        return;
    }
    box->setCurrentIndex(box->findText(value));
}

// Questions of this screen offer OK and Cancel.
Ask askOkCancel(QWidget* parent)
{
    return [parent](const QString& caption, const QString& text) {
        return Messages::question(parent, caption, text, Messages::Buttons::OkCancel);
    };
}
} // namespace

void Ttsbmfm::clearCopyBuffer()
{
    buffer() = CopyBuffer();
}

Ttsbmfm::Ttsbmfm(QWidget* parent) : QWidget(parent)
{
    setWindowTitle("图书编目");
    setWindowFlags(windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName("PageControl1");
    auto* page1 = new QWidget(m_pages);
    page1->setObjectName("TabSheet1");
    auto* page2 = new QWidget(m_pages);
    page2->setObjectName("TabSheet2");
    buildPage1(page1);
    buildPage2(page2);
    m_pages->addTab(page1, "图书信息(&T) ");
    m_pages->addTab(page2, "附加信息(&F)  ");
    connect(m_pages, &QTabWidget::currentChanged, this, &Ttsbmfm::pageChanged);

    auto* buttons = new QVBoxLayout;
    const auto button = [&](const char* name, const char* caption, auto slot) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    button("BitBtn6", "上一条记录", [this] { moveTo(false); });
    button("BitBtn7", "下一条记录", [this] { moveTo(true); });
    buttons->addSpacing(12);
    button("BitBtn2", "新增&N", [this] { newClicked(); });
    m_saveButton = button("BitBtn4", "保存&S", [this] { save(); });
    button("BitBtn3", "删除&D", [this] { remove(); });
    button("BitBtn1", "查询&F", [this] { query(); });
    button("onlineSearch", "联机检索", [this] { onlineSearch(); });
    button("printLabels", "打印条码", [this] { printLabels(); });
    buttons->addStretch();
    button("BitBtn5", "关闭&X", [this] { closeScreen(); });

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);

    buildEnterChain();
    buildCommands();
    Help::attach(this, helpContext);
    FormShow();
    setFixedSize(sizeHint());
}

Ttsbmfm::~Ttsbmfm() = default;

void Ttsbmfm::buildPage1(QWidget* page)
{
    m_title = lineEdit(page, "DBEdit1", 60);
    m_firstLevel = comboBox(page, "ComboBox5", true);
    m_firstLevelName = readOnly(page, "Edit4");
    m_barcode = lineEdit(page, "DBEdit111", 20);
    HalfWidth::apply(m_barcode);
    m_searchNumber = lineEdit(page, "DBEdit112", 15);
    m_series = lineEdit(page, "DBEdit113", 20);
    m_volume = lineEdit(page, "DBEdit11", 16);
    m_author = lineEdit(page, "DBEdit12", 30);
    m_fourCorner = lineEdit(page, "DBEdit13", 4);
    m_mainTitle = lineEdit(page, "DBEdit14", 30);
    m_subtitle = lineEdit(page, "DBEdit15", 30);
    m_language = comboBox(page, "ComboBox4", true, 15);
    m_language->addItems({"中文", "英文"});
    m_secondLevel = lineEdit(page, "Edit6", 12);
    m_secondLevelName = readOnly(page, "Edit5");
    m_heading = lineEdit(page, "DBEdit17", 26);
    m_edition = lineEdit(page, "DBEdit18", 20);
    m_format = lineEdit(page, "DBEdit19", 19);
    m_pagesBox = lineEdit(page, "DBEdit20");
    wholeNumbersOnly(m_pagesBox);
    m_isbn = lineEdit(page, "DBEdit21", 26);
    m_currency = lineEdit(page, "DBEdit22", 3);
    m_price = lineEdit(page, "DBEdit23");
    m_price->setValidator(
        new QRegularExpressionValidator(QRegularExpression(R"(\d{0,9}(\.\d{0,4})?)"), m_price));
    HalfWidth::apply(m_price);
    m_standardIndex = lineEdit(page, "DBEdit24", 30);
    m_copies = lineEdit(page, "DBEdit25");
    wholeNumbersOnly(m_copies);
    m_setFlag = comboBox(page, "DBComboBox3", true, 1);
    m_setFlag->addItems({"N", "Y"});
    m_setFlag->lineEdit()->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[NYny]?"), m_setFlag));
    m_sets = lineEdit(page, "DBEdit26");
    wholeNumbersOnly(m_sets);
    m_room = comboBox(page, "ComboBox1", true, 8);
    m_roomName = readOnly(page, "Edit1");
    m_shelf = new TBlDBEdit(page);
    m_shelf->setObjectName("DBEdit2");
    m_shelf->setEnterLikeTab(false);
    m_shelf->setCaseMode(TBlDBEdit::cmNormal);
    GbkLimit::apply(m_shelf, 6);

    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(5);
    // label, box and required mark in each of two columns
    const auto field = [&](int row, int column, const char* caption, QWidget* box,
                           bool required = false, QWidget* extra = nullptr) {
        const int c = column * 3;
        grid->addWidget(new QLabel(caption, page), row, c, Qt::AlignRight);
        if (extra) {
            auto* line = new QHBoxLayout;
            line->setSpacing(4);
            line->addWidget(box, 1);
            line->addWidget(extra, 1);
            grid->addLayout(line, row, c + 1);
        } else {
            grid->addWidget(box, row, c + 1);
        }
        if (required)
            grid->addWidget(requiredMark(page), row, c + 2);
    };
    field(0, 0, "图书名称", m_title, true);
    field(0, 1, "一级分类码", m_firstLevel, true, m_firstLevelName);
    field(1, 0, "条形码", m_barcode, true);
    field(1, 1, "检索号", m_searchNumber, true);
    field(2, 0, "系列名", m_series);
    field(2, 1, "分卷册号", m_volume);
    field(3, 0, "编著者", m_author);
    field(3, 1, "四角码", m_fourCorner);
    field(4, 0, "正题名", m_mainTitle);
    field(4, 1, "副题名", m_subtitle);
    field(5, 0, "语种", m_language);
    auto* levelHint = new QLabel("[输入完回车]", page);
    levelHint->setStyleSheet("font-weight: bold;");
    field(5, 1, "图书二级分类码", m_secondLevel, false, levelHint);
    field(6, 1, "图书二级分类码名称", m_secondLevelName);
    field(7, 0, "图书标题", m_heading);
    field(7, 1, "版次", m_edition);
    field(8, 0, "开本", m_format, true);
    field(8, 1, "页码", m_pagesBox, true);
    field(9, 0, "ISBN码", m_isbn);
    field(9, 1, "货币符号", m_currency);
    field(10, 0, "定价", m_price);
    field(10, 1, "标准索引", m_standardIndex);
    field(11, 0, "图书本数", m_copies);
    field(11, 1, "是否成套", m_setFlag);
    field(12, 0, "图书套数", m_sets);
    field(12, 1, "藏书编号", m_room, true, m_roomName);
    field(13, 0, "放书架号", m_shelf);
    auto* note = new QLabel("提示：打了\"*\"表示一定要填写", page);
    note->setObjectName("requiredNote");
    note->setStyleSheet("color: red;");
    grid->addWidget(note, 14, 0, 1, 6, Qt::AlignLeft);
    grid->setColumnMinimumWidth(1, 200);
    grid->setColumnMinimumWidth(4, 230);
    grid->setRowStretch(15, 1);

    connect(m_firstLevel, &QComboBox::editTextChanged, this, &Ttsbmfm::firstLevelChanged);
    connect(m_room, &QComboBox::editTextChanged, this, &Ttsbmfm::roomChanged);
    connect(m_setFlag, &QComboBox::editTextChanged, this, &Ttsbmfm::setFlagChanged);
    connect(m_title, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (m_titleShown)
            m_titleShown->setText(t);
    });
    connect(m_shelf, &TBlDBEdit::exited, this, [this] { buffer().entry.shelf = m_shelf->text(); });

    m_setFlag->installEventFilter(this);
    Screen::onLeave(m_secondLevel, [this] { return secondLevelLeft(); });
}

void Ttsbmfm::buildPage2(QWidget* page)
{
    m_titleShown = readOnly(page, "DBEdit3");
    m_state = comboBox(page, "ComboBox2", false);
    m_state->addItems(Catalogue::stateWords());
    m_damaged = comboBox(page, "DBComboBox1", true, 1);
    m_damaged->addItems({"Y", "N"});
    m_damaged->lineEdit()->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[NYny]?"), m_damaged));
    m_published = lineEdit(page, "DBEdit6");
    m_illustrations = lineEdit(page, "DBEdit4");
    wholeNumbersOnly(m_illustrations);
    m_publisher = comboBox(page, "ComboBox3", true, 24);
    m_address = lineEdit(page, "DBEdit5");
    m_telephone = lineEdit(page, "DBEdit8");
    m_postcode = lineEdit(page, "DBEdit9");
    m_contact = lineEdit(page, "DBEdit7");
    m_email = lineEdit(page, "DBEdit10");
    m_mnemonic = lineEdit(page, "Edit2");

    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    const auto field = [&](int row, int column, const char* caption, QWidget* box,
                           QWidget* extra = nullptr) {
        const int c = column * 2;
        grid->addWidget(new QLabel(caption, page), row, c, Qt::AlignRight);
        if (extra) {
            auto* line = new QHBoxLayout;
            line->addWidget(box, 1);
            line->addWidget(extra);
            grid->addLayout(line, row, c + 1);
        } else {
            grid->addWidget(box, row, c + 1);
        }
    };
    field(0, 0, "图书名称", m_titleShown);
    field(1, 0, "图书状态", m_state);
    field(1, 1, "是否损坏", m_damaged);
    field(2, 0, "出版时间", m_published);
    field(2, 1, "插图页数", m_illustrations);
    field(3, 0, "出版社名称", m_publisher);
    auto* editable = new QLabel("[可修改]", page);
    editable->setStyleSheet("color: blue;");
    field(3, 1, "拼音助记符", m_mnemonic, editable);
    field(4, 0, "出版社地址", m_address);
    field(4, 1, "联系电话", m_telephone);
    field(5, 0, "邮政编码", m_postcode);
    field(5, 1, "联系人", m_contact);
    field(6, 0, "E-Mail地址", m_email);
    grid->setColumnMinimumWidth(1, 220);
    grid->setColumnMinimumWidth(3, 200);
    grid->setRowStretch(7, 1);

    connect(m_publisher, &QComboBox::editTextChanged, this, &Ttsbmfm::publisherChanged);

    setTabOrder(m_address, m_contact);
    setTabOrder(m_contact, m_telephone);
    setTabOrder(m_telephone, m_postcode);
    setTabOrder(m_postcode, m_email);
}

void Ttsbmfm::buildEnterChain()
{
    // Page 1 in this order; the set flag, the room and the shelf have rules of their own.
    EnterChain::link(
        this, {m_title,   m_firstLevel,    m_barcode,   m_searchNumber, m_series,   m_volume,
               m_author,  m_fourCorner,    m_mainTitle, m_subtitle,     m_language, m_secondLevel,
               m_heading, m_edition,       m_format,    m_pagesBox,     m_isbn,     m_currency,
               m_price,   m_standardIndex, m_copies,    m_setFlag})
        ->onEnter(m_setFlag, [this] { return setFlagEntered(); })
        ->hop(m_sets, m_room)
        ->onEnter(m_room, [this] { return roomEntered(); })
        ->onEnter(m_shelf, [this] { return shelfEntered(); });
    // Page 2, then the new publisher's details up to Save.
    EnterChain::link(this, {m_state, m_damaged, m_published})
        ->onEnter(m_published, [this] { return publishedEntered(); })
        ->hop(m_illustrations, m_publisher)
        ->onEnter(m_publisher, [this] { return publisherEntered(); });
    EnterChain::link(this, {m_address, m_contact, m_telephone, m_postcode, m_email, m_saveButton});
}

void Ttsbmfm::buildCommands()
{
    const auto command = [this](const char* caption, QKeySequence key, auto slot) {
        auto* action = new QAction(caption, this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
        return action;
    };
    command("编目新增", Qt::Key_F4, [this] { newClicked(); });
    command("编目保存", Qt::Key_F10, [this] { save(); });
    command("编目删除", Qt::Key_F5, [this] { remove(); });
    command("编目查询", Qt::Key_F3, [this] { query(); });
    command("编目复制", Qt::Key_F6, [this] { copyRecord(); });
    m_pasteAction = command("编目粘贴", Qt::Key_F7, [this] { pasteRecord(); });
    command("联机检索", Qt::Key_F9, [this] { onlineSearch(); });
    Screen::closeOnEscape(this);
    m_pages->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_pages->addActions(actions());
}

void Ttsbmfm::FormShow()
{
    move(0, 0);
    loadFirstLevelCodes();
    loadRooms();
    loadPublishers();
    startNewRecord();
    showPage1();
    m_title->setFocus();
}

void Ttsbmfm::loadFirstLevelCodes()
{
    m_loading = true;
    m_firstLevel->clear();
    Sql q("select * from bmdyb where type_from_id= :typess order by type_id");
    q.bind("0").exec();
    while (q.next())
        m_firstLevel->addItem(q.text("type_id"));
    m_firstLevel->setEditText(QString());
    m_loading = false;
}

void Ttsbmfm::loadRooms()
{
    m_loading = true;
    const QString typed = m_room->currentText();
    m_room->clear();
    Sql q("select tssbh from tssxxk order by tssbh");
    q.exec();
    while (q.next())
        m_room->addItem(q.text("tssbh"));
    m_room->setEditText(typed);
    m_loading = false;
}

void Ttsbmfm::loadPublishers()
{
    m_loading = true;
    const QString typed = m_publisher->currentText();
    m_publisher->clear();
    Sql q("select cbsmc,cbsdz from cbsxxk group by cbsmc,cbsdz");
    q.exec();
    while (q.next())
        m_publisher->addItem(q.text("cbsmc"));
    m_publisher->setEditText(typed);
    m_loading = false;
}

CatalogueEntry Ttsbmfm::entry() const
{
    CatalogueEntry e;
    e.title = m_title->text();
    e.firstLevel = text(m_firstLevel);
    e.barcode = m_barcode->text();
    e.searchNumber = m_searchNumber->text();
    e.series = m_series->text();
    e.volume = m_volume->text();
    e.author = m_author->text();
    e.fourCorner = m_fourCorner->text();
    e.mainTitle = m_mainTitle->text();
    e.subtitle = m_subtitle->text();
    e.language = text(m_language);
    e.secondLevel = m_secondLevel->text();
    e.heading = m_heading->text();
    e.edition = m_edition->text();
    e.format = m_format->text();
    e.pages = m_pagesBox->text();
    e.isbn = m_isbn->text();
    e.currency = m_currency->text();
    e.price = m_price->text();
    e.standardIndex = m_standardIndex->text();
    e.copies = m_copies->text();
    e.setFlag = text(m_setFlag).toUpper();
    e.sets = m_sets->text();
    e.room = text(m_room);
    e.shelf = m_shelf->text();
    e.state = text(m_state);
    e.damaged = text(m_damaged).toUpper();
    e.published = m_published->text();
    e.illustrations = m_illustrations->text();
    e.publisher = text(m_publisher);
    e.mnemonic = m_mnemonic->text().toUpper();
    return e;
}

void Ttsbmfm::showEntry(const CatalogueEntry& e)
{
    m_loading = true;
    m_title->setText(e.title);
    setText(m_firstLevel, e.firstLevel);
    m_loading = false;
    firstLevelChanged(e.firstLevel);
    m_loading = true;
    m_barcode->setText(e.barcode);
    m_searchNumber->setText(e.searchNumber);
    m_series->setText(e.series);
    m_volume->setText(e.volume);
    m_author->setText(e.author);
    m_fourCorner->setText(e.fourCorner);
    m_mainTitle->setText(e.mainTitle);
    m_subtitle->setText(e.subtitle);
    setText(m_language, e.language);
    m_secondLevel->setText(e.secondLevel);
    m_secondLevelName->setText(
        e.secondLevel.isEmpty()
            ? QString()
            : Sql::scalar("select mxlmc from tsflm where mxldm= :tssbhx", {e.secondLevel})
                  .toString());
    m_heading->setText(e.heading);
    m_edition->setText(e.edition);
    m_format->setText(e.format);
    m_pagesBox->setText(e.pages);
    m_isbn->setText(e.isbn);
    m_currency->setText(e.currency);
    m_price->setText(e.price);
    m_standardIndex->setText(e.standardIndex);
    m_copies->setText(e.copies);
    setText(m_setFlag, e.setFlag);
    m_sets->setText(e.sets);
    m_sets->setReadOnly(e.setFlag != "Y");
    setText(m_room, e.room);
    m_loading = false;
    roomChanged(e.room);
    m_loading = true;
    m_shelf->setText(e.shelf);
    setText(m_state, e.state); // a code without words shows blank and is kept
    setText(m_damaged, e.damaged);
    m_published->setText(e.published);
    m_illustrations->setText(e.illustrations);
    m_mnemonic->setText(e.mnemonic);
    m_loading = false;
    setText(m_publisher, e.publisher);
}

void Ttsbmfm::startNewRecord()
{
    m_correcting.clear();
    m_position = 0;
    m_newPublisher = false;
    CatalogueEntry empty;
    empty.language = "中文";
    empty.state = "图书未出借";
    showEntry(empty);
    clearPublisherDetails();
    setDetailsEditable(false);
}

void Ttsbmfm::startNextRecord()
{
    // The next title is mostly of the same class, room and language: those boxes stay,
    // the publisher box empties.
    CatalogueEntry next;
    next.firstLevel = text(m_firstLevel);
    next.secondLevel = m_secondLevel->text();
    next.language = text(m_language);
    next.room = text(m_room);
    next.state = text(m_state);
    startNewRecord();
    showEntry(next);
}

void Ttsbmfm::showPage1()
{
    m_pages->setCurrentIndex(0);
    if (m_copies->text().isEmpty())
        m_copies->setText("1");
}

void Ttsbmfm::pageChanged(int index)
{
    if (index == 0) {
        if (m_copies->text().isEmpty())
            m_copies->setText("1");
        return;
    }
    if (text(m_damaged).isEmpty())
        setText(m_damaged, "N");
    recomputeMnemonic();
    if (!m_newPublisher) {
        if (text(m_publisher).isEmpty())
            clearPublisherDetails();
        else
            showPublisherDetails(text(m_publisher), false);
    }
}

void Ttsbmfm::showPageOf(const QString& boxName)
{
    auto* box = findChild<QWidget*>(boxName);
    for (int i = 0; box && i < m_pages->count(); ++i) {
        if (m_pages->widget(i)->isAncestorOf(box)) {
            m_pages->setCurrentIndex(i);
            return;
        }
    }
    showPage1();
}

void Ttsbmfm::recomputeMnemonic()
{
    m_mnemonic->setText(Catalogue::mnemonic(m_title->text()));
}

void Ttsbmfm::setDetailsEditable(bool editable)
{
    for (QLineEdit* box : {m_address, m_contact, m_telephone, m_postcode, m_email}) {
        box->setReadOnly(!editable);
        box->setFocusPolicy(editable ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

void Ttsbmfm::clearPublisherDetails()
{
    for (QLineEdit* box : {m_address, m_contact, m_telephone, m_postcode, m_email})
        box->clear();
}

void Ttsbmfm::showPublisherDetails(const QString& name, bool prefix)
{
    Sql q(prefix ? "select * from cbsxxk where cbsmc like:cbsmc"
                 : "select * from cbsxxk where cbsmc=:cbsmc");
    q.bind(prefix ? name + "%" : name).exec();
    if (!q.next()) {
        clearPublisherDetails();
        return;
    }
    m_address->setText(q.text("cbsdz"));
    m_contact->setText(q.text("lxr"));
    m_telephone->setText(q.text("lxdh"));
    m_postcode->setText(q.text("yzbm"));
    m_email->setText(q.text("EMail"));
}

bool Ttsbmfm::eventFilter(QObject* watched, QEvent* event)
{
    // The set flag is highlighted while it has the focus; its text goes to the buffer.
    if (watched == m_setFlag && event->type() == QEvent::FocusIn) {
        m_setFlag->setStyleSheet("QComboBox { background: yellow; }");
    } else if (watched == m_setFlag && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            m_setFlag->setStyleSheet(QString());
            if (!text(m_setFlag).isEmpty())
                buffer().entry.setFlag = text(m_setFlag).toUpper();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Ttsbmfm::firstLevelChanged(const QString& code)
{
    if (m_loading)
        return;
    m_firstLevelName->setText(
        code.isEmpty()
            ? QString()
            : Sql::scalar("select dlmc from tsflm where dldm= :tssbh", {code}).toString());
}

bool Ttsbmfm::secondLevelLeft()
{
    const QString typed = m_secondLevel->text();
    if (m_lookingUp || typed.isEmpty())
        return true;
    Sql q("select mxldm,mxlmc from tsflm where mxldm like :tssbhx limit 2");
    q.bind(typed + "%").exec();
    if (!q.next()) {
        Messages::plain(this, "没有找到您需要的二级分类码！");
        showPage1();
        return false;
    }
    const QString code = q.text("mxldm");
    const QString name = q.text("mxlmc");
    if (!q.next()) {
        m_secondLevel->setText(code);
        m_secondLevelName->setText(name);
        return true;
    }
    // Several codes begin with the text: the operator chooses once the focus has moved.
    QTimer::singleShot(0, this, &Ttsbmfm::chooseSecondLevel);
    return true;
}

void Ttsbmfm::chooseSecondLevel()
{
    m_lookingUp = true;
    // The screen may be closed while the chooser is up; the chooser then goes with it.
    QPointer<Ttsbmfm> self(this);
    QPointer<TFormflxx> chooser = new TFormflxx(m_secondLevel->text(), this);
    const int answer = chooser->exec();
    if (!self)
        return;
    if (answer == QDialog::Accepted && chooser) {
        m_secondLevel->setText(chooser->code());
        m_secondLevelName->setText(chooser->name());
    } else {
        m_secondLevelName->clear();
    }
    delete chooser;
    m_lookingUp = false;
}

bool Ttsbmfm::roomEntered()
{
    const QString typed = text(m_room);
    if (!typed.isEmpty()) {
        Sql q("select * from tssxxk where tssbh=:tssbh order by tssbh");
        q.bind(typed).exec();
        if (q.next()) {
            setText(m_room, q.text("tssbh"));
            m_shelf->setFocus(Qt::TabFocusReason);
        } else {
            Messages::notice(this, hint, "该图书室编号不存在！");
            m_room->setFocus(Qt::OtherFocusReason);
        }
        return false;
    }
    if (Sql::scalar("select tssbh from tssxxk order by tssbh limit 1").isNull()) {
        Messages::notice(this, hint, "您还没有登记图书室！\n请先登记图书室后再编目。");
        Commands::open("Ttssglfm", this);
        return false;
    }
    // The room list is shown for reference; the box takes the first room.
    loadRooms();
    // The screen may be closed while the list is up; the list then goes with it.
    QPointer<Ttsbmfm> self(this);
    QPointer<Ttssxxfm> rooms = new Ttssxxfm(this);
    rooms->exec();
    if (!self)
        return false;
    if (rooms)
        setText(m_room, rooms->firstNumber());
    delete rooms;
    m_room->setFocus(Qt::OtherFocusReason);
    return false;
}

void Ttsbmfm::roomChanged(const QString& room)
{
    if (m_loading)
        return;
    m_roomName->setText(
        room.isEmpty()
            ? QString()
            : Sql::scalar("select tssmc from tssxxk where tssbh= :tssbh", {room}).toString());
}

void Ttsbmfm::setFlagChanged(const QString& flag)
{
    if (m_loading || flag.toUpper() != "N")
        return;
    const QString sets = m_sets->text();
    if (sets.isEmpty()) {
        focusLater(m_room);
    } else if (sets.toInt() <= 1) {
        m_sets->setReadOnly(true);
        focusLater(m_sets);
    } else {
        Messages::question(this, QString(), "您输入的图书套数应该为1", Messages::Buttons::OkCancel,
                           Messages::Icon::Information);
        m_sets->setReadOnly(false);
        focusLater(m_sets);
    }
}

bool Ttsbmfm::setFlagEntered()
{
    const QString flag = text(m_setFlag).toUpper();
    if (flag.isEmpty())
        return false;
    if (flag == "Y") {
        m_sets->setReadOnly(false);
        m_sets->setFocus(Qt::TabFocusReason);
        return false;
    }
    m_room->setFocus(Qt::TabFocusReason);
    return false;
}

bool Ttsbmfm::shelfEntered()
{
    buffer().entry.shelf = m_shelf->text();
    m_pages->setCurrentIndex(1);
    m_state->setFocus(Qt::TabFocusReason);
    setDetailsEditable(m_newPublisher);
    recomputeMnemonic();
    return false;
}

void Ttsbmfm::onlineSearch()
{
    // The screen may be closed while the search is up; the search then goes with it.
    QPointer<Ttsbmfm> self(this);
    QPointer<Tljjsfm> search = new Tljjsfm(this, m_isbn->text());
    const int answer = search->exec();
    if (!self)
        return;
    std::optional<CatalogueRecord> record;
    if (answer == QDialog::Accepted && search)
        record = search->chosen();
    delete search;
    if (record)
        fillFrom(*record);
}

void Ttsbmfm::printLabels()
{
    // The labels of the stored title on the screen (one per copy).
    const QString barcode = m_correcting.isEmpty() ? m_barcode->text() : m_correcting;
    if (barcode.isEmpty()) {
        Screen::notice(this, "请先输入或选择要打印条码的图书!");
        return;
    }
    Tbqdyfm::print(this, {barcode});
}

void Ttsbmfm::fillFrom(const CatalogueRecord& record)
{
    // The fetched record fills the boxes as if typed; saving stays the operator's decision.
    const auto fill = [](QLineEdit* box, const QString& value) {
        if (!value.isEmpty())
            box->setText(value.left(box->maxLength()));
    };
    fill(m_title, record.title);
    fill(m_author, record.author);
    fill(m_edition, record.edition);
    fill(m_isbn, record.isbn);
    fill(m_published, record.publicationDate());
    if (record.pages > 0)
        fill(m_pagesBox, QString::number(record.pages));
    if (record.price)
        fill(m_price, record.price->toShortest());
    recomputeMnemonic();
    // The class: the longest second-level code the record's class number starts with.
    if (!record.classNumber.isEmpty()) {
        const QString code =
            Sql::scalar("select mxldm from tsflm where :cls like mxldm || '%' and mxldm<>'' "
                        "order by length(mxldm) desc limit 1",
                        {record.classNumber})
                .toString();
        if (!code.isEmpty()) {
            m_secondLevel->setText(code);
            secondLevelLeft();
        }
    }
    if (!record.publisher.isEmpty()) {
        showPageOf(m_publisher->objectName());
        m_publisher->setEditText(record.publisher);
        publisherEntered(); // a publisher not yet known is offered as a new one
    }
    showPage1();
    m_title->setFocus(Qt::OtherFocusReason);
}

bool Ttsbmfm::publishedEntered()
{
    const QString typed = m_published->text();
    if (typed.isEmpty())
        return false;
    if (Dates::isDate(typed)) {
        m_illustrations->setFocus(Qt::TabFocusReason);
        return false;
    }
    Messages::notice(this, hint, "您输入的日期错误！请确定后重新输入。");
    m_published->setFocus(Qt::OtherFocusReason);
    return false;
}

bool Ttsbmfm::publisherEntered()
{
    const QString typed = text(m_publisher);
    if (typed.isEmpty()) {
        m_saveButton->setFocus(Qt::TabFocusReason);
        return false;
    }
    const bool listed =
        !Sql::scalar("select iid from cbsxxk where cbsmc like:cbsmc limit 1", {"%" + typed + "%"})
             .isNull();
    if (listed) {
        // The screen may be closed while the list is up; the list then goes with it.
        QPointer<Ttsbmfm> self(this);
        QPointer<Tcbsxxfm> list = new Tcbsxxfm(typed, this);
        list->exec();
        if (!self)
            return false;
        const QString name = list ? list->name() : QString();
        const qint64 iid = list ? list->selectedIid() : 0;
        delete list;
        // A stored publisher was taken: nothing new to add. Names repeat, so the details
        // shown are those of the row the operator took.
        m_newPublisher = false;
        setDetailsEditable(false);
        setText(m_publisher, name);
        Publisher chosen;
        if (Publishers::find(iid, &chosen)) {
            m_address->setText(chosen.address);
            m_contact->setText(chosen.contact);
            m_telephone->setText(chosen.telephone);
            m_postcode->setText(chosen.postcode);
            m_email->setText(chosen.email);
        }
        m_saveButton->setFocus(Qt::TabFocusReason);
        return false;
    }
    if (!Messages::question(this, hint, "您确定要添加新的出版社信息吗?",
                            Messages::Buttons::OkCancel))
        return false;
    m_newPublisher = true;
    clearPublisherDetails();
    setDetailsEditable(true);
    m_address->setFocus(Qt::TabFocusReason);
    return false;
}

void Ttsbmfm::publisherChanged(const QString& name)
{
    if (m_loading || m_newPublisher)
        return;
    if (name.isEmpty())
        clearPublisherDetails();
    else
        showPublisherDetails(name, false);
}

void Ttsbmfm::moveTo(bool forward)
{
    setText(m_publisher, QString());
    clearPublisherDetails();
    std::optional<CataloguePosition> reached = Catalogue::step(m_position, forward);
    if (!reached && m_position > 0) // at either end the title stays, its changes dropped
        reached = CataloguePosition{m_position, m_correcting};
    const std::optional<CatalogueEntry> stored =
        reached ? Catalogue::load(reached->barcode) : std::nullopt;
    if (!stored) {
        startNewRecord();
        return;
    }
    m_newPublisher = false;
    setDetailsEditable(false);
    showEntry(*stored);
    m_correcting = reached->barcode;
    m_position = reached->row;
}

void Ttsbmfm::newClicked()
{
    startNewRecord();
    showPage1();
    m_title->setFocus(Qt::OtherFocusReason);
}

void Ttsbmfm::save()
{
    const CatalogueEntry typed = entry();
    std::optional<NewPublisher> publisher;
    if (m_newPublisher)
        publisher = NewPublisher{m_address->text(), m_contact->text(), m_telephone->text(),
                                 m_postcode->text(), m_email->text()};
    CatalogueSaved saved;
    const bool done = Action::run(this, [&] {
        try {
            saved = Catalogue::save(typed, m_correcting, publisher, askOkCancel(this));
        } catch (const Refused& refused) {
            showPageOf(refused.box());
            throw;
        } catch (const ActionCancelled&) {
            showPage1();
            focusLater(m_title);
            throw;
        }
    });
    if (!done)
        return;
    buffer().entry.barcode = saved.barcode;
    m_newPublisher = false;
    setDetailsEditable(false);
    switch (saved.kind) {
    case CatalogueSaved::Kind::Stored:
        startNextRecord();
        Messages::notice(this, saveCaption, "您的图书编目已经保存成功！");
        loadPublishers();
        showPage1();
        m_title->setFocus(Qt::OtherFocusReason);
        break;
    case CatalogueSaved::Kind::CopiesAdded:
        loadPublishers();
        showPage1();
        m_title->setFocus(Qt::OtherFocusReason);
        break;
    case CatalogueSaved::Kind::Corrected:
        m_correcting = saved.barcode;
        if (const std::optional<CatalogueEntry> stored = Catalogue::load(saved.barcode))
            showEntry(*stored);
        Messages::notice(this, saveCaption, "您的图书编目信息已经保存成功！");
        loadPublishers();
        showPage1();
        m_title->setFocus(Qt::OtherFocusReason);
        break;
    }
}

void Ttsbmfm::remove()
{
    if (Sql::scalar("select txm from tszk limit 1").isNull())
        return;
    if (m_correcting.isEmpty()) {
        // An unsaved new title is only discarded.
        if (askOkCancel(this)("删除提示", "您确定要删除该图书编目吗？"))
            newClicked();
        return;
    }
    const bool done =
        Action::run(this, [&] { Catalogue::remove(m_correcting, askOkCancel(this)); });
    if (done)
        newClicked();
}

void Ttsbmfm::query()
{
    Commands::open("bmcx", this);
}

void Ttsbmfm::copyRecord()
{
    buffer().entry = entry();
    showPage1();
    m_title->setFocus(Qt::OtherFocusReason);
    m_pasteAction->setEnabled(true);
}

void Ttsbmfm::pasteRecord()
{
    const CatalogueEntry& b = buffer().entry;
    if (b.title.isEmpty() || b.barcode.isEmpty() || b.language.isEmpty() || b.room.isEmpty() ||
        b.state.isEmpty()) {
        Messages::notice(this, hint, "您输入的信息不完整，请入完整后再重新拷贝，粘贴。");
        showPage1();
        m_title->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The classification's first level and the mnemonic are not part of the buffer: the
    // first level on the screen stays, also in a new record.
    const QString firstLevel = text(m_firstLevel);
    if (m_correcting.isEmpty())
        startNewRecord();
    CatalogueEntry pasted = b;
    pasted.firstLevel = firstLevel;
    pasted.mnemonic = m_mnemonic->text();
    showEntry(pasted);
    if (!b.publisher.isEmpty())
        showPublisherDetails(b.publisher, true);
    showPage1();
    m_title->setFocus(Qt::OtherFocusReason);
}

void Ttsbmfm::closeScreen()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}
