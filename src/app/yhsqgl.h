#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "用户授权管理": grants and revokes an operator's command keys from the rights catalogue,
// by buttons, by double-click and by dragging a group or function onto his grants.
class Tyhsqglfm : public QDialog {
    Q_OBJECT
public:
    explicit Tyhsqglfm(QWidget* parent = nullptr);

    static constexpr int helpContext = 17;
    enum class List { None, Groups, Functions, Grants };
    List activeList() const { return m_active; }

    // A drop of a catalogue entry onto the grants (the drag ends here).
    void dropped(List from);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildScreen();
    void FormShow();
    void operatorChanged();
    void loadFunctions();
    void loadGrants();
    void enterList(List list);
    QString typedCode() const;
    bool operatorChosen() const;
    QString currentKey(QListWidget* list) const;

    void grantClick();     // SB1
    void grantAllClick();  // sb2
    void revokeClick();    // SB3
    void revokeAllClick(); // SB4
    void grantGroup();
    void grantFunction();
    void revokeCurrent();
    void run(const std::function<void()>& work);

    QComboBox* m_operator = nullptr;    // ComboBox1
    QLineEdit* m_name = nullptr;        // Edit1
    QListWidget* m_groups = nullptr;    // Look1
    QListWidget* m_functions = nullptr; // look3
    QListWidget* m_grants = nullptr;    // Look2
    QLabel* m_groupsLabel = nullptr;
    QLabel* m_functionsLabel = nullptr;
    QLabel* m_grantsLabel = nullptr;
    QPushButton* m_grant = nullptr;     // SB1
    QPushButton* m_grantAll = nullptr;  // sb2
    QPushButton* m_revoke = nullptr;    // SB3
    QPushButton* m_revokeAll = nullptr; // SB4
    List m_active = List::None;
};
