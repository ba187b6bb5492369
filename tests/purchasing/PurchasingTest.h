#pragma once

#include "catalogue/CatalogueTest.h"

#include "db/procedures/Purchasing.h"
#include "ui/TableModel.h"

#include <QAction>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QTableView>

namespace testsupport::purchase {

// The counter's catalogue and users with three suppliers: ALMACEN BRISA (2), DROGUERIA SUR (3)
// and SAUCAL (1), whose representative is JUAN ARANDA (1).
class PurchasingTest : public catalog::CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        if (IsSkipped())
            return;
        for (const char* name : {"SAUCAL", "ALMACEN BRISA", "DROGUERIA SUR"})
            db::proc::KZ_IngresoProveedor(db(), {QString::fromLatin1(name)});
        db::proc::KZ_IngresoRepresentante(db(), {QStringLiteral("SAUCAL"), {"JUAN", "ARANDA"}});
    }

    // The window the control opened for the user, or nullptr.
    QWidget* openAs(int user, const char* control, const char* window) {
        logInAs(user);
        run(control);
        for (QWidget* w : principal->findChildren<QWidget*>(QLatin1String(window)))
            if (w->isVisible())
                return isActive(w) ? w : nullptr;
        return nullptr;
    }

    static void selectRow(QWidget* w, const char* grid, int row) {
        child<QTableView>(w, grid)->selectRow(row);
        settle();
    }
    static QString cell(QWidget* w, const char* grid, int row, const char* title) {
        auto* model = static_cast<ui::TableModel*>(child<QTableView>(w, grid)->model());
        return model->text(row, model->columnTitled(QString::fromLatin1(title)));
    }
    static int rows(QWidget* w, const char* grid) {
        return child<QTableView>(w, grid)->model()->rowCount();
    }
    static void menu(QWidget* w, const char* item) {
        child<QAction>(w, item)->trigger();
        settle();
    }
    // Enter on the row's cell of the column with a button.
    static void pressCell(QWidget* w, const char* grid, int row, const char* title) {
        auto* view = child<QTableView>(w, grid);
        auto* model = static_cast<ui::TableModel*>(view->model());
        view->setCurrentIndex(model->index(row, model->columnTitled(QString::fromLatin1(title))));
        pressKey(view, Qt::Key_Return);
        settle();
    }
    static void choose(QWidget* w, const char* box, const QString& item) {
        auto* c = child<QComboBox>(w, box);
        c->setCurrentIndex(c->findText(item));
    }
    static bool enabled(QWidget* w, const char* button) {
        return child<QPushButton>(w, button)->isEnabled();
    }
    QVariant value(const char* sql, const QVariantList& values = {}) {
        return db().scalar(QString::fromLatin1(sql), values);
    }
};

}  // namespace testsupport::purchase
