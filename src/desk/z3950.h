#pragma once

#include "desk/marc.h"

#include <QList>
#include <QString>

#include <atomic>

// Copy cataloguing: searching union catalogues over Z39.50 (YAZ's ZOOM client).
struct Z3950Target {
    qint64 id = 0;
    QString name;
    QString host;
    int port = 210;
    QString database;
    QString syntax = "UNIMARC"; // or "USMARC" (MARC 21)
    QString charset = "GBK";    // of the records' text
    bool enabled = true;
};

struct Z3950Query {
    enum class Field { Isbn, Title, Author };
    Field field = Field::Title;
    QString text;

    // The query in YAZ's prefix notation (Bib-1 use attributes: ISBN 7, title 4, author
    // 1003); typed text is quoted, never pasted as notation. Empty when there is nothing to
    // search for (an ISBN that is none).
    QString pqf() const;
};

struct Z3950Answer {
    QString target;
    QList<CatalogueRecord> records;
    int found = 0; // hits the target reported (more than the records fetched)
    QString error; // empty when the target answered
};

namespace Z3950 {
// Searches one target; blocks up to `timeoutSeconds` for each exchange. Safe to call on
// a worker thread. `cancelled` is looked at between records.
Z3950Answer search(const Z3950Target& target, const Z3950Query& query, int timeoutSeconds,
                   int maxRecords = 20, const std::atomic_bool* cancelled = nullptr);

// The targets of the store (`ljmbk`), in name order.
QList<Z3950Target> targets(bool enabledOnly);
// Saves a target (a new one when its id is 0) and returns its id; refuses a target without
// a name or host, or with a port outside 1…65535.
qint64 saveTarget(const Z3950Target& target);
void removeTarget(qint64 id);
} // namespace Z3950
