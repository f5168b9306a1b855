#include "catalogue/cataloguecommands.h"

#include "catalogue/bmcx.h"
#include "catalogue/bztsflm.h"
#include "catalogue/dzjs.h"
#include "catalogue/jscl.h"
#include "catalogue/jsclcx.h"
#include "catalogue/ljmbsz.h"
#include "catalogue/tsbm.h"
#include "catalogue/tsbmjs.h"
#include "catalogue/tsflsz.h"
#include "catalogue/tssgl.h"
#include "catalogue/xgccd.h"
#include "ui/windows.h"

#include <QMdiSubWindow>

namespace {
// The tree search fills the frame.
void openMaximised(QWidget* screen)
{
    if (auto* frame = qobject_cast<QMdiSubWindow*>(screen->parentWidget()))
        frame->showMaximized();
    else
        screen->showMaximized();
}
} // namespace

const QList<Commands::Entry>& catalogueCommands()
{
    static const QList<Commands::Entry> table{
        {"tsbm", [](QWidget*) { Windows::showOrActivate<Ttsbmfm>(); }, Ttsbmfm::helpContext},
        {"ljmb", [](QWidget* parent) { Windows::runModal(new Tljmbszfm(parent)); },
         Tljmbszfm::helpContext},
        {"N9", [](QWidget*) { Windows::showOrActivate<Tdzjsfm>(); }, Tdzjsfm::helpContext},
        {"bztsfl", [](QWidget* parent) { Windows::runModal(new Tbztsflmfm(parent)); }},
        {"gbccd", [](QWidget*) { Windows::showOrActivate<Tgbccdfm>(); }, Tgbccdfm::helpContext},
        {"bmcx", [](QWidget*) { Windows::showOrActivate<Tbmcxfm>(); }, Tbmcxfm::helpContext},
        {"N12", [](QWidget*) { openMaximised(Windows::showOrActivate<TFormtsbmjs>()); }},
        {"jscl", [](QWidget*) { Windows::showOrActivate<Tjsclfm>(); }, Tjsclfm::helpContext},
        {"yjtscx", [](QWidget*) { Windows::showOrActivate<Tjsclcxfm>(); }},
        // Screens the setup flow and cataloguing open by class name.
        {"TFormtsflsz", [](QWidget* parent) { Windows::runModal(new TFormtsflsz(parent)); }, 0,
         false},
        {"Ttssglfm", [](QWidget*) { Windows::showOrActivate<Ttssglfm>(); }, Ttssglfm::helpContext,
         false},
    };
    return table;
}
