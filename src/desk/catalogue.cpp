#include "desk/catalogue.h"

#include "data/clock.h"
#include "data/dates.h"
#include "data/log.h"
#include "data/pinyin.h"
#include "data/session.h"
#include "data/sql.h"
#include "desk/bookstate.h"
#include "desk/ledger.h"
#include "desk/refused.h"

#include <QVariant>

namespace {
constexpr const char* hint = "提示";
constexpr const char* saveCaption = "保存提示";
constexpr const char* deleteCaption = "删除提示";
constexpr int smallIntegerMax = 32767;

struct StateName {
    const char* words;
    const char* code;
};
constexpr StateName stateNames[] = {
    {"图书未出借", "W"}, {"图书被丢失", "D"}, {"图书被出借", "C"}, {"图书被处理", "L"}};

// A whole number typed into a box, within the range of a small-integer column.
std::optional<int> wholeNumber(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 0 || value > smallIntegerMax)
        return std::nullopt;
    return value;
}

// An optional number box: empty is null, anything else must be a whole number.
QVariant optionalWhole(const QString& text, const char* refusal, const char* box)
{
    if (text.trimmed().isEmpty())
        return QVariant();
    const std::optional<int> value = wholeNumber(text);
    if (!value)
        throw Refused(hint, refusal, box);
    return *value;
}

// The numbers and the date of the entry, read and checked once.
struct Figures {
    QVariant pages;
    std::optional<Money> price; // none when the box is empty
    QVariant copies;
    QVariant sets;
    QVariant illustrations;
    QVariant published; // QDate or null
};

Figures readFigures(const CatalogueEntry& e)
{
    Figures f;
    f.pages = optionalWhole(e.pages, "图书的页码必须是整数，请重新输入！", "DBEdit20");
    if (!e.price.trimmed().isEmpty()) {
        bool ok = false;
        const Money price = Money::fromText(e.price, &ok);
        if (!ok || price < Money())
            throw Refused(hint, "图书的定价必须是数字，请重新输入！", "DBEdit23");
        f.price = price;
    }
    f.copies = optionalWhole(e.copies, "图书本数必须是整数，请重新输入！", "DBEdit25");
    f.sets = optionalWhole(e.sets, "图书套数必须是整数，请重新输入！", "DBEdit26");
    if (!e.published.trimmed().isEmpty()) {
        const QDate date = Dates::parse(e.published);
        if (!date.isValid())
            throw Refused(hint, "您输入的日期错误！请确定后重新输入。", "DBEdit6");
        f.published = date;
    }
    f.illustrations = optionalWhole(e.illustrations, "插图页数必须是整数，请重新输入！", "DBEdit4");
    return f;
}

void checkRequired(const CatalogueEntry& e)
{
    if (e.firstLevel.isEmpty())
        throw Refused::plain("所属分类不能为空！", "DBEdit1");
    if (e.title.isEmpty())
        throw Refused(hint, "您必须输入图书名称才能保存！", "DBEdit1");
    if (e.barcode.isEmpty())
        throw Refused(hint, "您必须输入图书条形码才能保存！", "DBEdit111");
    if (e.searchNumber.isEmpty())
        throw Refused(hint, "您必须输入图书检索号才能保存！", "DBEdit112");
    if (e.format.isEmpty())
        throw Refused(hint, "您必须输入该图书的开本才能保存！", "DBEdit19");
    if (e.pages.isEmpty())
        throw Refused(hint, "您必须输入图书的页码信息才能保存！", "DBEdit20");
    if (e.room.isEmpty())
        throw Refused(hint, "您必须输入图书收藏地点编号才能保存！", "ComboBox1");
}

QVariant moneyOrNull(const std::optional<Money>& amount)
{
    return amount ? QVariant(amount->toDouble()) : QVariant();
}

// What the store holds of a title for the money and the loans.
struct Stored {
    std::optional<Money> price;
    QVariant copies;
    int onLoan = 0;
};

std::optional<Stored> readStored(const QString& barcode)
{
    Sql q("select tsjg,bs,jcs from tszk where txm=:txm");
    q.bind(barcode).exec();
    if (!q.next())
        return std::nullopt;
    Stored s;
    if (!q.isNull("tsjg"))
        s.price = q.money("tsjg");
    if (!q.isNull("bs"))
        s.copies = q.integer("bs");
    s.onLoan = q.integer("jcs");
    return s;
}

void storePublisher(const QString& name, const NewPublisher& p)
{
    Sql("insert into cbsxxk(pyzjh,cbsmc,cbsdz,lxr,lxdh,yzbm,EMail) "
        "values(:t0,:t1,:t2,:t3,:t4,:t5,:t6)")
        .bind(Catalogue::mnemonic(name))
        .bind(name)
        .bind(p.address)
        .bind(p.contact)
        .bind(p.telephone)
        .bind(p.postcode)
        .bind(p.email)
        .exec();
}

QString damagedFlag(const CatalogueEntry& e)
{
    return e.damaged.isEmpty() ? QString("N") : e.damaged;
}

void insertTitle(const CatalogueEntry& e, const Figures& f)
{
    Sql("insert into tszk(txm,tsmc,pyzjh,tsjsh,xlm,fjch,bt,ztm,ftm,yz,zz,sjm,cbsmc,cbsj,tskb,"
        "tsym,tsbb,isbn,hbfh,tsjg,sfct,tsts,bzsy,flmc,mxflm,bs,jcs,tszt,sfsh,fsjh,scddbh,ctys,"
        "bmr,bmrq) values(:t0,:t1,:t2,:t3,:t4,:t5,:t6,:t7,:t8,:t9,:t10,:t11,:t12,:t13,:t14,"
        ":t15,:t16,:t17,:t18,:t19,:t20,:t21,:t22,:t23,:t24,:t25,:t26,:t27,:t28,:t29,:t30,:t31,"
        ":t32,:t33)")
        .bind(e.barcode)
        .bind(e.title)
        .bind(e.mnemonic.toUpper())
        .bind(e.searchNumber)
        .bind(e.series)
        .bind(e.volume)
        .bind(e.heading)
        .bind(e.mainTitle)
        .bind(e.subtitle)
        .bind(e.language)
        .bind(e.author)
        .bind(e.fourCorner)
        .bind(e.publisher)
        .bind(f.published)
        .bind(e.format)
        .bind(f.pages)
        .bind(e.edition)
        .bind(e.isbn)
        .bind(e.currency)
        .bind(moneyOrNull(f.price))
        .bind(e.setFlag)
        .bind(f.sets)
        .bind(e.standardIndex)
        .bind(e.firstLevel)
        .bind(e.secondLevel)
        .bind(f.copies)
        .bind(0)
        .bind(Catalogue::stateCode(e.state))
        .bind(damagedFlag(e))
        .bind(e.shelf)
        .bind(e.room)
        .bind(f.illustrations)
        .bind(Session::current().name)
        .bind(Clock::today())
        .exec();
}

// Writes the columns the screen edits; the copies on loan stay as stored. An empty
// language or an unknown state leaves the stored one.
void updateTitle(const QString& storedBarcode, const CatalogueEntry& e, const Figures& f)
{
    Sql("update tszk set txm=:t0,tsmc=:t1,pyzjh=:t2,tsjsh=:t3,xlm=:t4,fjch=:t5,bt=:t6,ztm=:t7,"
        "ftm=:t8,yz=coalesce(:t9,yz),zz=:t10,sjm=:t11,cbsmc=:t12,cbsj=:t13,tskb=:t14,tsym=:t15,"
        "tsbb=:t16,isbn=:t17,hbfh=:t18,tsjg=:t19,sfct=:t20,tsts=:t21,bzsy=:t22,flmc=:t23,"
        "mxflm=:t24,bs=:t25,tszt=coalesce(:t26,tszt),sfsh=:t27,fsjh=:t28,scddbh=:t29,"
        "ctys=:t30,bmr=:t31,bmrq=:t32 where txm=:t33")
        .bind(e.barcode)
        .bind(e.title)
        .bind(e.mnemonic.toUpper())
        .bind(e.searchNumber)
        .bind(e.series)
        .bind(e.volume)
        .bind(e.heading)
        .bind(e.mainTitle)
        .bind(e.subtitle)
        .bind(e.language)
        .bind(e.author)
        .bind(e.fourCorner)
        .bind(e.publisher)
        .bind(f.published)
        .bind(e.format)
        .bind(f.pages)
        .bind(e.edition)
        .bind(e.isbn)
        .bind(e.currency)
        .bind(moneyOrNull(f.price))
        .bind(e.setFlag)
        .bind(f.sets)
        .bind(e.standardIndex)
        .bind(e.firstLevel)
        .bind(e.secondLevel)
        .bind(f.copies)
        .bind(Catalogue::stateCode(e.state))
        .bind(damagedFlag(e))
        .bind(e.shelf)
        .bind(e.room)
        .bind(f.illustrations)
        .bind(Session::current().name)
        .bind(Clock::today())
        .bind(storedBarcode)
        .exec();
}

CatalogueSaved saveNew(const CatalogueEntry& e, const Figures& f, const Ask& ask)
{
    if (readStored(e.barcode)) {
        if (!ask(saveCaption, "该图书编目已经存在！\n您是否确定要修改该图书的本数？"))
            throw ActionCancelled{};
        // The copies are counted from the title as it stands once the lock is held.
        Transaction::beginWriting();
        const std::optional<Stored> stored = readStored(e.barcode);
        if (!stored)
            throw Refused(deleteCaption, "该图书编目已经不存在！", "DBEdit1");
        // The known title gains the typed copies, bought at its stored price.
        const std::optional<int> added = wholeNumber(e.copies);
        if (!added || *added == 0)
            throw Refused(hint, "增加的图书本数必须是大于零的整数，请重新输入！", "DBEdit25");
        const int total = stored->copies.toInt() + *added;
        if (total > smallIntegerMax)
            throw Refused(hint, "图书本数必须是整数，请重新输入！", "DBEdit25");
        Sql("update tszk set bs=:bs where txm=:txm").bind(total).bind(e.barcode).exec();
        if (stored->price)
            Ledger::expenditure(*stored->price * *added, Ledger::Reason::purchaseCost);
        BookState::settle(e.barcode);
        return {CatalogueSaved::Kind::CopiesAdded, e.barcode, total};
    }
    if (f.price && !f.copies.isNull())
        Ledger::expenditure(*f.price * f.copies.toInt(), Ledger::Reason::purchaseCost);
    insertTitle(e, f);
    BookState::settle(e.barcode);
    return {CatalogueSaved::Kind::Stored, e.barcode, f.copies.toInt()};
}

CatalogueSaved saveCorrection(const QString& storedBarcode, const CatalogueEntry& e,
                              const Figures& f)
{
    if (!f.price)
        throw Refused(hint, "修改图书编目时必须输入图书的定价！", "DBEdit23");
    if (f.copies.isNull())
        throw Refused(hint, "修改图书编目时必须输入图书本数！", "DBEdit25");
    const std::optional<Stored> stored = readStored(storedBarcode);
    if (!stored)
        throw Refused(saveCaption, "该图书编目已经不存在，修改不能保存！", "DBEdit1");
    const int copies = f.copies.toInt();
    if (e.barcode != storedBarcode) {
        if (stored->onLoan > 0)
            throw Refused(hint,
                          QString("该图书有%1本正在出借，不能修改条形码！").arg(stored->onLoan),
                          "DBEdit111");
        if (readStored(e.barcode))
            throw Refused(hint, "该条形码已被其他图书使用，请确定后重新输入。", "DBEdit111");
    }
    if (copies < stored->onLoan)
        throw Refused(hint,
                      QString("该图书有%1本正在出借，图书本数不能少于%1本！").arg(stored->onLoan),
                      "DBEdit25");

    // The money tied up in the title moves from P0 x B0 to P1 x B1.
    const Money before = stored->price.value_or(Money()) * stored->copies.toInt();
    const Money after = *f.price * copies;
    const Money change = after - before;
    if (change > Money())
        Ledger::expenditure(change, Ledger::Reason::purchaseCost);
    else if (change < Money())
        Ledger::expenditure(change, Ledger::Reason::reversal);
    updateTitle(storedBarcode, e, f);
    BookState::settle(e.barcode);
    return {CatalogueSaved::Kind::Corrected, e.barcode, copies};
}
} // namespace

QStringList Catalogue::stateWords()
{
    QStringList words;
    for (const StateName& s : stateNames)
        words << QString::fromUtf8(s.words);
    return words;
}

QString Catalogue::stateCode(const QString& words)
{
    for (const StateName& s : stateNames) {
        if (words == QString::fromUtf8(s.words))
            return QString::fromLatin1(s.code);
    }
    return QString();
}

QString Catalogue::stateWordsOf(const QString& code)
{
    for (const StateName& s : stateNames) {
        if (code == QLatin1String(s.code))
            return QString::fromUtf8(s.words);
    }
    return QString();
}

QString Catalogue::mnemonic(const QString& text)
{
    return Pinyin::initials(text).toUpper();
}

CatalogueSaved Catalogue::save(const CatalogueEntry& entry, const QString& correcting,
                               const std::optional<NewPublisher>& publisher, const Ask& ask)
{
    checkRequired(entry);
    // A title in a room that does not exist would drop out of every list of the rooms.
    if (Sql::scalar("select tssbh from tssxxk where tssbh=:tssbh", {entry.room}).isNull())
        throw Refused(hint, "该图书室编号不存在！", "ComboBox1");
    const Figures figures = readFigures(entry);
    if (!correcting.isEmpty()) {
        if (publisher && !entry.publisher.isEmpty())
            storePublisher(entry.publisher, *publisher);
        return saveCorrection(correcting, entry, figures);
    }
    try {
        if (publisher && !entry.publisher.isEmpty())
            storePublisher(entry.publisher, *publisher);
        return saveNew(entry, figures, ask);
    } catch (const StoreError& e) {
        // The action rolls everything back, the ledger row included.
        Log::write(QString("catalogue save failed: %1 (%2)").arg(e.message(), e.statement()));
        throw Refused(saveCaption, QString("图书编目不能保存！\n原因：%1").arg(e.message()),
                      "DBEdit1");
    }
}

void Catalogue::remove(const QString& barcode, const Ask& ask)
{
    remove(barcode, ask, deleteCaption, "您确定要删除该图书编目吗？");
}

void Catalogue::remove(const QString& barcode, const Ask& ask, const QString& caption,
                       const QString& question)
{
    const auto deletable = [&barcode] {
        const std::optional<Stored> stored = readStored(barcode);
        if (!stored)
            throw Refused(deleteCaption, "该图书编目已经不存在！", "DBEdit1");
        if (stored->onLoan > 0)
            throw Refused(deleteCaption,
                          QString("该图书有%1本正在出借，不能删除！").arg(stored->onLoan));
        return *stored;
    };
    deletable();
    if (!ask(caption, question))
        throw ActionCancelled{};
    // Checked again under the write lock: a copy may have been lent while the question was open.
    Transaction::beginWriting();
    const std::optional<Stored> stored = deletable();
    if (stored->price && !stored->copies.isNull())
        Ledger::expenditure(-(*stored->price * stored->copies.toInt()), Ledger::Reason::reversal);
    Sql("delete from tszk where txm=:txm").bind(barcode).exec();
}

std::optional<CatalogueEntry> Catalogue::load(const QString& barcode)
{
    Sql q("select * from tszk where txm=:txm");
    q.bind(barcode).exec();
    if (!q.next())
        return std::nullopt;
    const auto number = [&q](const char* column) {
        return q.isNull(column) ? QString() : QString::number(q.integer(column));
    };
    CatalogueEntry e;
    e.title = q.text("tsmc");
    e.firstLevel = q.text("flmc");
    e.barcode = q.text("txm");
    e.searchNumber = q.text("tsjsh");
    e.series = q.text("xlm");
    e.volume = q.text("fjch");
    e.author = q.text("zz");
    e.fourCorner = q.text("sjm");
    e.mainTitle = q.text("ztm");
    e.subtitle = q.text("ftm");
    e.language = q.text("yz");
    e.secondLevel = q.text("mxflm");
    e.heading = q.text("bt");
    e.edition = q.text("tsbb");
    e.format = q.text("tskb");
    e.pages = number("tsym");
    e.isbn = q.text("isbn");
    e.currency = q.text("hbfh");
    e.price = q.isNull("tsjg") ? QString() : q.money("tsjg").toFixed2();
    e.standardIndex = q.text("bzsy");
    e.copies = number("bs");
    e.setFlag = q.text("sfct");
    e.sets = number("tsts");
    e.room = q.text("scddbh");
    e.shelf = q.text("fsjh");
    e.state = stateWordsOf(q.text("tszt"));
    e.damaged = q.text("sfsh");
    e.published = Dates::toText(q.date("cbsj"));
    e.illustrations = number("ctys");
    e.publisher = q.text("cbsmc");
    e.mnemonic = q.text("pyzjh");
    return e;
}

std::optional<CataloguePosition> Catalogue::step(qint64 from, bool forward)
{
    QString statement = "select rowid as r,txm from tszk";
    if (from > 0)
        statement += forward ? " where rowid>:r" : " where rowid<:r";
    statement += forward ? " order by rowid limit 1" : " order by rowid desc limit 1";
    Sql q(statement);
    if (from > 0)
        q.bind(from);
    q.exec();
    if (!q.next())
        return std::nullopt;
    return CataloguePosition{q.value("r").toLongLong(), q.text("txm")};
}
