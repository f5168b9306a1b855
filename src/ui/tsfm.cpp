#include "ui/tsfm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace {
// Eight dots around a circle, one of them dark, moving on every tick.
class Spinner : public QWidget {
public:
    explicit Spinner(QWidget* parent) : QWidget(parent)
    {
        setFixedSize(28, 28);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            m_step = (m_step + 1) % dots;
            update();
        });
        m_timer.start(100);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(width() / 2.0, height() / 2.0);
        painter.setPen(Qt::NoPen);
        for (int i = 0; i < dots; ++i) {
            const int age = (m_step - i + dots) % dots;
            QColor color = palette().color(QPalette::Highlight);
            color.setAlphaF(1.0 - age * 0.11);
            painter.setBrush(color);
            painter.drawEllipse(QPointF(0, -9), 2.6, 2.6);
            painter.rotate(360.0 / dots);
        }
    }

private:
    static constexpr int dots = 8;
    int m_step = 0;
    QTimer m_timer;
};

QPointer<Ttsfm>& current()
{
    static QPointer<Ttsfm> window;
    return window;
}
} // namespace

Ttsfm::Ttsfm(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint), m_text(new QLabel(this))
{
    setObjectName("Ttsfm");
    setAttribute(Qt::WA_DeleteOnClose);
    m_text->setObjectName("lts");
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    auto* inner = new QHBoxLayout(frame);
    inner->setContentsMargins(16, 14, 20, 14);
    inner->setSpacing(12);
    inner->addWidget(new Spinner(frame));
    inner->addWidget(m_text);
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
}

void Ttsfm::setText(const QString& text)
{
    m_text->setText(text);
    adjustSize();
}

QString Ttsfm::text() const
{
    return m_text->text();
}

void Ttsfm::showNow()
{
    adjustSize();
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect area =
        owner ? owner->frameGeometry() : (screen() ? screen()->availableGeometry() : QRect());
    if (area.isValid()) {
        QRect box = frameGeometry();
        box.moveCenter(area.center());
        move(box.topLeft());
    }
    show();
    raise();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

BusyNotice::BusyNotice(QWidget* parent, const QString& text)
{
    if (Ttsfm* open = current()) {
        m_previousText = open->text();
        open->setText(text);
        return;
    }
    m_window = new Ttsfm(parent);
    current() = m_window;
    m_window->setText(text);
    m_window->showNow();
}

BusyNotice::~BusyNotice()
{
    if (m_window) {
        m_window->close(); // deletes it
        current() = nullptr;
    } else if (Ttsfm* open = current()) {
        open->setText(m_previousText);
    }
}

void BusyNotice::run(QWidget* parent, const QString& text, const std::function<void()>& work)
{
    BusyNotice notice(parent, text);
    work();
}

void BusyNotice::keepAlive()
{
    static QElapsedTimer sinceLast;
    if (!current() || (sinceLast.isValid() && sinceLast.elapsed() < 100))
        return;
    sinceLast.start();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

Ttsfm* BusyNotice::shown()
{
    return current();
}
