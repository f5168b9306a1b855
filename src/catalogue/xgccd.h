#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "改变图书存放地点": moves one book, or every book of a room, to another room.
class Tgbccdfm : public QWidget {
    Q_OBJECT
public:
    explicit Tgbccdfm(QWidget* parent = nullptr);

    static constexpr int helpContext = 12;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void modeChanged();
    void bookEntered();
    void roomBeforeChosen();
    void okClick();
    void pickFrom(const QString& statement, const QVariantList& values);

    QRadioButton* m_oneBook = nullptr;   // 单本书
    QRadioButton* m_wholeRoom = nullptr; // 整个借阅室
    QLineEdit* m_book = nullptr;         // Edit1
    QComboBox* m_before = nullptr;       // ComboBox1
    QComboBox* m_after = nullptr;        // ComboBox2
    QPushButton* m_ok = nullptr;
};
