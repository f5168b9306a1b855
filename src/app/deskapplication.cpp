#include "app/deskapplication.h"

#include "data/log.h"
#include "data/sql.h"
#include "ui/messages.h"
#include "ui/storefailure.h"

DeskApplication::DeskApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool DeskApplication::notify(QObject* receiver, QEvent* event)
{
    QString reason;
    try {
        return QApplication::notify(receiver, event);
    } catch (const StoreError& e) {
        reason = StoreFailure::explain(e);
        Log::write(QString("unhandled store error: %1 in: %2").arg(e.message(), e.statement()));
    } catch (const std::exception& e) {
        reason = QString::fromLocal8Bit(e.what());
        Log::write("unhandled error: " + reason);
    }
    Messages::error(nullptr, QString::fromUtf8("操作未能完成。\n原因：%1").arg(reason));
    return false;
}
