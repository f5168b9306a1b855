#include "desk/rooms.h"

#include "data/clock.h"
#include "data/sql.h"
#include "desk/refused.h"

namespace {
const char* const addCaption = "新增提示";
const char* const saveCaption = "保存提示";

bool taken(const char* statement, const QString& value, const QString& original)
{
    Sql q(statement);
    q.bind(value).exec();
    while (q.next()) {
        if (original.isEmpty() || q.text("tssbh") != original)
            return true;
    }
    return false;
}

bool numberTaken(const QString& number, const QString& original)
{
    return taken("select tssbh from tssxxk where tssbh=:tssbh", number, original);
}

bool nameTaken(const QString& name, const QString& original)
{
    return taken("select tssbh from tssxxk where tssmc=:tssmc", name, original);
}
} // namespace

void Rooms::checkNumber(const QString& number, const QString& original)
{
    if (number.isEmpty())
        throw Refused(addCaption, "请输入新增图书室的编号！", "tssbh");
    if (numberTaken(number, original))
        throw Refused("提示", "该图书室的编号已经存在，请确定后重新输入", "tssbh");
}

void Rooms::checkName(const QString& name, const QString& original)
{
    if (name.isEmpty())
        throw Refused(addCaption, "请输入新增图书室的名称！", "tssmc");
    if (nameTaken(name, original))
        throw Refused("提示", "该图书室名称已经存在，请确定后重新输入", "tssmc");
}

void Rooms::save(const Room& room, const QString& original, bool pending)
{
    if (room.number.isEmpty())
        throw Refused(saveCaption, "您必须输入新增的图书室编号！", "tssbh");
    if (room.name.isEmpty())
        throw Refused(saveCaption, "您必须输入新增的图书室名称！", "tssmc");
    if (!pending)
        throw Refused(saveCaption, "没有数据需要保存。");
    if (numberTaken(room.number, original))
        throw Taken{Column::Number};
    if (nameTaken(room.name, original))
        throw Taken{Column::Name};
    if (original.isEmpty()) {
        Sql::run("insert into tssxxk(tssbh,tssmc,slrq) values(:tssbh,:tssmc,:slrq)",
                 {room.number, room.name, Clock::today()});
        return;
    }
    // A changed room keeps the date it was set up.
    Sql::run("update tssxxk set tssbh=:tssbh,tssmc=:tssmc where tssbh=:old",
             {room.number, room.name, original});
    if (room.number != original)
        Sql::run("update tszk set scddbh=:scddbhH where scddbh=:scddbhQ", {room.number, original});
}

void Rooms::remove(const QString& number, const Ask& ask)
{
    const auto empty = [&number] {
        const int books =
            Sql::scalar("select count(*) as expr1001 from tszk where scddbh=:scddbh", {number})
                .toInt();
        if (books > 0)
            throw Refused("删除提示", QString("该图书室中还存放着%1种图书，不能删除！\n"
                                              "请先把这些图书调整到其他图书室。")
                                          .arg(books));
    };
    empty();
    if (!ask("删除提示", "确定要删除本图书室吗?"))
        throw ActionCancelled();
    Transaction::beginWriting(); // a title may have been shelved there meanwhile
    empty();
    Sql::run("delete from tssxxk where tssbh=:tssbh", {number});
}

QString Rooms::numberOf(const QString& name)
{
    Sql q("select tssbh from tssxxk where tssmc=:tssmc");
    q.bind(name).exec();
    QString number;
    int rows = 0;
    while (q.next()) {
        number = q.text("tssbh");
        ++rows;
    }
    return rows == 1 ? number : QString();
}
