#pragma once

#include "cards/gs.h"

// "解挂失信息": withdraws the report of a lost card.
class TFormjgs : public LostCardScreen {
    Q_OBJECT
public:
    explicit TFormjgs(QWidget* parent = nullptr);
};
