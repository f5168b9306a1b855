#pragma once

#include "desk/ask.h"
#include "desk/loans.h"

#include <QString>

#include <functional>
#include <optional>

// The two-level classification scheme: pairs in `tsflm` (one row per second-level
// class) and the tree in `bmdyb` (a root node per first-level code, a child node per
// second-level code). Saving and deleting pairs keeps the tree in step with the pairs.
struct ClassPair {
    QString firstCode;  // dldm, at most 2 characters
    QString firstName;  // dlmc
    QString secondCode; // mxldm, at most 8 characters
    QString secondName; // mxlmc
};

namespace Classification {
inline constexpr int firstCodeLength = 2;
inline constexpr int secondCodeLength = 8;
inline constexpr const char* listStatement = "select * from tsflm order by iid";
inline constexpr const char* incompleteText = "请您填写完整的信息";
inline constexpr const char* nothingToDeleteText = "没有您需要删除的数据！";

// Stores the pair (base class "aa") and adds the nodes its codes do not have yet: a root
// node for the first-level code, a child node under it for the second-level code. A code
// that is already a node id, at either level, gets no second node. Refuses an incomplete
// pair (plain message naming the first empty box: Edit1..Edit4).
void save(const ClassPair& pair);

// Deletes the pair with this iid after the question "您确定要删除此条记录吗？"
// (ActionCancelled on No), then every node whose code no pair uses any more.
// Refuses when there is no such pair.
void remove(qint64 iid, const Ask& ask);

// The first-level name stored with a first-level code, or empty.
QString firstLevelName(const QString& code);

// A national-standard pair: stored as typed (codes upper case), without tree nodes.
struct StandardPair {
    QString baseClass; // jlm
    QString firstCode;
    QString firstName;
    QString secondCode;
    QString secondName;
};
inline constexpr const char* standardIncompleteText = "您的信息输入不完全，请确定后重新输入。";
// Refuses (caption "提示", box Jlm) when any part is empty.
void addStandard(const StandardPair& pair);

// The rows of the national-standard query: the base class, first-level name,
// second-level code and second-level name are contained in their columns, the
// first-level code matches exactly; empty parts are left out. Only rows with a base class.
// Without conditions, every row.
Listing standardRows(const std::optional<StandardPair>& conditions = std::nullopt);

// A cell of a national-standard row corrected in the query grid (`column` one of jlm, dldm,
// dlmc, mxldm, mxlmc; codes upper case). The rows of the classification settings (base
// class "aa") carry tree nodes and are corrected there: they are refused here.
void correctStandard(qint64 iid, const QString& column, const QString& text);
} // namespace Classification
using StandardPair = Classification::StandardPair;
