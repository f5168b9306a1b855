#include "desk/cardrecord.h"

#include "data/sql.h"

std::optional<CardRecord> CardRecords::find(const QString& number)
{
    Sql q("select * from cardk where kno=:kno");
    q.bind(number).exec();
    if (!q.first())
        return std::nullopt;
    return fromRow(q);
}

CardRecord CardRecords::fromRow(const Sql& row)
{
    CardRecord card;
    card.number = row.text("kno");
    card.grade = row.text("kdj");
    card.cardType = row.text("km");
    card.name = row.text("dzm");
    card.identity = row.text("sfzh");
    card.address = row.text("dz");
    card.telephone = row.text("tel");
    card.workUnit = row.text("gzdw");
    card.issued = row.date("bkrq");
    card.validUntil = row.date("yxrq");
    card.deposit = row.money("yj");
    card.photoPath = row.text("strpath");
    return card;
}
