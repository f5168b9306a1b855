#pragma once

#include "pickers/jsxxzl.h"

// "图书详细资料" in larger type, centred on the screen: the loan query's popup.
class Tdzjhxxzlfm : public BookDetails {
    Q_OBJECT
public:
    explicit Tdzjhxxzlfm(const QString& barcode, QWidget* parent = nullptr);
    static void open(const QString& barcode, QWidget* parent);
};
