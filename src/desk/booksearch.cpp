#include "desk/booksearch.h"

BookSearchStatement BookSearch::statement(const BookSearchConditions& c)
{
    BookSearchStatement s{baseStatement, {}};
    auto add = [&s](const QString& value, const char* condition) {
        if (value.isEmpty())
            return;
        s.text += condition;
        s.values << value;
    };
    add(c.barcode, " and tszk.txm=:txm");
    if (!c.room.isEmpty()) {
        s.text += " and (tssxxk.tssmc=:tssmc or tssxxk.tssbh=:tssbh)";
        s.values << c.room << c.room;
    }
    add(c.author, " and tszk.zz=:zz");
    add(c.series, " and tszk.xlm=:xlm");
    add(c.title, " and tszk.tsmc=:tsmc");
    add(c.publisher, " and tszk.cbsmc=:cbsmc");
    if (c.published.isValid()) {
        s.text += " and tszk.cbsj=:tj";
        s.values << c.published;
    }
    add(c.language, " and tszk.yz=:yz");
    add(c.className, " and tszk.flmc=:flmc");
    return s;
}
