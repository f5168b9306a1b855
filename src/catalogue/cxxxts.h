#pragma once

#include <QDialog>
#include <QString>

class QLabel;

// "查询信息提示": a small borderless box with one line of text, centred on the screen;
// any key or mouse click closes it. Closing sets its text back to the usual one.
class Tcxxxtsfm : public QDialog {
    Q_OBJECT
public:
    explicit Tcxxxtsfm(QWidget* parent = nullptr);

    static constexpr const char* usualText = "     没有你所查的资料 ! ";

    void setText(const QString& text);
    QString text() const;

    // Shows the text modally.
    static void open(const QString& text, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void done(int result) override;

private:
    QLabel* m_label = nullptr; // Label1
};
