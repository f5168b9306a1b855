#include "ui/commands.h"

#include "data/session.h"
#include "data/sql.h"
#include "ui/messages.h"

#include <QHash>

namespace {
QHash<QString, Commands::Entry>& table()
{
    static QHash<QString, Commands::Entry> t;
    return t;
}
} // namespace

void Commands::add(const QList<Entry>& entries)
{
    for (const Entry& entry : entries)
        table().insert(QString::fromUtf8(entry.key), entry);
}

void Commands::add(const QString& key, Opener opener, int helpContext, bool gated)
{
    Entry entry{nullptr, std::move(opener), helpContext, gated};
    table().insert(key, entry);
}

bool Commands::has(const QString& key)
{
    return table().contains(key);
}

int Commands::helpContext(const QString& key)
{
    return table().value(key).helpContext;
}

QStringList Commands::keys()
{
    return table().keys();
}

namespace {
// Keys of the rights catalogue; other keys (screen class names) open screens that the
// setup flow or another screen reaches without a grant of their own.
bool isGrantKey(const QString& key)
{
    try {
        return Sql::scalar("select count(*) as expr1001 from funk where ownerename=:a", {key})
                       .toInt() +
                   Sql::scalar("select count(*) as expr1001 from subfunk where funcename=:b", {key})
                       .toInt() >
               0;
    } catch (const StoreError&) {
        return true;
    }
}
} // namespace

bool Commands::open(const QString& key, QWidget* parent, const QString& refusal)
{
    const auto it = table().constFind(key);
    const bool gated = (it == table().constEnd() || it->gated) && isGrantKey(key);
    if (gated && !Session::current().holds(key)) {
        Messages::plain(parent, refusal.isEmpty() ? QString::fromUtf8(refusedText) : refusal);
        return false;
    }
    if (it == table().constEnd()) {
        Messages::notice(parent, QString::fromUtf8("提示信息"),
                         QString::fromUtf8(notInstalledText));
        return false;
    }
    it->open(parent);
    return true;
}

void Commands::clear()
{
    table().clear();
}
