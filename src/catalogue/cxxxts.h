#pragma once

#include <QDialog>
#include <QStringList>

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

    // Shows the text modally. With the message boxes scripted (tests) nothing is shown
    // and the text is recorded instead.
    static void open(const QString& text, QWidget* parent);
    static QStringList takeShown();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void done(int result) override;

private:
    QLabel* m_label = nullptr; // Label1
};
