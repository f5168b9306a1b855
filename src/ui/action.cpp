#include "ui/action.h"

#include "data/log.h"
#include "data/sql.h"
#include "desk/refused.h"
#include "ui/messages.h"
#include "ui/storefailure.h"

#include <QWidget>

namespace {
void showRefusal(QWidget* parent, const Refused& refused)
{
    if (refused.style() == Refused::Style::Plain)
        Messages::plain(parent, refused.text());
    else
        Messages::notice(parent, refused.caption(), refused.text());
    if (parent && !refused.box().isEmpty()) {
        if (auto* box = parent->findChild<QWidget*>(refused.box()))
            box->setFocus(Qt::OtherFocusReason);
    }
}
} // namespace

bool Action::run(QWidget* parent, const std::function<void()>& work)
{
    QString reason;
    try {
        Transaction transaction;
        work();
        transaction.commit();
        return true;
    } catch (const ActionCancelled&) {
        return false;
    } catch (const Refused& refused) {
        showRefusal(parent, refused);
        return false;
    } catch (const StoreError& e) {
        reason = StoreFailure::explain(e);
        Log::write(QString("action rolled back: %1 (%2)").arg(e.message(), e.statement()));
    } catch (const std::exception& e) {
        reason = QString::fromLocal8Bit(e.what());
        Log::write(QString("action rolled back: %1").arg(reason));
    }
    Messages::error(
        parent, QString::fromUtf8("操作未能完成，已撤销本次所做的修改。\n原因：%1").arg(reason));
    return false;
}

Ask Action::askWith(QWidget* parent)
{
    return [parent](const QString& caption, const QString& text) {
        return Messages::question(parent, caption, text);
    };
}
