#pragma once

#include "summary/DailySummary.h"

#include <QWidget>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTableView;

namespace db {
class Reader;
}

namespace session {
struct AppContext;
}

namespace summary {

class SummaryListModel;

// The daily summary of boletas: the unreported boletas of the last days ("&Mostrar"), each
// included or excluded by a click on its "H/I" cell, and "&Generar", which writes every waiting
// boleta into the next pair of files for the tax tool.
class TFormArchivoPlano : public QWidget {
    Q_OBJECT

public:
    explicit TFormArchivoPlano(session::AppContext& context, QWidget* parent = nullptr);
    ~TFormArchivoPlano() override;

    // Shows the window in front.
    void showSummary();

private:
    void build();
    QWidget* buildHeader();
    QWidget* buildFooter();
    void wire();

    // The days the list covers: the last ComboBox1 days up to the end of today.
    int chosenDays() const;
    void readList();

    void BitBtn1Click();
    void DBGrid2CellClick(const QModelIndex& index);
    void BitBtn4Click();
    void generate();

    session::AppContext& ctx_;
    DailySummary summary_;
    db::Reader* reader_;
    SummaryListModel* model_ = nullptr;
    bool listed_ = false;  // "&Mostrar" was pressed: the list follows every change

    QDateEdit* DateTimePicker1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QTableView* DBGrid2 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLineEdit* EdRuta = nullptr;
    QPushButton* BitBtn4 = nullptr;
};

}  // namespace summary
