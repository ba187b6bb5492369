#pragma once

#include "session/AppContext.h"

#include <QWidget>

class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace stock {

class IntakeDocument;

// "PRESENTACION:  ...": one batch of the current presentation with its expiry date, supplier
// and document, at the presentation's cost, in one step. Stays open for the next batch.
class TFormFecha : public QWidget {
    Q_OBJECT

public:
    static TFormFecha* open(session::AppContext& ctx);

private:
    explicit TFormFecha(session::AppContext& ctx);
    void build();
    void wire();
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool enterIn(QObject* watched);
    void activated();
    void unitsOffered(const QString& units);

    void GrabarClick();
    bool checked();
    void save();
    bool unitsAboveZero() const;
    void removeStockSpaces();

    session::AppContext& ctx_;
    int presentation_ = 0;  // the current presentation at the last activation
    int ownActions_ = 0;    // > 0 while one of the window's own actions runs

    QLineEdit* FechIngre = nullptr;
    QLineEdit* Stock = nullptr;
    IntakeDocument* document_ = nullptr;
    QDateTimeEdit* DateTimePicker2 = nullptr;
    QLabel* Mensaje = nullptr;
    QPushButton* Grabar = nullptr;
    QPushButton* Salir = nullptr;
};

}  // namespace stock
