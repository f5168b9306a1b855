#pragma once

#include <QDate>
#include <QString>
#include <QVariantList>

// The periodicals register `zzqk`: one row per issue of a magazine, journal or newspaper
// that has arrived in the reading room.
struct PeriodicalEntry {
    QString name;      // Edit1
    QString mnemonic;  // Edit7, stored upper-cased
    QString type;      // ComboBox1: 杂志, 期刊 or 报纸 (or typed)
    QString issue;     // Edit2
    QString date;      // Edit3, as typed
    QString publisher; // Edit4
    QString remarks;   // Memo1
};

// One registered issue as the look-ups read it.
struct Periodical {
    qint64 id = 0; // iid
    QString name;
    QString issue;
    QString type;
    QDate date;
    QString publisher;
    QString mnemonic;
};

// A statement with its values, for the grids that show a result lazily.
struct Selection {
    QString statement;
    QVariantList values;
};

namespace Periodicals {
inline constexpr const char* types[] = {"杂志", "期刊", "报纸"};

// The mnemonic of a name or publisher: pinyin initials of the trimmed text, upper case;
// empty when the text does not begin with a Chinese character.
QString mnemonicOf(const QString& text);

// Registers one issue: refuses a missing field or a date that is not one, adds the
// publisher to `cbsxxk` when no publisher of that name is known, then the issue.
// Call inside one action; both rows are written or neither.
void registerIssue(const PeriodicalEntry& entry);

// The register query of the query dialog: type, mnemonic and publisher prefixes
// (an empty box matches everything), in registration order.
Selection registerQuery(const QString& type, const QString& mnemonic, const QString& publisher);
// The whole register as exported, whatever the conditions.
inline constexpr const char* exportStatement =
    "select lx as 类型,mc as 名称,kh as 刊号,cbrq as 出版日期,cbsmc as 出版社名称 from zzqk  "
    "order by lx";

// The issues of a type whose mnemonic begins with the prefix (case-sensitive).
// Refuses an empty type with "类型不能为空！".
Selection matching(const QString& type, const QString& mnemonicPrefix);
// How many rows a selection has, counting no further than `limit`.
int countUpTo(const Selection& selection, int limit);
// The first row of a selection of register rows, or an empty Periodical.
Periodical first(const Selection& selection);
Periodical byId(qint64 id);
} // namespace Periodicals
