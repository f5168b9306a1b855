#include "cards/jgs.h"

TFormjgs::TFormjgs(QWidget* parent) : LostCardScreen(LostCards::Change::Withdraw, parent)
{
    setObjectName("Formjgs");
    setWindowTitle("解挂失信息");
}
