#pragma once

#include <QAudioFormat>
#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <stdexcept>

// --- errors -----------------------------------------------------------------
// Every failure of the capture control is one of these; a caller that can work
// without a camera catches EVideoCapError and carries on.
class EVideoCapError : public std::runtime_error {
public:
    explicit EVideoCapError(const char* text) : std::runtime_error(text) {}
    QString text() const { return QString::fromUtf8(what()); }
};
class ENoDriverException : public EVideoCapError {
public:
    ENoDriverException() : EVideoCapError("No capture driver selected") {}
};
class ENoCapWindowException : public EVideoCapError {
public:
    ENoCapWindowException() : EVideoCapError("Can not create capture window") {}
};
class ENotConnectException : public EVideoCapError {
public:
    ENotConnectException() : EVideoCapError("Can not connect capture driver with capture window") {}
};
class ENoOverlayException : public EVideoCapError {
public:
    ENoOverlayException() : EVideoCapError("Driver has no overlay mode") {}
};

// --- where pictures come from ---------------------------------------------------
// One connected capture device. While its preview runs it sends frames.
class VideoInput : public QObject {
    Q_OBJECT
public:
    virtual bool connectDevice() = 0; // false when the device refuses
    virtual void disconnectDevice() = 0;
    virtual void setPreview(bool on) = 0;
    virtual QSize pictureSize() const = 0; // may be empty before the first frame

signals:
    void frameArrived(const QImage& frame);
    void statusText(int id, const QString& text);
};

// The capture devices of the machine, numbered 0 to 9. The default list is the
// video inputs Qt Multimedia reports; tests install a fake list with install().
class VideoInputs {
public:
    static constexpr int maxDevices = 10;

    virtual ~VideoInputs() = default;
    virtual QStringList descriptions() const = 0;
    // The device's connection object, or null when it cannot be created.
    virtual std::unique_ptr<VideoInput> create(int index) = 0;

    static VideoInputs& current();
    static void install(VideoInputs* inputs); // null returns to the machine's devices
};

// A device list whose pictures are fed by hand: tests and demonstrations use it in
// place of a camera. Install it with VideoInputs::install(); it uninstalls itself.
class FedVideoInputs : public VideoInputs {
public:
    explicit FedVideoInputs(const QStringList& names, QSize pictureSize = QSize(320, 240));
    ~FedVideoInputs() override;

    QStringList descriptions() const override { return m_names; }
    std::unique_ptr<VideoInput> create(int index) override;

    // Sends a picture from the connected device; it arrives only while its preview runs.
    void feed(const QImage& frame);
    bool connected() const;
    bool previewing() const;
    int connections() const { return m_connections; }
    void setRefuseConnect(bool refuse) { m_refuseConnect = refuse; }

private:
    class Device;
    QStringList m_names;
    QSize m_pictureSize;
    QPointer<Device> m_device;
    int m_connections = 0;
    bool m_refuseConnect = false;
};

class CaptureWindow;

// --- the control ---------------------------------------------------------------------
// What the capture device last said about itself.
struct CaptureStatus {
    QSize imageSize; // size of the device's picture
    bool liveWindow = false;
    bool scale = false;
};

// A rectangle on a screen that shows the live picture of a capture device and can
// take a photograph of what it shows. No device is a normal state: opening then
// throws ENoDriverException, which callers that work without a camera ignore.
class TVideoCap : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int DriverIndex READ driverIndex WRITE setDriverIndex)
    Q_PROPERTY(QString DriverName READ driverName WRITE setDriverName)
    Q_PROPERTY(bool DriverOpen READ driverOpen WRITE setDriverOpen)
    Q_PROPERTY(bool VideoPreview READ videoPreview WRITE setVideoPreview)
    Q_PROPERTY(bool VideoOverlay READ videoOverlay WRITE setVideoOverlay)
    Q_PROPERTY(bool PreviewScaleToWindow READ previewScaleToWindow WRITE setPreviewScaleToWindow)
    Q_PROPERTY(bool PreviewScaleProportional READ previewScaleProportional WRITE
                   setPreviewScaleProportional)
    Q_PROPERTY(int PreviewRate READ previewRate WRITE setPreviewRate)
    Q_PROPERTY(uint MicroSecPerFrame READ microSecPerFrame WRITE setMicroSecPerFrame)
    Q_PROPERTY(uint FrameRate READ frameRate WRITE setFrameRate)
    Q_PROPERTY(uint CapIndexSize READ capIndexSize WRITE setCapIndexSize)
    Q_PROPERTY(QString VideoFileName MEMBER m_videoFileName)
    Q_PROPERTY(QString SingleImageFile MEMBER m_singleImageFile)
    Q_PROPERTY(bool CapToFile MEMBER m_capToFile)
    Q_PROPERTY(bool CapAudio MEMBER m_capAudio)
    Q_PROPERTY(int CapTimeLimit MEMBER m_capTimeLimit)

public:
    explicit TVideoCap(QWidget* parent = nullptr);
    ~TVideoCap() override;

    int driverIndex() const { return m_driverIndex; }
    void setDriverIndex(int index);
    QString driverName() const { return m_driverName; }
    void setDriverName(const QString& name);

    bool driverOpen() const { return m_input != nullptr; }
    void setDriverOpen(bool open);

    bool videoPreview() const { return driverOpen() && m_status.liveWindow; }
    void setVideoPreview(bool on);
    // No device reached through Qt Multimedia has a hardware overlay: asking for
    // one throws ENoOverlayException (or ENoDriverException without a device).
    bool videoOverlay() const { return false; }
    void setVideoOverlay(bool on);

    bool previewScaleToWindow() const { return m_scaleToWindow; }
    void setPreviewScaleToWindow(bool on);
    bool previewScaleProportional() const { return m_scaleProportional; }
    void setPreviewScaleProportional(bool on);

    int previewRate() const { return m_previewRate; }
    void setPreviewRate(int framesPerSecond);
    // The preview rate as the device is told it: milliseconds between pictures.
    int previewIntervalMs() const;

    uint microSecPerFrame() const { return m_microSecPerFrame; }
    void setMicroSecPerFrame(uint value);
    uint frameRate() const;
    void setFrameRate(uint framesPerSecond);
    uint capIndexSize() const { return m_capIndexSize; }
    void setCapIndexSize(uint value);

    QAudioFormat capAudioFormat() const { return m_capAudioFormat; }
    CaptureStatus status() const { return m_status; }

    // Where the device's picture lies inside the control.
    QRect captureRect() const;
    static QRect captureRect(QSize control, QSize picture, bool scale, bool proportional);

    // The control as it is shown now, at the control's size: the photograph.
    QImage photograph();
    // True while the preview runs and the device has sent a picture to show; a
    // device that is open but silent (busy, failing) leaves the control black.
    bool hasPicture() const;

signals:
    void OnStatus();                                          // the status was refreshed
    void OnStatusCallback(int statusId, const QString& text); // the device reported
    void OnFrameCallback(const QImage& frame);                // a picture arrived

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void openDriver();
    void closeDriver();
    void refreshStatus();
    void sizeCaptureWindow();
    void receiveFrame(const QImage& frame);
    void presentPending();

    int m_driverIndex = -1;
    QString m_driverName;
    bool m_scaleToWindow = false;
    bool m_scaleProportional = false;
    int m_previewRate = 30;
    uint m_microSecPerFrame = 66667;
    uint m_capIndexSize = 0;
    // Kept with the settings; nothing here captures to a file.
    QString m_videoFileName = "Video.avi";
    QString m_singleImageFile = "Capture.bmp";
    bool m_capToFile = true;
    bool m_capAudio = false;
    int m_capTimeLimit = 0;
    QAudioFormat m_capAudioFormat;

    CaptureStatus m_status;
    std::unique_ptr<VideoInput> m_input;
    CaptureWindow* m_captureWindow = nullptr; // a child while the driver is open
    QImage m_pendingFrame;
    QElapsedTimer m_sinceShown;
    QTimer m_presentTimer;
};
