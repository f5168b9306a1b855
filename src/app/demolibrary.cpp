#include "app/demolibrary.h"

#include "cards/kpsz.h"
#include "data/clock.h"
#include "data/database.h"
#include "data/dates.h"
#include "data/log.h"
#include "data/paths.h"
#include "data/session.h"
#include "data/sql.h"
#include "desk/cardissue.h"
#include "desk/cardsequence.h"
#include "desk/catalogue.h"
#include "desk/classification.h"
#include "desk/fines.h"
#include "desk/loans.h"
#include "desk/lostcards.h"
#include "desk/periodicals.h"
#include "desk/readingroom.h"
#include "desk/returns.h"
#include "desk/rooms.h"
#include "desk/topups.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QSet>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <stdexcept>
#include <type_traits>

namespace {

// --- the fixed sample data ---

struct PublisherData {
    const char* name;
    const char* address;
    const char* contact;
    const char* telephone;
    const char* postcode;
    const char* isbnPrefix; // the publisher's part of its ISBNs
};

const PublisherData publishers[] = {
    {"人民文学出版社", "北京市东城区朝内大街166号", "周明", "010-65253001", "100705", "02"},
    {"商务印书馆", "北京市东城区王府井大街36号", "陈静", "010-65219002", "100710", "100"},
    {"中华书局", "北京市丰台区太平桥西里38号", "李文", "010-63458003", "100073", "101"},
    {"高等教育出版社", "北京市西城区德外大街4号", "王磊", "010-58581004", "100120", "04"},
    {"清华大学出版社", "北京市海淀区清华园学研大厦", "赵敏", "010-62770005", "100084", "302"},
};
enum PublisherIndex { Renwen, Shangwu, Zhonghua, Gaojiao, Qinghua };

struct TitleData {
    const char* title;
    const char* author;
    const char* secondLevel; // a second-level class of the delivered classification
    int publisher;
};

// Titles a school library holds, with their usual authors.
const TitleData knownTitles[] = {
    {"红楼梦", "曹雪芹", "I2", Renwen},
    {"三国演义", "罗贯中", "I2", Renwen},
    {"水浒传", "施耐庵", "I2", Renwen},
    {"西游记", "吴承恩", "I2", Renwen},
    {"儒林外史", "吴敬梓", "I2", Renwen},
    {"聊斋志异", "蒲松龄", "I2", Zhonghua},
    {"呐喊", "鲁迅", "I2", Renwen},
    {"彷徨", "鲁迅", "I2", Renwen},
    {"朝花夕拾", "鲁迅", "I2", Renwen},
    {"骆驼祥子", "老舍", "I2", Renwen},
    {"四世同堂", "老舍", "I2", Renwen},
    {"茶馆", "老舍", "I2", Renwen},
    {"家", "巴金", "I2", Renwen},
    {"子夜", "茅盾", "I2", Renwen},
    {"边城", "沈从文", "I2", Renwen},
    {"雷雨", "曹禺", "I2", Renwen},
    {"围城", "钱钟书", "I2", Renwen},
    {"城南旧事", "林海音", "I2", Renwen},
    {"繁星·春水", "冰心", "I2", Renwen},
    {"平凡的世界", "路遥", "I2", Renwen},
    {"人生", "路遥", "I2", Renwen},
    {"白鹿原", "陈忠实", "I2", Renwen},
    {"活着", "余华", "I2", Renwen},
    {"许三观卖血记", "余华", "I2", Renwen},
    {"尘埃落定", "阿来", "I2", Renwen},
    {"长恨歌", "王安忆", "I2", Renwen},
    {"穆斯林的葬礼", "霍达", "I2", Renwen},
    {"额尔古纳河右岸", "迟子建", "I2", Renwen},
    {"唐诗三百首", "蘅塘退士", "I2", Zhonghua},
    {"宋词三百首", "上彊村民", "I2", Zhonghua},
    {"古文观止", "吴楚材", "I2", Zhonghua},
    {"诗经译注", "程俊英", "I2", Zhonghua},
    {"楚辞今注", "汤炳正", "I2", Zhonghua},
    {"人间词话", "王国维", "I0", Zhonghua},
    {"文心雕龙译注", "刘勰", "I0", Zhonghua},
    {"文学理论教程", "童庆炳", "I0", Gaojiao},
    {"外国文学史", "郑克鲁", "I1", Gaojiao},
    {"老人与海", "海明威", "I3/7", Renwen},
    {"简·爱", "夏洛蒂·勃朗特", "I3/7", Renwen},
    {"悲惨世界", "雨果", "I3/7", Renwen},
    {"巴黎圣母院", "雨果", "I3/7", Renwen},
    {"战争与和平", "列夫·托尔斯泰", "I3/7", Renwen},
    {"安娜·卡列尼娜", "列夫·托尔斯泰", "I3/7", Renwen},
    {"复活", "列夫·托尔斯泰", "I3/7", Renwen},
    {"钢铁是怎样炼成的", "奥斯特洛夫斯基", "I3/7", Renwen},
    {"百年孤独", "马尔克斯", "I3/7", Renwen},
    {"小王子", "圣埃克苏佩里", "I3/7", Renwen},
    {"哈姆雷特", "莎士比亚", "I3/7", Renwen},
    {"双城记", "狄更斯", "I3/7", Renwen},
    {"傲慢与偏见", "简·奥斯汀", "I3/7", Renwen},
    {"红与黑", "司汤达", "I3/7", Renwen},
    {"堂吉诃德", "塞万提斯", "I3/7", Renwen},
    {"鲁滨逊漂流记", "笛福", "I3/7", Renwen},
    {"格列佛游记", "斯威夫特", "I3/7", Renwen},
    {"海底两万里", "凡尔纳", "I3/7", Renwen},
    {"变形记", "卡夫卡", "I3/7", Renwen},
    {"雪国", "川端康成", "I3/7", Renwen},
    {"月亮与六便士", "毛姆", "I3/7", Renwen},
    {"爱的教育", "亚米契斯", "I3/7", Renwen},
    {"史记", "司马迁", "K2", Zhonghua},
    {"资治通鉴", "司马光", "K2", Zhonghua},
    {"汉书", "班固", "K2", Zhonghua},
    {"三国志", "陈寿", "K2", Zhonghua},
    {"中国通史", "吕思勉", "K2", Zhonghua},
    {"国史大纲", "钱穆", "K2", Shangwu},
    {"万历十五年", "黄仁宇", "K2", Zhonghua},
    {"中国近代史", "蒋廷黻", "K2", Shangwu},
    {"上下五千年", "林汉达", "K2", Zhonghua},
    {"全球通史", "斯塔夫里阿诺斯", "K1", Shangwu},
    {"世界史纲", "韦尔斯", "K1", Shangwu},
    {"枪炮、病菌与钢铁", "贾雷德·戴蒙德", "K1", Shangwu},
    {"苏东坡传", "林语堂", "K81", Renwen},
    {"居里夫人传", "艾芙·居里", "K81", Shangwu},
    {"曾国藩传", "张宏杰", "K81", Zhonghua},
    {"徐霞客游记", "徐弘祖", "K9", Zhonghua},
    {"中国地理", "赵济", "K9", Gaojiao},
    {"论语译注", "杨伯峻", "B2", Zhonghua},
    {"孟子译注", "杨伯峻", "B2", Zhonghua},
    {"老子今注今译", "陈鼓应", "B2", Shangwu},
    {"庄子今注今译", "陈鼓应", "B2", Shangwu},
    {"中国哲学简史", "冯友兰", "B2", Shangwu},
    {"传习录", "王阳明", "B2", Zhonghua},
    {"理想国", "柏拉图", "B5", Shangwu},
    {"西方哲学史", "罗素", "B5", Shangwu},
    {"沉思录", "马可·奥勒留", "B5", Shangwu},
    {"苏菲的世界", "乔斯坦·贾德", "B1", Shangwu},
    {"普通心理学", "彭聃龄", "B84", Gaojiao},
    {"自卑与超越", "阿德勒", "B84", Shangwu},
    {"美的历程", "李泽厚", "B83", Shangwu},
    {"谈美", "朱光潜", "B83", Zhonghua},
    {"乡土中国", "费孝通", "C91", Shangwu},
    {"现代汉语词典", "中国社会科学院语言研究所", "H1", Shangwu},
    {"新华字典", "商务印书馆辞书研究中心", "H1", Shangwu},
    {"古代汉语", "王力", "H1", Zhonghua},
    {"现代汉语", "黄伯荣", "H1", Gaojiao},
    {"英汉大词典", "陆谷孙", "H3", Shangwu},
    {"新概念英语", "亚历山大", "H3", Shangwu},
    {"教育学", "王道俊", "G4", Gaojiao},
    {"给教师的建议", "苏霍姆林斯基", "G4", Gaojiao},
    {"高等数学", "同济大学数学系", "O1", Gaojiao},
    {"线性代数", "同济大学数学系", "O1", Gaojiao},
    {"概率论与数理统计", "盛骤", "O1", Gaojiao},
    {"数学分析", "华东师范大学数学系", "O1", Gaojiao},
    {"什么是数学", "柯朗", "O1", Gaojiao},
    {"物理学", "马文蔚", "O4", Gaojiao},
    {"费恩曼物理学讲义", "费恩曼", "O4", Gaojiao},
    {"无机化学", "大连理工大学", "O6", Gaojiao},
    {"有机化学", "邢其毅", "O6", Gaojiao},
    {"时间简史", "霍金", "P1", Qinghua},
    {"宇宙", "卡尔·萨根", "P1", Qinghua},
    {"物种起源", "达尔文", "Q1", Shangwu},
    {"自私的基因", "道金斯", "Q3", Qinghua},
    {"昆虫记", "法布尔", "Q96", Renwen},
    {"黄帝内经", "佚名", "R2", Zhonghua},
    {"本草纲目", "李时珍", "R2", Zhonghua},
    {"艺术的故事", "贡布里希", "J1", Shangwu},
    {"中国绘画史", "陈师曾", "J2", Zhonghua},
    {"C程序设计", "谭浩强", "TP", Qinghua},
    {"数据结构", "严蔚敏", "TP", Qinghua},
    {"计算机网络", "谢希仁", "TP", Qinghua},
    {"操作系统", "汤小丹", "TP", Qinghua},
    {"数据库系统概论", "王珊", "TP", Gaojiao},
    {"计算机组成原理", "唐朔飞", "TP", Gaojiao},
    {"软件工程导论", "张海藩", "TP", Qinghua},
};

// Further titles are made of a subject and a kind of book, by class.
struct SubjectData {
    const char* secondLevel;
    int publisher;
    QList<const char*> subjects;
    QList<const char*> kinds;
};

const QList<SubjectData>& subjectData()
{
    static const QList<SubjectData> data = {
        {"I2",
         Renwen,
         {"中国现代散文", "唐宋诗词", "现代诗歌", "鲁迅杂文", "明清小说", "古典诗词"},
         {"选读", "赏析", "精选", "名篇导读"}},
        {"I3/7",
         Renwen,
         {"外国短篇小说", "世界童话", "外国诗歌", "欧美散文"},
         {"选", "精选", "名篇导读"}},
        {"K2",
         Zhonghua,
         {"中国古代史", "中国近现代史", "唐代社会", "宋代文化", "明清史"},
         {"纲要", "讲座", "十讲", "简编"}},
        {"K1", Shangwu, {"世界近代史", "欧洲文明", "古希腊罗马"}, {"纲要", "十讲", "简史"}},
        {"B84", Gaojiao, {"青少年心理", "学习心理", "心理健康"}, {"指导", "读本", "手册"}},
        {"H3",
         Shangwu,
         {"英语阅读", "英语写作", "英语听力", "英语词汇"},
         {"教程", "训练", "入门", "进阶"}},
        {"H1", Shangwu, {"汉字", "普通话", "现代汉语语法", "应用写作"}, {"常识", "教程", "手册"}},
        {"G4",
         Gaojiao,
         {"班主任工作", "课堂教学", "教育心理学", "学校管理"},
         {"艺术", "方法", "案例", "漫谈"}},
        {"O1",
         Gaojiao,
         {"高中数学", "微积分", "几何", "代数", "数学建模"},
         {"基础", "讲义", "习题精解", "思维训练"}},
        {"O4", Gaojiao, {"力学", "电磁学", "光学", "热学", "物理实验"}, {"基础", "教程", "趣谈"}},
        {"O6",
         Gaojiao,
         {"化学实验", "有机化学", "物理化学", "生活中的化学"},
         {"基础", "教程", "趣谈"}},
        {"TP",
         Qinghua,
         {"Python程序设计", "Java程序设计", "网页设计", "数据库应用", "计算机应用", "算法",
          "人工智能", "信息安全"},
         {"基础", "教程", "实践", "入门"}},
        {"Q95", Qinghua, {"动物", "鸟类", "海洋生物"}, {"图鉴", "世界", "百科"}},
        {"J2", Renwen, {"素描", "水彩画", "中国画", "油画"}, {"基础", "技法", "教程"}},
        {"G8", Gaojiao, {"篮球", "足球", "田径", "游泳", "乒乓球"}, {"运动教程", "训练指导"}},
    };
    return data;
}

const char* const surnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周",
                                "徐", "孙", "马", "朱", "胡", "郭", "何", "高", "林", "罗",
                                "郑", "梁", "谢", "宋", "唐", "许", "韩", "冯", "邓", "曹"};
const char* const givenNames[] = {"伟",   "芳",   "敏",   "静",   "丽",   "强",   "磊",   "军",
                                  "洋",   "勇",   "艳",   "杰",   "娟",   "涛",   "明",   "超",
                                  "秀英", "霞",   "平",   "刚",   "浩然", "子涵", "欣怡", "梓轩",
                                  "雨泽", "思远", "晓东", "海燕", "文博", "佳怡", "一鸣", "俊杰",
                                  "诗涵", "宇航", "晨曦", "嘉怡", "志强", "建华", "若曦", "天宇"};
const char* const teacherUnits[] = {"语文教研组", "数学教研组", "英语教研组", "物理教研组",
                                    "化学教研组", "历史教研组", "政治教研组", "信息技术组",
                                    "教务处",     "图书馆"};
const char* const districts[] = {"海淀区", "朝阳区", "西城区", "东城区", "丰台区"};
const char* const streets[] = {"学院路", "中关村大街", "知春路",
                               "复兴路", "花园北路",   "北三环西路"};

// The rooms: numbers and names.
const Room rooms[] = {{"01", "第一书库"}, {"02", "第二书库"}, {"03", "报刊阅览室"}};

// --- the plan ---

constexpr int teachers = 12;
constexpr int students = 28;
constexpr const char* firstCardNumber = "10001";
constexpr const char* cardType = "借阅证";

// The two grades: teachers keep books longer and may hold more; students pay more per
// day late.
struct GradePlan {
    const char* code;
    int loanDays;
    int maxBooks;
    const char* deposit;
    const char* fee;
    const char* finePerDay;
    int renewals;
    int validDays;
    const char* topUp; // the first top-up at issue
};
const GradePlan teacherGrade{"A", 60, 10, "100", "5", "0.1", 2, 1095, "50"};
const GradePlan studentGrade{"B", 30, 5, "50", "5", "0.2", 1, 365, "20"};

// A deterministic die: the same library every time.
class Dice {
public:
    explicit Dice(unsigned seed) : m_engine(seed) {}
    int below(int n) { return static_cast<int>(m_engine() % static_cast<unsigned>(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    template <typename T, std::size_t N> const T& pick(const T (&items)[N])
    {
        return items[below(static_cast<int>(N))];
    }

private:
    std::mt19937 m_engine;
};

// One operator action, as the screens run it: all of it or nothing (inside the demo's own
// transaction it joins that one).
template <typename Work> auto action(Work work)
{
    Transaction transaction;
    if constexpr (std::is_void_v<decltype(work())>) {
        work();
        transaction.commit();
    } else {
        auto result = work();
        transaction.commit();
        return result;
    }
}

bool yes(const QString&, const QString&)
{
    return true;
}

QString isbnOf(const char* publisherPrefix, int item)
{
    QString digits = QString("9787") + publisherPrefix;
    digits += QString("%1").arg(item, 12 - static_cast<int>(digits.size()), 10, QChar('0'));
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (digits.at(i).digitValue()) * (i % 2 == 0 ? 1 : 3);
    const int check = (10 - sum % 10) % 10;
    const QString p(publisherPrefix);
    return QString("%1-%2-%3-%4-%5")
        .arg(digits.left(3), digits.mid(3, 1), p, digits.mid(4 + p.size(), 8 - p.size()))
        .arg(check);
}

// An identity card number with its check character.
QString identityNumber(const QDate& born, int sequence)
{
    const QString body =
        QString("110108%1%2").arg(born.toString("yyyyMMdd")).arg(sequence, 3, 10, QChar('0'));
    static const int weights[] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    int sum = 0;
    for (int i = 0; i < 17; ++i)
        sum += body.at(i).digitValue() * weights[i];
    return body + QString("10X98765432").at(sum % 11);
}

struct DemoReader {
    QString number;
    QString name;
    QString identity;
    const GradePlan* grade = nullptr;
};

struct Title {
    QString barcode;
    QDate catalogued;
};

// A loan the demo makes: lent on `lent`, returned on `returned` (invalid: still open).
struct PlannedLoan {
    QDate lent;
    QDate returned;
    const GradePlan* grade = nullptr;
    int reader = -1; // a fixed reader, or -1 for anyone of the grade
    qint64 id = 0;   // the loan once made
    QString card;
    QString barcode;
};

class Builder {
public:
    explicit Builder(const QDate& today) : m_today(today), m_dice(20261217) {}

    DemoLibrary::Summary build()
    {
        setUp(m_today.addDays(-200));
        catalogue();
        issueCards(m_today.addDays(-180));
        circulate();
        readingRoom();
        return summary();
    }

private:
    QDate day(int offset) const { return m_today.addDays(offset); }
    static void on(const QDate& date) { Clock::setToday(date); }

    void setUp(const QDate& date)
    {
        on(date);
        for (const GradePlan* plan : {&teacherGrade, &studentGrade}) {
            action([plan] {
                GradeTable grades;
                grades.open();
                grades.append();
                grades.setField("kdj", plan->code);
                grades.setField("km", cardType);
                grades.setField("gbf", plan->fee);
                grades.setField("yjje", "0.00");
                grades.setField("jyqx", QString::number(plan->loanDays));
                grades.setField("yjsbs", QString::number(plan->maxBooks));
                grades.setField("jsyj", plan->deposit);
                grades.setField("jyqxdw", "日");
                grades.write();
                GradeTable::writeRules(plan->code, Money::fromText(plan->finePerDay),
                                       plan->renewals, plan->validDays);
            });
        }
        action([] { CardSequence::start(firstCardNumber, cardType); });
        for (const Room& room : rooms)
            action([&room] { Rooms::save(room, QString()); });
        classification();
    }

    // The two-level scheme from the delivered detailed classification: each main class
    // with its first subdivisions.
    static void classification()
    {
        Sql q("select Flm,mxflm,mxflmc from mxflk order by rowid");
        q.exec();
        QList<ClassPair> pairs;
        QHash<QString, QString> mainNames;
        while (q.next()) {
            const QString main = q.text("Flm");
            const QString code = q.text("mxflm");
            if (code == main)
                mainNames.insert(main, q.text("mxflmc"));
            else
                pairs.append({main, QString(), code, q.text("mxflmc")});
        }
        for (ClassPair& pair : pairs) {
            pair.firstName = mainNames.value(pair.firstCode);
            if (!pair.firstName.isEmpty())
                action([&pair] { Classification::save(pair); });
        }
    }

    QString authorName()
    {
        return QString::fromUtf8(m_dice.pick(surnames)) +
               QString::fromUtf8(m_dice.pick(givenNames));
    }

    void catalogue()
    {
        QList<TitleData> titles(std::begin(knownTitles), std::end(knownTitles));
        // Made-up titles for the rest, in an order of the die.
        QList<std::pair<const SubjectData*, QString>> made;
        for (const SubjectData& subject : subjectData()) {
            for (const char* s : subject.subjects) {
                for (const char* k : subject.kinds)
                    made.append({&subject, QString::fromUtf8(s) + QString::fromUtf8(k)});
            }
        }
        for (int i = static_cast<int>(made.size()) - 1; i > 0; --i)
            std::swap(made[i], made[m_dice.below(i + 1)]);
        const int wanted = 300;
        QStringList madeTitles;
        QList<const SubjectData*> madeSubjects;
        for (int i = 0; i < made.size() && titles.size() + madeTitles.size() < wanted; ++i) {
            madeTitles << made.at(i).second;
            madeSubjects << made.at(i).first;
        }

        QHash<QString, int> perClass;
        QSet<int> publisherStored;
        const int total = static_cast<int>(titles.size() + madeTitles.size());
        for (int i = 0; i < total; ++i) {
            const bool known = i < titles.size();
            QString title, author, secondLevel;
            int publisher = 0;
            if (known) {
                const TitleData& t = titles.at(i);
                title = QString::fromUtf8(t.title);
                author = QString::fromUtf8(t.author);
                secondLevel = QString::fromUtf8(t.secondLevel);
                publisher = t.publisher;
            } else {
                const int m = i - static_cast<int>(titles.size());
                title = madeTitles.at(m);
                author = authorName();
                secondLevel = QString::fromUtf8(madeSubjects.at(m)->secondLevel);
                publisher = madeSubjects.at(m)->publisher;
            }
            // Bought in six batches half a year ago; the last twenty arrived lately.
            const QDate bought = i >= total - 20 ? day(-12) : day(-200 + i / 50);
            on(bought);
            const int inClass = ++perClass[secondLevel];
            CatalogueEntry e;
            e.title = title;
            e.author = author;
            e.firstLevel = secondLevel.left(1);
            e.secondLevel = secondLevel;
            e.barcode = QString("2026%1").arg(i + 1, 4, 10, QChar('0'));
            e.searchNumber = QString(secondLevel).remove('/') + "/" + QString::number(inClass);
            e.language = "中文";
            e.edition = "第1版";
            e.format = m_dice.below(3) == 0 ? "16开" : "32开";
            const int pages = m_dice.between(120, 780);
            e.pages = QString::number(pages);
            e.illustrations = QString::number(m_dice.below(4) == 0 ? m_dice.between(1, 16) : 0);
            e.price = Money::fromText(QString::number(12 + pages / 20 + m_dice.below(2) * 0.5))
                          .toFixed2();
            const int r = m_dice.below(20);
            const int copies = r < 7 ? 1 : r < 13 ? 2 : r < 17 ? 3 : r < 19 ? 4 : 5;
            e.copies = QString::number(copies);
            const QString main = e.firstLevel;
            const bool firstRoom = QString("IKBCJR").contains(main);
            e.room = firstRoom ? rooms[0].number : rooms[1].number;
            e.shelf = QString("%1-%2").arg(main).arg(m_dice.between(1, 12), 2, 10, QChar('0'));
            e.state = "图书未出借";
            e.damaged = "N";
            e.published = QDate(m_dice.between(1998, 2025), m_dice.between(1, 12), 1)
                              .toString(Dates::displayFormat);
            e.isbn = isbnOf(publishers[publisher].isbnPrefix, 1000 + i);
            e.publisher = QString::fromUtf8(publishers[publisher].name);
            e.mnemonic = Catalogue::mnemonic(title);
            // A publisher is typed on the second page the first time one of its books
            // is catalogued.
            std::optional<NewPublisher> newPublisher;
            if (!publisherStored.contains(publisher)) {
                publisherStored.insert(publisher);
                const PublisherData& p = publishers[publisher];
                newPublisher = NewPublisher{
                    QString::fromUtf8(p.address), QString::fromUtf8(p.contact),
                    QString::fromUtf8(p.telephone), QString::fromUtf8(p.postcode), QString()};
            }
            action([&] { Catalogue::save(e, QString(), newPublisher, yes); });
            m_titles.append({e.barcode, bought});
            m_free.insert(e.barcode, copies);
            m_copies += copies;
        }
    }

    void issueCards(const QDate& first)
    {
        QSet<QString> names;
        for (int i = 0; i < teachers + students; ++i) {
            const bool teacher = i < teachers;
            const GradePlan& grade = teacher ? teacherGrade : studentGrade;
            QString name;
            do {
                name = authorName();
            } while (names.contains(name));
            names.insert(name);
            const QDate issued = first.addDays(i);
            on(issued);
            const QDate born = teacher ? QDate(m_dice.between(1968, 1995), m_dice.between(1, 12),
                                               m_dice.between(1, 28))
                                       : QDate(m_dice.between(2008, 2010), m_dice.between(1, 12),
                                               m_dice.between(1, 28));
            CardApplication a;
            a.number = CardSequence::current().number;
            a.cardType = CardSequence::current().type;
            a.grade = grade.code;
            a.name = name;
            a.identity = identityNumber(born, 100 + i);
            a.deposit = grade.deposit;
            a.telephone =
                QString("13%1%2").arg(m_dice.between(0, 9)).arg(m_dice.between(10000000, 99999999));
            a.address = QString("北京市%1%2%3号")
                            .arg(QString::fromUtf8(m_dice.pick(districts)),
                                 QString::fromUtf8(m_dice.pick(streets)))
                            .arg(m_dice.between(1, 120));
            a.workUnit = teacher ? QString::fromUtf8(m_dice.pick(teacherUnits))
                                 : QString("高%1（%2）班")
                                       .arg(QString("一二三").at(m_dice.below(3)))
                                       .arg(m_dice.between(1, 8));
            a.validUntil = Dates::toText(issued.addDays(grade.validDays));
            // A few students paid nothing on top of the deposit and fee.
            a.topUp = !teacher && i % 7 == 0 ? QString("0") : QString(grade.topUp);
            action([&] { CardIssue::issue(a, yes); });
            m_readers.append({a.number, name, a.identity, &grade});
        }
    }

    // Loans over the last four months: returned ones (some late, with their fines paid),
    // open ones due later, and open ones overdue by a few days to a few weeks.
    void circulate()
    {
        QList<PlannedLoan> plan;
        auto add = [&plan](const QDate& lent, const QDate& returned, const GradePlan& grade,
                           int reader = -1) {
            plan.append({lent, returned, &grade, reader, 0, QString(), QString()});
        };
        // The reader the README points to: two loans out, one of them overdue.
        add(day(-72), {}, teacherGrade, 0);
        add(day(-20), {}, teacherGrade, 0);
        add(day(-3), {}, teacherGrade, 0);
        for (int i = 0; i < 12; ++i) { // returned on time
            const QDate lent = day(-m_dice.between(45, 120));
            add(lent, lent.addDays(m_dice.between(3, 30)), studentGrade);
        }
        for (int i = 0; i < 6; ++i) {
            const QDate lent = day(-m_dice.between(70, 120));
            add(lent, lent.addDays(m_dice.between(5, 60)), teacherGrade);
        }
        for (int i = 0; i < 8; ++i) { // returned late, the fine paid
            const QDate lent = day(-m_dice.between(60, 120));
            add(lent, lent.addDays(30 + m_dice.between(1, 20)), studentGrade);
        }
        for (int i = 0; i < 2; ++i) {
            const QDate lent = day(-m_dice.between(95, 120));
            add(lent, lent.addDays(60 + m_dice.between(1, 15)), teacherGrade);
        }
        // Overdue: students 2 to 25 days late, teachers 3 to 18 days.
        for (int i = 0; i < 11; ++i)
            add(day(-30 - 2 - i * 23 / 10), {}, studentGrade);
        for (int i = 0; i < 4; ++i)
            add(day(-60 - 3 - i * 5), {}, teacherGrade);
        for (int i = 0; i < 32; ++i) // out, not yet due
            add(day(-m_dice.between(0, 29)), {}, studentGrade);
        for (int i = 0; i < 13; ++i)
            add(day(-m_dice.between(0, 59)), {}, teacherGrade);

        // Day by day: what comes back first, then what goes out, then the card desk.
        QList<QDate> days;
        for (const PlannedLoan& loan : plan) {
            days << loan.lent;
            if (loan.returned.isValid())
                days << loan.returned;
        }
        const QDate extensionDay = day(-20);
        const QDate lostDay = day(-6);
        days << extensionDay << lostDay;
        std::sort(days.begin(), days.end());
        days.erase(std::unique(days.begin(), days.end()), days.end());
        for (const QDate& date : days) {
            on(date);
            for (PlannedLoan& loan : plan) {
                if (loan.returned == date && loan.id != 0)
                    giveBack(loan);
            }
            for (PlannedLoan& loan : plan) {
                if (loan.lent == date)
                    lend(loan);
            }
            if (date == extensionDay)
                extendCards();
            if (date == lostDay)
                reportLostCards();
        }
    }

    void lend(PlannedLoan& loan)
    {
        QList<int> candidates;
        for (int i = 0; i < m_readers.size(); ++i) {
            const DemoReader& r = m_readers.at(i);
            // The reader the README names has only the loans planned for it.
            if (loan.reader >= 0 ? i != loan.reader : r.grade != loan.grade || i == 0)
                continue;
            if (LostCards::isLost(r.number) || Loans::openLoanCount(r.number) >= r.grade->maxBooks)
                continue;
            candidates << i;
        }
        if (candidates.isEmpty())
            return;
        const DemoReader& reader = m_readers.at(candidates.at(m_dice.below(candidates.size())));
        // A title on the shelf that this reader has never had.
        QList<int> books;
        for (int i = 0; i < m_titles.size(); ++i) {
            const Title& t = m_titles.at(i);
            if (t.catalogued < Clock::today() && !m_borrowed.contains(reader.number + t.barcode) &&
                m_free.value(t.barcode) > 0)
                books << i;
        }
        if (books.isEmpty())
            return;
        const QString barcode = m_titles.at(books.at(m_dice.below(books.size()))).barcode;
        // The lending desk: the card, the book, then Save.
        const Loan made = action([&] {
            const Match cards = Loans::findCards(reader.number);
            const Reader accepted = Loans::acceptCard(cards.key);
            Loans::acceptBook(accepted, barcode, Loans::Route::Typed);
            return Loans::lend(accepted.number, barcode);
        });
        m_borrowed.insert(reader.number + barcode);
        --m_free[barcode];
        loan.id = made.id;
        loan.card = reader.number;
        loan.barcode = barcode;
    }

    void giveBack(const PlannedLoan& loan)
    {
        // The returning desk: the overdue fine dialog proposes days x the grade's fine,
        // the operator keeps it and confirms.
        Returns::FineDesk desk;
        desk.overdue = [](const Returns::FineOffer& offer) {
            return Fines::confirmOverdue(
                {offer.card, offer.grade, offer.barcode, offer.amount.toShortest()}, yes);
        };
        desk.damage = [](const QString&, const QString&) {};
        action([&] { return Returns::giveBack({loan.id, loan.card, "N"}, desk); });
        ++m_free[loan.barcode];
    }

    // Three students extend their cards by a year and pay for it.
    void extendCards()
    {
        for (int i : {teachers + 1, teachers + 5, teachers + 9}) {
            const DemoReader& r = m_readers.at(i);
            const QDate until = Dates::parse(
                Sql::scalar("select yxrq from cardk where kno=:kno", {r.number}).toString());
            action([&] {
                TopUps::extend(
                    {r.number, r.number, r.name, Dates::toText(until.addDays(365)), "20"}, yes);
            });
        }
    }

    // Three students have lost their cards.
    void reportLostCards()
    {
        for (int i : {teachers + students - 1, teachers + students - 4, teachers + students - 7}) {
            const DemoReader& r = m_readers.at(i);
            action(
                [&] { LostCards::change(LostCards::Change::Report, r.number, r.identity, yes); });
            ++m_lost;
        }
    }

    // Two periodicals have arrived; a teacher is reading one of them today.
    void readingRoom()
    {
        struct Issue {
            const char* name;
            const char* type;
            int publisher;
            QDate date;
        };
        const Issue issues[] = {{"英语世界", "期刊", Shangwu, day(-40)},
                                {"中华活页文选", "杂志", Zhonghua, day(-15)}};
        for (const Issue& issue : issues) {
            on(issue.date.addDays(5));
            PeriodicalEntry e;
            e.name = QString::fromUtf8(issue.name);
            e.mnemonic = Periodicals::mnemonicOf(e.name);
            e.type = QString::fromUtf8(issue.type);
            e.issue = QString("%1年第%2期").arg(issue.date.year()).arg(issue.date.month());
            e.date = Dates::toText(issue.date);
            e.publisher = QString::fromUtf8(publishers[issue.publisher].name);
            action([&] { Periodicals::registerIssue(e); });
        }
        on(m_today);
        const Issue& read = issues[0];
        const DemoReader& reader = m_readers.at(1);
        ReadingRoom::Loan loan;
        loan.name = QString::fromUtf8(read.name);
        loan.issue = QString("%1年第%2期").arg(read.date.year()).arg(read.date.month());
        loan.date = Dates::toText(read.date);
        loan.type = QString::fromUtf8(read.type);
        loan.card = reader.number;
        loan.readerName = ReadingRoom::lookUpCard(reader.number).name;
        loan.publisher = QString::fromUtf8(publishers[read.publisher].name);
        action([&] { ReadingRoom::lend(loan); });
        ++m_periodicals;
    }

    DemoLibrary::Summary summary() const
    {
        DemoLibrary::Summary s;
        s.titles = static_cast<int>(m_titles.size());
        s.copies = m_copies;
        s.readers = static_cast<int>(m_readers.size());
        s.lostCards = m_lost;
        s.openLoans = Sql::scalar("select count(*) from dzjsmxk where hsjsr=\"\"").toInt();
        s.overdueLoans =
            Sql::scalar("select count(*) from dzjsmxk where hsjsr=\"\" and hsrq<:today", {m_today})
                .toInt();
        s.returnedLoans = Sql::scalar("select count(*) from dzjsmxk where hsjsr<>\"\"").toInt();
        s.fines = Sql::scalar("select count(*) from dzyqfkmxk").toInt();
        s.periodicals = Sql::scalar("select count(*) from zzqk").toInt();
        s.showcaseCard = m_readers.at(0).number;
        s.showcaseName = m_readers.at(0).name;
        return s;
    }

    const QDate m_today;
    Dice m_dice;
    QList<Title> m_titles;
    QList<DemoReader> m_readers;
    QSet<QString> m_borrowed;   // card + barcode of every loan made
    QHash<QString, int> m_free; // copies on the shelf, as the desk counts them (bs - jcs)
    int m_copies = 0;
    int m_lost = 0;
    int m_periodicals = 0;
};

// Puts the clock and the operator session back however the fill ends.
class Restorer {
public:
    Restorer() : m_fixed(Clock::fixedToday()), m_session(Session::current()) {}
    ~Restorer()
    {
        Clock::setToday(m_fixed);
        Session::current() = m_session;
    }
    Restorer(const Restorer&) = delete;
    Restorer& operator=(const Restorer&) = delete;

private:
    QDate m_fixed;
    OperatorSession m_session;
};

} // namespace

QString DemoLibrary::refusal(const QString& home)
{
    const QDir data(QDir(home).filePath("dat"));
    if (data.exists() && !data.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        return QString::fromUtf8(
                   "文件夹 %1 中已有图书馆的数据（%2），演示图书馆只能建在新的文件夹中。")
            .arg(QDir::toNativeSeparators(home), QDir::toNativeSeparators(data.path()));
    if (QFileInfo(data.path()).exists() && !QFileInfo(data.path()).isDir())
        return QString::fromUtf8("%1 不是文件夹，演示图书馆建不成。")
            .arg(QDir::toNativeSeparators(data.path()));
    return QString();
}

DemoLibrary::Summary DemoLibrary::fill()
{
    for (const char* table : {"cardk", "tszk", "jykdjk", "jszxh", "tssxxk", "dzjsmxk", "cwk"}) {
        if (Sql::scalar(QString("select count(*) from %1").arg(table)).toInt() > 0)
            throw std::runtime_error("the demo library is made only in a new, empty library");
    }
    Restorer restorer;
    const QDate today = Clock::today();
    OperatorSession& session = Session::current();
    session = OperatorSession();
    session.loginCode = "ADMIN";
    session.name = Sql::scalar("select name from userk where loginuser='ADMIN'").toString();
    session.grade = "A";
    session.attempted = session.completed = true;
    return Builder(today).build();
}

bool DemoLibrary::create(Summary* summary, QString* error)
{
    const QString home = ProgramPaths::home();
    const QString refused = refusal(home);
    if (!refused.isEmpty()) {
        if (error)
            *error = refused;
        return false;
    }
    const bool folderExisted = QFileInfo::exists(ProgramPaths::dataFolder());
    QString reason;
    if (Database::open(&reason)) {
        try {
            Transaction transaction;
            const Summary made = fill();
            transaction.commit();
            Database::close();
            if (summary)
                *summary = made;
            Log::write(QString("made a demo library in %1").arg(home));
            return true;
        } catch (const StoreError& e) {
            reason = e.message();
        } catch (const std::exception& e) {
            reason = QString::fromLocal8Bit(e.what());
        }
    }
    // Leave the folder as it was: without a half-made library.
    Database::close();
    if (folderExisted) {
        const QDir data(ProgramPaths::dataFolder());
        for (const QString& name : data.entryList(QDir::Files | QDir::Hidden))
            QFile::remove(data.filePath(name));
    } else {
        QDir(ProgramPaths::dataFolder()).removeRecursively();
    }
    Log::write(QString("could not make a demo library in %1: %2").arg(home, reason));
    if (error)
        *error = QString::fromUtf8("演示图书馆没有建成：%1").arg(reason);
    return false;
}

bool DemoLibrary::createFromCommandLine()
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    Summary s;
    QString error;
    if (!create(&s, &error)) {
        err << error << "\n"
            << "library-desk --demo: nothing was changed; give a new folder with --home DIR."
            << Qt::endl;
        return false;
    }
    out << QString::fromUtf8("演示图书馆已建好：%1\n"
                             "  %2 种图书（%3 册），%4 位读者（%5 张借书证挂失），\n"
                             "  %6 笔借阅未还（其中 %7 笔逾期），%8 笔已还（%9 笔逾期罚款已交），"
                             "%10 种期刊。\n"
                             "以 ADMIN（密码 1）登录，在“读者借书登记”中输入借书证号 %11（%12）。")
               .arg(QDir::toNativeSeparators(ProgramPaths::home()))
               .arg(s.titles)
               .arg(s.copies)
               .arg(s.readers)
               .arg(s.lostCards)
               .arg(s.openLoans)
               .arg(s.overdueLoans)
               .arg(s.returnedLoans)
               .arg(s.fines)
               .arg(s.periodicals)
               .arg(s.showcaseCard, s.showcaseName)
        << Qt::endl;
    return true;
}
