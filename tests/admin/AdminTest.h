#pragma once

#include "catalogue/CatalogueTest.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace testsupport::adminwin {

// The counter with its main window and users: administrator (1), cashier (2), technicians (3,
// 5) and pharmacist (4).
class AdminTest : public catalog::CatalogueTest {
protected:
    // Logged in as the user, the window opened by the control.
    template <class W>
    W* openAs(int user, const char* control) {
        logInAs(user);
        run(control);
        return shown<W>();
    }
    static QString label(QWidget* w, const char* name) { return child<QLabel>(w, name)->text(); }
    static void typeMemo(QWidget* w, const char* name, const QString& text) {
        auto* memo = child<QPlainTextEdit>(w, name);
        memo->clear();
        memo->setFocus();
        typeText(memo, text);
    }
};

}  // namespace testsupport::adminwin
