#include "app/support.h"

#include "data/paths.h"
#include "ui/messages.h"

#include <QDesktopServices>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {
QLabel* contactText(QWidget* parent)
{
    auto* text =
        new QLabel(QString::fromUtf8("<p><b>图书馆管理系统</b></p>"
                                     "<p>使用中遇到问题，请与本馆的系统管理员联系。</p>"
                                     "<p>系统管理员负责：操作员账号与权限、数据备份与恢复、"
                                     "打印机与摄像头的安装。</p>"
                                     "<p>联系前请记下出现问题的窗口名称和提示信息的原文；"
                                     "程序的运行记录保存在程序目录下的 log/library.log 中。</p>"),
                   parent);
    text->setWordWrap(true);
    text->setMinimumWidth(360);
    return text;
}
} // namespace

Taboutfm::Taboutfm(QWidget* parent) : QDialog(parent)
{
    setObjectName("Taboutfm");
    setWindowTitle(QString::fromUtf8("技术支持"));
    auto* close = new QPushButton(QString::fromUtf8("关闭"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(contactText(this));
    layout->addWidget(close, 0, Qt::AlignRight);
}

TFormzxbz::TFormzxbz(QWidget* parent) : QDialog(parent)
{
    setObjectName("TFormzxbz");
    setWindowTitle(QString::fromUtf8("在线技术支持"));
    auto* driver = new QPushButton(QString::fromUtf8("手动安装视频压缩xvid驱动"), this);
    driver->setObjectName("driverButton");
    auto* close = new QPushButton(QString::fromUtf8("关闭"), this);
    connect(driver, &QPushButton::clicked, this, &TFormzxbz::openDriverFolder);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(driver);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(contactText(this));
    layout->addLayout(buttons);
}

QString TFormzxbz::driverFolder()
{
    return QDir(ProgramPaths::home()).filePath("vfw/bin");
}

void TFormzxbz::openDriverFolder()
{
    if (!QDir(driverFolder()).exists()) {
        Messages::plain(this, QString::fromUtf8("驱动所在的路径没有找到,请您和开发商联系！"));
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(driverFolder()));
}
