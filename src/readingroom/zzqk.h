#pragma once

#include <QWidget>

class DateBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "杂志期刊报纸登记": registers newly arrived issues of magazines, journals and
// newspapers; a publisher not yet known is added on the way.
class Tzzqkfm : public QWidget {
    Q_OBJECT
public:
    explicit Tzzqkfm(QWidget* parent = nullptr);

    static constexpr int helpContext = 20;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildScreen();
    void FormShow();
    void fillMnemonic();
    void pickPublisher();
    void saveClick();
    void clearClick();
    void queryClick();

    QLineEdit* m_name = nullptr;     // Edit1
    QLineEdit* m_mnemonic = nullptr; // Edit7
    QComboBox* m_type = nullptr;     // ComboBox1
    QLineEdit* m_issue = nullptr;    // Edit2
    QLineEdit* m_date = nullptr;     // Edit3
    DateBox* m_dateBox = nullptr;
    QLineEdit* m_publisher = nullptr; // Edit4
    QPushButton* m_publisherList = nullptr;
    QPlainTextEdit* m_remarks = nullptr; // Memo1
    QPushButton* m_save = nullptr;
};
