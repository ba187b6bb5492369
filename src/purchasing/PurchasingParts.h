#pragma once

#include "ui/Grid.h"
#include "ui/TableModel.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <vector>

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Controls and window handling the purchasing windows share.
namespace purchasing::parts {

// A box that takes no more than the column's size (any length for 0), upper case unless
// `keepCase`.
QLineEdit* box(QWidget* parent, const char* name, int size, bool keepCase = false);
// A button that leaves Enter to the boxes.
QPushButton* button(QWidget* parent, const char* name, const QString& caption);
// One of the listed items or none, in which case it shows `prompt`.
QComboBox* choice(QWidget* parent, const char* name, const QStringList& items,
                  const QString& prompt);
// The chosen item; empty while the prompt shows.
QString chosen(const QComboBox* box);
// Chooses the item of that text; the prompt when no item has it.
void choose(QComboBox* box, const QString& text);
// A date and time picker, day/month/year.
QDateTimeEdit* picker(QWidget* parent, const char* name);
// The line of procedure messages.
QLabel* messageLine(QWidget* parent, const char* name);
// Enter in `from` moves the focus to `to`.
void enterMovesTo(QLineEdit* from, QWidget* to);

struct MenuItem {
    const char* name;
    QString caption;
    std::function<void()> action;
};
// The grid's context menu, built from its items in order.
void contextMenu(QTableView* grid, const std::vector<MenuItem>& items);
// The column shows a button in each cell: a click on the cell, or Enter or Space while the
// cell is current, presses it for that row.
void cellButton(QTableView* grid, int column, std::function<void(int row)> pressed);

// The grid's current row; nullptr when there is none.
template <class Row>
const Row* selectedRow(const QTableView* grid, const ui::VectorModel<Row>* model) {
    const int at = ui::Grid::currentRow(grid);
    return at < 0 || at >= int(model->rows().size()) ? nullptr : &model->row(at);
}
// New rows for the grid, the row of the same key as the current one staying current (else the
// first).
template <class Row, class Key>
void setRowsKeeping(QTableView* grid, ui::VectorModel<Row>* model, std::vector<Row> rows,
                    Key keyOf) {
    const Row* current = selectedRow(grid, model);
    const int key = current ? keyOf(*current) : 0;
    model->setRows(std::move(rows));
    const auto& now = model->rows();
    const auto at =
        std::find_if(now.begin(), now.end(), [&](const Row& r) { return keyOf(r) == key; });
    ui::Grid::selectRow(grid, at == now.end() ? 0 : int(at - now.begin()));
}

// The picture file's bytes; empty when the file is not a picture.
QByteArray pictureBytes(const QString& file);

// Frees the window when closed, fixes its size, centres it on the screen and shows it active.
void show(QWidget* window);

// Tells a window's activation whether it comes back from one of the window's own message boxes
// (or from a window the window opened), which must leave what the user set as it was.
class OwnBoxes : public QObject {
public:
    explicit OwnBoxes(QWidget* window);
    // Runs one of the window's actions; a box it shows counts as the window's own.
    void run(const std::function<void()>& action);
    // The window comes back from a window of its own at its next activation.
    void expectReturn() { returning_ = true; }
    // True once for the activation that follows an own box or window.
    bool backFromOwn();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    int running_ = 0;
    bool returning_ = false;
};

}  // namespace purchasing::parts
