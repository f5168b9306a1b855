#include "ui/action.h"

#include "data/database.h"
#include "data/log.h"
#include "data/sql.h"
#include "desk/desks.h"
#include "desk/refused.h"
#include "ui/messages.h"
#include "ui/storefailure.h"

#include <QList>
#include <QWidget>

#include <tuple>

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

namespace {
// The questions an action asked, in order. When a conflict with another desk makes the
// action run again, the same question gets the operator's first answer without being
// shown a second time.
struct Answers {
    bool recording = false;
    QList<std::tuple<QString, QString, bool>> given;
    int replayed = 0;
};

Answers& answers()
{
    static Answers a;
    return a;
}

bool ask(QWidget* parent, const QString& caption, const QString& text)
{
    Answers& a = answers();
    if (a.recording && a.replayed < a.given.size()) {
        const auto& [askedCaption, askedText, answer] = a.given.at(a.replayed);
        if (askedCaption == caption && askedText == text) {
            ++a.replayed;
            return answer;
        }
        a.given.erase(a.given.begin() + a.replayed, a.given.end());
    }
    const bool answer = Messages::question(parent, caption, text);
    if (a.recording) {
        a.given.append({caption, text, answer});
        ++a.replayed;
    }
    return answer;
}
} // namespace

// Another desk restored a backup: nothing of this action was written (it would have gone
// into the removed file). The operator is told, and the restored library is opened.
static void reopenReplacedLibrary(QWidget* parent)
{
    Log::write("the library was replaced by another desk; opening it again");
    Messages::notice(parent, QString::fromUtf8("提示信息"),
                     QString::fromUtf8("本馆数据已被另一台电脑恢复或替换，本次操作没有保存。\n"
                                       "系统将重新打开本馆数据，请重新操作。"),
                     Messages::Icon::Warning);
    QString reason;
    if (!Database::open(&reason))
        Messages::error(parent, QString::fromUtf8("无法重新打开本馆数据：%1").arg(reason));
    else {
        try {
            Desks::refresh(); // the restored library does not know this desk yet
        } catch (const StoreError& e) {
            Log::write("desk list: " + e.message());
        }
    }
}

bool Action::run(QWidget* parent, const std::function<void()>& work)
{
    QString reason;
    // An action run inside another (a dialog opened on the way) leaves a conflict and a
    // replaced library to the outer one, which runs again or reopens as a whole.
    const bool nested = Transaction::isOpen();
    const bool outermost = !answers().recording;
    if (outermost)
        answers() = Answers{true, {}, 0};
    struct StopRecording {
        bool outermost;
        ~StopRecording()
        {
            if (outermost)
                answers() = Answers{};
        }
    } stopRecording{outermost};
    try {
        Transaction::run([&] {
            if (outermost)
                answers().replayed = 0;
            work();
        });
        return true;
    } catch (const ActionCancelled&) {
        return false;
    } catch (const LibraryReplaced&) {
        if (nested)
            throw;
        reopenReplacedLibrary(parent);
        return false;
    } catch (const Refused& refused) {
        showRefusal(parent, refused);
        return false;
    } catch (const StoreError& e) {
        if (nested && e.isConflict())
            throw;
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
        return ask(parent, caption, text);
    };
}
