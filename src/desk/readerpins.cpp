#include "desk/readerpins.h"

#include "data/passwords.h"
#include "data/sql.h"
#include "desk/refused.h"

#include <QRandomGenerator>

namespace {
constexpr const char* caption = "提示信息";

struct PinRow {
    bool exists = false;
    QString hash;
    bool mustChange = false;
    int failures = 0;
    QDateTime lockedUntil;
};

PinRow pinRow(const QString& card)
{
    Sql q("select mmhash, xgbz, sbcs, sdsj from dzmmk where kno=:kno");
    q.bind(card).exec();
    PinRow row;
    if (!q.first())
        return row;
    row.exists = true;
    row.hash = q.text("mmhash");
    row.mustChange = q.text("xgbz") == QLatin1String("Y");
    row.failures = q.integer("sbcs");
    row.lockedUntil = QDateTime::fromString(q.text("sdsj"), Qt::ISODate);
    row.lockedUntil.setTimeSpec(Qt::UTC);
    return row;
}

void store(const QString& card, const QString& hash, bool mustChange)
{
    Sql::run("delete from dzmmk where kno=:kno", {card});
    Sql::run("insert into dzmmk(kno,mmhash,xgbz,sbcs,sdsj) values(:a,:b,:c,0,:d)",
             {card, hash, mustChange ? "Y" : "N", QString()});
}

void recordFailures(const QString& card, const PinRow& row, int failures, const QDateTime& lock)
{
    if (!row.exists)
        Sql::run(
            "insert into dzmmk(kno,mmhash,xgbz,sbcs,sdsj) values(:a,:b,:c,:d,:e)",
            {card, QString(), "Y", failures, lock.isValid() ? lock.toString(Qt::ISODate) : ""});
    else
        Sql::run("update dzmmk set sbcs=:a, sdsj=:b where kno=:kno",
                 {failures, lock.isValid() ? lock.toString(Qt::ISODate) : QString(), card});
}

QString identityOf(const QString& card)
{
    return Sql::scalar("select sfzh from cardk where kno=:kno", {card}).toString().trimmed();
}

// The first PIN the identity number gives, or empty when the card has none long enough.
QString identityPin(const QString& card)
{
    const QString identity = identityOf(card);
    return identity.size() >= ReaderPins::minimumLength ? identity.right(ReaderPins::minimumLength)
                                                        : QString();
}

bool verifies(const QString& card, const PinRow& row, const QString& pin)
{
    if (row.exists && !row.hash.isEmpty())
        return Passwords::verify(row.hash, pin);
    const QString first = identityPin(card);
    return !first.isEmpty() && pin == first;
}
} // namespace

bool ReaderPins::cardUsable(const QString& card)
{
    if (Sql::scalar("select kno from cardk where kno=:kno and sfyx=\"Y\"", {card}).isNull())
        return false;
    return Sql::scalar("select kno from gsb where kno= :kno  and gsbz= :gsbz", {card, "是"})
        .isNull();
}

ReaderPins::SignIn ReaderPins::signIn(const QString& card, const QString& pin, const QDateTime& now)
{
    SignIn result;
    if (Sql::scalar("select kno from cardk where kno=:kno", {card}).isNull())
        return result; // Wrong: an unknown number reads like a wrong PIN
    if (!cardUsable(card)) {
        result.kind = SignIn::Kind::CardBarred;
        return result;
    }
    const PinRow row = pinRow(card);
    if (row.lockedUntil.isValid() && row.lockedUntil > now) {
        result.kind = SignIn::Kind::Locked;
        result.lockedUntil = row.lockedUntil;
        return result;
    }
    if (!(row.exists && !row.hash.isEmpty()) && identityPin(card).isEmpty()) {
        result.kind = SignIn::Kind::NoPin;
        return result;
    }
    if (!verifies(card, row, pin)) {
        const int failures = (row.lockedUntil.isValid() ? 0 : row.failures) + 1;
        if (failures >= maxFailures) {
            result.kind = SignIn::Kind::Locked;
            result.lockedUntil = now.addSecs(lockMinutes * 60);
            recordFailures(card, row, 0, result.lockedUntil);
        } else {
            recordFailures(card, row, failures, QDateTime());
        }
        return result;
    }
    if (row.exists && (row.failures > 0 || row.lockedUntil.isValid()))
        Sql::run("update dzmmk set sbcs=0, sdsj=null where kno=:kno", {card});
    const bool first = !row.exists || row.hash.isEmpty() || row.mustChange;
    result.kind = first ? SignIn::Kind::MustChange : SignIn::Kind::Accepted;
    return result;
}

void ReaderPins::change(const QString& card, const QString& currentPin, const QString& newPin)
{
    const PinRow row = pinRow(card);
    if (!verifies(card, row, currentPin))
        throw Refused(caption, "原密码不对！", "current");
    if (newPin.size() < minimumLength)
        throw Refused(caption, "新密码至少要6位！", "pin");
    if (newPin == identityPin(card) || newPin == currentPin)
        throw Refused(caption, "新密码不能和初始密码相同！", "pin");
    store(card, Passwords::hash(newPin), false);
}

QString ReaderPins::reset(const QString& card)
{
    if (Sql::scalar("select kno from cardk where kno=:kno", {card}).isNull())
        throw Refused(caption, "没有该借书证号！", "Edit1");
    QString pin = identityPin(card);
    if (pin.isEmpty()) {
        for (int i = 0; i < minimumLength; ++i)
            pin += QChar('0' + QRandomGenerator::system()->bounded(10));
        store(card, Passwords::hash(pin), true);
    } else {
        Sql::run("delete from dzmmk where kno=:kno", {card});
    }
    return pin;
}
