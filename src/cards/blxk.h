#pragma once

#include "data/money.h"

#include <QHash>
#include <QTimer>
#include <QWidget>

class DateBox;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class TVideoCap;

// "办理借书证": registers a new reader and issues the card numbered by the card number
// sequence, under one of the grades, with an optional photograph and first top-up.
// Saving stores the card, registers it as not lost, books the money taken and the
// top-up, and advances the sequence, all in one transaction.
class Tblxkfm : public QWidget {
    Q_OBJECT
public:
    explicit Tblxkfm(QWidget* parent = nullptr);
    ~Tblxkfm() override;

    // Milliseconds between "拍照" and the photograph, so the live picture settles.
    static constexpr int photoDelayMs = 2000;
    static constexpr int helpContext = 2;

    QString photoPath() const { return m_photoPath; }
    TVideoCap* video() const { return m_video; }

private:
    void buildControls();
    void setTabAndEnterOrder();
    bool openSequence(); // false when the sequence holds neither a number nor a type
    void loadGrades();
    void startCamera();

    // Focus moving to or from `other`, a control of this screen, as opposed to
    // switching windows or opening a drop-down list.
    bool movesWithinScreen(Qt::FocusReason reason, const QWidget* other) const;
    void focusChanged(QWidget* from, QWidget* to);

    bool lookUpGrade(); // false when the grade is unknown (the notice was shown)
    void enterValidUntil();
    bool leaveDeposit();

    void cameraClicked();
    void photoClicked();
    void takePhotograph();
    void discardPhotograph();

    void save();
    void resetForNextReader(qint64 next);
    void print();

    void showFee(const Money& fee);

    QLineEdit* m_number = nullptr; // Edit7
    TVideoCap* m_video = nullptr;  // VideoCap1
    QFrame* m_photoPanel = nullptr;
    QLabel* m_photo = nullptr; // Image1
    QLabel* m_videoStatus = nullptr;
    QPushButton* m_cameraButton = nullptr;
    QPushButton* m_photoButton = nullptr;
    QComboBox* m_grade = nullptr;      // ComboBox1
    QLineEdit* m_name = nullptr;       // Edit1
    QLineEdit* m_identity = nullptr;   // Edit2
    QLineEdit* m_deposit = nullptr;    // Edit3
    QLineEdit* m_telephone = nullptr;  // Edit4
    QLineEdit* m_address = nullptr;    // Edit5
    QLineEdit* m_workUnit = nullptr;   // Edit6
    QLineEdit* m_validUntil = nullptr; // Edit8
    QLineEdit* m_topUp = nullptr;      // Edit9
    DateBox* m_validUntilBox = nullptr;
    QCheckBox* m_printPhoto = nullptr;
    QCheckBox* m_printBarcode = nullptr; // CheckBox2: the card number as a barcode
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_printButton = nullptr;
    QPushButton* m_helpButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    QLabel* m_feePanel = nullptr;
    QTimer m_photoTimer;

    QString m_cardType;  // `lx` of the number sequence
    int m_validDays = 0; // the chosen grade's validity days
    QString m_photoPath; // the photograph of the current reader, or empty
};
