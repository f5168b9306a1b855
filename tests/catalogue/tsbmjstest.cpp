#include "catalogue/tsbmjs.h"
#include "app/appcommands.h"
#include "data/sql.h"
#include "driver.h"
#include "fixture.h"
#include "pickers/jsxxzl.h"
#include "testmain.h"
#include "ui/commands.h"
#include "ui/windows.h"

#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

// The classification tree over the book master: how the scheme becomes a tree, what a
// first- and a second-level class list, and the record of a listed title.
class TsbmjsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;
    TFormtsbmjs* screen = nullptr;

    void open()
    {
        screen = Driver::openScreen<TFormtsbmjs>("N12");
        QVERIFY(screen);
    }
    QTreeWidget* tree() { return Driver::box<QTreeWidget>(screen, "TreeView1"); }
    QTableView* grid() { return Driver::box<QTableView>(screen, "DBGrid1"); }
    QTreeWidgetItem* node(const QString& text)
    {
        const QList<QTreeWidgetItem*> found =
            tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    QStringList listed()
    {
        QStringList barcodes;
        for (int row = 0; row < grid()->model()->rowCount(); ++row)
            barcodes << grid()->model()->index(row, 0).data().toString();
        barcodes.sort();
        return barcodes;
    }

private slots:
    void init()
    {
        fixture = std::make_unique<Fixture>();
        Commands::clear();
        AppCommands::registerAll();
    }
    void cleanup()
    {
        delete screen;
        screen = nullptr;
        fixture.reset();
    }

    void anEmptySchemeLeavesTheTreeEmpty()
    {
        open();
        QVERIFY(screen->isMaximized());
        QCOMPARE(tree()->topLevelItemCount(), 0);
        QCOMPARE(grid()->model()->rowCount(), 0);
        QCOMPARE(Driver::bookDetailsShown(
                     [this] { Driver::box<QPushButton>(screen, "details")->click(); }),
                 QString());
    }

    void theSchemeBecomesATreeAndAClassListsItsTitles()
    {
        Sql::run("insert into bmdyb(type_id,type_name,type_from_id) values"
                 "('B','哲学','0'),('A2','毛泽东思想','A'),('A','马列主义','0'),"
                 "('A1','马克思主义','A'),('X1','无主之类','Q')");
        Sql::run("insert into tszk(txm,tsmc,flmc,mxflm,bs,jcs) values"
                 "('T1','资本论','A','A1',1,0),('T2','实践论','A','A2',2,1),"
                 "('T3','共产党宣言','A','A1',1,0),('T4','理想国','B','B1',1,0)");
        open();
        QCOMPARE(tree()->topLevelItemCount(), 2);
        QTreeWidgetItem* a = tree()->topLevelItem(0);
        QCOMPARE(a->text(0), QString("A(马列主义)"));
        QCOMPARE(tree()->topLevelItem(1)->text(0), QString("B(哲学)"));
        QCOMPARE(a->childCount(), 2);
        QCOMPARE(a->child(0)->text(0), QString("A1(马克思主义)"));
        QCOMPARE(a->child(1)->text(0), QString("A2(毛泽东思想)"));
        QVERIFY(a->isExpanded());
        QVERIFY(!node("X1(无主之类)"));
        QCOMPARE(a->data(0, TFormtsbmjs::imageRole).toInt(), int(TFormtsbmjs::Open));
        QCOMPARE(a->child(0)->data(0, TFormtsbmjs::imageRole).toInt(), int(TFormtsbmjs::Leaf));
        Driver::box<QPushButton>(screen, "collapse")->click();
        QVERIFY(!a->isExpanded());
        QCOMPARE(a->data(0, TFormtsbmjs::imageRole).toInt(), int(TFormtsbmjs::Closed));
        Driver::box<QPushButton>(screen, "expand")->click();
        QVERIFY(a->isExpanded());

        tree()->setCurrentItem(a);
        QCOMPARE(listed(), (QStringList{"T1", "T2", "T3"}));
        tree()->setCurrentItem(node("A1(马克思主义)"));
        QCOMPARE(listed(), (QStringList{"T1", "T3"}));
        if (!qEnvironmentVariableIsEmpty("LIBRARYDESK_KEEP_SCREENS")) {
            screen->resize(1100, 520);
            screen->grab().save(qEnvironmentVariable("LIBRARYDESK_KEEP_SCREENS") + "/tsbmjs.png");
        }
        QCOMPARE(grid()->model()->columnCount(), 22);
        QCOMPARE(grid()->model()->headerData(4, Qt::Horizontal).toString(), QString("存本数"));

        grid()->selectRow(1);
        const QString chosen = grid()->model()->index(1, 0).data().toString();
        QCOMPARE(Driver::bookDetailsShown(
                     [this] { Driver::box<QPushButton>(screen, "details")->click(); }),
                 chosen);
        QCOMPARE(Driver::bookDetailsShown(
                     [this] { emit grid()->doubleClicked(grid()->model()->index(1, 1)); }),
                 chosen);

        // A class added meanwhile shows after "刷新".
        Sql::run("insert into bmdyb(type_id,type_name,type_from_id) values('B1','古希腊','B')");
        QVERIFY(!node("B1(古希腊)"));
        Driver::box<QPushButton>(screen, "refresh")->click();
        QVERIFY(node("B1(古希腊)"));
        tree()->setCurrentItem(node("B1(古希腊)"));
        QCOMPARE(listed(), QStringList{"T4"});
    }

    void newBookOpensCataloguing()
    {
        open();
        Driver::box<QPushButton>(screen, "newBook")->click();
        QWidget* cataloguing = Windows::findOpen("Ttsbmfm");
        QVERIFY(cataloguing);
        delete cataloguing;
    }
};

LIBRARY_TEST(TsbmjsTest)
#include "tsbmjstest.moc"
