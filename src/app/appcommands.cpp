#include "app/appcommands.h"

#include "app/setupcommands.h"
#include "app/support.h"
#include "cards/blxk.h"
#include "data/session.h"
#include "desk/cardsequence.h"
#include "finance/financecommands.h"
#include "ui/commands.h"
#include "ui/help.h"
#include "ui/messages.h"
#include "ui/windows.h"

#include <QWidget>

namespace {
void notInstalled(QWidget* parent)
{
    Messages::notice(parent, QString::fromUtf8("提示信息"), QString::fromUtf8("该功能尚未安装。"));
}

void openOperatorManagement(QWidget* parent)
{
    // Administrators manage every operator; others may only change their own password.
    const char* screen = Session::current().isAdministrator() ? "Tyhglfm" : "Tpasswordfm";
    if (!Commands::open(screen, parent))
        notInstalled(parent);
}

void openCardIssue(QWidget* parent)
{
    if (!CardSequence::ready()) {
        Messages::notice(parent, QString::fromUtf8("提示信息"),
                         QString::fromUtf8("请先进行借阅证的起始编号初始化!"));
        return;
    }
    if (!Commands::open("Tblxkfm", parent))
        notInstalled(parent);
}
} // namespace

void AppCommands::registerAll()
{
    Commands::add("N4", [](QWidget* parent) { Windows::runModal(new Taboutfm(parent)); });
    Commands::add("N2", [](QWidget* parent) { Help::showContents(parent); });
    Commands::add("N22", [](QWidget* parent) { Windows::runModal(new TFormzxbz(parent)); });
    Commands::add("N5", [](QWidget* parent) {
        if (parent)
            parent->window()->close();
    });
    Commands::add("ydjhcx", openOperatorManagement);
    Commands::add("blxk", openCardIssue);
    Commands::add("Tblxkfm", [](QWidget*) { Windows::showOrActivate<Tblxkfm>(); });
    registerFinanceCommands();
    registerSetupCommands();
}
