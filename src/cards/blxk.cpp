#include "cards/blxk.h"

#include "cards/video.h"
#include "data/clock.h"
#include "data/dates.h"
#include "data/paths.h"
#include "data/session.h"
#include "data/sql.h"
#include "desk/cardissue.h"
#include "desk/cardsequence.h"
#include "desk/photos.h"
#include "desk/refused.h"
#include "reports/reportoutput.h"
#include "reports/tszprint.h"
#include "ui/action.h"
#include "ui/datebox.h"
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
#include <QDir>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QVBoxLayout>

#include <stdexcept>

namespace {
constexpr const char* noticeCaption = "提示信息";
constexpr QSize videoSize(121, 128);

QLineEdit* lineEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}
} // namespace

Tblxkfm::Tblxkfm(QWidget* parent) : QWidget(parent)
{
    setWindowTitle("办理借书证");
    buildControls();
    setTabAndEnterOrder();

    m_photoTimer.setParent(this);
    m_photoTimer.setObjectName("photoTimer");
    m_photoTimer.setSingleShot(true);
    m_photoTimer.setInterval(photoDelayMs);
    connect(&m_photoTimer, &QTimer::timeout, this, &Tblxkfm::takePhotograph);
    connect(qApp, &QApplication::focusChanged, this, &Tblxkfm::focusChanged);

    m_validDays = 0;
    m_photoPanel->hide();
    m_photoPath.clear();

    if (!openSequence()) {
        Messages::notice(this, noticeCaption, "请先进行借阅证的起始编号初始化!");
        QTimer::singleShot(0, this, [this] { Screen::close(this); });
        return;
    }
    loadGrades();
    m_grade->setFocus();
    for (QLineEdit* box : {m_name, m_identity, m_deposit, m_telephone, m_address, m_workUnit})
        box->clear();
    m_grade->clearEditText();
    m_feePanel->clear();
    startCamera();
}

Tblxkfm::~Tblxkfm()
{
    // Closing the window moves the focus while the controls are being torn down.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void Tblxkfm::buildControls()
{
    // --- 借书证号: number, video and photograph ---
    auto* numberGroup = new QGroupBox("借书证号", this);
    m_number = lineEdit(numberGroup, "Edit7");
    HalfWidth::apply(m_number);
    GbkLimit::apply(m_number, 12);

    auto* picture = new QWidget(numberGroup);
    picture->setFixedSize(videoSize);
    m_video = new TVideoCap(picture);
    m_video->setObjectName("VideoCap1");
    m_video->setGeometry(QRect(QPoint(0, 0), videoSize));
    m_video->setPreviewScaleToWindow(true);
    m_video->setPreviewScaleProportional(false);
    m_video->setPreviewRate(12);
    m_photoPanel = new QFrame(picture);
    m_photoPanel->setObjectName("photoPanel");
    m_photoPanel->setGeometry(QRect(QPoint(0, 0), videoSize));
    m_photoPanel->setAutoFillBackground(true);
    m_photo = new QLabel(m_photoPanel);
    m_photo->setObjectName("Image1");
    m_photo->setGeometry(QRect(QPoint(0, 0), videoSize));
    m_photo->setAlignment(Qt::AlignCenter);

    m_videoStatus = new QLabel(numberGroup);
    m_videoStatus->setObjectName("videoStatus");
    m_videoStatus->setMinimumWidth(60);
    m_cameraButton = new QPushButton("摄像", numberGroup);
    m_cameraButton->setObjectName("cameraButton");
    m_photoButton = new QPushButton("拍照", numberGroup);
    m_photoButton->setObjectName("photoButton");
    connect(m_cameraButton, &QPushButton::clicked, this, &Tblxkfm::cameraClicked);
    connect(m_photoButton, &QPushButton::clicked, this, &Tblxkfm::photoClicked);

    auto* numberLayout = new QGridLayout(numberGroup);
    numberLayout->addWidget(new QLabel("编号(顺序):", numberGroup), 0, 0);
    numberLayout->addWidget(m_number, 0, 1, 1, 2);
    numberLayout->addWidget(picture, 1, 0, 1, 2, Qt::AlignLeft | Qt::AlignTop);
    numberLayout->addWidget(m_videoStatus, 1, 2, Qt::AlignLeft | Qt::AlignBottom);
    numberLayout->addWidget(m_cameraButton, 2, 0);
    numberLayout->addWidget(m_photoButton, 2, 1);
    numberLayout->setRowStretch(3, 1);

    // --- 借书证信息: the reader's particulars ---
    auto* infoGroup = new QGroupBox("借书证信息", this);
    m_grade = new QComboBox(infoGroup);
    m_grade->setObjectName("ComboBox1");
    m_grade->setEditable(true);
    m_grade->setInsertPolicy(QComboBox::NoInsert);
    m_grade->lineEdit()->setMaxLength(1);
    m_name = lineEdit(infoGroup, "Edit1");
    GbkLimit::apply(m_name, 8);
    m_identity = lineEdit(infoGroup, "Edit2");
    HalfWidth::apply(m_identity);
    m_identity->setMaxLength(18); // citizen identity numbers have 18 characters
    m_deposit = lineEdit(infoGroup, "Edit3");
    m_validUntilBox = DateBox::create(infoGroup, "Edit8", "dateButton");
    m_validUntil = m_validUntilBox->edit();
    m_topUp = lineEdit(infoGroup, "Edit9");
    m_validUntilBox->setNext(m_topUp);
    m_telephone = lineEdit(infoGroup, "Edit4");
    m_address = lineEdit(infoGroup, "Edit5");
    m_workUnit = lineEdit(infoGroup, "Edit6");

    auto* dateRow = new QHBoxLayout;
    dateRow->setSpacing(2);
    dateRow->addWidget(m_validUntil, 1);
    dateRow->addWidget(m_validUntilBox->button());

    auto* infoLayout = new QGridLayout(infoGroup);
    const auto addRow = [&](int row, const char* caption, QWidget* box) {
        infoLayout->addWidget(new QLabel(caption, infoGroup), row, 0, Qt::AlignRight);
        infoLayout->addWidget(box, row, 1);
    };
    addRow(0, "等级:", m_grade);
    addRow(1, "读者姓名:", m_name);
    addRow(2, "身份证号(学生证):", m_identity);
    addRow(3, "押金:", m_deposit);
    infoLayout->addWidget(new QLabel("有效日期至:", infoGroup), 4, 0, Qt::AlignRight);
    infoLayout->addLayout(dateRow, 4, 1);
    addRow(5, "充值金额:", m_topUp);
    addRow(6, "电话:", m_telephone);
    addRow(7, "地址:", m_address);
    addRow(8, "工作单位:", m_workUnit);
    infoLayout->setColumnMinimumWidth(1, 190);

    // --- tips and the print-photo switch ---
    auto* tips = new QVBoxLayout;
    for (const char* line :
         {"提示：", "如果要保存相片", "请在点“保存”", "按钮前点“拍照”", "按钮"}) {
        auto* label = new QLabel(line, this);
        label->setStyleSheet("color: blue;");
        tips->addWidget(label);
    }
    tips->addSpacing(12);
    m_printPhoto = new QCheckBox("同时打印照片", this);
    m_printPhoto->setObjectName("CheckBox1");
    m_printPhoto->setChecked(true);
    tips->addWidget(m_printPhoto);
    m_printBarcode = new QCheckBox("打印条码", this);
    m_printBarcode->setObjectName("CheckBox2");
    tips->addWidget(m_printBarcode);
    tips->addStretch();

    // --- buttons ---
    m_saveButton = new QPushButton("保存&S", this);
    m_saveButton->setObjectName("saveButton");
    m_printButton = new QPushButton("打印&P", this);
    m_printButton->setObjectName("printButton");
    m_helpButton = new QPushButton("帮助&H", this);
    m_helpButton->setObjectName("helpButton");
    m_closeButton = new QPushButton("关闭&X", this);
    m_closeButton->setObjectName("closeButton");
    connect(m_saveButton, &QPushButton::clicked, this, &Tblxkfm::save);
    connect(m_printButton, &QPushButton::clicked, this, &Tblxkfm::print);
    Help::attach(this, helpContext, m_helpButton);
    connect(m_closeButton, &QPushButton::clicked, this, [this] { Screen::close(this); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {m_saveButton, m_printButton, m_helpButton, m_closeButton})
        buttons->addWidget(button);

    // --- status bar: 日期 | today | 工本费 | fee | ---
    auto* statusBar = new QStatusBar(this);
    statusBar->setSizeGripEnabled(false);
    const auto panel = [statusBar](const QString& text, const char* name, int width) {
        auto* label = new QLabel(text, statusBar);
        label->setObjectName(name);
        label->setMinimumWidth(width);
        statusBar->addWidget(label);
        return label;
    };
    panel("日期", "datePanelCaption", 40);
    panel(Dates::toText(Clock::today()), "datePanel", 90);
    panel("工本费", "feePanelCaption", 50);
    m_feePanel = panel(QString(), "feePanel", 70);
    statusBar->addWidget(new QLabel(statusBar), 1);

    auto* groups = new QHBoxLayout;
    groups->addWidget(numberGroup);
    groups->addWidget(infoGroup, 1);
    groups->addLayout(tips);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(buttons);
    layout->addWidget(statusBar);

    Screen::closeOnEscape(this);
}

void Tblxkfm::setTabAndEnterOrder()
{
    const QList<QWidget*> order = {
        m_grade,       m_name,       m_identity,     m_deposit,     m_telephone,   m_address,
        m_workUnit,    m_validUntil, m_topUp,        m_saveButton,  m_printButton, m_helpButton,
        m_closeButton, m_number,     m_cameraButton, m_photoButton, m_printPhoto,  m_printBarcode};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    // Enter moves along the boxes in tab order, except that the deposit goes on to the
    // valid-until date, the date to the top-up and the work unit back to the date; the number
    // box (typed or scanned) goes on to the grade.
    EnterChain::link(this, {m_number, m_grade, m_name, m_identity, m_deposit, m_validUntil, m_topUp,
                            m_telephone, m_address, m_workUnit, m_validUntil});
    Screen::onLeave(m_grade, [this] { return lookUpGrade(); });
    Screen::onLeave(m_deposit, [this] { return leaveDeposit(); });
}

bool Tblxkfm::openSequence()
{
    if (!CardSequence::ready())
        return false;
    const CardSequence::Next next = CardSequence::current();
    m_number->setText(next.number);
    m_cardType = next.type;
    return true;
}

void Tblxkfm::loadGrades()
{
    m_grade->clear();
    m_grade->addItems(Grades::codes()); // in code order
    m_grade->setCurrentIndex(-1);
}

void Tblxkfm::startCamera()
{
    try {
        m_video->setDriverIndex(0);
        m_video->setVideoPreview(false);
        m_video->setVideoPreview(true);
    } catch (const EVideoCapError&) {
        // Without a camera the screen works; cards are issued without photographs.
    }
}

bool Tblxkfm::movesWithinScreen(Qt::FocusReason reason, const QWidget* other) const
{
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return false;
    return other && isAncestorOf(other);
}

void Tblxkfm::focusChanged(QWidget* from, QWidget* to)
{
    // Only coming from another box of this screen is entering the valid-until box:
    // not the frame giving the focus back when the window is activated again, and
    // not returning from the ">>>" button after the date picker was closed.
    if (to == m_validUntil && from != m_validUntilBox->button() &&
        movesWithinScreen(Qt::OtherFocusReason, from))
        enterValidUntil();
}

// --- look-ups and boxes ------------------------------------------------------------------

void Tblxkfm::showFee(const Money& fee)
{
    m_feePanel->setText(fee.toFixed2());
}

bool Tblxkfm::lookUpGrade()
{
    const QString code = m_grade->currentText();
    if (code.isEmpty())
        return true;
    const std::optional<Grade> grade = Grades::find(code);
    if (!grade) {
        Screen::notice(this, "查无此等级!");
        return false;
    }
    showFee(grade->fee);
    m_deposit->setText(grade->deposit.toShortest());
    m_validDays = grade->validDays;
    return true;
}

void Tblxkfm::enterValidUntil()
{
    if (m_validDays != 0)
        m_validUntil->setText(Dates::toText(Clock::today().addDays(m_validDays)));
}

bool Tblxkfm::leaveDeposit()
{
    if (m_deposit->text().isEmpty())
        return true;
    bool ok = false;
    const Money deposit = Money::fromText(m_deposit->text(), &ok);
    if (!ok || deposit < Money()) { // a deposit is never negative
        Screen::notice(this, "格式错误,请重新输入!");
        return false;
    }
    m_deposit->setText(deposit.toShortest());
    return true;
}

// --- camera and photograph ----------------------------------------------------------------

void Tblxkfm::cameraClicked()
{
    m_videoStatus->clear();
    startCamera();
}

void Tblxkfm::photoClicked()
{
    m_photoPanel->hide(); // the live picture shows while the timer runs
    m_video->update();
    m_photoTimer.start();
}

void Tblxkfm::takePhotograph()
{
    m_photoTimer.stop();
    // Without a live picture the control is only black: that is no photograph.
    if (!m_video->hasPicture()) {
        m_videoStatus->clear();
        Messages::notice(this, noticeCaption, "没有可用的摄像头，无法拍照!");
        return;
    }
    const QImage picture = m_video->photograph();
    QString path;
    const bool saved = Action::run(this, [&] { path = Photos::store(picture); });
    if (!saved)
        return;
    m_photoPath = path;
    m_photo->setPixmap(QPixmap::fromImage(QImage(path))
                           .scaled(m_photo->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_photoPanel->show();
    m_photoPanel->raise();
    m_videoStatus->setText("拍照完成");
}

void Tblxkfm::discardPhotograph()
{
    m_photoTimer.stop(); // a photograph still pending belongs to the reader just saved
    m_photoPath.clear();
    m_photo->clear();
    m_photoPanel->hide();
}

// --- save ---------------------------------------------------------------------------------

void Tblxkfm::save()
{
    CardApplication application;
    application.number = m_number->text();
    application.cardType = m_cardType;
    application.grade = m_grade->currentText();
    application.name = m_name->text();
    application.identity = m_identity->text();
    application.deposit = m_deposit->text();
    application.telephone = m_telephone->text();
    application.address = m_address->text();
    application.workUnit = m_workUnit->text();
    application.validUntil = m_validUntil->text();
    application.topUp = m_topUp->text();
    application.photoPath = m_photoPath;
    IssuedCard issued;
    const bool done = Action::run(this, [&] {
        try {
            issued = CardIssue::issue(application, Action::askWith(this));
        } catch (const Refused&) {
            m_photoPanel->hide(); // the notice is not covered by the photograph
            throw;
        }
    });
    if (!done)
        return;
    resetForNextReader(issued.nextNumber);
}

void Tblxkfm::resetForNextReader(qint64 next)
{
    m_grade->setCurrentIndex(-1);
    m_grade->clearEditText();
    for (QLineEdit* box : {m_name, m_identity, m_deposit, m_telephone, m_address, m_workUnit})
        box->clear();
    m_feePanel->clear();
    openSequence();
    m_videoStatus->clear();
    Messages::plain(this, "办理成功！");
    m_number->setText(QString::number(next));
    discardPhotograph();
    m_topUp->clear();
    m_grade->setFocus();
}

// --- print --------------------------------------------------------------------------------

void Tblxkfm::print()
{
    if (m_number->text().isEmpty()) {
        Messages::plain(this, "编号不能为空！");
        return;
    }
    if (m_name->text().isEmpty()) {
        Messages::plain(this, "读者名不能为空！");
        return;
    }
    if (m_validUntil->text().isEmpty()) {
        Messages::plain(this, "有效日期不能为空！");
        return;
    }
    Ttszprintfm card;
    card.setGrade(m_grade->currentText());
    card.setCardNumber(m_number->text());
    card.setName(m_name->text());
    card.setIdentityNumber(m_identity->text());
    card.setAddress(m_address->text());
    card.setWorkUnit(m_workUnit->text());
    card.setCardDate(Dates::toText(Clock::today()));
    card.setValidUntil(m_validUntil->text());
    if (m_printPhoto->isChecked() && !m_photoPath.isEmpty())
        card.setPhoto(QImage(m_photoPath));
    card.setNumberBarcode(m_printBarcode->isChecked());
    ReportOutput::preview(card.report(), this);
    m_saveButton->setFocus();
}
