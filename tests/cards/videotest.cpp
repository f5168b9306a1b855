#include "cards/video.h"
#include "testmain.h"

#include <QSignalSpy>
#include <QTest>

// The capture control's settings and state rules, driven through devices fed by hand.
class VideoCapTest : public QObject {
    Q_OBJECT

    static QImage filled(QSize size, QColor colour)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }

    // Counts the pixels of the photograph that have the colour.
    static int pixelsOf(const QImage& image, QColor colour)
    {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixelColor(x, y) == colour ? 1 : 0;
        return count;
    }

private slots:
    void defaultsAtCreation()
    {
        TVideoCap cap;
        QCOMPARE(cap.property("DriverIndex").toInt(), -1);
        QCOMPARE(cap.property("DriverName").toString(), QString());
        QCOMPARE(cap.property("DriverOpen").toBool(), false);
        QCOMPARE(cap.property("VideoPreview").toBool(), false);
        QCOMPARE(cap.property("VideoOverlay").toBool(), false);
        QCOMPARE(cap.property("PreviewScaleToWindow").toBool(), false);
        QCOMPARE(cap.property("PreviewScaleProportional").toBool(), false);
        QCOMPARE(cap.property("PreviewRate").toInt(), 30);
        QCOMPARE(cap.property("MicroSecPerFrame").toUInt(), 66667u);
        QCOMPARE(cap.property("CapIndexSize").toUInt(), 0u);
        QCOMPARE(cap.property("VideoFileName").toString(), QString("Video.avi"));
        QCOMPARE(cap.property("SingleImageFile").toString(), QString("Capture.bmp"));
        QCOMPARE(cap.property("CapToFile").toBool(), true);
        QCOMPARE(cap.capAudioFormat().channelCount(), 1);
        QCOMPARE(cap.capAudioFormat().sampleRate(), 8000);
        QCOMPARE(cap.palette().color(QPalette::Window), QColor(Qt::black));
    }

    void previewRate_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("milliseconds");
        QTest::newRow("12") << 12 << 12 << 83;
        QTest::newRow("0 becomes 1") << 0 << 1 << 1000;
        QTest::newRow("50 becomes 30") << 50 << 30 << 33;
        QTest::newRow("negative becomes 1") << -4 << 1 << 1000;
    }
    void previewRate()
    {
        QFETCH(int, rate);
        TVideoCap cap;
        cap.setProperty("PreviewRate", rate);
        QTEST(cap.previewRate(), "stored");
        QTEST(cap.previewIntervalMs(), "milliseconds");
    }

    void storedOnlySettings()
    {
        TVideoCap cap;
        cap.setMicroSecPerFrame(1000);
        QCOMPARE(cap.microSecPerFrame(), 33333u);
        cap.setFrameRate(25);
        QCOMPARE(cap.microSecPerFrame(), 40000u);
        QCOMPARE(cap.frameRate(), 25u);
        cap.setFrameRate(0); // ignored
        QCOMPARE(cap.microSecPerFrame(), 40000u);
        cap.setFrameRate(7); // 142857.14 rounds
        QCOMPARE(cap.microSecPerFrame(), 142857u);

        const QList<QPair<uint, uint>> indexSizes = {
            {0, 0}, {5, 1800}, {5000, 5000}, {400000, 324000}};
        for (const auto& [given, stored] : indexSizes) {
            cap.setCapIndexSize(given);
            QCOMPARE(cap.capIndexSize(), stored);
        }
    }

    void captureRect_data()
    {
        QTest::addColumn<QSize>("control");
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<bool>("scale");
        QTest::addColumn<bool>("proportional");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("proportional, taller control")
            << QSize(121, 128) << QSize(320, 240) << true << true << QRect(0, 0, 121, 91);
        QTest::newRow("proportional, wider control")
            << QSize(200, 100) << QSize(320, 240) << true << true << QRect(0, 0, 133, 100);
        QTest::newRow("stretched to the control")
            << QSize(121, 128) << QSize(320, 240) << true << false << QRect(0, 0, 121, 128);
        QTest::newRow("not scaled: the picture's own size")
            << QSize(121, 128) << QSize(320, 240) << false << true << QRect(0, 0, 320, 240);
    }
    void captureRect()
    {
        QFETCH(QSize, control);
        QFETCH(QSize, picture);
        QFETCH(bool, scale);
        QFETCH(bool, proportional);
        QTEST(TVideoCap::captureRect(control, picture, scale, proportional), "expected");
    }

    void withoutDeviceOpeningFailsQuietly()
    {
        FedVideoInputs none({});
        VideoInputs::install(&none);
        TVideoCap cap;
        QSignalSpy status(&cap, &TVideoCap::OnStatus);
        cap.setDriverIndex(0);
        QCOMPARE(cap.driverIndex(), -1);
        QCOMPARE(cap.driverName(), QString());
        try {
            cap.setVideoPreview(true);
            QFAIL("preview without a device must fail");
        } catch (const ENoDriverException& e) {
            QCOMPARE(e.text(), QString("No capture driver selected"));
        }
        QCOMPARE(status.count(), 1);
        QVERIFY(!cap.driverOpen());
        QVERIFY_THROWS_EXCEPTION(ENoDriverException, cap.setVideoOverlay(true));
        QVERIFY_THROWS_EXCEPTION(ENoDriverException, cap.setDriverOpen(true));
    }

    void selectingDrivers()
    {
        FedVideoInputs cameras({"Cam A", "Cam B"});
        VideoInputs::install(&cameras);
        TVideoCap cap;
        cap.setDriverIndex(0);
        QCOMPARE(cap.driverName(), QString("Cam A"));
        cap.setDriverName("Cam B");
        QCOMPARE(cap.driverIndex(), 1);
        cap.setDriverName("Cam C");
        QCOMPARE(cap.driverIndex(), -1);
        QCOMPARE(cap.driverName(), QString());
        cap.setDriverIndex(12);
        QCOMPARE(cap.driverIndex(), -1);
        QCOMPARE(cameras.connections(), 0); // choosing a driver connects nothing
    }

    void previewOpensAndClosingStopsIt()
    {
        FedVideoInputs cameras({"Cam A"});
        VideoInputs::install(&cameras);
        TVideoCap cap;
        cap.setDriverIndex(0);
        cap.setVideoPreview(false); // never opened: nothing happens
        QCOMPARE(cameras.connections(), 0);
        QVERIFY(!cap.driverOpen());

        QSignalSpy status(&cap, &TVideoCap::OnStatus);
        cap.setVideoPreview(true);
        QVERIFY(cap.driverOpen());
        QVERIFY(cap.videoPreview());
        QVERIFY(cameras.previewing());
        QVERIFY(status.count() >= 2); // after connecting and after the preview switch
        QCOMPARE(cap.status().imageSize, QSize(320, 240));

        cap.setVideoPreview(true); // already on
        QCOMPARE(cameras.connections(), 1);
        cap.setVideoPreview(false);
        QVERIFY(cap.driverOpen());
        QVERIFY(!cameras.previewing());

        cap.setDriverOpen(false);
        QVERIFY(!cameras.connected());
        QVERIFY(!cap.videoPreview());

        cap.setVideoPreview(true);
        cap.setDriverIndex(-1); // another driver closes the open one
        QVERIFY(!cap.driverOpen());
        QVERIFY(!cameras.connected());
    }

    void deviceFailures()
    {
        FedVideoInputs cameras({"Cam A"});
        VideoInputs::install(&cameras);
        TVideoCap cap;
        cap.setDriverIndex(0);
        try {
            cap.setVideoOverlay(true);
            QFAIL("no device here has an overlay");
        } catch (const ENoOverlayException& e) {
            QCOMPARE(e.text(), QString("Driver has no overlay mode"));
        }
        QVERIFY(!cap.driverOpen()); // opened only for the moment

        cameras.setRefuseConnect(true);
        try {
            cap.setVideoPreview(true);
            QFAIL("a refusing device must fail");
        } catch (const ENotConnectException& e) {
            QCOMPARE(e.text(), QString("Can not connect capture driver with capture window"));
        }
        QVERIFY(!cap.driverOpen());
        QVERIFY(cap.findChildren<QWidget*>().isEmpty()); // the capture window is gone
    }

    void photographIsWhatTheControlShows()
    {
        FedVideoInputs cameras({"Cam A"});
        VideoInputs::install(&cameras);
        TVideoCap cap;
        cap.resize(121, 128);
        cap.setPreviewScaleToWindow(true);
        cap.setPreviewRate(12);
        cap.setDriverIndex(0);

        QCOMPARE(pixelsOf(cap.photograph(), Qt::black), 121 * 128); // nothing shown yet

        cap.setVideoPreview(true);
        QVERIFY(!cap.hasPicture()); // previewing, but the device has sent nothing
        cameras.feed(filled(QSize(320, 240), Qt::red));
        QVERIFY(cap.hasPicture());
        QImage photo = cap.photograph();
        QCOMPARE(photo.size(), QSize(121, 128));
        QCOMPARE(pixelsOf(photo, Qt::red), 121 * 128); // stretched to the control

        cap.setPreviewScaleProportional(true);
        photo = cap.photograph();
        QCOMPARE(pixelsOf(photo, Qt::red), 121 * 91); // the rest stays black
        QCOMPARE(photo.pixelColor(60, 120), QColor(Qt::black));

        // The newest picture is the one photographed, even inside the preview interval.
        cameras.feed(filled(QSize(320, 240), Qt::blue));
        QCOMPARE(pixelsOf(cap.photograph(), Qt::blue), 121 * 91);

        cap.setVideoPreview(false); // frames no longer arrive; the last one stays
        cameras.feed(filled(QSize(320, 240), Qt::green));
        QCOMPARE(pixelsOf(cap.photograph(), Qt::green), 0);
        QVERIFY(!cap.hasPicture());
    }

    void cleanup() { VideoInputs::install(nullptr); }
};

LIBRARY_TEST(VideoCapTest)
#include "videotest.moc"
