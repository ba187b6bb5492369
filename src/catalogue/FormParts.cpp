#include "catalogue/FormParts.h"

#include "core/InputRules.h"
#include "ui/FormHelpers.h"
#include "ui/Grid.h"
#include "ui/InputFilter.h"
#include "ui/Palette.h"
#include "ui/TextStyle.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

namespace catalogue::parts {

QLineEdit* box(QWidget* parent, const char* name, int size) {
    auto* b = new QLineEdit(parent);
    b->setObjectName(QString::fromLatin1(name));
    ui::forceUpperCase(b);
    ui::capLength(b, size);
    return b;
}

QLineEdit* digitsBox(QWidget* parent, const char* name, int digits) {
    auto* b = new QLineEdit(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setMaxLength(digits);
    ui::filter(b, core::isDigitsOnly);
    return b;
}

QComboBox* choice(QWidget* parent, const char* name, const QStringList& items, const QString& text,
                  int size) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCompleter(nullptr);
    c->addItems(items);
    c->lineEdit()->setMaxLength(size);
    c->setCurrentText(text);
    return c;
}

QPlainTextEdit* memo(QWidget* parent, const char* name, int size) {
    auto* m = new QPlainTextEdit(parent);
    m->setObjectName(QString::fromLatin1(name));
    m->setTabChangesFocus(true);
    m->setFixedHeight(60);
    ui::capLength(m, size);
    return m;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QLabel* messageStrip(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, ui::palette::black);
    l->setPalette(p);
    ui::setTextColour(l, ui::palette::lime);
    ui::setFontSize(l, 11, true);
    l->setMinimumHeight(26);
    return l;
}

QLabel* notice(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setMinimumHeight(22);
    ui::setTextColour(l, ui::palette::navy);
    return l;
}

QWidget* navigator(QWidget* parent, const char* name, QTableView* grid) {
    auto* bar = new QWidget(parent);
    bar->setObjectName(QString::fromLatin1(name));
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    const auto add = [&](const char* caption, auto target) {
        auto* b = new QToolButton(bar);
        b->setText(QString::fromUtf8(caption));
        b->setFocusPolicy(Qt::NoFocus);
        QObject::connect(b, &QToolButton::clicked, grid, [grid, target] {
            const int rows = grid->model() ? grid->model()->rowCount() : 0;
            ui::Grid::selectRow(grid, target(ui::Grid::currentRow(grid), rows));
        });
        row->addWidget(b);
    };
    add("|<", [](int, int) { return 0; });
    add("<", [](int at, int) { return at - 1; });
    add(">", [](int at, int) { return at + 1; });
    add(">|", [](int, int rows) { return rows - 1; });
    row->addStretch();
    return bar;
}

void show(QWidget* window) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    ui::stayOnTop(window);
    window->setFixedSize(window->sizeHint());
    ui::centreOnDesktop(window);
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace catalogue::parts
