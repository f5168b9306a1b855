#pragma once

#include <QColor>
#include <QLineEdit>
#include <QPalette>
#include <optional>

class QDataWidgetMapper;

// A data-entry box for fast keyboard work, optionally bound to one column of the
// current row of a model:
// - Enter moves the focus to the next control (EnterLikeTab) and types nothing;
// - while it has the focus its background is ColorOnFocus (yellow), and on leaving it
//   returns to the colour the box had when it was created;
// - typed letters follow CaseMode; cmProperCase capitalises a letter typed at the
//   start of the text or after a space ("li ming" -> "Li Ming", "abc" + "x" -> "abcx");
//   CharCase then forces the case of every typed letter;
// - on entering, the caret goes after the last character (CursorEndField) unless
//   AutoSelect selects the whole text;
// - entered() and exited() follow the box's own entering and leaving (they are not
//   sent when only the window loses or regains activation).
//
//   auto* title = new TBlDBEdit(this);
//   title->setObjectName("tsmc");
//   title->bindTo(m_mapper, m_model->fieldIndex("tsmc")); // shows and edits that column
class TBlDBEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(TCaseMode CaseMode READ caseMode WRITE setCaseMode)
    Q_PROPERTY(QColor ColorOnFocus READ colorOnFocus WRITE setColorOnFocus)
    Q_PROPERTY(bool EnterLikeTab READ enterLikeTab WRITE setEnterLikeTab)
    Q_PROPERTY(bool CursorEndField READ cursorEndField WRITE setCursorEndField)
    Q_PROPERTY(TEditCharCase CharCase READ charCase WRITE setCharCase)
    Q_PROPERTY(bool AutoSelect READ autoSelect WRITE setAutoSelect)
    Q_PROPERTY(QColor Color READ color WRITE setColor)

public:
    enum TCaseMode { cmNormal, cmProperCase, cmLowerCase, cmUpperCase };
    Q_ENUM(TCaseMode)
    enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
    Q_ENUM(TEditCharCase)

    explicit TBlDBEdit(QWidget* parent = nullptr);

    // Shows and edits column `column` of the mapper's current row; the mapper writes
    // the text back to its model when the box is left.
    void bindTo(QDataWidgetMapper* mapper, int column);

    TCaseMode caseMode() const { return m_caseMode; }
    void setCaseMode(TCaseMode mode) { m_caseMode = mode; }
    QColor colorOnFocus() const { return m_colorOnFocus; }
    void setColorOnFocus(const QColor& color) { m_colorOnFocus = color; }
    bool enterLikeTab() const { return m_enterLikeTab; }
    void setEnterLikeTab(bool on) { m_enterLikeTab = on; }
    bool cursorEndField() const { return m_cursorEndField; }
    void setCursorEndField(bool on) { m_cursorEndField = on; }
    TEditCharCase charCase() const { return m_charCase; }
    void setCharCase(TEditCharCase charCase);
    bool autoSelect() const { return m_autoSelect; }
    void setAutoSelect(bool on) { m_autoSelect = on; }

    // The background colour shown now.
    QColor color() const;
    void setColor(const QColor& color);

signals:
    void entered();
    void exited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The text as typing `typed` at the caret inserts it.
    QString casedForTyping(const QString& typed) const;
    void showBackground(const std::optional<QColor>& color);

    TCaseMode m_caseMode = cmProperCase;
    QColor m_colorOnFocus = QColor(255, 255, 0);
    bool m_enterLikeTab = true;
    bool m_cursorEndField = true;
    TEditCharCase m_charCase = ecNormal;
    bool m_autoSelect = false;
    QPalette m_createdPalette;          // restored on leaving
    std::optional<QColor> m_background; // a colour set over the created one
};
