#include "desk/disposal.h"

#include "data/clock.h"
#include "data/money.h"
#include "data/session.h"
#include "data/sql.h"
#include "desk/bookstate.h"
#include "desk/ledger.h"
#include "desk/refused.h"

std::optional<int> Disposal::quantity(const QString& typed)
{
    bool ok = false;
    const int value = typed.trimmed().toInt(&ok);
    if (!ok || value < 1 || value > 32767)
        return std::nullopt;
    return value;
}

Disposal::Outcome Disposal::dispose(const DisposalRequest& r)
{
    Transaction::beginWriting(); // every check below is read again under the write lock
    // 1. The amount: empty is nothing received; a scrapped book never brings money in.
    const bool selling = r.method == sale;
    Money amount;
    if (!r.amount.trimmed().isEmpty()) {
        bool ok = false;
        amount = Money::fromText(r.amount, &ok);
        if (!ok || amount < Money())
            throw Refused::plain("金额格式不对", "Edit4");
    }
    if (!selling)
        amount = Money();
    // 2.-5. The boxes that must be filled in.
    if (r.barcode.isEmpty())
        throw Refused(caption, "您必须输入被处理的图书的条形码后，才能处理该图书。", "Edit1");
    if (r.quantity.trimmed().isEmpty())
        throw Refused(caption, "您必须输入处理该图书的数量后，才能处理该图书。", "Edit3");
    const std::optional<int> q = quantity(r.quantity);
    if (!q)
        throw Refused("提示", notANumberText, "Edit3");
    if (r.method.isEmpty())
        throw Refused(caption, "您必须输入处理图书的处理方式后，才能处理该图书。", "ComboBox1");
    if (r.method != scrap && !selling)
        throw Refused(caption, "您必须输入处理图书的处理方式后，才能处理该图书。", "ComboBox1");
    if (selling && r.amount.trimmed().isEmpty())
        throw Refused(caption, "请输入处理金额。", "Edit4");

    // 6.-7. The copies as they are now.
    Sql copies("select jcs,bs from tszk where txm=:txm");
    copies.bind(r.barcode).exec();
    if (!copies.next())
        throw Refused(caption, "没有查找到此条形码。", "Edit1");
    const int held = copies.integer("bs");
    const int lent = copies.integer("jcs");
    if (held < *q)
        return {false, QString("图书总库的书只有%1\n,不够处理，请重输！").arg(held)};
    if (held - lent < *q)
        return {false,
                QString("该书现有%1,已借出%2\n不够处理，请重输！").arg(held - lent).arg(lent)};

    // 8. One disposal row per barcode.
    if (Sql::scalar("select count(*) from jsclk where txm=:txm", {r.barcode}).toInt() > 0)
        throw Refused::plain("已处理旧书存在此条形码，不能处理", "Edit1");
    Sql("insert into jsclk(txm,tsmc,clfs,clbs,clje,clrq,cljsr,bz) "
        "values(:tj0,:tj1,:tj2,:tj3,:tj4,:tj5,:tj6,:tj7)")
        .bind(r.barcode)
        .bind(r.title)
        .bind(r.method)
        .bind(*q)
        .bind(amount)
        .bind(Clock::today())
        .bind(Session::current().name)
        .bind(r.remark)
        .exec();
    // 9. The sale's money.
    if (!amount.isZero())
        Ledger::income(amount, Ledger::Reason::discountedSale);
    // 10. The last copies take the title with them; that is no catalogue delete, so
    // nothing is reversed in the ledger.
    if (*q == held && lent == 0) {
        Sql("delete FROM tszk where txm=:txm").bind(r.barcode).exec();
    } else {
        Sql("update tszk set bs=bs-:q where txm=:txm").bind(*q).bind(r.barcode).exec();
        BookState::settle(r.barcode);
    }
    return {true, QString()};
}

QString Disposal::Selection::statement() const
{
    QString s = "select jsclk.txm,coalesce(jsclk.tsmc,tszk.tsmc) as tsmc,jsclk.clfs,jsclk.clrq,"
                "jsclk.clbs,jsclk.clje,jsclk.cljsr,jsclk.bz,tszk.pyzjh "
                "from jsclk left join tszk on jsclk.txm=tszk.txm "
                " where (jsclk.txm like :txm1 or coalesce(jsclk.tsmc,tszk.tsmc) like :tsmc1 "
                "or tszk.pyzjh like :pyzjh)";
    if (from.isValid())
        s += to.isValid() ? " and (jsclk.clrq>=:tj1) and (jsclk.clrq<=:tj2)"
                          : " and jsclk.clrq=:tj0";
    return s;
}

QVariantList Disposal::Selection::values() const
{
    const QString prefix = text + "%";
    QVariantList v{prefix, prefix, prefix};
    if (from.isValid()) {
        v << from;
        if (to.isValid())
            v << to;
    }
    return v;
}
