#include "opac/html.h"

#include <QUrl>

QString Html::escape(const QString& text)
{
    QString out;
    out.reserve(text.size() + 16);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString Html::urlPart(const QString& text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

QString Html::tokenField(const QString& formToken)
{
    return "<input type=\"hidden\" name=\"token\" value=\"" + escape(formToken) + "\">";
}

QByteArray Html::page(const QString& title, const QString& body, const QString& formToken)
{
    const QString account = !formToken.isEmpty()
                                ? QString("<a href=\"/my\">我的借阅</a>"
                                          "<form method=\"post\" action=\"/signout\" "
                                          "class=\"inline\">%1<button type=\"submit\" "
                                          "id=\"signout\">退出</button></form>")
                                      .arg(tokenField(formToken))
                                : QString("<a href=\"/signin\" id=\"signin-link\">读者登录</a>");
    QString html;
    html += "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
            "<link rel=\"stylesheet\" href=\"/style.css\"><title>";
    html += escape(title) + " - 图书馆书目检索</title></head><body><header><nav>"
                            "<a href=\"/\" class=\"home\">书目检索</a>"
                            "<a href=\"/advanced\">高级检索</a><a href=\"/browse\">分类浏览</a>"
                            "<a href=\"/new\">新书通报</a><a href=\"/help\">帮助</a>";
    html += account + "</nav></header><main><h1>" + escape(title) + "</h1>" + body +
            "</main></body></html>\n";
    return html.toUtf8();
}

QByteArray Html::styleSheet()
{
    return R"css(body{margin:0;font-family:"WenQuanYi Micro Hei","Noto Sans CJK SC",sans-serif;
color:#222;background:#f6f6f2;line-height:1.5}
header{background:#1f4e79}nav{display:flex;flex-wrap:wrap;gap:.2em 1em;padding:.6em 1em;
max-width:64em;margin:auto;align-items:center}nav a{color:#fff;text-decoration:none}
nav a.home{font-weight:bold}nav form.inline{margin:0}
nav button{background:none;border:1px solid #fff;color:#fff;border-radius:3px;cursor:pointer}
main{max-width:64em;margin:auto;padding:0 1em 2em}h1{font-size:1.4em;margin:.8em 0 .4em}
form.search{display:flex;gap:.4em;flex-wrap:wrap;margin:.5em 0}
form.search input[type=search]{flex:1 1 16em;font-size:1.1em;padding:.3em}
input,select,button{font-size:1em;padding:.25em .5em}
table{border-collapse:collapse;width:100%;background:#fff;margin:.5em 0}
th,td{border:1px solid #ccc;padding:.3em .5em;text-align:left;vertical-align:top}
th{background:#e8eef5}td.n{text-align:right}.out{color:#a33}.in{color:#260}
.note{background:#fff8dc;border:1px solid #e0c97f;padding:.5em 1em;margin:.5em 0}
.error{background:#fde8e8;border:1px solid #e0a0a0;padding:.5em 1em;margin:.5em 0}
.pager a,.pager span{margin-right:1em}.sort a{margin-right:.8em}
dl.fields{display:grid;grid-template-columns:8em 1fr;background:#fff;padding:.5em;margin:.5em 0}
dl.fields dt{color:#555}dl.fields dd{margin:0}
form.stack label{display:block;margin:.5em 0}form.stack input{display:block;width:100%;
max-width:20em;box-sizing:border-box}
@media (max-width:40em){table.results thead{display:none}table.results tr{display:block;
border:1px solid #ccc;margin:.4em 0;background:#fff}table.results td{display:block;border:none;
padding:.1em .5em;text-align:left}table.results td[data-label]::before{content:attr(data-label) "：";color:#666}
dl.fields{grid-template-columns:6em 1fr}}
)css";
}
