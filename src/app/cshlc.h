#pragma once

#include <QWidget>

class QPushButton;

// "系统流程设置": the setup flow, six buttons that open the screens where the library's
// basic data is set up, in the order a new library fills them in.
class TFormcshlc : public QWidget {
    Q_OBJECT
public:
    explicit TFormcshlc(QWidget* parent = nullptr);

    // Keys under which the screens reached from here are registered as commands.
    static constexpr const char* roomsKey = "Ttssglfm";
    static constexpr const char* classificationKey = "TFormtsflsz";
    static constexpr const char* operatorsKey = "ydjhcx";
    static constexpr const char* rightsKey = "N13";

protected:
    void changeEvent(QEvent* event) override;

private:
    QPushButton* addButton(const QString& caption, const char* name);
    void openCommand(const char* key);
    void openRights();
};
