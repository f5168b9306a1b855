#include "pickers/jsxxzl.h"

#include "data/money.h"
#include "data/sql.h"
#include "pickers/dzjhxxzl.h"
#include "ui/action.h"
#include "ui/screenkit.h"
#include "ui/windows.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
enum class Form { Text, Money, Whole };
struct Field {
    const char* caption;
    const char* column;
    Form form = Form::Text;
};
// Left column, then right column.
const Field fields[] = {
    {"图书名称", "tsmc"},    {"图书条码", "txm"},
    {"图书分类码", "mxflm"}, {"系列名", "xlm"},
    {"分卷册号", "fjch"},    {"编著者", "zz"},
    {"图书版次", "TSbb"},    {"开本", "TSkb"},
    {"页码", "tsym"},        {"ISBN码", "isbn"},
    {"货币符号", "hbfh"},    {"定价", "tsjg", Form::Money},
    {"标准索引", "bzsy"},    {"藏书地点", "scddbh"},
    {"放书架号", "fsjh"},    {"图书本数", "bs", Form::Whole},
};
constexpr int rowsPerColumn = 8;

// Enter in the first box goes on to the next control.
class EnterMovesOn : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                static_cast<QWidget*>(watched)->nextInFocusChain()->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

BookDetails::BookDetails(const QString& barcode, int fontPixels, QWidget* parent) : QDialog(parent)
{
    setWindowTitle("图书详细资料");
    if (fontPixels > 0) {
        QFont larger = font();
        larger.setPixelSize(fontPixels);
        setFont(larger);
    }
    auto* grid = new QGridLayout;
    int index = 0;
    for (const Field& field : fields) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString("DBEdit%1").arg(index + 1));
        box->setReadOnly(true);
        box->setMinimumWidth(field.column == QLatin1String("tsmc") ? 260 : 160);
        const int row = index % rowsPerColumn;
        const int column = (index / rowsPerColumn) * 2;
        grid->addWidget(new QLabel(QString::fromUtf8(field.caption), this), row, column);
        grid->addWidget(box, row, column + 1);
        m_boxes.append({QString::fromUtf8(field.caption), box});
        ++index;
    }
    m_boxes.first().second->installEventFilter(new EnterMovesOn(this));

    auto* close = new QPushButton("关闭&X", this);
    close->setObjectName("BitBtn1");
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    Screen::closeOnEscape(this);

    Action::run(this, [&] {
        Sql q("select * from tszk where txm=:txm");
        q.bind(barcode).exec();
        if (!q.first())
            return;
        for (int i = 0; i < m_boxes.size(); ++i) {
            const Field& field = fields[i];
            QString text;
            switch (field.form) {
            case Form::Text:
                text = q.text(field.column);
                break;
            case Form::Money:
                text = q.isNull(field.column) ? QString() : q.money(field.column).toShortest();
                break;
            case Form::Whole:
                text =
                    q.isNull(field.column) ? QString() : QString::number(q.integer(field.column));
                break;
            }
            m_boxes[i].second->setText(text);
            m_boxes[i].second->setCursorPosition(0);
        }
    });
    m_boxes.first().second->setFocus();
}

QString BookDetails::boxText(const QString& caption) const
{
    for (const auto& [label, box] : m_boxes)
        if (label == caption)
            return box->text();
    return QString();
}

Tjsxxzlfm::Tjsxxzlfm(const QString& barcode, QWidget* parent) : BookDetails(barcode, 0, parent)
{
    setObjectName("jsxxzlfm");
}

void Tjsxxzlfm::open(const QString& barcode, QWidget* parent)
{
    Windows::runModal(new Tjsxxzlfm(barcode, parent));
}

Tdzjhxxzlfm::Tdzjhxxzlfm(const QString& barcode, QWidget* parent) : BookDetails(barcode, 15, parent)
{
    setObjectName("dzjhxxzlfm");
    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void Tdzjhxxzlfm::open(const QString& barcode, QWidget* parent)
{
    Windows::runModal(new Tdzjhxxzlfm(barcode, parent));
}
