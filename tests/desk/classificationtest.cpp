#include "desk/classification.h"
#include "data/sql.h"
#include "desk/refused.h"
#include "fixture.h"
#include "testmain.h"

#include <QTest>

// Saving and deleting classification pairs keeps the tree nodes in step.
class ClassificationTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> fixture;

    static QStringList pairs()
    {
        QStringList rows;
        Sql q("select * from tsflm order by iid");
        q.exec();
        while (q.next())
            rows << QStringList{q.text("jlm"), q.text("dldm"), q.text("dlmc"), q.text("mxldm"),
                                q.text("mxlmc")}
                        .join("/");
        return rows;
    }
    static QStringList nodes()
    {
        QStringList rows;
        Sql q("select * from bmdyb order by type_id");
        q.exec();
        while (q.next())
            rows << q.text("type_id") + "/" + q.text("type_name") + "/" + q.text("type_from_id");
        return rows;
    }
    static qint64 iidOf(const QString& secondCode, const QString& secondName)
    {
        return Sql::scalar("select max(iid) from tsflm where mxldm=:a and mxlmc=:b",
                           {secondCode, secondName})
            .toLongLong();
    }
    static bool yes(const QString&, const QString&) { return true; }

private slots:
    void init() { fixture = std::make_unique<Fixture>(); }
    void cleanup() { fixture.reset(); }

    void saveAddsTheNodesACodeDoesNotHaveYet()
    {
        Classification::save({"A", "马列主义", "A1", "马克思著作"});
        QCOMPARE(pairs(), QStringList{"aa/A/马列主义/A1/马克思著作"});
        QCOMPARE(nodes(), QStringList({"A/马列主义/0", "A1/马克思著作/A"}));

        Classification::save({"A", "马列主义", "A2", "列宁著作"});
        QCOMPARE(pairs().size(), 2);
        QCOMPARE(nodes(), QStringList({"A/马列主义/0", "A1/马克思著作/A", "A2/列宁著作/A"}));

        // The same pair twice: two pairs, no second node.
        Classification::save({"A", "马列主义", "A2", "列宁著作"});
        QCOMPARE(pairs().size(), 3);
        QCOMPARE(nodes().size(), 3);

        // A second-level code that is already a node id (here a first-level one) gets none.
        Classification::save({"B", "哲学", "A", "哲学马列"});
        QCOMPARE(nodes(),
                 QStringList({"A/马列主义/0", "A1/马克思著作/A", "A2/列宁著作/A", "B/哲学/0"}));
    }

    void saveRefusesAnIncompletePair_data()
    {
        QTest::addColumn<int>("empty");
        QTest::addColumn<QString>("box");
        for (int i = 0; i < 4; ++i)
            QTest::newRow(qPrintable(QString::number(i))) << i << QString("Edit%1").arg(i + 1);
    }
    void saveRefusesAnIncompletePair()
    {
        QFETCH(int, empty);
        QFETCH(QString, box);
        QStringList texts{"A", "马列主义", "A1", "马克思著作"};
        texts[empty].clear();
        try {
            Classification::save({texts[0], texts[1], texts[2], texts[3]});
            QFAIL("saved an incomplete pair");
        } catch (const Refused& refused) {
            QCOMPARE(refused.text(), QString("请您填写完整的信息"));
            QCOMPARE(refused.style(), Refused::Style::Plain);
            QCOMPARE(refused.box(), box);
        }
        QCOMPARE(pairs(), QStringList());
        QCOMPARE(nodes(), QStringList());
    }

    void deleteDropsOnlyNodesNoPairUses()
    {
        Classification::save({"A", "马列主义", "A1", "马克思著作"});
        Classification::save({"A", "马列主义", "A1", "马克思著作"});
        Classification::save({"A", "马列主义", "A2", "列宁著作"});
        Classification::save({"B", "哲学", "B1", "哲学理论"});

        // One of two pairs sharing A1: its node stays.
        Classification::remove(iidOf("A1", "马克思著作"), yes);
        QCOMPARE(nodes().size(), 5);
        Classification::remove(iidOf("A1", "马克思著作"), yes);
        QCOMPARE(nodes(),
                 QStringList({"A/马列主义/0", "A2/列宁著作/A", "B/哲学/0", "B1/哲学理论/B"}));
        // The last pair of a class takes its root node along.
        Classification::remove(iidOf("A2", "列宁著作"), yes);
        QCOMPARE(nodes(), QStringList({"B/哲学/0", "B1/哲学理论/B"}));
        QCOMPARE(pairs(), QStringList{"aa/B/哲学/B1/哲学理论"});
    }

    void deleteKeepsANodeTheOtherLevelStillUses()
    {
        // "A" is both a first-level code and, under B, a second-level code.
        Classification::save({"A", "马列主义", "A1", "马克思著作"});
        Classification::save({"B", "哲学", "A", "哲学马列"});
        Classification::remove(iidOf("A", "哲学马列"), yes);
        QVERIFY(nodes().contains("A/马列主义/0"));
    }

    void deleteAsksFirstAndRefusesAMissingPair()
    {
        Classification::save({"A", "马列主义", "A1", "马克思著作"});
        QString asked;
        QVERIFY_THROWS_EXCEPTION(ActionCancelled,
                                 Classification::remove(iidOf("A1", "马克思著作"),
                                                        [&](const QString& c, const QString& t) {
                                                            asked = c + ":" + t;
                                                            return false;
                                                        }));
        QCOMPARE(asked, QString("提示:您确定要删除此条记录吗？"));
        QCOMPARE(pairs().size(), 1);
        try {
            Classification::remove(999, yes);
            QFAIL("deleted a missing pair");
        } catch (const Refused& refused) {
            QCOMPARE(refused.text(), QString("没有您需要删除的数据！"));
        }
    }
};

LIBRARY_TEST(ClassificationTest)
#include "classificationtest.moc"
