#pragma once

#include "desk/z3950.h"

#include <QDialog>

#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStandardItemModel;
class QTableView;

// "联机检索": searches the union catalogues set up under "联机检索目标设置" by ISBN, title or
// author, each on a worker thread with its own timeout, and hands the chosen record to the
// cataloguing screen (which fills its boxes; saving stays the operator's decision).
class Tljjsfm : public QDialog {
    Q_OBJECT
public:
    explicit Tljjsfm(QWidget* parent = nullptr, const QString& isbn = QString());
    ~Tljjsfm() override;

    static constexpr int timeoutSeconds = 10;
    static constexpr int helpContext = 41;

    // Runs the dialog; the record chosen with OK, or nothing.
    static std::optional<CatalogueRecord> choose(QWidget* parent, const QString& isbn = QString());
    std::optional<CatalogueRecord> chosen() const { return m_chosen; }

    bool isSearching() const { return m_pending > 0; }

private:
    void search();
    void cancel();
    void answered(const Z3950Answer& answer, int generation);
    void finishSearch();
    void okClick();

    QComboBox* m_field = nullptr; // ComboBox1
    QLineEdit* m_text = nullptr;  // Edit1
    QPushButton* m_search = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_ok = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QTableView* m_grid = nullptr;
    QStandardItemModel* m_model = nullptr;

    QList<CatalogueRecord> m_records;
    std::optional<CatalogueRecord> m_chosen;
    std::shared_ptr<std::atomic_bool> m_cancelled;
    int m_generation = 0; // answers of a cancelled search are ignored
    int m_pending = 0;
    QStringList m_failures;
};
