#include "ui/halfwidth.h"
#include "app/appcommands.h"
#include "driver.h"
#include "fixture.h"
#include "testmain.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

namespace {
// Types each character as a key press carrying its text, as an input method does.
void type(QLineEdit* box, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
}
} // namespace

// Boxes that take card numbers, barcodes and whole numbers read full-width typing as the
// half-width text the look-ups and the store expect.
class HalfWidthTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup() { fixture.reset(); }

    void keysInputMethodAndPasteAreFolded()
    {
        QLineEdit box;
        HalfWidth::apply(&box);
        type(&box, "Ｔ００１－Ａ");
        QCOMPARE(box.text(), QString("T001-A"));

        box.clear();
        QInputMethodEvent commit;
        commit.setCommitString("１００２");
        QApplication::sendEvent(&box, &commit);
        QCOMPARE(box.text(), QString("1002"));

        box.clear();
        QApplication::clipboard()->setText("Ｋ１２");
        box.paste();
        if (QApplication::clipboard()->text() == "Ｋ１２") // a clipboard exists here
            QCOMPARE(box.text(), QString("K12"));

        // A whole-number box: its validator sees the folded digits and takes them.
        QLineEdit count;
        count.setValidator(new QIntValidator(0, 32767, &count));
        HalfWidth::apply(&count);
        type(&count, "１２");
        QCOMPARE(count.text(), QString("12"));

        // A box that also takes a title fragment keeps full-width punctuation.
        QLineEdit book;
        HalfWidth::apply(&book, HalfWidth::Fold::DigitsAndLetters);
        type(&book, "Ｔ１三国（上）");
        QCOMPARE(book.text(), QString("T1三国（上）"));
    }

    void everyNumberBoxOfTheScreensFolds_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("screen"); // the screen's class
        QTest::addColumn<bool>("modal");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("read");
        const auto row = [](const char* name, const char* key, const char* screen, bool modal,
                            const char* box, const char* typed, const char* read) {
            QTest::newRow(name) << key << screen << modal << box << typed << read;
        };
        row("lending card", "dzjsdj", "Tdzjsdjfm", false, "Edit1", "１００１", "1001");
        row("lending barcode or title", "dzjsdj", "Tdzjsdjfm", false, "Edit2", "Ｔ０１（上）",
            "T01（上）");
        row("returns card", "dzhsdj", "Tdzhsdjfm", false, "Edit1", "１００１", "1001");
        row("card query", "kpcx", "Tkpcxfm", false, "Edit1", "１００１", "1001");
        row("lost card number", "N7", "TFormgs", false, "Edit1", "１００１", "1001");
        row("lost card identity", "N7", "TFormgs", false, "Edit2", "１１０１０５Ｘ", "110105X");
        row("lost card query", "N17", "TFormgscx", false, "Edit1", "１００１", "1001");
        row("top-up card", "N18", "TFormjjkcz", false, "Edit7", "１００１", "1001");
        row("cancellation card", "kpgs", "Tkpgsfm", false, "Edit1", "１００１", "1001");
        row("fine card", "yqfkdj", "Tyqfkdjfm", true, "Edit1", "１００１", "1001");
        row("fine barcode", "yqfkdj", "Tyqfkdjfm", true, "Edit4", "Ｂ０００１", "B0001");
        row("reading-room card", "dyfydj", "Tdyfydjfm", false, "Edit4", "１００１", "1001");
        row("card issue number", "Tblxkfm", "Tblxkfm", false, "Edit7", "２０２６０００１",
            "20260001");
        row("grade limit", "Tkpszfm", "Tkpszfm", true, "DBEdit4", "１２", "12");
        row("cataloguing barcode", "tsbm", "Ttsbmfm", false, "DBEdit111", "Ｂ０００１", "B0001");
        row("cataloguing copies", "tsbm", "Ttsbmfm", false, "DBEdit25", "３", "3");
        row("disposal barcode", "jscl", "Tjsclfm", false, "Edit1", "Ｂ０００１", "B0001");
        row("disposal quantity", "jscl", "Tjsclfm", false, "Edit3", "２", "2");
        row("room change book", "gbccd", "Tgbccdfm", false, "Edit1", "Ｂ０００１", "B0001");
    }
    void everyNumberBoxOfTheScreensFolds()
    {
        QFETCH(QString, key);
        QFETCH(QString, screen);
        QFETCH(bool, modal);
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, read);
        AppCommands::registerAll();
        QString got = "(not typed)";
        const auto typeInto = [&](QWidget* opened) {
            auto* edit = Driver::box<QLineEdit>(opened, box);
            edit->setEnabled(true); // some boxes open only after an earlier step
            edit->setReadOnly(false);
            edit->clear();
            type(edit, typed);
            got = edit->text();
        };
        if (modal) {
            QVERIFY(Driver::whileModal(
                qPrintable(screen),
                [&](QWidget* opened) {
                    typeInto(opened);
                    QTest::keyClick(opened, Qt::Key_Escape);
                },
                [&] { Driver::open(key); }));
        } else {
            QVERIFY(Driver::open(key));
            QWidget* opened = nullptr;
            for (QWidget* widget : QApplication::allWidgets())
                if (widget->isVisible() && screen == widget->metaObject()->className())
                    opened = widget;
            QVERIFY2(opened, qPrintable(screen + " did not open"));
            typeInto(opened);
        }
        QCOMPARE(got, read);
    }
};

LIBRARY_TEST(HalfWidthTest)
#include "halfwidthtest.moc"
