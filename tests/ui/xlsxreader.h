#pragma once

#include <QHash>
#include <QProcess>
#include <QStringList>
#include <QXmlStreamReader>

// Reads the first sheet of an .xlsx file back as rows of texts, for export tests.
// Inline and shared strings both read as their text; a missing cell reads as "",
// a missing row as an empty row.
// `nonTextCells` counts cells holding anything but a text (numbers, formulas).
struct XlsxSheet {
    QList<QStringList> rows;
    int nonTextCells = 0;
    bool ok = false;

    static QByteArray member(const QString& file, const QString& name)
    {
        QProcess unzip;
        unzip.start("unzip", {"-p", file, name});
        unzip.waitForFinished(60000);
        return unzip.exitCode() == 0 ? unzip.readAllStandardOutput() : QByteArray();
    }

    static int columnOf(const QString& reference)
    {
        int column = 0;
        for (QChar c : reference) {
            if (!c.isLetter())
                break;
            column = column * 26 + (c.unicode() - 'A' + 1);
        }
        return column - 1;
    }

    static XlsxSheet read(const QString& file)
    {
        XlsxSheet sheet;
        QStringList shared;
        QXmlStreamReader strings(member(file, "xl/sharedStrings.xml"));
        while (!strings.atEnd()) {
            if (strings.readNext() == QXmlStreamReader::StartElement && strings.name() == u"si")
                shared << strings.readElementText(QXmlStreamReader::IncludeChildElements);
        }
        const QByteArray xml = member(file, "xl/worksheets/sheet1.xml");
        sheet.ok = !xml.isEmpty();
        QXmlStreamReader reader(xml);
        QString type;
        int column = 0;
        while (!reader.atEnd()) {
            reader.readNext();
            if (!reader.isStartElement())
                continue;
            if (reader.name() == u"row") {
                // Rows without cells are not written: place each row by its number.
                const int number = reader.attributes().value("r").toInt();
                while (sheet.rows.size() < number)
                    sheet.rows.append(QStringList());
            } else if (reader.name() == u"c") {
                type = reader.attributes().value("t").toString();
                column = columnOf(reader.attributes().value("r").toString());
                if (type != "s" && type != "inlineStr" && type != "str")
                    ++sheet.nonTextCells;
            } else if (reader.name() == u"v" || reader.name() == u"is") {
                QString text = reader.readElementText(QXmlStreamReader::IncludeChildElements);
                if (type == "s")
                    text = shared.value(text.toInt());
                QStringList& row = sheet.rows.last();
                while (row.size() <= column)
                    row.append(QString());
                row[column] = text;
            }
        }
        return sheet;
    }
};
