#include "circulation/dzjsdj.h"

#include "data/sql.h"
#include "desk/refused.h"
#include "pickers/dzjykxx.h"
#include "pickers/jsxxzl.h"
#include "pickers/tsxx.h"
#include "ui/action.h"
#include "ui/gbklimit.h"
#include "ui/halfwidth.h"
#include "ui/help.h"
#include "ui/screenkit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QList<GridColumn> loanColumns{
    {"Kno", "借阅卡号"},
    {"txm", "图书条码"},
    {"tsmc", "图书名称"},
    {"jsrq", "借书日期"},
};

bool isEnter(QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Focus that moves to another window (a notice, a picker) is not the operator leaving
// the box.
bool leftForAnotherWindow(QEvent* event)
{
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

QLineEdit* box(QWidget* parent, const char* name, bool readOnly, int width)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(readOnly);
    edit->setMinimumWidth(width);
    return edit;
}
} // namespace

Tdzjsdjfm::Tdzjsdjfm(QWidget* parent) : QWidget(parent)
{
    setObjectName("dzjsdjfm");
    setWindowTitle("读者借书登记");
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    Help::setContext(this, helpContext);
    buildScreen();
    m_barcode->setEnabled(false);
    m_save->setEnabled(false);
    m_cardList->hide();
    m_bookList->hide();
    setFixedSize(sizeHint());
    m_card->setFocus();
}

void Tdzjsdjfm::buildScreen()
{
    m_card = box(this, "Edit1", false, 150);
    HalfWidth::apply(m_card);
    GbkLimit::apply(m_card, 12);
    m_name = box(this, "Edit4", false, 150);
    m_grade = box(this, "Edit6", true, 60);
    m_allowed = box(this, "Edit7", true, 60);
    m_barcode = box(this, "Edit2", false, 150);
    HalfWidth::apply(m_barcode, HalfWidth::Fold::DigitsAndLetters);
    GbkLimit::apply(m_barcode, 60); // a barcode, or a fragment of a title
    m_price = box(this, "Edit3", true, 80);
    m_title = box(this, "Edit5", true, 260);

    m_cardList = new QPushButton(">>>", this);
    m_cardList->setObjectName("BitBtn4");
    m_bookList = new QPushButton(">>>", this);
    m_bookList->setObjectName("BitBtn5");
    for (QPushButton* button : {m_cardList, m_bookList}) {
        button->setAutoDefault(false);
        button->setFixedWidth(button->fontMetrics().horizontalAdvance(">>>") + 24);
    }
    connect(m_cardList, &QPushButton::clicked, this, [this] { cardEntry(true); });
    connect(m_bookList, &QPushButton::clicked, this, [this] { bookEntry(true); });

    m_photo = new QLabel(this);
    m_photo->setObjectName("Image1");
    m_photo->setFixedSize(120, 150);
    m_photo->setFrameShape(QFrame::StyledPanel);
    m_photo->setScaledContents(true);

    auto* boxes = new QGridLayout;
    auto withButton = [this](QLineEdit* edit, QPushButton* button) {
        auto* row = new QHBoxLayout;
        row->setSpacing(2);
        row->addWidget(edit, 1);
        row->addWidget(button);
        // The button takes no room of its own when hidden.
        auto* holder = new QWidget(this);
        holder->setLayout(row);
        row->setContentsMargins(0, 0, 0, 0);
        return holder;
    };
    boxes->addWidget(new QLabel("借阅卡号", this), 0, 0);
    boxes->addWidget(withButton(m_card, m_cardList), 0, 1);
    boxes->addWidget(new QLabel("读者名", this), 0, 2);
    boxes->addWidget(m_name, 0, 3);
    boxes->addWidget(new QLabel("借书证等级", this), 1, 0);
    boxes->addWidget(m_grade, 1, 1);
    boxes->addWidget(new QLabel("允许借书数", this), 1, 2);
    boxes->addWidget(m_allowed, 1, 3);
    boxes->addWidget(new QLabel("图书条码", this), 2, 0);
    boxes->addWidget(withButton(m_barcode, m_bookList), 2, 1);
    boxes->addWidget(new QLabel("借书价格", this), 2, 2);
    boxes->addWidget(m_price, 2, 3);
    boxes->addWidget(new QLabel("图书名称", this), 3, 0);
    boxes->addWidget(m_title, 3, 1, 1, 3);
    auto* top = new QHBoxLayout;
    top->addLayout(boxes, 1);
    top->addWidget(m_photo);

    m_loans = new QTableView(this);
    m_loans->setObjectName("DBGrid1");
    m_loanModel = new QueryGridModel(loanColumns, this);
    Grid::setUp(m_loans, m_loanModel);
    m_loans->setMinimumHeight(200);
    m_loans->horizontalHeader()->setStretchLastSection(true);
    connect(m_loans, &QTableView::doubleClicked, this, &Tdzjsdjfm::showDetails);

    m_save = new QPushButton("登记保存&O", this);
    m_save->setObjectName("BitBtn1");
    m_close = new QPushButton("关闭", this);
    m_close->setObjectName("BitBtn2");
    m_help = new QPushButton("帮助&H", this);
    m_help->setObjectName("BitBtn3");
    for (QPushButton* button : {m_save, m_close, m_help})
        button->setAutoDefault(false);
    connect(m_save, &QPushButton::clicked, this, &Tdzjsdjfm::save);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_help, &QPushButton::clicked, this, [this] { Help::showContext(helpContext, this); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(m_close);
    buttons->addWidget(m_help);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_loans, 1);
    layout->addLayout(buttons);

    Screen::closeOnEscape(this);

    for (QWidget* watched :
         std::initializer_list<QWidget*>{m_card, m_name, m_grade, m_allowed, m_barcode, m_price,
                                         m_title, m_cardList, m_bookList, m_loans})
        watched->installEventFilter(this);
    connect(m_card, &QLineEdit::textEdited, this, &Tdzjsdjfm::cardEdited);
    connect(m_barcode, &QLineEdit::textEdited, this, &Tdzjsdjfm::barcodeEdited);
}

bool Tdzjsdjfm::eventFilter(QObject* watched, QEvent* event)
{
    if (isEnter(event)) {
        QWidget* next = nullptr;
        if (watched == m_card) {
            cardEntry(false);
            return true;
        }
        if (watched == m_barcode) {
            // Save first, then the book is entered as the focus leaves the box.
            m_save->setEnabled(true);
            m_save->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (watched == m_loans) {
            showDetails();
            return true;
        }
        if (watched == m_name)
            next = m_grade;
        else if (watched == m_grade || watched == m_price || watched == m_title)
            next = m_barcode;
        else if (watched == m_allowed)
            next = m_title;
        if (next) {
            next->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_card)
            m_cardList->show();
        else if (watched == m_barcode)
            m_bookList->show();
    } else if (event->type() == QEvent::FocusOut && !leftForAnotherWindow(event)) {
        QWidget* now = QApplication::focusWidget();
        if ((watched == m_card && now != m_cardList) || (watched == m_cardList && now != m_card))
            m_cardList->hide();
        if ((watched == m_barcode && now != m_bookList) || watched == m_bookList)
            m_bookList->hide();
        if (watched == m_barcode && !m_barcode->text().isEmpty())
            QTimer::singleShot(0, this, [this] { bookEntry(false); });
    }
    return QWidget::eventFilter(watched, event);
}

void Tdzjsdjfm::cardEntry(bool allCards)
{
    const QString prefix = m_card->text();
    Match match;
    const bool found = Action::run(
        this, [&] { match = allCards ? Loans::findAllCards() : Loans::findCards(prefix); });
    if (!found) {
        clearReader();
        m_card->clear();
        m_card->setFocus();
        return;
    }
    QString number = match.key;
    if (match.kind == Match::Several)
        number = Tdzjykxxfm::pick(allCards ? QString() : prefix, this);

    Reader reader;
    bool clearCard = false;
    const bool accepted = Action::run(this, [&] {
        try {
            reader = Loans::acceptCard(number);
        } catch (const Refused& refused) {
            clearCard = refused.box() == m_card->objectName();
            throw;
        }
    });
    if (!accepted) {
        // Nothing of the previous reader stays beside a refused card.
        clearReader();
        if (clearCard)
            m_card->clear();
        else
            m_card->setText(number);
        return;
    }
    showReader(reader);
}

void Tdzjsdjfm::showReader(const Reader& reader)
{
    m_reader = reader;
    m_card->setText(reader.number);
    m_name->setText(reader.name);
    m_grade->setText(reader.grade);
    m_allowed->setText(QString::number(reader.maxBooks));
    // A photograph that cannot be read leaves the box empty, never the previous face.
    const QPixmap photo = reader.photoPath.isEmpty() ? QPixmap() : QPixmap(reader.photoPath);
    if (photo.isNull())
        m_photo->clear();
    else
        m_photo->setPixmap(photo);
    // A book accepted for the previous reader is not this reader's.
    clearBook();
    m_barcode->clear();
    m_save->setEnabled(false);
    loadOpenLoans();
    m_barcode->setEnabled(true);
    m_barcode->setFocus();
}

void Tdzjsdjfm::clearReader()
{
    m_reader.reset();
    m_name->clear();
    m_grade->clear();
    m_allowed->clear();
    m_photo->clear();
    m_loanModel->closeQuery();
    clearBook();
    m_barcode->clear();
    m_barcode->setEnabled(false);
    m_save->setEnabled(false);
}

void Tdzjsdjfm::clearBook()
{
    m_book.reset();
    m_price->clear();
    m_title->clear();
}

void Tdzjsdjfm::loadOpenLoans()
{
    if (!m_reader) {
        m_loanModel->closeQuery();
        return;
    }
    const Listing loans = Loans::openLoans(m_reader->number);
    Action::run(this, [&] {
        Sql q(loans.statement);
        q.bindAll(loans.values).exec();
        m_loanModel->show(q);
    });
}

void Tdzjsdjfm::bookEntry(bool allBooks)
{
    if (m_inBookEntry || !m_reader)
        return;
    const QString text = m_barcode->text();
    if (!allBooks && text.isEmpty())
        return;
    m_inBookEntry = true;
    const auto done = qScopeGuard([this] { m_inBookEntry = false; });

    auto refuse = [this](bool backToCard) {
        clearBook();
        m_barcode->clear();
        m_save->setEnabled(false);
        if (backToCard) {
            // Only a new card entry lets the barcode box in again.
            m_barcode->setEnabled(false);
            m_card->setFocus();
        } else {
            m_barcode->setFocus();
        }
    };
    Match match;
    if (!Action::run(this,
                     [&] { match = allBooks ? Loans::findAllBooks() : Loans::findBooks(text); })) {
        refuse(false);
        return;
    }
    QString barcode = match.key;
    Loans::Route route = Loans::Route::Typed;
    if (match.kind == Match::Several) {
        const Listing books = Loans::matchingBooks(allBooks ? QString() : text);
        Ttsxxfm picker(books.statement, books.values, this);
        picker.exec();
        barcode = picker.barcode();
        m_barcode->setText(barcode);
        route = Loans::Route::Picked;
    }
    LoanBook book;
    bool backToCard = false;
    const bool accepted = Action::run(this, [&] {
        try {
            book = Loans::acceptBook(*m_reader, barcode, route);
        } catch (const Refused& refused) {
            backToCard = refused.box() == m_card->objectName();
            throw;
        }
    });
    loadOpenLoans();
    if (!accepted) {
        refuse(backToCard);
        return;
    }
    m_book = book;
    m_barcode->setText(book.barcode);
    m_price->setText(book.hasPrice ? book.price.toShortest() : QString());
    m_title->setText(book.title);
    m_title->setCursorPosition(0);
    m_save->setEnabled(true);
    m_save->setFocus();
}

void Tdzjsdjfm::save()
{
    // Without a card or a book there is nothing to lend: the screen closes.
    if (m_card->text().isEmpty() || m_barcode->text().isEmpty()) {
        close();
        return;
    }
    if (!m_reader || !m_book)
        return;
    bool backToBook = false;
    const QString card = m_reader->number;
    const QString barcode = m_book->barcode;
    const bool lent = Action::run(this, [&] {
        try {
            Loans::lend(card, barcode);
        } catch (const Refused& refused) {
            backToBook = refused.box() == m_barcode->objectName();
            throw;
        }
    });
    if (!lent) {
        if (backToBook)
            m_save->setEnabled(false);
        return;
    }
    loadOpenLoans();
    clearBook();
    m_barcode->clear();
    m_barcode->setFocus();
    m_save->setEnabled(false);
}

void Tdzjsdjfm::cardEdited(const QString& text)
{
    if (m_reader && text == m_reader->number)
        return;
    // A number typed over the accepted one is not a card until it is entered.
    m_reader.reset();
    m_barcode->setEnabled(false);
    // An emptied card box lets Save close the screen, as it always has.
    m_save->setEnabled(text.isEmpty() && m_book.has_value());
}

void Tdzjsdjfm::barcodeEdited()
{
    clearBook();
    m_save->setEnabled(false);
}

void Tdzjsdjfm::showDetails()
{
    const QModelIndex current = m_loans->currentIndex();
    const QString barcode =
        current.isValid() ? m_loanModel->value(current.row(), "txm").toString() : QString();
    if (!barcode.isEmpty())
        Tjsxxzlfm::open(barcode, this);
}
