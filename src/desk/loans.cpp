#include "desk/loans.h"

#include "data/clock.h"
#include "data/session.h"
#include "data/sql.h"
#include "desk/bookstate.h"
#include "desk/copies.h"
#include "desk/refused.h"

#include <QSet>

namespace {
const char* const lendingCaption = "借书提示";

Match matchOf(Sql& q, const QString& column)
{
    Match match;
    if (!q.next())
        return match;
    match.kind = Match::One;
    match.key = q.text(column);
    while (q.next()) {
        if (q.text(column) != match.key) {
            match.kind = Match::Several;
            match.key.clear();
            break;
        }
    }
    return match;
}

// A title fragment an index answers exactly: no wildcard of `like` in it (those keep their
// meaning and go to the plain scan); two characters go to the pair table, three or more
// to the trigram index.
int indexableLength(const QString& text)
{
    if (text.contains(QChar('%')) || text.contains(QChar('_')))
        return 0;
    return int(text.toUcs4().size());
}

// The index's query for the fragment as one phrase (a double quote inside is doubled).
QString phrase(const QString& text)
{
    QString quoted = text;
    quoted.replace(QChar('"'), QLatin1String("\"\""));
    return QChar('"') + quoted + QChar('"');
}

bool hasTable(const char* name)
{
    return !Sql::scalar("select name from sqlite_master where name=:name", {QString(name)})
                .isNull();
}

// Titles whose barcode begins with the text or whose title contains it. An index only
// narrows the rows; the `like` on the title decides, so the rows are the same as the
// plain statement's.
Listing bookMatches(const QString& text, const QString& tail)
{
    const int length = indexableLength(text);
    if (length >= 3 && Loans::hasTitleIndex())
        return {"select * from tszk where (txm like :txm) or (rowid in (select rowid from "
                "tszk_title where tszk_title match :phrase) and tsmc like :tsmc)" +
                    tail,
                {text + "%", phrase(text), "%" + text + "%"}};
    // The pairs are walked in the index and each title read once: the rows stream, so a
    // fragment in half the catalogue still answers its first rows at once.
    if (length == 2 && hasTable("tszk_bigram"))
        return {"select * from tszk where txm like :txm union all "
                "select tszk.* from tszk_bigram cross join tszk "
                "where tszk_bigram.gram=:gram and tszk.rowid=tszk_bigram.book "
                "and tszk.tsmc like :tsmc and not (tszk.txm like :txm2)" +
                    tail,
                {text + "%", text, "%" + text + "%", text + "%"}};
    return {"select * from tszk where (txm like:txm) or (tsmc like:tsmc)" + tail,
            {text + "%", "%" + text + "%"}};
}

Match run(const Listing& listing, const QString& column)
{
    Sql q(listing.statement);
    q.bindAll(listing.values).exec();
    return matchOf(q, column);
}
} // namespace

Match Loans::findCards(const QString& prefix)
{
    if (prefix.isEmpty())
        throw Refused(lendingCaption, "您必须输入读者的借阅卡号才能登记该读者的借书！", "Edit1");
    const Match match =
        run({"select kno from cardk where (sfyx=\"Y\") and Kno like:Kno limit 2", {prefix + "%"}},
            "kno");
    if (match.kind == Match::None)
        throw Refused(lendingCaption, "没有该读者的借书证号！", "Edit1");
    return match;
}

Match Loans::findAllCards()
{
    const Match match = run({"select kno from cardk where (sfyx=\"Y\") limit 2", {}}, "kno");
    if (match.kind == Match::None)
        throw Refused(lendingCaption, "没有该读者的借书证号！", "Edit1");
    return match;
}

Listing Loans::validCards(const QString& prefix)
{
    if (prefix.isNull())
        return {"select * from cardk where (sfyx=\"Y\") order by kno", {}};
    return {"select * from cardk where (sfyx=\"Y\") and Kno like:Kno order by kno", {prefix + "%"}};
}

Reader Loans::acceptCard(const QString& number)
{
    Sql card("select * from cardk where kno=:kno");
    card.bind(number).exec();
    if (!card.first())
        throw Refused(lendingCaption, "没有该读者的借书证号！", "Edit1");
    Reader reader;
    reader.number = card.text("kno");
    reader.name = card.text("dzm");
    reader.grade = card.text("kdj");
    reader.cardType = card.text("km");
    reader.photoPath = card.text("strpath");
    reader.validUntil = card.date("yxrq");

    if (!Sql::scalar("select kno from gsb where kno= :kno  and gsbz= :gsbz", {number, "是"})
             .isNull())
        throw Refused::plain("此借书证已经挂失,不能借书", "Edit1");

    Sql grade("select yjsbs from jykdjk where kdj=:kdj and km=:km");
    grade.bind(reader.grade).bind(reader.cardType).exec();
    if (!grade.first())
        throw Refused::plain("借书等级还没有设置好！");
    reader.maxBooks = grade.integer("yjsbs");
    return reader;
}

Listing Loans::openLoans(const QString& cardNumber)
{
    return {"select dzjsmxk.Kno,dzjsmxk.txm,tsmc,jsrq from dzjsmxk,tszk "
            "where dzjsmxk.txm=tszk.txm and (hsjsr=\"\") and dzjsmxk.Kno=:kno",
            {cardNumber}};
}

int Loans::openLoanCount(const QString& cardNumber)
{
    return Sql::scalar("select count(*) as expr1001 from dzjsmxk,tszk "
                       "where dzjsmxk.txm=tszk.txm and (hsjsr=\"\") and dzjsmxk.Kno=:kno",
                       {cardNumber})
        .toInt();
}

Match Loans::findBooks(const QString& text)
{
    const Match match = run(bookMatches(text, " limit 2"), "txm");
    if (match.kind == Match::None)
        throw Refused(lendingCaption, "您输入的条形码不存在，请确定后重新输入。", "Edit2");
    return match;
}

Match Loans::findAllBooks()
{
    const Match match = run({"select txm from tszk limit 2", {}}, "txm");
    if (match.kind == Match::None)
        throw Refused(lendingCaption, "您输入的条形码不存在，请确定后重新输入。", "Edit2");
    return match;
}

Listing Loans::matchingBooks(const QString& text)
{
    if (text.isNull())
        return {"select * from tszk ", {}};
    return bookMatches(text, QString());
}

LoanBook Loans::acceptBook(const Reader& reader, const QString& barcode, Route route)
{
    const bool typed = route == Route::Typed;
    if (openLoanCount(reader.number) >= reader.maxBooks)
        throw Refused("提示",
                      typed ? "您所借图书数已达到允许的借书数\n该读者不能再借其他图书。"
                            : "您所借图书数以达到允许的借书数\n该读者不能再借其他图书。",
                      typed ? "Edit2" : "Edit1");
    if (Copies::free(barcode) <= 0)
        throw Refused("提示", typed ? "图书总库中该图书已被借完！" : "图书总库中该图书已被出借！",
                      "Edit2");
    Sql q("select txm,tsmc,tsjg from tszk where txm=:txm");
    q.bind(barcode).exec();
    q.first();
    LoanBook book;
    book.barcode = q.text("txm");
    book.title = q.text("tsmc");
    book.hasPrice = !q.isNull("tsjg");
    book.price = q.money("tsjg");
    return book;
}

namespace {
// What card entry and book entry accepted, read again under the write lock: another
// desk (or another screen) may have lent the last copy, deleted the title, withdrawn or
// reported the card lost since. Each refusal is the entry check's own notice.
void recheckForLending(const QString& cardNumber, const QString& barcode)
{
    if (Sql::scalar("select kno from cardk where (sfyx=\"Y\") and Kno=:Kno", {cardNumber}).isNull())
        throw Refused(lendingCaption, "没有该读者的借书证号！", "Edit1");
    const Reader reader = Loans::acceptCard(cardNumber);
    if (Sql::scalar("select txm from tszk where txm=:txm", {barcode}).isNull())
        throw Refused(lendingCaption, "您输入的条形码不存在，请确定后重新输入。", "Edit2");
    Loans::acceptBook(reader, barcode, Loans::Route::Typed);
}
} // namespace

Loan Loans::lend(const QString& cardNumber, const QString& barcode)
{
    Transaction transaction;
    Transaction::beginWriting();
    const QDate today = Clock::today();
    if (Sql::scalar("select count(*) as expr1001 from cardk where yxrq<:yxrq1 and kno= :kno1",
                    {today, cardNumber})
            .toInt() > 0)
        throw Refused::plain("您的借阅证到期了，请充值才能使用！");
    if (!Sql::scalar("select iid from dzjsmxk where (kno=:tj)and(txm=:tj1)and(hsjsr=\"\")",
                     {cardNumber, barcode})
             .isNull())
        throw Refused::notice("读者已借此书!", "Edit2");
    if (!Sql::scalar("select iid from dzjsmxk where (kno=:tj)and(txm=:tj1)and(hsrq=:tj2)",
                     {cardNumber, barcode, today})
             .isNull())
        throw Refused::notice("读者今天借过此书!", "Edit2");

    Sql period("select jyqx from  jykdjk where kdj=(select kdj from cardk where kno=:kno)");
    period.bind(cardNumber).exec();
    if (!period.first())
        throw Refused::plain("系统借书证等级还没有设置好！");
    recheckForLending(cardNumber, barcode);
    Loan loan;
    loan.lent = today;
    loan.due = today.addDays(period.integer("jyqx"));

    Sql insert("insert into dzjsmxk(kno,txm,jsrq,jsjsr,hsrq,hsjsr,sfsh,xjcs) "
               "values(:kno,:txm,:jsrq,:jsjsr,:hsrq,:hsjsr,:sfsh,:xjcs)");
    insert.bind(cardNumber)
        .bind(barcode)
        .bind(today)
        .bind(Session::current().name)
        .bind(loan.due)
        .bind(QString())
        .bind("N")
        .bind(0);
    try {
        insert.exec();
    } catch (const StoreError& e) {
        // The store keeps one open loan per card and title.
        if (e.message().contains("UNIQUE", Qt::CaseInsensitive))
            throw Refused("保存提示", "读者已借了此书！", "Edit2");
        throw;
    }
    loan.id = insert.lastInsertId().toLongLong();
    // A new card's count is blank: its first loan makes it 1.
    Sql::run("update cardk set jsbs=coalesce(jsbs,0)+1 where Kno=:Kno", {cardNumber});
    Sql::run("update tszk set jcs=coalesce(jcs,0)+1 where txm=:txm", {barcode});
    BookState::settle(barcode);
    transaction.commit();
    return loan;
}

bool Loans::hasTitleIndex()
{
    return hasTable("tszk_title");
}
