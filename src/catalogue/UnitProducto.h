#pragma once

#include "session/AppContext.h"
#include "session/UnitDM.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace catalogue {

// "VENTANA DE INGRESO DE PRODUCTO": enters a new product (KZ_IngresoPRODUCTO, whose statement
// goes into the day's product script) or edits the product it was opened on
// (KZ_EditarProducto). The opener chooses the mode, which stays for the window's life.
class TFormProducto : public QWidget {
    Q_OBJECT

public:
    // The five product lines, as the line box offers them.
    static const QStringList& lines();

    // New mode: empty boxes but the commercial name, line "MEDICINA", "&Grabar" shown.
    static TFormProducto* openNew(session::AppContext& ctx, const QString& commercialName = {});
    // Edit mode on the data module's current product (nullptr without one): its five texts,
    // "&Editar" shown, the caption naming the product and its brand.
    static TFormProducto* openEdit(session::AppContext& ctx);

    // The product that "&Editar" changes (0 in new mode).
    int productCode() const { return code_; }

private:
    TFormProducto(session::AppContext& ctx, QWidget* parent);
    void build();
    void wire();
    void fill(const session::ProductRow& product);
    bool eventFilter(QObject* watched, QEvent* event) override;

    bool lineIsValid() const;
    void GrabarClick();
    void EditarClick();
    void save();
    void edit();
    void SpeedButton1Click();

    session::AppContext& ctx_;
    int code_ = 0;

    QLabel* MENSAJE = nullptr;
    QLineEdit* NomCom = nullptr;
    QComboBox* Linea = nullptr;
    QLineEdit* NomGen = nullptr;
    QLineEdit* Mecanismo = nullptr;
    QPlainTextEdit* Descrip = nullptr;
    QPushButton* SpeedButton1 = nullptr;
    QPushButton* Grabar = nullptr;
    QPushButton* Editar = nullptr;
    QPushButton* SpeedButton3 = nullptr;
};

}  // namespace catalogue
