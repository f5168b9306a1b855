#pragma once

#include "desk/classification.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QAbstractItemModel;
class QueryGridModel;
class QTableView;

// "国家标准图书分类码录入": enters national-standard classification pairs into
// `tsflm` (no tree nodes). After a save the base class and the class stay for the next
// detailed code.
class Tbztsflmfm : public QDialog {
    Q_OBJECT
public:
    explicit Tbztsflmfm(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void saveClick();
    void queryClick();

    QList<QLineEdit*> m_boxes; // Jlm, Dldm, Dlmc, Mxldm, Mxlmc
};

// "图书标准分类查询": the national-standard pairs in a grid; F3 narrows it through the
// condition dialog. Pairs of the classification settings (base class "aa") carry tree
// nodes and are corrected there, so only the other rows can be edited here.
class Ttsbzflcxjgfm : public QDialog {
    Q_OBJECT
public:
    explicit Ttsbzflcxjgfm(QWidget* parent = nullptr);
    void applyConditions(const StandardPair& conditions);
    QAbstractItemModel* model() const;

private:
    void queryClick();
    void reopen();
    // Writes a corrected cell; false when it was refused or failed (the notice is shown).
    bool store(int row, const QString& column, const QString& text);

    QTableView* m_grid = nullptr;
    QueryGridModel* m_model = nullptr;
    std::optional<StandardPair> m_conditions; // none: every row
};

// "国家图书标准分类查询": the conditions of the standard query.
class Tbzflcxfm : public QDialog {
    Q_OBJECT
public:
    explicit Tbzflcxfm(QWidget* parent = nullptr);
    StandardPair conditions() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QLineEdit*> m_boxes;
};
