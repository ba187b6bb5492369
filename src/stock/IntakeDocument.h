#pragma once

#include "session/AppContext.h"

#include <QObject>
#include <QStringList>
#include <functional>

class QComboBox;
class QDateTimeEdit;
class QLineEdit;
class QWidget;

namespace stock {

// The boxes both intake windows share: the supplier, the supplier's document type and number,
// with the supplier defaults, the document number's filter, the checks of a batch and the three
// texts the session remembers between intakes.
class IntakeDocument : public QObject {
    Q_OBJECT

public:
    // `typeName` is the objectName of the type box, which the two windows spell differently.
    IntakeDocument(session::AppContext& ctx, QWidget* window, const char* typeName);

    QComboBox* supplierBox() const { return CBProveedor; }
    QComboBox* typeBox() const { return tipo_; }
    QLineEdit* numberBox() const { return EdNumDoc; }

    // Fills the supplier box with every supplier, keeping what it shows.
    void readSuppliers();
    // The remembered supplier, number and (trimmed) type into the boxes; empty ones empty them.
    void recall();
    // The trimmed supplier, number and type become the remembered ones.
    void remember();

    // The checks of a batch, each showing its refusal and focusing its box.
    bool suppliersOnFile();
    bool supplierChosen();
    bool typeAccepted(const QStringList& accepted);
    // `zeroIsNone`: a number "0" counts as none.
    bool numberGiven(bool zeroIsNone = false);

    // The trimmed texts as a batch records them.
    QString supplier() const;
    QString number() const;
    QString type() const;

private:
    void supplierChanged(const QString& text);

    session::AppContext& ctx_;
    QComboBox* CBProveedor;
    QComboBox* tipo_;
    QLineEdit* EdNumDoc;
};

// The document types the type box offers, in its order.
QStringList offeredTypes();

// The expiry box must be later than now; otherwise "INGRESE FECHA CORRECTA" and its focus.
bool expiryAccepted(session::AppContext& ctx, QDateTimeEdit* expiry);

// Units typed beyond what a stock holds (32767) are refused with a message; the box is emptied
// and focused.
bool unitsWithinRange(session::AppContext& ctx, QLineEdit* units);

// Shows an intake window (freed when closed, on top, centred, active) and runs its activation.
void showIntakeWindow(session::AppContext& ctx, QWidget* window,
                      const std::function<void()>& activated);

// A box of units, taking more digits than a stock holds, so no typed count is cut into a smaller
// one that would be saved.
QLineEdit* unitsBox(QWidget* parent, const char* name);

// An expiry box showing the day, with a calendar.
QDateTimeEdit* expiryBox(QWidget* parent, const char* name);

}  // namespace stock
