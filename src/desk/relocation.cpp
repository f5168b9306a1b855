#include "desk/relocation.h"

#include "data/sql.h"
#include "desk/refused.h"
#include "desk/rooms.h"

bool Relocation::isIn(const QString& barcode, const QString& roomNumber)
{
    Sql q("select txm,scddbh from tszk where txm=:txm and scddbh=:scddbh");
    q.bind(barcode).bind(roomNumber).exec();
    return q.next();
}

int Relocation::move(const RelocationRequest& request)
{
    Transaction::beginWriting(); // every check below is read again under the write lock
    const QString caption = QString::fromUtf8("提示");
    const bool oneBook = !request.wholeRoom;
    auto box = [oneBook](const char* name) { return oneBook ? QString(name) : QString(); };
    if (oneBook && request.barcode.isEmpty())
        throw Refused(caption, "您必须输入需要调整的书号！", "Edit1");
    const QString before = Rooms::numberOf(request.roomBefore);
    if (before.isEmpty())
        throw Refused(caption, "您必须输入需要调整图书室名称！", box("ComboBox1"));
    const QString after = Rooms::numberOf(request.roomAfter);
    if (after.isEmpty())
        throw Refused(caption, "您必须输入需要调整后的图书室名称", box("ComboBox2"));
    if (request.wholeRoom) {
        Sql q("update tszk set scddbh=:scddbhH where scddbh=:scddbhQ");
        q.bind(after).bind(before).exec();
        return q.rowsAffected();
    }
    Sql q("update tszk set scddbh=:scddbhH where txm=:txm and scddbh=:scddbhQ");
    q.bind(after).bind(request.barcode).bind(before).exec();
    if (q.rowsAffected() == 0)
        throw Refused(caption, notInRoomText, "Edit1");
    return q.rowsAffected();
}
