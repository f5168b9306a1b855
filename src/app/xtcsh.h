#pragma once

#include <QDialog>

// "系统初始化": empties the library's working data after a warning and a question.
class TFormxtcsh : public QDialog {
    Q_OBJECT
public:
    explicit TFormxtcsh(QWidget* parent = nullptr);

private:
    void initialiseClick();
};
