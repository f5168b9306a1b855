#include "catalogue/cataloguecommands.h"

#include "catalogue/ljmbsz.h"
#include "catalogue/bztsflm.h"
#include "catalogue/dzjs.h"
#include "catalogue/tsbm.h"
#include "catalogue/tsflsz.h"
#include "catalogue/tssgl.h"
#include "catalogue/xgccd.h"
#include "ui/windows.h"

const QList<Commands::Entry>& catalogueCommands()
{
    static const QList<Commands::Entry> table{
        {"tsbm", [](QWidget*) { Windows::showOrActivate<Ttsbmfm>(); }, Ttsbmfm::helpContext},
        {"ljmb", [](QWidget* parent) { Windows::runModal(new Tljmbszfm(parent)); },
         Tljmbszfm::helpContext},
        {"N9", [](QWidget*) { Windows::showOrActivate<Tdzjsfm>(); }, Tdzjsfm::helpContext},
        {"bztsfl", [](QWidget* parent) { Windows::runModal(new Tbztsflmfm(parent)); }},
        {"gbccd", [](QWidget*) { Windows::showOrActivate<Tgbccdfm>(); }, Tgbccdfm::helpContext},
        // Screens the setup flow and cataloguing open by class name.
        {"TFormtsflsz", [](QWidget* parent) { Windows::runModal(new TFormtsflsz(parent)); }, 0,
         false},
        {"Ttssglfm", [](QWidget*) { Windows::showOrActivate<Ttssglfm>(); }, Ttssglfm::helpContext,
         false},
    };
    return table;
}
