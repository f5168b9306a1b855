#pragma once

#include <QList>
#include <QString>

// The desks (running copies of the program) that have this library open. Each program
// enters when it has logged in, refreshes its row while it runs and leaves when it
// exits; the row of a program that crashed goes stale (its process is gone, or it has
// not been seen for a while) and no longer counts. Exclusive work — restore and
// initialisation — refuses while another desk is in.
namespace Desks {
// A desk that has not refreshed its row for this long is taken to have crashed.
inline constexpr int staleAfterSeconds = 90;
// How often a running desk refreshes its row.
inline constexpr int refreshSeconds = 30;

struct Desk {
    QString computer;
    QString operatorName;
    QString since; // yyyy-MM-dd hh:mm
};

// Registers this program (computer, process, operator, now). Entering again replaces
// this program's earlier row.
void enter(const QString& operatorName);
// Marks this program's row as seen now; enters again when the row is gone (a restore
// brought back a library without it).
void refresh();
// Removes this program's row.
void leave();
// The other desks in the library now; stale rows are removed on the way.
QList<Desk> others();
// "电脑 A（操作员 X）… 正在使用本馆数据，请先退出" for the other desks, or empty when
// this is the only one.
QString othersInNotice();
// Throws Refused with othersInNotice() while another desk is in.
void refuseWhileOthersIn();
} // namespace Desks
