#include "cards/cardscommands.h"

#include "cards/bhcsh.h"
#include "cards/blxk.h"
#include "cards/gs.h"
#include "cards/gscx.h"
#include "cards/jgs.h"
#include "cards/jjkcz.h"
#include "cards/jyczcx.h"
#include "cards/kpcx.h"
#include "cards/kpgs.h"
#include "cards/kpsz.h"
#include "desk/cardsequence.h"
#include "ui/messages.h"
#include "ui/windows.h"

namespace {
void openCardIssue(QWidget* parent)
{
    // Card issue needs a start number (or at least a card type) first.
    if (!CardSequence::ready()) {
        Messages::notice(parent, QString::fromUtf8("提示信息"),
                         QString::fromUtf8("请先进行借阅证的起始编号初始化!"));
        return;
    }
    Commands::open("Tblxkfm", parent);
}
} // namespace

const QList<Commands::Entry>& cardsCommands()
{
    static const QList<Commands::Entry> table{
        {"blxk", openCardIssue, 2},
        {"Tblxkfm", [](QWidget*) { Windows::showOrActivate<Tblxkfm>(); }, 2},
        // Card management.
        {"kpcx", [](QWidget*) { Windows::showOrActivate<Tkpcxfm>(); }, Tkpcxfm::helpContext},
        {"N7", [](QWidget*) { Windows::showOrActivate<TFormgs>(); }},
        {"N8", [](QWidget*) { Windows::showOrActivate<TFormjgs>(); }},
        {"N18", [](QWidget*) { Windows::showOrActivate<TFormjjkcz>(); }},
        {"kpgs", [](QWidget*) { Windows::showOrActivate<Tkpgsfm>(); }, Tkpgsfm::helpContext},
        {"N19", [](QWidget*) { Windows::showOrActivate<TFormjyczcx>(); }},
        {"N17", [](QWidget*) { Windows::showOrActivate<TFormgscx>(); }},
        // Screens the setup flow opens by class name.
        {"Tkpszfm", [](QWidget* parent) { Windows::runModal(new Tkpszfm(parent)); },
         Tkpszfm::helpContext, false},
        {"Tbhcshfm", [](QWidget* parent) { Windows::runModal(new Tbhcshfm(parent)); },
         Tbhcshfm::helpContext, false},
    };
    return table;
}
