#include "cards/video.h"

#include <QCamera>
#include <QCameraDevice>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QPainter>
#include <QVideoFrame>
#include <QVideoSink>

#include <algorithm>
#include <cmath>

// --- the machine's cameras through Qt Multimedia ----------------------------------------

namespace {
class CameraInput : public VideoInput {
public:
    explicit CameraInput(const QCameraDevice& device) : m_device(device) {}
    ~CameraInput() override { disconnectDevice(); }

    bool connectDevice() override
    {
        if (m_device.isNull())
            return false;
        m_camera = std::make_unique<QCamera>(m_device);
        if (m_camera->error() != QCamera::NoError) {
            m_camera.reset();
            return false;
        }
        connect(m_camera.get(), &QCamera::errorOccurred, this,
                [this](QCamera::Error error, const QString& text) {
                    emit statusText(static_cast<int>(error), text);
                });
        connect(&m_sink, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame& frame) {
            const QImage image = frame.toImage();
            if (image.isNull())
                return;
            m_lastSize = image.size();
            emit frameArrived(image);
        });
        m_session.setCamera(m_camera.get());
        m_session.setVideoSink(&m_sink);
        return true;
    }

    void disconnectDevice() override
    {
        if (!m_camera)
            return;
        m_camera->stop();
        m_session.setCamera(nullptr);
        m_session.setVideoSink(nullptr);
        disconnect(&m_sink, nullptr, this, nullptr);
        m_camera.reset();
    }

    void setPreview(bool on) override
    {
        if (m_camera)
            m_camera->setActive(on);
    }

    QSize pictureSize() const override
    {
        if (!m_lastSize.isEmpty() || !m_camera)
            return m_lastSize;
        return m_camera->cameraFormat().resolution();
    }

private:
    QCameraDevice m_device;
    std::unique_ptr<QCamera> m_camera;
    QMediaCaptureSession m_session;
    QVideoSink m_sink;
    QSize m_lastSize;
};

class CameraInputs : public VideoInputs {
public:
    QStringList descriptions() const override
    {
        QStringList names;
        for (const QCameraDevice& device : QMediaDevices::videoInputs()) {
            if (names.size() == maxDevices)
                break;
            names << device.description();
        }
        return names;
    }

    std::unique_ptr<VideoInput> create(int index) override
    {
        const QList<QCameraDevice> devices = QMediaDevices::videoInputs();
        if (index < 0 || index >= devices.size() || index >= maxDevices)
            return nullptr;
        return std::make_unique<CameraInput>(devices.at(index));
    }
};

VideoInputs*& installedInputs()
{
    static VideoInputs* inputs = nullptr;
    return inputs;
}
} // namespace

VideoInputs& VideoInputs::current()
{
    static CameraInputs cameras;
    return installedInputs() ? *installedInputs() : cameras;
}

void VideoInputs::install(VideoInputs* inputs)
{
    installedInputs() = inputs;
}

// --- the capture window: the child that shows the pictures ---------------------------------

class CaptureWindow : public QWidget {
public:
    explicit CaptureWindow(QWidget* parent) : QWidget(parent)
    {
        // Mouse clicks belong to the control, as if the window were not there.
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    void setFrame(const QImage& frame)
    {
        m_frame = frame;
        update();
    }
    bool hasFrame() const { return !m_frame.isNull(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (m_frame.isNull())
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), m_frame);
    }

private:
    QImage m_frame;
};

// --- the control -------------------------------------------------------------------

TVideoCap::TVideoCap(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);

    m_capAudioFormat.setChannelCount(1);
    m_capAudioFormat.setSampleRate(8000);
    m_capAudioFormat.setSampleFormat(QAudioFormat::UInt8);

    m_presentTimer.setSingleShot(true);
    connect(&m_presentTimer, &QTimer::timeout, this, &TVideoCap::presentPending);
}

TVideoCap::~TVideoCap()
{
    closeDriver();
}

void TVideoCap::setDriverIndex(int index)
{
    if (index == m_driverIndex)
        return;
    closeDriver();
    m_status = CaptureStatus();
    if (index >= 0) {
        const QStringList names = VideoInputs::current().descriptions();
        if (index < VideoInputs::maxDevices && index < names.size())
            m_driverName = names.at(index);
        else
            index = -1;
    }
    if (index < 0) {
        index = -1;
        m_driverName.clear();
    }
    m_driverIndex = index;
}

void TVideoCap::setDriverName(const QString& name)
{
    if (name == m_driverName)
        return;
    const QStringList names = VideoInputs::current().descriptions().mid(0, VideoInputs::maxDevices);
    const int index = name.isEmpty() ? -1 : int(names.indexOf(name));
    setDriverIndex(index);
}

void TVideoCap::setDriverOpen(bool open)
{
    if (open)
        openDriver();
    else
        closeDriver();
}

void TVideoCap::openDriver()
{
    if (driverOpen())
        return;
    if (m_driverIndex == -1) {
        refreshStatus();
        throw ENoDriverException();
    }
    std::unique_ptr<VideoInput> input = VideoInputs::current().create(m_driverIndex);
    if (!input) {
        refreshStatus();
        throw ENoCapWindowException();
    }
    auto* window = new CaptureWindow(this);
    window->setObjectName(objectName() + "_capture");
    window->setGeometry(0, 0, width(), height());
    window->show();
    connect(input.get(), &VideoInput::frameArrived, this, &TVideoCap::receiveFrame);
    connect(input.get(), &VideoInput::statusText, this, &TVideoCap::OnStatusCallback);
    if (!input->connectDevice()) {
        delete window;
        refreshStatus();
        throw ENotConnectException();
    }
    m_input = std::move(input);
    m_captureWindow = window;
    m_status.scale = m_scaleToWindow;
    refreshStatus();
    sizeCaptureWindow();
}

void TVideoCap::closeDriver()
{
    m_presentTimer.stop();
    m_pendingFrame = QImage();
    if (!m_input)
        return;
    m_input->disconnectDevice();
    m_input.reset();
    delete m_captureWindow;
    m_captureWindow = nullptr;
    m_status.liveWindow = false;
}

void TVideoCap::refreshStatus()
{
    if (m_input) {
        const QSize picture = m_input->pictureSize();
        if (!picture.isEmpty())
            m_status.imageSize = picture;
    }
    emit OnStatus();
}

void TVideoCap::setVideoPreview(bool on)
{
    if (on == videoPreview())
        return;
    if (on)
        openDriver();
    m_input->setPreview(on);
    m_status.liveWindow = on;
    refreshStatus();
    update();
}

void TVideoCap::setVideoOverlay(bool on)
{
    if (on == videoOverlay())
        return;
    // Reading the driver's capabilities needs the driver, for the moment at least.
    const bool wasOpen = driverOpen();
    openDriver();
    if (!wasOpen)
        closeDriver();
    throw ENoOverlayException();
}

void TVideoCap::setPreviewScaleToWindow(bool on)
{
    m_scaleToWindow = on;
    if (driverOpen()) {
        m_status.scale = on;
        sizeCaptureWindow();
    }
    update();
}

void TVideoCap::setPreviewScaleProportional(bool on)
{
    m_scaleProportional = on;
    sizeCaptureWindow();
    update();
}

void TVideoCap::setPreviewRate(int framesPerSecond)
{
    m_previewRate = std::clamp(framesPerSecond, 1, 30);
    sizeCaptureWindow();
    update();
}

int TVideoCap::previewIntervalMs() const
{
    return static_cast<int>(std::lround(1000.0 / m_previewRate));
}

void TVideoCap::setMicroSecPerFrame(uint value)
{
    m_microSecPerFrame = std::max(value, 33333u);
}

uint TVideoCap::frameRate() const
{
    return static_cast<uint>(std::lround(1000000.0 / m_microSecPerFrame));
}

void TVideoCap::setFrameRate(uint framesPerSecond)
{
    if (framesPerSecond != 0)
        setMicroSecPerFrame(static_cast<uint>(std::lround(1000000.0 / framesPerSecond)));
}

void TVideoCap::setCapIndexSize(uint value)
{
    m_capIndexSize = value == 0 ? 0 : std::clamp(value, 1800u, 324000u);
}

QRect TVideoCap::captureRect() const
{
    return captureRect(size(), m_status.imageSize, m_scaleToWindow, m_scaleProportional);
}

QRect TVideoCap::captureRect(QSize control, QSize picture, bool scale, bool proportional)
{
    if (!scale)
        return QRect(QPoint(0, 0), picture);
    if (!proportional || picture.isEmpty() || control.isEmpty())
        return QRect(QPoint(0, 0), control);
    const double aspect = double(picture.width()) / picture.height();
    if (double(control.width()) / control.height() > aspect)
        return QRect(0, 0, int(std::lround(aspect * control.height())), control.height());
    return QRect(0, 0, control.width(), int(std::lround(control.width() / aspect)));
}

void TVideoCap::sizeCaptureWindow()
{
    if (m_captureWindow)
        m_captureWindow->setGeometry(captureRect());
}

QImage TVideoCap::photograph()
{
    presentPending();
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    render(&image);
    return image;
}

bool TVideoCap::hasPicture() const
{
    return videoPreview() && (!m_pendingFrame.isNull() || m_captureWindow->hasFrame());
}

void TVideoCap::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_scaleToWindow)
        sizeCaptureWindow();
}

void TVideoCap::receiveFrame(const QImage& frame)
{
    emit OnFrameCallback(frame);
    if (!m_status.liveWindow)
        return;
    if (frame.size() != m_status.imageSize) {
        m_status.imageSize = frame.size();
        emit OnStatus();
        sizeCaptureWindow();
    }
    // Pictures are shown at the preview rate; in between only the newest is kept.
    m_pendingFrame = frame;
    if (m_presentTimer.isActive())
        return;
    const int interval = previewIntervalMs();
    if (!m_sinceShown.isValid() || m_sinceShown.elapsed() >= interval)
        presentPending();
    else
        m_presentTimer.start(interval - int(m_sinceShown.elapsed()));
}

void TVideoCap::presentPending()
{
    if (m_pendingFrame.isNull() || !m_captureWindow)
        return;
    m_presentTimer.stop();
    m_captureWindow->setFrame(m_pendingFrame);
    m_pendingFrame = QImage();
    m_sinceShown.start();
}

// --- pictures fed by hand ---------------------------------------------------------

class FedVideoInputs::Device : public VideoInput {
public:
    Device(QSize pictureSize, bool refuse) : m_pictureSize(pictureSize), m_refuse(refuse) {}

    bool connectDevice() override
    {
        m_connected = !m_refuse;
        return m_connected;
    }
    void disconnectDevice() override { m_connected = m_previewing = false; }
    void setPreview(bool on) override { m_previewing = on && m_connected; }
    QSize pictureSize() const override { return m_pictureSize; }

    void feed(const QImage& frame)
    {
        if (!m_previewing)
            return;
        m_pictureSize = frame.size();
        emit frameArrived(frame);
    }
    bool connected() const { return m_connected; }
    bool previewing() const { return m_previewing; }

private:
    QSize m_pictureSize;
    bool m_refuse;
    bool m_connected = false;
    bool m_previewing = false;
};

FedVideoInputs::FedVideoInputs(const QStringList& names, QSize pictureSize)
    : m_names(names), m_pictureSize(pictureSize)
{
}

FedVideoInputs::~FedVideoInputs()
{
    if (installedInputs() == this)
        installedInputs() = nullptr;
}

std::unique_ptr<VideoInput> FedVideoInputs::create(int index)
{
    if (index < 0 || index >= m_names.size())
        return nullptr;
    auto device = std::make_unique<Device>(m_pictureSize, m_refuseConnect);
    m_device = device.get();
    ++m_connections;
    return device;
}

void FedVideoInputs::feed(const QImage& frame)
{
    if (m_device)
        m_device->feed(frame);
}

bool FedVideoInputs::connected() const
{
    return m_device && m_device->connected();
}

bool FedVideoInputs::previewing() const
{
    return m_device && m_device->previewing();
}
