#pragma once

#include "db/procedures/Checkout.h"
#include "sales/ReceiptOutput.h"
#include "sales/SaleLinesView.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;
class QTimer;

namespace session {
struct AppContext;
}

namespace sales {

class PendingSalesModel;

// The cashier's checkout: the day's sales still waiting, the lines of the sale loaded, the
// receipt type and customer data, and the three discharges (the pending list's double-click,
// "&Imprimir/Descargar" and F12 in the sale-number box).
class TFormDescargar : public QWidget {
    Q_OBJECT

public:
    TFormDescargar(session::AppContext& context, std::unique_ptr<ReceiptOutput> receipts,
                   QWidget* parent = nullptr);
    ~TFormDescargar() override;

    // What every opener does right after showing the screen.
    void startingSteps();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    using Tint = SaleLinesView::Tint;

    void build();
    QWidget* buildReceiptBoxes();
    QWidget* buildCustomerBoxes();
    QWidget* buildButtons();
    void wire();

    core::DateTimeRange day() const;

    // Datasets.
    void readPending();
    void openLines(int facNumero);
    void closeLines();

    // Display.
    void applyDisplayRules(bool enableImprimir = true);
    void setCustomerVisible(bool dni, bool ruc);
    void hideCustomer();
    void clearCustomer();
    void startNextCustomer();
    void blackCaptions();

    // Receipt type and printing choice.
    void typeChecked(QCheckBox* box);
    void printChecked(QCheckBox* box);
    void presetType(const db::proc::SaleLine* line);
    ReceiptType checkedType() const;
    CustomerData customer() const;
    ReceiptJob job(int facNumero, ReceiptType type) const;
    bool facturaDataMissing();

    // Actions; keys reach them through eventFilter.
    bool silently(const std::function<void()>& action);  // guarded, errors end it quietly
    bool numberBoxKey(const QKeyEvent& key);
    bool customerBoxKey(QObject* box, const QKeyEvent& key);
    void Timer1Timer();
    void EdFacNumeroEnter();
    void EdFacNumeroEscape();
    void DBGrid3ColEnter();
    void DBGrid3Escape();
    void unloadSale();
    void closeSale();
    void resetAfterEscape(bool fromLines);
    void NuevoClick();
    void EliminarClick();
    void BtnVozDescargarClick();
    void PreviuwClick();
    void DBGrid3DblClick();
    void ImprimirClick();
    void quickDischarge();
    void discharge(int facNumero, ReceiptType type);
    void showStored(int facNumero, bool enableImprimir);
    void closeScreen();

    session::AppContext& ctx_;
    std::unique_ptr<ReceiptOutput> receipts_;
    SaleLinesView sale_;
    std::vector<db::proc::PendingSale> pending_;

    PendingSalesModel* pendingModel_ = nullptr;

    QLineEdit* EdFacNumero = nullptr;
    QTableView* DBGrid1 = nullptr;
    QTableView* DBGrid3 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Eliminar = nullptr;
    QCheckBox* CBNotadeVenta = nullptr;
    QCheckBox* CbBoleta = nullptr;
    QCheckBox* CbFactura = nullptr;
    QCheckBox* SI = nullptr;
    QCheckBox* NO = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* Ed_Nombre = nullptr;
    QLineEdit* Ed_direccion = nullptr;
    QLineEdit* Ed_Dni = nullptr;
    QLineEdit* EdRuc = nullptr;
    QPushButton* Nuevo = nullptr;
    QPushButton* Imprimir = nullptr;
    QPushButton* Previuw = nullptr;
    QPushButton* Salir = nullptr;
    QPushButton* BtnVozDescargar = nullptr;
    QTimer* Timer1 = nullptr;
};

// Opens a new checkout screen, inside the main window when there is one, and applies the
// starting steps: the one opener of the menu, the toolbar and the search screen's keys.
TFormDescargar* openCheckout(session::AppContext& context);

}  // namespace sales
