#include "app/sidebar.h"

#include "app/commandtable.h"

#include <QFile>
#include <QIcon>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

SideBar::SideBar(QWidget* parent) : QToolBox(parent)
{
    setObjectName("SideBar");
    for (const SideBarHeader& header : CommandTable::sideBar()) {
        auto* page = new QWidget;
        auto* layout = new QVBoxLayout(page);
        layout->setSpacing(6);
        for (const SideBarButton& entry : header.buttons) {
            auto* button = new QToolButton(page);
            const QString key = QString::fromUtf8(entry.key);
            const QString refusal = QString::fromUtf8(entry.refusal);
            button->setObjectName("side_" + key);
            button->setText(QString::fromUtf8(entry.caption));
            const QString icon = QString(":/images/%1.svg").arg(key);
            if (QFile::exists(icon))
                button->setIcon(QIcon(icon));
            button->setIconSize(QSize(40, 40));
            button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            button->setAutoRaise(true);
            button->setMinimumWidth(120);
            connect(button, &QToolButton::clicked, this,
                    [this, key, refusal] { emit buttonClicked(key, refusal); });
            layout->addWidget(button, 0, Qt::AlignHCenter);
        }
        layout->addStretch();
        auto* scroll = new QScrollArea;
        scroll->setWidget(page);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        addItem(scroll, QString::fromUtf8(header.caption));
    }
    setCurrentIndex(0); // "图书管理" starts open
    setMinimumWidth(170);
}
