#include "purchasing/PurchasingParts.h"

#include "ui/ContextMenu.h"
#include "ui/FormHelpers.h"
#include "ui/Grid.h"
#include "ui/InputFilter.h"
#include "ui/Palette.h"
#include "ui/TextStyle.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QFile>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyledItemDelegate>
#include <QTableView>

namespace purchasing::parts {

namespace {

// Draws the cell's text with a small button at its right.
class ButtonDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        QStyleOptionButton button;
        const int side = option.rect.height() - 2;
        button.rect = QRect(option.rect.right() - side, option.rect.top() + 1, side, side);
        button.text = QStringLiteral("...");
        button.state = QStyle::State_Enabled | QStyle::State_Raised;
        const QWidget* view = option.widget;
        QStyle* style = view ? view->style() : nullptr;
        if (style)
            style->drawControl(QStyle::CE_PushButton, &button, painter, view);
    }
};

// Presses a column's cell button from the mouse and the keyboard.
class CellButtonWatch : public QObject {
public:
    CellButtonWatch(QTableView* grid, int column, std::function<void(int)> pressed)
        : QObject(grid), grid_(grid), column_(column), pressed_(std::move(pressed)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease && watched == grid_->viewport()) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const QModelIndex at = grid_->indexAt(mouse->position().toPoint());
            if (mouse->button() == Qt::LeftButton && at.isValid() && at.column() == column_)
                pressed_(at.row());
        } else if (event->type() == QEvent::KeyPress && watched == grid_) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            const QModelIndex current = grid_->currentIndex();
            if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
                current.isValid() && current.column() == column_) {
                pressed_(current.row());
                return true;
            }
        }
        return false;
    }

private:
    QTableView* grid_;
    int column_;
    std::function<void(int)> pressed_;
};

}  // namespace

QLineEdit* box(QWidget* parent, const char* name, int size, bool keepCase) {
    auto* b = new QLineEdit(parent);
    b->setObjectName(QString::fromLatin1(name));
    if (!keepCase)
        ui::forceUpperCase(b);
    if (size > 0)
        ui::capLength(b, size);
    return b;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QComboBox* choice(QWidget* parent, const char* name, const QStringList& items,
                  const QString& prompt) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->addItems(items);
    c->setPlaceholderText(prompt);
    c->setCurrentIndex(-1);
    return c;
}

QString chosen(const QComboBox* box) {
    return box->currentIndex() < 0 ? QString() : box->currentText().trimmed();
}

void choose(QComboBox* box, const QString& text) {
    box->setCurrentIndex(box->findText(text.trimmed()));
}

QDateTimeEdit* picker(QWidget* parent, const char* name) {
    auto* p = new QDateTimeEdit(parent);
    p->setObjectName(QString::fromLatin1(name));
    p->setDisplayFormat(QStringLiteral("dd/MM/yyyy HH:mm"));
    p->setCalendarPopup(true);
    return p;
}

QLabel* messageLine(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setMinimumHeight(22);
    ui::setTextColour(l, ui::palette::navy);
    ui::setFontSize(l, 9, true);
    return l;
}

void enterMovesTo(QLineEdit* from, QWidget* to) {
    QObject::connect(from, &QLineEdit::returnPressed, to, [to] { to->setFocus(); });
}

void contextMenu(QTableView* grid, const std::vector<MenuItem>& items) {
    auto* menu = new QMenu(grid);
    for (const MenuItem& item : items) {
        QAction* a = menu->addAction(item.caption);
        a->setObjectName(QString::fromLatin1(item.name));
        QObject::connect(a, &QAction::triggered, grid, item.action);
    }
    ui::attachContextMenu(grid, menu);
}

void cellButton(QTableView* grid, int column, std::function<void(int row)> pressed) {
    grid->setItemDelegateForColumn(column, new ButtonDelegate(grid));
    auto* watch = new CellButtonWatch(grid, column, std::move(pressed));
    grid->installEventFilter(watch);
    grid->viewport()->installEventFilter(watch);
}

QByteArray pictureBytes(const QString& file) {
    QImageReader reader(file);
    if (reader.read().isNull())
        return {};
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void show(QWidget* window) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setFixedSize(window->sizeHint());
    ui::centreOnDesktop(window);
    window->show();
    window->raise();
    window->activateWindow();
}

OwnBoxes::OwnBoxes(QWidget* window) : QObject(window), window_(window) {
    window->installEventFilter(this);
}

void OwnBoxes::run(const std::function<void()>& action) {
    struct Running {
        int& n;
        explicit Running(int& count) : n(count) { ++n; }
        ~Running() { --n; }
    } running(running_);
    action();
}

bool OwnBoxes::backFromOwn() {
    const bool back = returning_ || running_ > 0;
    returning_ = false;
    return back;
}

bool OwnBoxes::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::WindowDeactivate && running_ > 0)
        returning_ = true;
    return false;
}

}  // namespace purchasing::parts
