#include "cards/blxk.h"
#include "cards/video.h"
#include "data/sql.h"
#include "driver.h"
#include "fixture.h"
#include "reports/reportoutput.h"
#include "testmain.h"
#include "ui/messages.h"
#include "ui/pickdate.h"
#include "ui/windows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTest>

// Card issue driven through the screen: the boxes are typed into, the buttons clicked,
// and the rows of every table the issue writes are read back.
class BlxkTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    std::unique_ptr<FedVideoInputs> camera;
    QPointer<Tblxkfm> screen;

    template <typename T = QLineEdit> T* box(const char* name)
    {
        T* found = screen->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QComboBox* grade() { return box<QComboBox>("ComboBox1"); }
    QPushButton* button(const char* name) { return box<QPushButton>(name); }

    void openScreen()
    {
        screen = Windows::showOrActivate<Tblxkfm>();
        screen->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(screen));
    }

    // Chooses the grade the way the operator does: type it and press Enter.
    void chooseGrade(const QString& code)
    {
        grade()->setFocus();
        grade()->setEditText(code);
        QTest::keyClick(grade(), Qt::Key_Return);
    }

    // Fills a complete reader; the valid-until date comes from entering its box.
    void fillReader(const QString& name, const QString& topUp = "20")
    {
        chooseGrade("A");
        box("Edit1")->setText(name);
        box("Edit2")->setText("110101199001");
        box("Edit4")->setText("88886666");
        box("Edit5")->setText("北京路1号");
        box("Edit6")->setText("第一中学");
        box("Edit8")->setFocus();
        box("Edit9")->setText(topUp);
        box("Edit9")->setFocus();
    }

    static QImage filled(QColor colour)
    {
        QImage image(320, 240, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }

    // Everything the issue writes, as one comparable text per table.
    static QStringList written()
    {
        QStringList tables;
        for (const char* statement :
             {"select count(*) from cardk", "select count(*) from gsb", "select count(*) from cwk",
              "select count(*) from jykczb", "select jszxh from jszxh"})
            tables << Sql::scalar(statement).toString();
        return tables;
    }

    static QStringList ledger()
    {
        Sql q("select srje,szyy,fsrq from cwk order by rowid");
        q.exec();
        QStringList rows;
        while (q.next())
            rows << QString("%1 %2 %3")
                        .arg(q.money("srje").toFixed2(), q.text("szyy"), q.text("fsrq"));
        return rows;
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        camera = std::make_unique<FedVideoInputs>(QStringList{"Test camera"});
        VideoInputs::install(camera.get());
        ReportOutput::setScripted(true);
        Sql::run("insert into jszxh values(:jszxh,:lx)", {"1001", "借阅证"});
        Sql::run("insert into jykdjk(kdj,km,gbf,jyqx,jyqxdw,yjsbs,jsyj,yxts) "
                 "values(:a,:b,:c,:d,:e,:f,:g,:h)",
                 {"A", "借阅证", 10.0, 30, "日", 5, 50.0, 365.0});
        Sql::run("insert into jykdjk(kdj,km,gbf,jyqx,jyqxdw,yjsbs,jsyj,yxts) "
                 "values(:a,:b,:c,:d,:e,:f,:g,:h)",
                 {"B", "IC卡", 0.0, 15, "日", 2, 0.0, 30.0});
    }

    void cleanup()
    {
        delete screen.data();
        camera.reset();
        Messages::takeShown();
        ReportOutput::takeRequests();
        fixture.reset();
    }

    void openingFillsTheScreen()
    {
        openScreen();
        QCOMPARE(screen->windowTitle(), QString("办理借书证"));
        QCOMPARE(box("Edit7")->text(), QString("1001"));
        QCOMPARE(grade()->count(), 2);
        QCOMPARE(grade()->itemText(1), QString("B"));
        QCOMPARE(grade()->currentText(), QString());
        QCOMPARE(QApplication::focusWidget(), grade());
        QCOMPARE(box<QLabel>("datePanel")->text(), QString("2026-12-09"));
        QVERIFY(box<QCheckBox>("CheckBox1")->isChecked());
        QVERIFY(!box<QWidget>("photoPanel")->isVisible());
        QVERIFY(screen->video()->videoPreview());
        QVERIFY(camera->previewing());
        QVERIFY(Messages::takeShown().isEmpty());
    }

    void openingWithoutNumberingCloses()
    {
        Sql::run("delete from jszxh");
        screen = Windows::showOrActivate<Tblxkfm>();
        QCOMPARE(Messages::lastText(), QString("请先进行借阅证的起始编号初始化!"));
        QTRY_VERIFY(screen.isNull());
        QVERIFY(!camera->connected());
    }

    void escapeClosesAndStopsTheCamera()
    {
        openScreen();
        box("Edit1")->setFocus();
        QTest::keyClick(box("Edit1"), Qt::Key_Escape);
        QTRY_VERIFY(screen.isNull());
        QVERIFY(!camera->connected());
    }

    void enterAndTabOrder()
    {
        openScreen();
        QStringList byEnter;
        grade()->setFocus();
        for (int i = 0; i < 9; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            byEnter << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(byEnter, QStringList({"Edit1", "Edit2", "Edit3", "Edit8", "Edit9", "Edit4",
                                       "Edit5", "Edit6", "Edit8"}));
        QStringList byTab;
        grade()->setFocus();
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            byTab << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(byTab, QStringList({"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit8",
                                     "Edit9"}));

        // A scanner types the card number and Enter into the number box.
        box("Edit7")->setFocus();
        QTest::keyClicks(box("Edit7"), "7");
        QTest::keyClick(box("Edit7"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), grade());
    }

    // Within the frame of the main window, going to another screen and back is neither
    // leaving the grade box nor entering the valid-until box.
    void switchingWindowsLeavesTheBoxesAlone()
    {
        QMdiArea frame;
        Windows::setFrameArea(&frame);
        frame.resize(1000, 700);
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QMdiSubWindow* other = frame.addSubWindow(new QLineEdit);
        other->show();
        screen = Windows::showOrActivate<Tblxkfm>();
        const auto away = [&] {
            frame.setActiveSubWindow(other);
            frame.setActiveSubWindow(qobject_cast<QMdiSubWindow*>(screen->parentWidget()));
        };

        chooseGrade("A");
        box("Edit8")->setFocus();
        box("Edit8")->setText("2030-01-01");
        away();
        QCOMPARE(QApplication::focusWidget(), box("Edit8"));
        QCOMPARE(box("Edit8")->text(), QString("2030-01-01"));

        grade()->setFocus();
        grade()->setEditText("Z");
        away();
        QCOMPARE(QApplication::focusWidget(), grade());
        QVERIFY(Messages::takeShown().isEmpty());

        delete screen.data();
        Windows::setFrameArea(nullptr);
    }

    void boxRules()
    {
        openScreen();
        chooseGrade("Z");
        QCOMPARE(Messages::lastText(), QString("查无此等级!"));
        QTRY_COMPARE(QApplication::focusWidget(), grade());

        chooseGrade("A");
        QCOMPARE(box("Edit3")->text(), QString("50"));
        QCOMPARE(box<QLabel>("feePanel")->text(), QString("10.00"));

        // The deposit is written back in shortest form; text that is no number is refused.
        box("Edit3")->setFocus();
        box("Edit3")->setText("12.50");
        box("Edit1")->setFocus();
        QCOMPARE(box("Edit3")->text(), QString("12.5"));
        box("Edit3")->setFocus();
        box("Edit3")->setText("abc");
        box("Edit1")->setFocus();
        QCOMPARE(Messages::lastText(), QString("格式错误,请重新输入!"));
        QTRY_COMPARE(QApplication::focusWidget(), box("Edit3"));

        // Entering the valid-until box replaces a typed date with today + the grade's days.
        box("Edit8")->setText("2030-01-01");
        box("Edit1")->setFocus();
        box("Edit8")->setFocus();
        QCOMPARE(box("Edit8")->text(), QString("2027-12-09"));
        QVERIFY(button("dateButton")->isVisible());
        QVERIFY(Driver::pickDate(QDate(2028, 2, 29), [this] {
            QTest::mouseClick(button("dateButton"), Qt::LeftButton);
        }));
        QCOMPARE(box("Edit8")->text(), QString("2028-02-29"));
        QCOMPARE(QApplication::focusWidget(), box("Edit9"));
        QVERIFY(!button("dateButton")->isVisible());

        // The name keeps to its column's width: four Chinese characters.
        box("Edit1")->clear();
        box("Edit1")->setFocus();
        for (const QChar c : QString("欧阳明月光")) // typed one character at a time
            QTest::sendKeyEvent(QTest::Press, box("Edit1"), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        QCOMPARE(box("Edit1")->text(), QString("欧阳明月"));
    }

    void issueWithPhotograph()
    {
        Sql::run("update zpidb set bh=:bh", {41});
        openScreen();
        fillReader("张三");
        QCOMPARE(box("Edit8")->text(), QString("2027-12-09"));

        camera->feed(filled(Qt::red));
        QTest::mouseClick(button("photoButton"), Qt::LeftButton);
        auto* timer = screen->findChild<QTimer*>("photoTimer");
        QVERIFY(timer->isActive() && timer->isSingleShot());
        QCOMPARE(timer->interval(), 2000);
        QVERIFY(screen->photoPath().isEmpty()); // not before the timer fires
        QTRY_VERIFY_WITH_TIMEOUT(!screen->photoPath().isEmpty(), 5000);

        const QString photo = fixture->path("pic/42.bmp");
        QCOMPARE(QFileInfo(screen->photoPath()).absoluteFilePath(), photo);
        QCOMPARE(Sql::scalar("select bh from zpidb").toInt(), 42);
        QImageReader reader(photo);
        QCOMPARE(reader.format(), QByteArray("bmp"));
        const QImage image = reader.read();
        QCOMPARE(image.size(), QSize(121, 128));
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::red));
        QCOMPARE(image.pixelColor(120, 127), QColor(Qt::red));
        QVERIFY(box<QWidget>("photoPanel")->isVisible());
        QCOMPARE(box<QLabel>("videoStatus")->text(), QString("拍照完成"));

        QTest::mouseClick(button("saveButton"), Qt::LeftButton);
        QCOMPARE(Messages::lastText(), QString("办理成功！"));

        Sql card("select * from cardk where kno=:kno");
        card.bind("1001").exec();
        QVERIFY(card.first());
        QCOMPARE(card.text("kdj"), QString("A"));
        QCOMPARE(card.text("km"), QString("借阅证"));
        QCOMPARE(card.text("dzm"), QString("张三"));
        QCOMPARE(card.text("sfzh"), QString("110101199001"));
        QCOMPARE(card.text("dz"), QString("北京路1号"));
        QCOMPARE(card.text("tel"), QString("88886666"));
        QCOMPARE(card.text("gzdw"), QString("第一中学"));
        QCOMPARE(card.date("bkrq"), QDate(2026, 12, 9));
        QCOMPARE(card.date("yxrq"), QDate(2027, 12, 9));
        QCOMPARE(card.money("yj"), Money::fromText("50"));
        QCOMPARE(card.text("strpath"), photo);
        QCOMPARE(card.text("sfyx"), QString("Y"));
        QVERIFY(card.isNull("jsbs"));

        QCOMPARE(Fixture::count("select count(*) from gsb where kno=:a and kdj=:b and dzm=:c and "
                                "gsbz=:d and sfzh=:e",
                                {"1001", "A", "张三", "否", "110101199001"}),
                 1);
        QCOMPARE(ledger(),
                 QStringList({"50.00 收押金 2026-12-09", "20.00 办借阅证时充值 2026-12-09",
                              "10.00 收工本费 2026-12-09"}));
        QCOMPARE(Fixture::count("select count(*) from jykczb where kno=:a and dzm=:b and yxrq=:c "
                                "and czje=:d and czy=:e and bz=:f and czrq=:g",
                                {"1001", "张三", "2027-12-09", 20.0, "测试员", "办新借阅证时充值",
                                 "2026-12-09"}),
                 1);
        QCOMPARE(Sql::scalar("select jszxh from jszxh").toString(), QString("1002"));

        // Ready for the next reader, who does not inherit the photograph.
        QCOMPARE(box("Edit7")->text(), QString("1002"));
        QCOMPARE(grade()->currentText(), QString());
        QCOMPARE(box("Edit1")->text(), QString());
        QCOMPARE(box("Edit9")->text(), QString());
        QCOMPARE(box<QLabel>("feePanel")->text(), QString());
        QCOMPARE(box("Edit8")->text(), QString("2027-12-09"));
        QVERIFY(screen->photoPath().isEmpty());
        QVERIFY(!box<QWidget>("photoPanel")->isVisible());
        QCOMPARE(QApplication::focusWidget(), grade());

        fillReader("李四");
        QTest::mouseClick(button("saveButton"), Qt::LeftButton);
        QCOMPARE(Messages::lastText(), QString("办理成功！"));
        QVERIFY(Sql::scalar("select strpath from cardk where kno=:kno", {"1002"}).isNull());
        QCOMPARE(Sql::scalar("select jszxh from jszxh").toString(), QString("1003"));
    }

    void topUpAndDeposit_data()
    {
        QTest::addColumn<QString>("topUp");
        QTest::addColumn<QString>("deposit"); // "-" keeps the grade's deposit
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("ledger");
        QTest::addColumn<double>("registered");
        QTest::newRow("top-up 0, confirmed")
            << "0"
            << "-" << true << QStringList({"50.00 收押金 2026-12-09", "10.00 收工本费 2026-12-09"})
            << 0.0;
        QTest::newRow("top-up 0.00 is booked")
            << "0.00"
            << "-" << false
            << QStringList({"50.00 收押金 2026-12-09", "0.00 办借阅证时充值 2026-12-09",
                            "10.00 收工本费 2026-12-09"})
            << 0.0;
        QTest::newRow("empty deposit is 0")
            << "5"
            << "" << false
            << QStringList({"0.00 收押金 2026-12-09", "5.00 办借阅证时充值 2026-12-09",
                            "10.00 收工本费 2026-12-09"})
            << 5.0;
    }
    void topUpAndDeposit()
    {
        QFETCH(QString, topUp);
        QFETCH(QString, deposit);
        QFETCH(bool, answer);
        openScreen();
        fillReader("王五", topUp);
        if (deposit != "-")
            box("Edit3")->setText(deposit);
        Messages::queueAnswer(answer);
        QTest::mouseClick(button("saveButton"), Qt::LeftButton);

        const QList<Messages::Shown> shown = Messages::takeShown();
        const bool asked = std::any_of(shown.begin(), shown.end(),
                                       [](const Messages::Shown& s) { return s.isQuestion; });
        QCOMPARE(asked, topUp == "0");
        QCOMPARE(shown.last().text, QString("办理成功！"));
        QTEST(ledger(), "ledger");
        QCOMPARE(Sql::scalar("select yj from cardk").toDouble(), deposit.isEmpty() ? 0.0 : 50.0);
        QTEST(Sql::scalar("select czje from jykczb").toDouble(), "registered");
    }

    void handEditedNumberContinuesTheSequence()
    {
        openScreen();
        box("Edit7")->setText("5000");
        fillReader("赵六");
        QTest::mouseClick(button("saveButton"), Qt::LeftButton);
        QCOMPARE(Fixture::count("select count(*) from cardk where kno=:kno", {"5000"}), 1);
        QCOMPARE(Sql::scalar("select jszxh from jszxh").toString(), QString("5001"));
        QCOMPARE(box("Edit7")->text(), QString("5001"));
    }

    void failuresWriteNothing_data()
    {
        const QString plain = Messages::applicationTitle;
        const QString notice = "提示信息";
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("message"); // empty: stops without a word
        QTest::newRow("no valid-until") << "Edit8"
                                        << "" << plain << "有效日期不能为空！";
        QTest::newRow("bad valid-until")
            << "Edit8"
            << "2026-13-45" << plain << "日期格式不对（如：2008-12-11）";
        QTest::newRow("no name") << "Edit1"
                                 << "" << notice << "请输入读者姓名!";
        QTest::newRow("no top-up") << "Edit9"
                                   << "" << plain << "充值金额不能为空可以为零！";
        QTest::newRow("bad top-up") << "Edit9"
                                    << "2元" << plain << "充值金额格式不对！";
        QTest::newRow("negative top-up") << "Edit9"
                                         << "-5" << plain << "充值金额格式不对！";
        QTest::newRow("no identity") << "Edit2"
                                     << "" << notice << "请输入请输入身份证(学生证)!";
        QTest::newRow("top-up 0 declined") << "Edit9"
                                           << "0"
                                           << "询问"
                                           << "充值金额为零，是否继续保存？";
        QTest::newRow("no grade") << "ComboBox1"
                                  << ""
                                  << ""
                                  << "";
        QTest::newRow("bad deposit") << "Edit3"
                                     << "五十" << notice << "押金输入格式错误,请重新输入!";
        QTest::newRow("negative deposit") << "Edit3"
                                          << "-50" << notice << "押金输入格式错误,请重新输入!";
        QTest::newRow("unknown grade") << "ComboBox1"
                                       << "Z" << notice << "查无此等级!";
        QTest::newRow("number not a number")
            << "Edit7"
            << "A-17" << notice << "编号只能是数字,请修改编号或重新对编号初始化!";
        QTest::newRow("number taken") << "Edit7"
                                      << "900" << notice << "编号重复,请重新对编号初始化!";
    }
    void failuresWriteNothing()
    {
        QFETCH(QString, control);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        QFETCH(QString, message);
        Sql::run("insert into cardk(kno,dzm) values(:a,:b)", {"900", "旧读者"});
        openScreen();
        fillReader("孙七");
        if (control == "ComboBox1")
            grade()->setEditText(text); // typed, not yet looked up
        else
            box(control.toUtf8().constData())->setText(text);
        const QStringList before = written();
        Messages::takeShown();
        QTest::mouseClick(button("saveButton"), Qt::LeftButton);
        const QList<Messages::Shown> shown = Messages::takeShown();
        QCOMPARE(shown.isEmpty() ? QString() : shown.last().caption, caption);
        QCOMPARE(shown.isEmpty() ? QString() : shown.last().text, message);
        QCOMPARE(written(), before);
        QVERIFY(screen); // the screen stays for a correction
    }

    void aBadValueLeftForSaveIsReportedOnce_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::newRow("deposit") << "Edit3"
                                 << "五十";
        QTest::newRow("grade") << "ComboBox1"
                               << "Z";
    }
    void aBadValueLeftForSaveIsReportedOnce()
    {
        QFETCH(QString, control);
        QFETCH(QString, text);
        openScreen();
        fillReader("孙七");
        QWidget* bad = box<QWidget>(control.toUtf8().constData());
        bad->setFocus();
        if (auto* combo = qobject_cast<QComboBox*>(bad))
            combo->setEditText(text);
        else
            static_cast<QLineEdit*>(bad)->setText(text);
        Messages::takeShown();
        QTest::mouseClick(button("saveButton"), Qt::LeftButton); // leaves the box for Save
        QCOMPARE(Messages::takeShown().size(), 1);
        QCOMPARE(Fixture::count("select count(*) from cardk"), 0);
        QTRY_VERIFY(bad->hasFocus());
    }

    void anEighteenCharacterIdentityIsStoredWhole()
    {
        openScreen();
        fillReader("钱九");
        box("Edit2")->setText("11010519491231002X");
        QCOMPARE(box("Edit2")->text(), QString("11010519491231002X"));
        QTest::mouseClick(button("saveButton"), Qt::LeftButton);
        QCOMPARE(Sql::scalar("select sfzh from cardk").toString(), QString("11010519491231002X"));
        QCOMPARE(Sql::scalar("select sfzh from gsb").toString(), QString("11010519491231002X"));
    }

    void storeErrorRollsTheIssueBack()
    {
        openScreen();
        fillReader("周八");
        // The top-up register refuses its row: the card and ledger rows before it go too.
        Sql::run("create trigger refuse before insert on jykczb "
                 "begin select raise(abort, 'top-up register refused'); end");
        const QStringList before = written();
        QTest::mouseClick(button("saveButton"), Qt::LeftButton);
        QCOMPARE(Messages::takeShown().last().text.contains("top-up register refused"), true);
        QCOMPARE(written(), before);
        QCOMPARE(box("Edit1")->text(), QString("周八")); // nothing reset: the operator retries
        QCOMPARE(box("Edit7")->text(), QString("1001"));
    }

    void printing()
    {
        openScreen();
        QTest::mouseClick(button("printButton"), Qt::LeftButton);
        QCOMPARE(Messages::lastText(), QString("读者名不能为空！"));
        fillReader("吴九");
        box("Edit8")->clear();
        QTest::mouseClick(button("printButton"), Qt::LeftButton);
        QCOMPARE(Messages::lastText(), QString("有效日期不能为空！"));
        box("Edit7")->clear();
        QTest::mouseClick(button("printButton"), Qt::LeftButton);
        QCOMPARE(Messages::lastText(), QString("编号不能为空！"));
        QVERIFY(ReportOutput::takeRequests().isEmpty());

        box("Edit7")->setText("1001");
        box("Edit8")->setText("2027-12-09");
        QTest::mouseClick(button("printButton"), Qt::LeftButton);
        const QList<ReportOutput::Request> requests = ReportOutput::takeRequests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.first().kind, ReportOutput::Request::Kind::Preview);
        QCOMPARE(QApplication::focusWidget(), button("saveButton"));
        QCOMPARE(Fixture::count("select count(*) from cardk"), 0); // printing stores nothing
    }

    void aPendingPhotographIsNotTakenForTheNextReader()
    {
        openScreen();
        fillReader("钱一");
        camera->feed(filled(Qt::red));
        QTest::mouseClick(button("photoButton"), Qt::LeftButton);
        QTest::mouseClick(button("saveButton"), Qt::LeftButton); // before the timer fires
        QCOMPARE(Messages::lastText(), QString("办理成功！"));
        QTest::qWait(Tblxkfm::photoDelayMs + 300);
        QVERIFY(screen->photoPath().isEmpty());
        QVERIFY(!box<QWidget>("photoPanel")->isVisible());
        QCOMPARE(Sql::scalar("select bh from zpidb").toInt(), 0);
        QVERIFY(!QFileInfo::exists(fixture->path("pic")));
    }

    // A camera that is open but sends nothing (busy or failing) leaves the control black.
    void aSilentCameraTakesNoPhotograph()
    {
        openScreen();
        QVERIFY(screen->video()->videoPreview());
        QTest::mouseClick(button("photoButton"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(Messages::lastText(), QString("没有可用的摄像头，无法拍照!"),
                                  5000);
        QVERIFY(screen->photoPath().isEmpty());
        QCOMPARE(Sql::scalar("select bh from zpidb").toInt(), 0);
        QVERIFY(!QFileInfo::exists(fixture->path("pic")));
    }

    void withoutCameraTheScreenStillIssues()
    {
        camera = std::make_unique<FedVideoInputs>(QStringList());
        VideoInputs::install(camera.get());
        openScreen();
        QVERIFY(Messages::takeShown().isEmpty());
        QCOMPARE(screen->video()->driverIndex(), -1);
        QTest::mouseClick(button("cameraButton"), Qt::LeftButton); // ignored quietly
        QVERIFY(Messages::takeShown().isEmpty());
        // A black control is no photograph: nothing is numbered or written.
        QTest::mouseClick(button("photoButton"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(Messages::lastText(), QString("没有可用的摄像头，无法拍照!"),
                                  5000);
        QVERIFY(screen->photoPath().isEmpty());
        QCOMPARE(Sql::scalar("select bh from zpidb").toInt(), 0);
        QVERIFY(!QFileInfo::exists(fixture->path("pic")));
        fillReader("郑十");
        QTest::mouseClick(button("saveButton"), Qt::LeftButton);
        QCOMPARE(Messages::lastText(), QString("办理成功！"));
        QVERIFY(Sql::scalar("select strpath from cardk").isNull());
    }
};

LIBRARY_TEST(BlxkTest)
#include "blxktest.moc"
