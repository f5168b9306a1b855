#include "ui/commands.h"

#include <QHash>

namespace {
QHash<QString, Commands::Opener>& table()
{
    static QHash<QString, Commands::Opener> t;
    return t;
}
} // namespace

void Commands::add(const QString& key, Opener opener)
{
    table().insert(key, std::move(opener));
}

bool Commands::has(const QString& key)
{
    return table().contains(key);
}

bool Commands::open(const QString& key, QWidget* parent)
{
    const auto it = table().constFind(key);
    if (it == table().constEnd())
        return false;
    (*it)(parent);
    return true;
}

void Commands::clear()
{
    table().clear();
}
