#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

class QLabel;

// The busy notice: a small borderless window with a text (label `lts`) and a
// turning indicator, shown while long work runs.
class Ttsfm : public QWidget {
    Q_OBJECT
public:
    explicit Ttsfm(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const;
    // Shows the window centred over its owner and paints it at once.
    void showNow();

private:
    QLabel* m_text;
};

// Shows the busy notice for the lifetime of the object, closing it also when the
// work throws:
//
//   BusyNotice::run(this, "系统正在导出数据,请稍候...", [&] { ...long work... });
//
// or { BusyNotice busy(this, text); ...long work... }. Long loops call keepAlive()
// now and then so the notice keeps painting (input to the windows is held back).
// A notice opened while another is shown only changes the text.
class BusyNotice {
public:
    BusyNotice(QWidget* parent, const QString& text);
    ~BusyNotice();
    BusyNotice(const BusyNotice&) = delete;
    BusyNotice& operator=(const BusyNotice&) = delete;

    static void run(QWidget* parent, const QString& text, const std::function<void()>& work);

    // Cheap to call often: lets the notice repaint and turn at most ten times a second.
    static void keepAlive();
    // The notice on the screen, or null.
    static Ttsfm* shown();

private:
    QPointer<Ttsfm> m_window; // set when this object opened the window
    QString m_previousText;   // restored when a nested notice ends
};
