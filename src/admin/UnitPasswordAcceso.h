#pragma once

#include "db/procedures/Accounts.h"
#include "db/procedures/SessionData.h"
#include "session/AppContext.h"
#include "ui/TableModel.h"

#include <QWidget>
#include <vector>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QTableView;

namespace admin {

// "UTILITARIOS PARA PASSWORDS": creates accounts and edits their data and photo ("NUEVO"),
// changes a password knowing the old one ("EDITAR"), deletes, deactivates or reactivates an
// account ("INACTIVAR") and forces a new password ("FORZAR"). User 1 is in none of its lists.
class TFormLoginPasswordEC : public QWidget {
    Q_OBJECT

public:
    // Creates and shows the window, centred and on its "FORZAR" tab.
    static TFormLoginPasswordEC* open(session::AppContext& ctx);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    using Users = ui::VectorModel<db::proc::UserRow>;
    using States = ui::VectorModel<db::proc::EstadoUsuario>;
    using Change = db::proc::MensajeOut (*)(db::Db&, const db::proc::CambioCuentaIn&);

    explicit TFormLoginPasswordEC(session::AppContext& ctx);
    void build();
    QWidget* buildNuevo();
    QWidget* buildNuevoBoxes(QWidget* page);
    QWidget* buildEditar();
    QWidget* buildInactivar();
    QWidget* buildForzar();
    void wire();
    void FormActivate();
    void reread();
    void showPhoto();
    const db::proc::UserRow* selectedUser(const QTableView* grid) const;

    void Aceptar1Click();
    bool createChecked();
    bool dniChecked();
    db::proc::DatosUsuario datos(bool* ageRead) const;
    void clearNuevo();
    void EditarUsuarioClick();
    void BtEditarClick();
    void EditarClick();
    bool changeChecked();
    void SBForzarClick();
    bool forceChecked();
    void changeAccount(Change change);
    void FotoClick();
    void BorrarFotoClick();

    session::AppContext& ctx_;
    std::vector<db::proc::UserRow> users_;  // TUsuario

    QTabWidget* PageControl1 = nullptr;
    // "NUEVO"
    QLineEdit* EdLogin = nullptr;
    QLineEdit* EdPassword1 = nullptr;
    QLineEdit* EdPassword2 = nullptr;
    QComboBox* CBCargo = nullptr;
    QLineEdit* EdNombres = nullptr;
    QLineEdit* EdApellidos = nullptr;
    QLineEdit* EdDNI = nullptr;
    QLineEdit* EdTelefono = nullptr;
    QLineEdit* EdEdad = nullptr;
    QComboBox* CbTeclaVenta = nullptr;
    QLineEdit* EdDomicilio = nullptr;
    QDateEdit* DTFechaNac = nullptr;
    QComboBox* CBSucursal = nullptr;
    QPushButton* Aceptar1 = nullptr;
    QPushButton* BtEditar = nullptr;
    QPushButton* Cancelar1 = nullptr;
    QTableView* DBGridUsuario = nullptr;
    Users* usersModel_ = nullptr;
    QLabel* DBImage1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    // "EDITAR"
    QComboBox* CbLogin = nullptr;
    QLineEdit* EdPassLog1 = nullptr;
    QLineEdit* EdPassLog2 = nullptr;
    QLineEdit* EdPassLog3 = nullptr;
    QLabel* ST1 = nullptr;
    QPushButton* Editar = nullptr;
    QPushButton* Cacelar2 = nullptr;
    // "INACTIVAR"
    QTableView* DBGrid1 = nullptr;
    States* statesModel_ = nullptr;
    QLineEdit* EdEliminaPassword = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* Activar = nullptr;
    QPushButton* Inactivar = nullptr;
    // "FORZAR"
    QTableView* DBGrid2 = nullptr;
    Users* forceModel_ = nullptr;
    QLineEdit* P1 = nullptr;
    QLineEdit* P2 = nullptr;
    QPushButton* SBForzar = nullptr;
};

}  // namespace admin
