#pragma once

#include "session/AppContext.h"
#include "session/UnitDM.h"

#include <QWidget>

class QLabel;
class QLineEdit;

namespace catalogue {

// "CODIGO DIGEMID": sets the DIGEMID code of the presentation it was opened on. A code another
// presentation holds is stored only when the user says Yes.
class TFormDigemid : public QWidget {
    Q_OBJECT

public:
    // A new window on the data module's current presentation (nullptr without one).
    static TFormDigemid* open(session::AppContext& ctx);

private:
    TFormDigemid(session::AppContext& ctx, const session::PresentationRow& presentation);
    void activated();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void EdCodDigemidEnter();

    session::AppContext& ctx_;
    session::PresentationRow presentation_;

    QLabel* StCod = nullptr;
    QLineEdit* EdCodDigemid = nullptr;
};

}  // namespace catalogue
