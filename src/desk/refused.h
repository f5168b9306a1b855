#pragma once

#include <QString>

#include <stdexcept>

// A desk operation that will not go on throws this: the notice to show and the box the
// operator should correct. Action::run rolls back whatever the operation had written,
// shows the notice and puts the focus in that box.
//
//   throw Refused("提示信息", "查无此等级!", "ComboBox1");
//   throw Refused::plain("充值金额格式不对！");
class Refused : public std::runtime_error {
public:
    enum class Style { Notice, Plain };

    Refused(const QString& caption, const QString& text, const QString& box = QString())
        : std::runtime_error(text.toStdString()), m_caption(caption), m_text(text), m_box(box)
    {
    }
    // A message captioned with the application title, without an icon.
    static Refused plain(const QString& text, const QString& box = QString())
    {
        Refused refused(QString(), text, box);
        refused.m_style = Style::Plain;
        return refused;
    }
    // The usual notice, captioned "提示信息".
    static Refused notice(const QString& text, const QString& box = QString())
    {
        return Refused(QString::fromUtf8("提示信息"), text, box);
    }

    Style style() const { return m_style; }
    QString caption() const { return m_caption; }
    QString text() const { return m_text; }
    // objectName of the box to focus, or empty.
    QString box() const { return m_box; }

private:
    QString m_caption;
    QString m_text;
    QString m_box;
    Style m_style = Style::Notice;
};
