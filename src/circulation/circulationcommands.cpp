#include "circulation/circulationcommands.h"

#include "circulation/dzhsdj.h"
#include "circulation/dzjsdj.h"
#include "circulation/dzjycx.h"
#include "circulation/xssj.h"
#include "circulation/yqfkdj.h"
#include "circulation/yqwhs.h"
#include "ui/windows.h"

const QList<Commands::Entry>& circulationCommands()
{
    static const QList<Commands::Entry> table{
        {"dzjsdj", [](QWidget*) { Windows::showOrActivate<Tdzjsdjfm>(); }, Tdzjsdjfm::helpContext},
        {"dzhsdj", [](QWidget*) { Windows::showOrActivate<Tdzhsdjfm>(); }, Tdzhsdjfm::helpContext},
        {"yqfkdj", [](QWidget* parent) { Windows::runModal(new Tyqfkdjfm(parent)); },
         Tyqfkdjfm::helpContext},
        {"dzjycx", [](QWidget*) { Tdzjycxfm::open(); }, Tdzjycxfm::helpContext},
        {"N10", [](QWidget*) { Windows::showOrActivate<TFormyqwhs>(); }},
        {"xssj", [](QWidget*) { Windows::showOrActivate<Txssjfm>(); }, Txssjfm::helpContext},
    };
    return table;
}
