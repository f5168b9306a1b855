#include "desk/marc.h"

#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <yaz/marcdisp.h>
#include <yaz/yaz-iconv.h>

namespace {
struct Field {
    QString tag;
    QList<QPair<QChar, QString>> subfields;

    QString sub(QChar code) const
    {
        for (const auto& [c, text] : subfields)
            if (c == code)
                return text;
        return {};
    }
};

// The record's data fields in order, read from YAZ's MARCXML rendering.
QList<Field> parseMarcXml(const QByteArray& xml)
{
    QList<Field> fields;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        if (reader.name() == QLatin1String("datafield")) {
            fields.append({reader.attributes().value("tag").toString(), {}});
        } else if (reader.name() == QLatin1String("subfield") && !fields.isEmpty()) {
            const QString code = reader.attributes().value("code").toString();
            const QString text = reader.readElementText();
            if (!code.isEmpty())
                fields.last().subfields.append({code.at(0), text});
        }
    }
    return fields;
}

QString firstOf(const QList<Field>& fields, const QStringList& tags, QChar code)
{
    for (const QString& tag : tags)
        for (const Field& field : fields)
            if (field.tag == tag && !field.sub(code).isEmpty())
                return field.sub(code);
    return {};
}

// ISBD punctuation that ends a MARC 21 subfield: "Title /", "New York :", "2008."
QString trimmed(QString text)
{
    static const QRegularExpression trailing(R"([\s/:;,=]+$)");
    text = text.trimmed();
    text.remove(trailing);
    if (text.endsWith(QChar('.')) && !text.endsWith(QString("..")))
        text.chop(1);
    return text.trimmed();
}

int firstNumber(const QString& text)
{
    static const QRegularExpression number(R"(\d+)");
    const auto match = number.match(text);
    return match.hasMatch() ? match.captured().toInt() : 0;
}

bool looksLikeUnimarc(const QList<Field>& fields)
{
    for (const Field& field : fields) {
        if (field.tag == "200")
            return true;
        if (field.tag == "245")
            return false;
    }
    return false;
}

CatalogueRecord fromUnimarc(const QList<Field>& f)
{
    CatalogueRecord r;
    r.isbn = firstOf(f, {"010"}, 'a');
    r.price = Marc::priceOf(firstOf(f, {"010"}, 'd'));
    r.title = firstOf(f, {"200"}, 'a');
    r.author = firstOf(f, {"200"}, 'f');
    if (r.author.isEmpty())
        r.author = firstOf(f, {"701", "700", "702", "711"}, 'a');
    r.edition = firstOf(f, {"205"}, 'a');
    r.place = firstOf(f, {"210"}, 'a');
    r.publisher = firstOf(f, {"210"}, 'c');
    r.date = firstOf(f, {"210"}, 'd');
    r.pages = firstNumber(firstOf(f, {"215"}, 'a'));
    r.classNumber = firstOf(f, {"690"}, 'a');
    return r;
}

CatalogueRecord fromMarc21(const QList<Field>& f)
{
    CatalogueRecord r;
    r.isbn = firstOf(f, {"020"}, 'a').section(QChar(' '), 0, 0);
    r.price = Marc::priceOf(firstOf(f, {"020"}, 'c'));
    r.title = trimmed(firstOf(f, {"245"}, 'a'));
    r.author = trimmed(firstOf(f, {"100", "110"}, 'a'));
    if (r.author.isEmpty())
        r.author = trimmed(firstOf(f, {"245"}, 'c'));
    r.edition = trimmed(firstOf(f, {"250"}, 'a'));
    r.place = trimmed(firstOf(f, {"260", "264"}, 'a'));
    r.publisher = trimmed(firstOf(f, {"260", "264"}, 'b'));
    r.date = trimmed(firstOf(f, {"260", "264"}, 'c'));
    r.pages = firstNumber(firstOf(f, {"300"}, 'a'));
    r.classNumber = firstOf(f, {"082", "084"}, 'a');
    return r;
}
} // namespace

QString CatalogueRecord::publicationDate() const
{
    static const QRegularExpression yearMonth(R"((1[5-9]\d\d|20\d\d)(?:[.\-/年](\d{1,2}))?)");
    const auto match = yearMonth.match(date);
    if (!match.hasMatch())
        return {};
    const int month = match.captured(2).isEmpty() ? 1 : match.captured(2).toInt();
    return QString("%1-%2-01")
        .arg(match.captured(1))
        .arg(month >= 1 && month <= 12 ? month : 1, 2, 10, QChar('0'));
}

std::optional<Money> Marc::priceOf(const QString& text)
{
    static const QRegularExpression amount(R"((\d+(?:\.\d+)?))");
    const auto match = amount.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    bool ok = false;
    const Money money = Money::fromText(match.captured(1), &ok);
    return ok ? std::optional<Money>(money) : std::nullopt;
}

std::optional<CatalogueRecord> Marc::read(const QByteArray& iso2709, const QString& charset,
                                          Format format)
{
    if (iso2709.size() < 25)
        return std::nullopt;
    yaz_marc_t mt = yaz_marc_create();
    yaz_marc_xml(mt, YAZ_MARC_MARCXML);
    yaz_iconv_t cd = nullptr;
    const QByteArray from = charset.trimmed().isEmpty() ? QByteArray("UTF-8") : charset.toLatin1();
    if (from.compare("UTF-8", Qt::CaseInsensitive) != 0 &&
        from.compare("UTF8", Qt::CaseInsensitive) != 0) {
        cd = yaz_iconv_open("UTF-8", from.constData());
        if (cd)
            yaz_marc_iconv(mt, cd);
    }
    const char* result = nullptr;
    size_t size = 0;
    const int read = yaz_marc_decode_buf(mt, iso2709.constData(), static_cast<int>(iso2709.size()),
                                         &result, &size);
    QByteArray xml;
    if (read > 0 && result)
        xml = QByteArray(result, static_cast<qsizetype>(size));
    yaz_marc_destroy(mt);
    if (cd)
        yaz_iconv_close(cd);
    if (xml.isEmpty())
        return std::nullopt;
    const QList<Field> fields = parseMarcXml(xml);
    if (fields.isEmpty())
        return std::nullopt;
    const bool unimarc =
        format == Format::Unimarc || (format == Format::Guess && looksLikeUnimarc(fields));
    return unimarc ? fromUnimarc(fields) : fromMarc21(fields);
}
