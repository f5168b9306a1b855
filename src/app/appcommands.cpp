#include "app/appcommands.h"

#include "app/support.h"
#include "data/session.h"
#include "data/sql.h"
#include "ui/commands.h"
#include "ui/help.h"
#include "ui/messages.h"
#include "ui/windows.h"

#include <QWidget>

#if __has_include("cards/blxk.h")
#include "cards/blxk.h"
#define HAVE_CARD_ISSUE 1
#endif
#if __has_include("finance/financecommands.h")
#include "finance/financecommands.h"
#define HAVE_FINANCE 1
#endif
#if __has_include("app/setupcommands.h")
#include "app/setupcommands.h"
#define HAVE_SETUP 1
#endif

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
    if (!AppCommands::cardNumberingReady()) {
        Messages::notice(parent, QString::fromUtf8("提示信息"),
                         QString::fromUtf8("请先进行借阅证的起始编号初始化!"));
        return;
    }
    if (!Commands::open("Tblxkfm", parent))
        notInstalled(parent);
}
} // namespace

bool AppCommands::cardNumberingReady()
{
    try {
        Sql sequence("select * from jszxh");
        sequence.exec();
        if (!sequence.next())
            return false;
        return !sequence.text("jszxh").isEmpty() || !sequence.text("lx").isEmpty();
    } catch (const StoreError&) {
        return false;
    }
}

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
#ifdef HAVE_CARD_ISSUE
    Commands::add("Tblxkfm", [](QWidget*) { Windows::showOrActivate<Tblxkfm>(); });
#endif
#ifdef HAVE_FINANCE
    registerFinanceCommands();
#endif
#ifdef HAVE_SETUP
    registerSetupCommands();
#endif
}
