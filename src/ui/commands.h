#pragma once

#include <QList>
#include <QString>
#include <functional>

class QWidget;

// Every command key (the grant key of a menu entry, e.g. "blxk") maps to what it opens.
// Each screen folder keeps one table of its commands and registers it at start-up; the
// main window, the side bar and the setup flow open commands only through here, and the
// gate is here too: a gated command opens only for an operator who holds its grant.
namespace Commands {
using Opener = std::function<void(QWidget* parent)>;

struct Entry {
    const char* key;
    Opener open;
    int helpContext = 0; // the screen's help page, 0 when it has none
    bool gated = true;   // false for the help menu's entries, which every operator has
};

inline constexpr const char* notInstalledText = "该功能尚未安装。";
inline constexpr const char* refusedText = "您没有此操作权限";

void add(const QList<Entry>& table);
void add(const QString& key, Opener opener, int helpContext = 0, bool gated = true);
bool has(const QString& key);
int helpContext(const QString& key);
QStringList keys();

// Opens the command: an operator without its grant is told `refusal` (a plain message);
// a key with nothing registered says "该功能尚未安装。". True when it opened.
bool open(const QString& key, QWidget* parent, const QString& refusal = QString());
void clear(); // tests
} // namespace Commands
