#include "app/xtbf.h"

#include "desk/desks.h"

#include "app/qdlj.h"
#include "desk/backup.h"
#include "ui/messages.h"
#include "ui/tsfm.h"
#include "ui/windows.h"

#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QString defaultFolder()
{
    return QDir::toNativeSeparators(Backup::defaultFolder());
}

// Closes every screen in the main window, so none keeps reading the old data.
bool closeOtherScreens()
{
    QMdiArea* area = Windows::frameArea();
    if (!area)
        return true;
    for (QMdiSubWindow* window : area->subWindowList())
        window->close();
    return area->subWindowList().isEmpty();
}
} // namespace

TFormxtbf::TFormxtbf(QWidget* parent) : QDialog(parent)
{
    setObjectName("Formxtbf");
    setWindowTitle("系统备份与恢复");
    buildScreen();
    m_backupPath->setText(defaultFolder());
}

void TFormxtbf::buildScreen()
{
    m_default = new QRadioButton("备份到系统默认路径", this);
    m_default->setObjectName("RadioButton1");
    m_default->setChecked(true);
    m_chosen = new QRadioButton("备份到指定路径", this);
    m_chosen->setObjectName("RadioButton2");
    m_restore = new QRadioButton("数据恢复时需选择的源数据路径", this);
    m_restore->setObjectName("rb3");

    m_backupPath = new QLineEdit(this);
    m_backupPath->setObjectName("Edit1");
    m_backupPath->setReadOnly(true);
    m_backupPath->setEnabled(false);
    m_backupPath->setMinimumWidth(340);
    m_chooseBackup = new QPushButton("...", this);
    m_chooseBackup->setObjectName("BitBtn4");
    m_chooseBackup->setEnabled(false);
    m_restorePath = new QLineEdit(this);
    m_restorePath->setObjectName("Edit2");
    m_restorePath->setReadOnly(true);
    m_restorePath->setEnabled(false);
    m_restorePath->installEventFilter(this);
    m_chooseRestore = new QPushButton("...", this);
    m_chooseRestore->setObjectName("BitBtn5");
    m_chooseRestore->setVisible(false);
    m_chooseRestore->installEventFilter(this);
    for (QPushButton* button : {m_chooseBackup, m_chooseRestore})
        button->setFixedWidth(button->fontMetrics().horizontalAdvance("...") + 24);

    auto* backup = new QPushButton("备份", this);
    backup->setObjectName("BitBtn1");
    auto* restore = new QPushButton("恢复", this);
    restore->setObjectName("BitBtn2");
    auto* close = new QPushButton("关闭", this);
    close->setObjectName("BitBtn3");
    for (QPushButton* button : {backup, restore, close})
        button->setAutoDefault(true);

    auto* grid = new QGridLayout;
    grid->addWidget(m_default, 0, 0, 1, 3);
    grid->addWidget(m_chosen, 1, 0, 1, 3);
    grid->addWidget(new QLabel("路径:", this), 2, 0);
    grid->addWidget(m_backupPath, 2, 1);
    grid->addWidget(m_chooseBackup, 2, 2);
    grid->addWidget(m_restore, 3, 0, 1, 3);
    grid->addWidget(m_restorePath, 4, 1);
    grid->addWidget(m_chooseRestore, 4, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(backup);
    buttons->addWidget(restore);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(m_default, &QRadioButton::clicked, this, &TFormxtbf::defaultPathClick);
    connect(m_chosen, &QRadioButton::clicked, this, &TFormxtbf::chosenPathClick);
    connect(m_restore, &QRadioButton::clicked, this, &TFormxtbf::restoreModeClick);
    connect(m_chooseBackup, &QPushButton::clicked, this, [this] { chooseFolder(m_backupPath); });
    connect(m_chooseRestore, &QPushButton::clicked, this, [this] { chooseFolder(m_restorePath); });
    connect(backup, &QPushButton::clicked, this, &TFormxtbf::backupClick);
    connect(restore, &QPushButton::clicked, this, &TFormxtbf::restoreClick);
    connect(close, &QPushButton::clicked, this, &TFormxtbf::reject);
}

void TFormxtbf::tell(QWidget* parent, const Backup::Stop& stop)
{
    using Kind = Backup::Stop::Kind;
    switch (stop.kind) {
    case Kind::Plain:
        Messages::plain(parent, stop.text);
        break;
    case Kind::Notice:
        Messages::notice(parent, stop.caption, stop.text);
        break;
    case Kind::NoticeNoIcon:
        Messages::notice(parent, stop.caption, stop.text, Messages::Icon::None);
        break;
    case Kind::Error:
        Messages::notice(parent, stop.caption, stop.text, Messages::Icon::Critical);
        break;
    }
}

void TFormxtbf::defaultPathClick()
{
    Tqdljfm::copyMode() = Tqdljfm::Mode::Backup;
    m_backupPath->setText(defaultFolder());
    m_backupPath->setEnabled(false);
    m_restorePath->setEnabled(false);
    m_chooseBackup->setEnabled(false);
}

void TFormxtbf::chosenPathClick()
{
    Tqdljfm::copyMode() = Tqdljfm::Mode::Backup;
    m_backupPath->setEnabled(true);
    m_chooseBackup->setEnabled(true);
    m_restorePath->setEnabled(false);
    m_backupPath->setFocus();
}

void TFormxtbf::restoreModeClick()
{
    Tqdljfm::copyMode() = Tqdljfm::Mode::Restore;
    m_restorePath->setEnabled(true);
    m_backupPath->setEnabled(false);
    m_restorePath->setFocus();
}

bool TFormxtbf::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_restorePath && event->type() == QEvent::FocusIn)
        m_chooseRestore->setVisible(true);
    if ((watched == m_restorePath || watched == m_chooseRestore) &&
        event->type() == QEvent::FocusOut) {
        QWidget* next = focusWidget();
        if (next != m_restorePath && next != m_chooseRestore)
            m_chooseRestore->setVisible(false);
    }
    return QDialog::eventFilter(watched, event);
}

void TFormxtbf::chooseFolder(QLineEdit* box)
{
    const QString start = box->text().isEmpty() ? defaultFolder() : box->text();
    // A refused backup folder empties the box.
    if (const auto folder = Tqdljfm::choose(this, start))
        box->setText(*folder);
}

void TFormxtbf::backupClick()
{
    Tqdljfm::copyMode() = Tqdljfm::Mode::Backup;
    try {
        BusyNotice busy(this, "系统正在备份数据,请稍候...");
        Backup::backupTo(m_backupPath->text());
    } catch (const Backup::Stop& stop) {
        tell(this, stop);
        return;
    }
    Messages::notice(this, "提示", "数据备份成功！");
    accept();
}

void TFormxtbf::restoreClick()
{
    if (m_restorePath->text().trimmed().isEmpty()) {
        Messages::plain(this, "源数据路径不能为空！");
        return;
    }
    if (!Messages::question(this, "提示", "此操作将会覆盖现有数据，继续吗?",
                            Messages::Buttons::YesNo, Messages::Icon::Information))
        return;
    Tqdljfm::copyMode() = Tqdljfm::Mode::Restore;
    try {
        BusyNotice busy(this, "系统正在恢复数据,请稍候...");
        Backup::restoreFrom(m_restorePath->text(), closeOtherScreens);
    } catch (const Backup::Stop& stop) {
        tell(this, stop);
        return;
    }
    Desks::refresh(); // the restored library does not know this desk yet
    Messages::notice(this, "提示", "数据成功恢复！");
    accept();
}
