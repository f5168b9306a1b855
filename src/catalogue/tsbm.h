#pragma once

#include "desk/catalogue.h"
#include "desk/marc.h"

#include <QWidget>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class TBlDBEdit;

// "图书编目": catalogues one title of the book master at a time on two pages. A new
// title is typed and saved (its purchase booked in the ledger); moving to the previous or
// next stored title turns the screen into correcting that title; a whole title can be
// copied and pasted into another. Save and delete are one transaction each.
class Ttsbmfm : public QWidget {
    Q_OBJECT
public:
    explicit Ttsbmfm(QWidget* parent = nullptr);
    ~Ttsbmfm() override;

    static constexpr int helpContext = 5;

    // The barcode of the stored title being corrected; empty while a new one is entered.
    QString correcting() const { return m_correcting; }
    bool newPublisherMarked() const { return m_newPublisher; }

    // The copy buffer outlives the screen; tests start from an empty one.
    static void clearCopyBuffer();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPage1(QWidget* page);
    void buildPage2(QWidget* page);
    void buildEnterChain();
    void buildCommands();
    void FormShow();
    void loadFirstLevelCodes();
    void loadRooms();
    void loadPublishers();

    CatalogueEntry entry() const;
    void showEntry(const CatalogueEntry& entry);
    void startNewRecord();
    void startNextRecord(); // after a new title is stored
    void showPage1();
    void pageChanged(int index);
    void showPageOf(const QString& boxName);
    void recomputeMnemonic();
    void setDetailsEditable(bool editable);
    void showPublisherDetails(const QString& name, bool prefix);
    void clearPublisherDetails();

    // The look-ups on Enter and on leaving a box; each moves the focus itself.
    void firstLevelChanged(const QString& code);
    bool secondLevelLeft();
    void chooseSecondLevel();
    bool roomEntered();
    void roomChanged(const QString& room);
    void setFlagChanged(const QString& flag);
    bool setFlagEntered();
    bool shelfEntered();
    bool publishedEntered();
    bool publisherEntered();
    void publisherChanged(const QString& name);

    void moveTo(bool forward);
    void newClicked();
    void save();
    void remove();
    void query();
    void copyRecord();
    void onlineSearch();
    void printLabels();
    void fillFrom(const CatalogueRecord& record);
    void pasteRecord();
    void closeScreen();

    QTabWidget* m_pages = nullptr; // PageControl1
    // page 1
    QLineEdit* m_title = nullptr;           // DBEdit1
    QComboBox* m_firstLevel = nullptr;      // ComboBox5
    QLineEdit* m_firstLevelName = nullptr;  // Edit4
    QLineEdit* m_barcode = nullptr;         // DBEdit111
    QLineEdit* m_searchNumber = nullptr;    // DBEdit112
    QLineEdit* m_series = nullptr;          // DBEdit113
    QLineEdit* m_volume = nullptr;          // DBEdit11
    QLineEdit* m_author = nullptr;          // DBEdit12
    QLineEdit* m_fourCorner = nullptr;      // DBEdit13
    QLineEdit* m_mainTitle = nullptr;       // DBEdit14
    QLineEdit* m_subtitle = nullptr;        // DBEdit15
    QComboBox* m_language = nullptr;        // ComboBox4
    QLineEdit* m_secondLevel = nullptr;     // Edit6
    QLineEdit* m_secondLevelName = nullptr; // Edit5
    QLineEdit* m_heading = nullptr;         // DBEdit17
    QLineEdit* m_edition = nullptr;         // DBEdit18
    QLineEdit* m_format = nullptr;          // DBEdit19
    QLineEdit* m_pagesBox = nullptr;        // DBEdit20
    QLineEdit* m_isbn = nullptr;            // DBEdit21
    QLineEdit* m_currency = nullptr;        // DBEdit22
    QLineEdit* m_price = nullptr;           // DBEdit23
    QLineEdit* m_standardIndex = nullptr;   // DBEdit24
    QLineEdit* m_copies = nullptr;          // DBEdit25
    QComboBox* m_setFlag = nullptr;         // DBComboBox3
    QLineEdit* m_sets = nullptr;            // DBEdit26
    QComboBox* m_room = nullptr;            // ComboBox1
    QLineEdit* m_roomName = nullptr;        // Edit1
    TBlDBEdit* m_shelf = nullptr;           // DBEdit2
    // page 2
    QLineEdit* m_titleShown = nullptr;    // DBEdit3
    QComboBox* m_state = nullptr;         // ComboBox2
    QComboBox* m_damaged = nullptr;       // DBComboBox1
    QLineEdit* m_published = nullptr;     // DBEdit6
    QLineEdit* m_illustrations = nullptr; // DBEdit4
    QComboBox* m_publisher = nullptr;     // ComboBox3
    QLineEdit* m_address = nullptr;       // DBEdit5
    QLineEdit* m_contact = nullptr;       // DBEdit7
    QLineEdit* m_telephone = nullptr;     // DBEdit8
    QLineEdit* m_postcode = nullptr;      // DBEdit9
    QLineEdit* m_email = nullptr;         // DBEdit10
    QLineEdit* m_mnemonic = nullptr;      // Edit2
    // commands
    QPushButton* m_saveButton = nullptr; // BitBtn4
    QAction* m_pasteAction = nullptr;    // 编目粘贴

    QString m_correcting;        // barcode of the stored title on screen, or empty
    qint64 m_position = 0;       // its place in the store order, 0 for a new title
    bool m_newPublisher = false; // the publisher in the box is to be added by the save
    bool m_loading = false;      // boxes are being filled, not typed
    bool m_lookingUp = false;    // a look-up of the second-level code is running
};
