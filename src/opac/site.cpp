#include "opac/site.h"

#include "data/clock.h"
#include "data/dates.h"
#include "data/sql.h"
#include "desk/readerpins.h"
#include "desk/refused.h"
#include "opac/account.h"
#include "opac/catalogue.h"
#include "opac/html.h"
#include "opac/opaclog.h"

#include <QRandomGenerator>

namespace {
using Html::escape;

constexpr const char* sessionCookie = "opac_session";
constexpr const char* formCookie = "opac_form";

QByteArray randomToken()
{
    quint32 words[8];
    QRandomGenerator::system()->fillRange(words);
    return QByteArray(reinterpret_cast<const char*>(words), sizeof words).toHex();
}

QByteArray cookie(const char* name, const QByteArray& value, int maxAgeSeconds)
{
    return QByteArray(name) + '=' + value +
           "; Path=/; HttpOnly; SameSite=Strict; Max-Age=" + QByteArray::number(maxAgeSeconds);
}

// Compares without stopping at the first difference, so the time taken says nothing.
bool sameToken(const QByteArray& a, const QByteArray& b)
{
    if (a.isEmpty() || a.size() != b.size())
        return false;
    char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= char(a.at(i) ^ b.at(i));
    return diff == 0;
}

QString dateText(const QDate& d)
{
    return Dates::toText(d);
}

QString availability(const Catalogue::Title& t)
{
    if (t.available() == 0)
        return "<span class=\"out\">全部借出</span>";
    return QString("<span class=\"in\">可借 %1 册</span>").arg(t.available());
}

QString callNumber(const Catalogue::Title& t)
{
    return escape(t.classCode) + (t.shelf.isEmpty() ? QString() : " / " + escape(t.shelf));
}

QString titleRows(const QList<Catalogue::Title>& titles)
{
    QString rows;
    for (const Catalogue::Title& t : titles) {
        rows += QString("<tr><td data-label=\"题名\"><a href=\"/title?b=%1\">%2</a></td>"
                        "<td data-label=\"作者\">%3</td><td data-label=\"出版社\">%4</td>"
                        "<td data-label=\"出版时间\">%5</td><td data-label=\"索书号\">%6</td>"
                        "<td data-label=\"馆藏地点\">%7</td><td data-label=\"在馆\">%8</td></tr>")
                    .arg(Html::urlPart(t.barcode), escape(t.title), escape(t.author),
                         escape(t.publisher), escape(t.published), callNumber(t), escape(t.room),
                         availability(t));
    }
    return "<table class=\"results\"><thead><tr><th>题名</th><th>作者</th><th>出版社</th>"
           "<th>出版时间</th><th>索书号</th><th>馆藏地点</th><th>在馆</th></tr></thead><tbody>" +
           rows + "</tbody></table>";
}

QString searchBox(const QString& keyword)
{
    return "<form class=\"search\" method=\"get\" action=\"/search\" role=\"search\">"
           "<input type=\"search\" name=\"q\" id=\"q\" maxlength=\"100\" value=\"" +
           escape(keyword) +
           "\" placeholder=\"题名、作者、出版社、ISBN、条形码或拼音首字母\" aria-label=\"检索词\">"
           "<button type=\"submit\" id=\"search\">检索</button></form>";
}

int yearOf(const QString& text)
{
    bool ok = false;
    const int year = text.trimmed().toInt(&ok);
    return ok && year > 0 && year < 10000 ? year : 0;
}
} // namespace

Site::Site() : m_now([] { return QDateTime::currentDateTimeUtc(); }) {}

WebResponse Site::handle(const WebRequest& request)
{
    QByteArray id;
    Session* session = sessionOf(request, &id);
    return guarded(request, [&] { return route(request, session, id); });
}

bool Site::isCatalogueRead(const WebRequest& request)
{
    static const QStringList paths = {"/", "/search", "/browse", "/title", "/new"};
    return (request.method == "GET" || request.method == "HEAD") && paths.contains(request.path);
}

QString Site::formTokenFor(const WebRequest& request)
{
    QByteArray id;
    const Session* session = sessionOf(request, &id);
    return session ? session->formToken : QString();
}

WebResponse Site::handleCatalogueRead(const WebRequest& request, const QString& formToken) const
{
    // Only the reader's form token is needed here (for the sign-out button): nothing of the
    // sessions is touched, so this runs on any thread with its own read-only connection.
    Session shown;
    shown.formToken = formToken;
    Session* s = formToken.isEmpty() ? nullptr : &shown;
    return guarded(request, [&] {
        const WebFields query = WebFields::parse(request.rawQuery);
        if (!query.valid())
            return badRequest(s);
        if (request.path == "/")
            return home(s);
        if (request.path == "/search")
            return search(query, s);
        if (request.path == "/browse")
            return browse(s);
        if (request.path == "/title")
            return title(query, s);
        return newest(s);
    });
}

WebResponse Site::badRequest(Session* s) const
{
    return page(400, "请求有误",
                "<p class=\"error\">地址或表单中有无法识别的字符。</p><p><a "
                "href=\"/\">回到书目检索</a></p>",
                s);
}

WebResponse Site::guarded(const WebRequest& request, const std::function<WebResponse()>& work) const
{
    WebResponse response;
    try {
        response = work();
    } catch (const StoreError& e) {
        OpacLog::write(
            QString("store error on %1: %2 (%3)").arg(request.path, e.message(), e.statement()));
        response =
            page(500, "出错了", "<p class=\"error\">书目库暂时不能访问，请稍后再试。</p>", nullptr);
    } catch (const std::exception& e) {
        OpacLog::write(
            QString("error on %1: %2").arg(request.path, QString::fromLocal8Bit(e.what())));
        response = page(500, "出错了", "<p class=\"error\">出错了，请稍后再试。</p>", nullptr);
    } catch (...) {
        OpacLog::write(QString("unexpected failure on %1").arg(request.path));
        response = page(500, "出错了", "<p class=\"error\">出错了，请稍后再试。</p>", nullptr);
    }
    response.addHeader("X-Content-Type-Options", "nosniff");
    response.addHeader("Referrer-Policy", "no-referrer");
    response.addHeader("X-Frame-Options", "DENY");
    response.addHeader("Content-Security-Policy",
                       "default-src 'none'; style-src 'self'; img-src 'self'; "
                       "form-action 'self'; frame-ancestors 'none'; base-uri 'none'");
    response.addHeader("Cache-Control", "no-store");
    return response;
}

Site::Session* Site::sessionOf(const WebRequest& request, QByteArray* id)
{
    const QDateTime at = now();
    for (auto it = m_sessions.begin(); it != m_sessions.end();) {
        if (it->expires <= at)
            it = m_sessions.erase(it);
        else
            ++it;
    }
    *id = request.cookies.value(sessionCookie);
    auto it = m_sessions.find(*id);
    if (id->isEmpty() || it == m_sessions.end()) {
        id->clear();
        return nullptr;
    }
    it->expires = at.addSecs(sessionMinutes * 60);
    return &*it;
}

WebResponse Site::route(const WebRequest& request, Session* s, const QByteArray& id)
{
    const QByteArray method = request.method;
    const bool read = method == "GET" || method == "HEAD";
    const bool post = method == "POST";
    const QString path = request.path;
    const WebFields query = WebFields::parse(request.rawQuery);
    const WebFields form = post ? WebFields::parse(request.body) : WebFields();

    static const QStringList readPaths = {"/",      "/search", "/advanced",  "/browse",
                                          "/title", "/new",    "/help",      "/signin",
                                          "/pin",   "/my",     "/my/history"};
    static const QStringList postPaths = {"/signin", "/pin", "/renew", "/signout"};
    if (path == "/style.css" && read) {
        WebResponse css;
        css.contentType = "text/css; charset=utf-8";
        css.body = Html::styleSheet();
        return css;
    }
    if (!readPaths.contains(path) && !postPaths.contains(path) && path != "/style.css")
        return page(404, "没有这个页面",
                    "<p class=\"error\">没有这个页面。</p><p><a href=\"/\">回到书目检索</a></p>",
                    s);
    if (!(read && readPaths.contains(path)) && !(post && postPaths.contains(path))) {
        WebResponse r =
            page(405, "不支持的请求", "<p class=\"error\">这个页面不接受这种请求。</p>", s);
        QStringList allowed;
        if (readPaths.contains(path))
            allowed << "GET"
                    << "HEAD";
        if (postPaths.contains(path))
            allowed << "POST";
        r.addHeader("Allow", allowed.join(", ").toLatin1());
        return r;
    }
    if (!query.valid() || !form.valid())
        return badRequest(s);

    if (post && path == "/signin")
        return signIn(request, form);
    // Every other form belongs to a session and carries its token.
    if (post) {
        if (!s)
            return WebResponse::redirect("/signin");
        if (!sameToken(form.value("token").toLatin1(), s->formToken.toLatin1()))
            return page(
                403, "请求已过期",
                "<p class=\"error\">页面已过期，请回到<a href=\"/my\">我的借阅</a>重新操作。</p>",
                s);
        if (path == "/signout")
            return signOut(id);
        if (path == "/pin")
            return changePin(s, form);
        if (s->mustChange)
            return WebResponse::redirect("/pin");
        return renew(s, form);
    }
    if (path == "/")
        return home(s);
    if (path == "/search")
        return search(query, s);
    if (path == "/advanced")
        return advanced(s);
    if (path == "/browse")
        return browse(s);
    if (path == "/title")
        return title(query, s);
    if (path == "/new")
        return newest(s);
    if (path == "/help")
        return help(s);
    if (path == "/signin")
        return s ? WebResponse::redirect("/my") : signInForm(QString(), QString());
    if (!s)
        return WebResponse::redirect("/signin");
    if (path == "/pin")
        return pinForm(s, QString());
    if (s->mustChange)
        return WebResponse::redirect("/pin");
    if (path == "/my")
        return myLibrary(s);
    return history(s);
}

WebResponse Site::page(int status, const QString& title, const QString& body, Session* s) const
{
    WebResponse r;
    r.status = status;
    r.body = Html::page(title, body, s ? s->formToken : QString());
    return r;
}

WebResponse Site::home(Session* s) const
{
    QString body = searchBox(QString());
    body += "<p>可按题名（或题名中的几个字）、作者、出版社、ISBN、条形码或拼音首字母检索。"
            "<a href=\"/advanced\">高级检索</a>可按分类、出版社、出版年份和语种查找。</p>";
    body += "<h2>新书通报</h2>" + titleRows(Catalogue::newestShelved(10)) +
            "<p><a href=\"/new\">更多新书</a></p>";
    return page(200, "书目检索", body, s);
}

WebResponse Site::search(const WebFields& f, Session* s) const
{
    Catalogue::Search q;
    q.keyword = f.value("q").simplified();
    q.className = f.value("class").trimmed();
    q.publisher = f.value("publisher").trimmed();
    q.language = f.value("lang").trimmed();
    q.yearFrom = yearOf(f.value("from"));
    q.yearTo = yearOf(f.value("to"));
    q.sort = f.value("sort");
    q.page = qBound(1, f.value("page").toInt(), 100000);
    for (QString* text : {&q.keyword, &q.className, &q.publisher, &q.language}) {
        if (text->size() > maxKeyword)
            return page(400, "检索词太长",
                        QString("<p class=\"error\">检索词太长，最多%1个字。</p>").arg(maxKeyword) +
                            searchBox(q.keyword.left(maxKeyword)),
                        s);
    }
    QString body = searchBox(q.keyword);
    if (q.empty())
        return page(200, "检索结果", body + "<p class=\"note\">请输入检索词。</p>", s);

    const Catalogue::Result result = Catalogue::search(q);
    // The same search on another page or in another order.
    QString link = "/search?q=" + Html::urlPart(q.keyword);
    if (!q.className.isEmpty())
        link += "&class=" + Html::urlPart(q.className);
    if (!q.publisher.isEmpty())
        link += "&publisher=" + Html::urlPart(q.publisher);
    if (!q.language.isEmpty())
        link += "&lang=" + Html::urlPart(q.language);
    if (q.yearFrom)
        link += QString("&from=%1").arg(q.yearFrom);
    if (q.yearTo)
        link += QString("&to=%1").arg(q.yearTo);
    const QString sorted = link + "&sort=" + Html::urlPart(q.sort);

    QStringList conditions;
    if (!q.keyword.isEmpty())
        conditions << "“" + escape(q.keyword) + "”";
    if (!q.className.isEmpty())
        conditions << "分类号 " + escape(q.className);
    if (!q.publisher.isEmpty())
        conditions << "出版社 " + escape(q.publisher);
    if (!q.language.isEmpty())
        conditions << "语种 " + escape(q.language);
    if (q.yearFrom || q.yearTo)
        conditions << QString("出版年 %1–%2")
                          .arg(q.yearFrom ? QString::number(q.yearFrom) : QString(),
                               q.yearTo ? QString::number(q.yearTo) : QString());
    const bool capped = result.total > Catalogue::countCap;
    const QString total =
        capped ? QString("%1 种以上").arg(Catalogue::countCap) : QString("%1 种").arg(result.total);
    body += "<p id=\"summary\">" + conditions.join("，") + "：找到 " + total + "</p>";
    if (capped)
        body += QString("<p class=\"note\">结果太多，只列出其中 %1 "
                        "种，请多输入几个字或加上条件缩小范围。</p>")
                    .arg(Catalogue::countCap);
    if (result.titles.isEmpty())
        return page(200, "检索结果", body + "<p class=\"note\">没有找到符合条件的图书。</p>", s);

    body += "<p class=\"sort\">排序：";
    const QList<QPair<QString, QString>> sorts = {
        {"title", "题名"}, {"author", "作者"}, {"year", "出版时间"}, {"new", "最新入藏"}};
    for (const auto& [key, words] : sorts) {
        const bool current = (q.sort.isEmpty() ? QString("title") : q.sort) == key;
        body += current
                    ? "<strong>" + words + "</strong> "
                    : QString("<a href=\"%1\">%2</a>").arg(escape(link + "&sort=" + key), words);
    }
    body += "</p>" + titleRows(result.titles) + "<p class=\"pager\">";
    if (q.page > 1)
        body += QString("<a href=\"%1\" id=\"prev\">上一页</a>")
                    .arg(escape(sorted + QString("&page=%1").arg(q.page - 1)));
    body += QString("<span>第 %1 页</span>").arg(q.page);
    if (result.more)
        body += QString("<a href=\"%1\" id=\"next\">下一页</a>")
                    .arg(escape(sorted + QString("&page=%1").arg(q.page + 1)));
    body += "</p>";
    return page(200, "检索结果", body, s);
}

WebResponse Site::advanced(Session* s) const
{
    const QString body =
        "<form class=\"stack\" method=\"get\" action=\"/search\">"
        "<label>检索词<input type=\"search\" name=\"q\" maxlength=\"100\"></label>"
        "<label>分类号（如 I2）<input name=\"class\" id=\"class\" maxlength=\"100\"></label>"
        "<label>出版社<input name=\"publisher\" maxlength=\"100\"></label>"
        "<label>出版年份从<input name=\"from\" inputmode=\"numeric\" maxlength=\"4\"></label>"
        "<label>到<input name=\"to\" inputmode=\"numeric\" maxlength=\"4\"></label>"
        "<label>语种<input name=\"lang\" maxlength=\"100\"></label>"
        "<label>排序<select name=\"sort\"><option value=\"title\">题名</option>"
        "<option value=\"author\">作者</option><option value=\"year\">出版时间</option>"
        "<option value=\"new\">最新入藏</option></select></label>"
        "<button type=\"submit\" id=\"advanced-search\">检索</button></form>";
    return page(200, "高级检索", body, s);
}

WebResponse Site::browse(Session* s) const
{
    QString body = "<p>按《中国图书馆分类法》浏览，点分类名查看该类的图书。</p><ul class=\"tree\">";
    for (const Catalogue::ClassNode& node : Catalogue::classTree()) {
        body += QString("<li><a href=\"/search?class=%1\">%2 %3</a>")
                    .arg(Html::urlPart(node.code), escape(node.code), escape(node.name));
        if (!node.children.isEmpty()) {
            body += "<ul>";
            for (const auto& [code, name] : node.children)
                body += QString("<li><a href=\"/search?class=%1\">%2 %3</a></li>")
                            .arg(Html::urlPart(code), escape(code), escape(name));
            body += "</ul>";
        }
        body += "</li>";
    }
    return page(200, "分类浏览", body + "</ul>", s);
}

WebResponse Site::title(const WebFields& f, Session* s) const
{
    const QString barcode = f.value("b");
    const auto detail = barcode.size() <= maxKeyword ? Catalogue::title(barcode) : std::nullopt;
    if (!detail)
        return page(404, "没有这种图书",
                    "<p class=\"error\">没有这种图书。</p><p><a href=\"/\">回到书目检索</a></p>",
                    s);
    const Catalogue::Title& t = detail->title;
    QString body = "<dl class=\"fields\">";
    for (const auto& [caption, value] : detail->fields)
        body += "<dt>" + escape(caption) + "</dt><dd>" + escape(value) + "</dd>";
    body += "</dl><h2>馆藏情况</h2><dl class=\"fields\" id=\"copies\">";
    body += QString("<dt>索书号</dt><dd>%1</dd><dt>馆藏地点</dt><dd>%2</dd>"
                    "<dt>复本数</dt><dd>%3</dd><dt>借出</dt><dd>%4</dd><dt>在馆</dt><dd>%5</dd>")
                .arg(callNumber(t), escape(t.room))
                .arg(t.copies)
                .arg(t.lent)
                .arg(availability(t));
    if (!detail->state.isEmpty())
        body += "<dt>状态</dt><dd>" + escape(detail->state) + "</dd>";
    if (t.available() == 0 && detail->nextDue.isValid())
        body += "<dt>最早应还</dt><dd>" + dateText(detail->nextDue) + "</dd>";
    body += "</dl>";
    return page(200, t.title.isEmpty() ? t.barcode : t.title, body, s);
}

WebResponse Site::newest(Session* s) const
{
    return page(200, "新书通报",
                "<p>最近上架的新书：</p>" + titleRows(Catalogue::newestShelved(30)), s);
}

WebResponse Site::help(Session* s) const
{
    const QString body =
        "<h2>检索</h2><p>在检索框中输入题名（或题名中连续的几个字）、作者、出版社的开头、"
        "ISBN、图书条形码或题名的拼音首字母，按“检索”。结果中“在馆”一栏是现在可借的册数，"
        "“全部借出”表示暂时没有可借的书。</p>"
        "<h2>读者登录</h2><p>用借书证号和密码登录。初始密码是身份证号码的最后六位"
        "（含字母 X 的请照原样输入）；第一次登录后必须改成新的密码（至少六位）。"
        "借书证上没有身份证号码的读者，请到借阅处领取初始密码。</p>"
        "<p>连续五次输错密码，借书证在网上锁定十五分钟。挂失或注销的借书证不能登录。</p>"
        "<h2>续借</h2><p>登录后在“我的借阅”中可以续借，续借次数以借书证等级为准。"
        "已经逾期、需要交罚款的图书不能在网上续借，请到借阅处办理。</p>";
    return page(200, "帮助", body, s);
}

WebResponse Site::signInForm(const QString& error, const QString& card)
{
    const QByteArray token = randomToken();
    QString body;
    if (!error.isEmpty())
        body += "<p class=\"error\" id=\"error\">" + escape(error) + "</p>";
    body += "<form class=\"stack\" method=\"post\" action=\"/signin\">" +
            Html::tokenField(QString::fromLatin1(token)) +
            "<label>借书证号<input name=\"card\" id=\"card\" autocomplete=\"username\" "
            "maxlength=\"20\" required value=\"" +
            escape(card) +
            "\"></label><label>密码<input type=\"password\" name=\"pin\" id=\"pin\" "
            "autocomplete=\"current-password\" maxlength=\"64\" required></label>"
            "<button type=\"submit\" id=\"signin\">登录</button></form>"
            "<p>初始密码是身份证号码的最后六位，详见<a href=\"/help\">帮助</a>。</p>";
    WebResponse r = page(error.isEmpty() ? 200 : 403, "读者登录", body, nullptr);
    r.addHeader("Set-Cookie", cookie(formCookie, token, sessionMinutes * 60));
    return r;
}

WebResponse Site::signIn(const WebRequest& request, const WebFields& f)
{
    if (!sameToken(f.value("token").toLatin1(), request.cookies.value(formCookie)))
        return signInForm("页面已过期，请重新登录。", QString());
    const QString card = f.value("card").trimmed().left(20);
    const QString pin = f.value("pin").left(64);
    const QDateTime at = now();
    const QString where = request.remote.toString();
    Address& address = m_addresses[where];
    if (address.lastFailure.isValid() &&
        address.lastFailure.secsTo(at) > ReaderPins::lockMinutes * 60)
        address = Address{};
    if (address.blockedUntil.isValid() && address.blockedUntil > at) {
        WebResponse r =
            page(429, "读者登录",
                 "<p class=\"error\" id=\"error\">登录失败次数太多，请稍后再试。</p>", nullptr);
        r.addHeader("Retry-After", QByteArray::number(at.secsTo(address.blockedUntil) + 1));
        return r;
    }
    if (card.isEmpty() || pin.isEmpty())
        return signInForm("请输入借书证号和密码。", card);

    ReaderPins::SignIn outcome;
    {
        Transaction transaction;
        outcome = ReaderPins::signIn(card, pin, at);
        transaction.commit();
    }
    using Kind = ReaderPins::SignIn::Kind;
    if (outcome.kind == Kind::Accepted || outcome.kind == Kind::MustChange) {
        OpacLog::write(QString("sign-in %1 from %2").arg(card, where));
        address = Address{};
        const QByteArray id = randomToken();
        Session session;
        session.card = card;
        session.formToken = QString::fromLatin1(randomToken());
        session.expires = at.addSecs(sessionMinutes * 60);
        session.mustChange = outcome.kind == Kind::MustChange;
        m_sessions.insert(id, session);
        WebResponse r = WebResponse::redirect(session.mustChange ? "/pin" : "/my");
        r.addHeader("Set-Cookie", cookie(sessionCookie, id, sessionMinutes * 60));
        r.addHeader("Set-Cookie", cookie(formCookie, QByteArray(), 0));
        return r;
    }
    // Every failure counts against the address; after a few it waits longer each time.
    ++address.failures;
    address.lastFailure = at;
    if (address.failures >= addressFailures)
        address.blockedUntil =
            at.addSecs(qMin(1 << qMin(address.failures - addressFailures, 10), 900));
    OpacLog::write(
        QString("failed sign-in %1 from %2 (%3)").arg(card, where).arg(int(outcome.kind)));
    switch (outcome.kind) {
    case Kind::Locked:
        return signInForm(QString("密码输错次数太多，借书证已锁定，请于 %1 以后再试。")
                              .arg(outcome.lockedUntil.toLocalTime().toString("HH:mm")),
                          card);
    case Kind::NoPin:
        return signInForm("您的借书证还没有初始密码，请到借阅处领取。", card);
    case Kind::CardBarred:
        return signInForm("此借书证已挂失或注销，不能登录。", card);
    default:
        return signInForm("借书证号或密码不对。", card);
    }
}

WebResponse Site::pinForm(Session* s, const QString& error)
{
    QString body;
    if (s->mustChange)
        body += "<p class=\"note\" id=\"must-change\">您用的是初始密码，请先设置新的密码。</p>";
    if (!error.isEmpty())
        body += "<p class=\"error\" id=\"error\">" + escape(error) + "</p>";
    body += "<form class=\"stack\" method=\"post\" action=\"/pin\">" +
            Html::tokenField(s->formToken) +
            "<label>原密码<input type=\"password\" name=\"current\" id=\"current\" "
            "autocomplete=\"current-password\" maxlength=\"64\" required></label>"
            "<label>新密码（至少六位）<input type=\"password\" name=\"pin\" id=\"newpin\" "
            "autocomplete=\"new-password\" maxlength=\"64\" required></label>"
            "<label>再输一次新密码<input type=\"password\" name=\"again\" id=\"again\" "
            "autocomplete=\"new-password\" maxlength=\"64\" required></label>"
            "<button type=\"submit\" id=\"change\">修改密码</button></form>";
    return page(error.isEmpty() ? 200 : 400, "修改密码", body, s);
}

WebResponse Site::changePin(Session* s, const WebFields& f)
{
    const QString pin = f.value("pin").left(64);
    if (pin != f.value("again").left(64))
        return pinForm(s, "两次输入的新密码不一样。");
    try {
        Transaction transaction;
        ReaderPins::change(s->card, f.value("current").left(64), pin);
        transaction.commit();
    } catch (const Refused& refused) {
        return pinForm(s, refused.text());
    }
    OpacLog::write(QString("PIN changed for %1").arg(s->card));
    s->mustChange = false;
    s->flash = "密码已修改。";
    return WebResponse::redirect("/my");
}

WebResponse Site::myLibrary(Session* s)
{
    const Account::Card card = Account::card(s->card);
    QString body;
    if (!s->flash.isEmpty()) {
        body += "<p class=\"note\" id=\"flash\">" + escape(s->flash) + "</p>";
        s->flash.clear();
    }
    body += QString("<p>%1（借书证号 %2）</p>").arg(escape(card.name), escape(card.number));
    const QList<Account::OpenLoan> loans = Account::openLoans(s->card);
    body += QString("<h2>当前借阅（%1 册）</h2>").arg(loans.size());
    if (loans.isEmpty()) {
        body += "<p>您现在没有借书。</p>";
    } else {
        body += "<table class=\"results\" id=\"loans\"><thead><tr><th>题名</th><th>条形码</th>"
                "<th>借书日期</th><th>应还日期</th><th>逾期天数</th><th>罚款</th><th>已续借</th>"
                "<th></th></tr></thead><tbody>";
        for (const Account::OpenLoan& l : loans) {
            // The desk's rule decides; a loan at its limit is refused with the desk's words.
            const QString renew =
                QString("<form method=\"post\" action=\"/renew\" class=\"inline\">%1"
                        "<input type=\"hidden\" name=\"loan\" value=\"%2\">"
                        "<button type=\"submit\" name=\"renew\" id=\"renew-%3\">续借</button>"
                        "</form>")
                    .arg(Html::tokenField(s->formToken))
                    .arg(l.id)
                    .arg(escape(l.barcode));
            body +=
                QString("<tr data-barcode=\"%1\"><td data-label=\"题名\"><a "
                        "href=\"/title?b=%2\">%3</a></td>"
                        "<td data-label=\"条形码\">%1</td><td data-label=\"借书日期\">%4</td>"
                        "<td data-label=\"应还日期\" class=\"due\">%5</td>"
                        "<td data-label=\"逾期天数\" class=\"n\">%6</td>"
                        "<td data-label=\"罚款\" class=\"n\">%7</td>"
                        "<td data-label=\"已续借\" class=\"n\">%8</td><td>%9</td></tr>")
                    .arg(escape(l.barcode), Html::urlPart(l.barcode), escape(l.title),
                         dateText(l.lent), dateText(l.due),
                         l.daysOverdue > 0 ? QString::number(l.daysOverdue) : QString("0"),
                         l.fine.toFixed2(),
                         QString::number(l.renewals) + (l.renewedOnWeb ? "（网上）" : ""), renew);
        }
        body += "</tbody></table>";
    }
    body += "<h2>借书证</h2><dl class=\"fields\" id=\"card-info\">";
    body +=
        QString(
            "<dt>读者</dt><dd>%1</dd><dt>借书证等级</dt><dd>%2 %3</dd>"
            "<dt>办证日期</dt><dd>%4</dd><dt>有效期至</dt><dd>%5%6</dd><dt>押金</dt><dd>%7 元</dd>"
            "<dt>可借册数</dt><dd>%8</dd><dt>借期</dt><dd>%9 天</dd>")
            .arg(escape(card.name), escape(card.grade), escape(card.cardType),
                 dateText(card.issued), dateText(card.validUntil),
                 card.validUntil.isValid() && card.validUntil < Clock::today()
                     ? QString("（已过期）")
                     : QString(),
                 card.deposit.toFixed2(), QString::number(card.maxBooks),
                 QString::number(card.loanDays));
    body += "</dl><p><a href=\"/my/history\">借阅历史</a> · <a href=\"/pin\">修改密码</a></p>";
    return page(200, "我的借阅", body, s);
}

WebResponse Site::history(Session* s)
{
    const QList<Account::PastLoan> loans = Account::history(s->card);
    QString body;
    if (loans.isEmpty()) {
        body = "<p>还没有归还过的借阅。</p>";
    } else {
        body = "<table class=\"results\" id=\"history\"><thead><tr><th>题名</th><th>条形码</th>"
               "<th>借书日期</th><th>还书日期</th></tr></thead><tbody>";
        for (const Account::PastLoan& l : loans)
            body +=
                QString(
                    "<tr><td data-label=\"题名\">%1</td><td data-label=\"条形码\">%2</td>"
                    "<td data-label=\"借书日期\">%3</td><td data-label=\"还书日期\">%4</td></tr>")
                    .arg(escape(l.title), escape(l.barcode), dateText(l.lent),
                         dateText(l.returned));
        body += "</tbody></table>";
    }
    return page(200, "借阅历史", body + "<p><a href=\"/my\">回到我的借阅</a></p>", s);
}

WebResponse Site::renew(Session* s, const WebFields& f)
{
    bool ok = false;
    const qint64 loan = f.value("loan").toLongLong(&ok);
    if (!ok || loan <= 0) {
        s->flash = "没有这条借阅记录。";
        return WebResponse::redirect("/my");
    }
    try {
        const QDate due = Account::renew(s->card, loan);
        OpacLog::write(
            QString("renewal of loan %1 by %2, due %3").arg(loan).arg(s->card, dateText(due)));
        s->flash = "续借成功，新的应还日期是 " + dateText(due) + "。";
    } catch (const Refused& refused) {
        OpacLog::write(
            QString("renewal of loan %1 by %2 refused: %3").arg(loan).arg(s->card, refused.text()));
        s->flash = refused.text();
    }
    return WebResponse::redirect("/my");
}

WebResponse Site::signOut(const QByteArray& id)
{
    m_sessions.remove(id);
    WebResponse r = WebResponse::redirect("/");
    r.addHeader("Set-Cookie", cookie(sessionCookie, QByteArray(), 0));
    return r;
}
