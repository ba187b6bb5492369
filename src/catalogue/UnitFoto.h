#pragma once

#include "session/AppContext.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace catalogue {

// "ASIGNAR FOTO A UNA PRESENTACION": stores a picture file as the photo of the presentation it
// was opened on, or removes its photo (KZ_BorraFoto).
class TFormFoto : public QWidget {
    Q_OBJECT

public:
    // Shows it on the data module's current presentation once KZ_VerificaExistenPresFoto finds
    // it; otherwise tells the user to create one first. nullptr when not shown.
    static TFormFoto* open(session::AppContext& ctx);

private:
    TFormFoto(session::AppContext& ctx, int codPresentacion, int prodLabCod);
    void build();
    void showPhoto();
    void AsignarFotoClick();
    void store(const QString& file);
    void SpeedButton1Click();

    session::AppContext& ctx_;
    int code_;
    int link_;

    QLabel* DBImage1 = nullptr;
    QPushButton* AsignarFoto = nullptr;
    QPushButton* SpeedButton1 = nullptr;
    QPushButton* Salir = nullptr;
};

}  // namespace catalogue
