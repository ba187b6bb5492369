#pragma once

#include "core/PrefixIndex.h"
#include "db/procedures/SessionData.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <optional>
#include <unordered_map>
#include <vector>

namespace session {

using db::proc::PresentationRow;
using db::proc::ProductRow;
using db::proc::UserRow;

// The data module: the main connection, the session datasets and the access query, shared by
// every window of one program instance.
//
// The session datasets are held in memory: the product list sorted by commercial name, and
// every presentation and cross-check row by owner, so moving the current row never runs a
// query. Opening them reads the database; only the actions that reopen them refresh them.
class TDM : public QObject {
    Q_OBJECT

public:
    explicit TDM(db::Db& db, QObject* parent = nullptr);

    db::Db& db() { return db_; }

    // QListaProducto and TTPRESENTACION (with TTCruce), the session datasets.
    void openSessionDatasets();
    void closeSessionDatasets();
    // Close and reopen both, keeping the current link and presentation where they still exist.
    void reopenSessionDatasets();
    bool isSessionOpen() const { return productsOpen_ || presentationsOpen_; }

    void openProductList();
    void closeProductList();
    void openPresentations();
    void closePresentations();
    // Re-reads the presentations of the current link (and their cross-check rows), keeping the
    // current presentation where it still exists. One small query: the screens call it often,
    // so that stock figures are current.
    void refreshPresentations();

    const std::vector<ProductRow>& products() const { return products_; }
    int currentProductIndex() const { return currentProduct_; }  // -1 when empty or closed
    const ProductRow* currentProduct() const;
    void setCurrentProductIndex(int index);
    // Moves to the first link whose commercial name starts with the text (ignoring case);
    // with none the current link stays, so nothing is quoted that was not typed. No query runs.
    void locateProduct(const QString& prefix);
    // The index locateProduct would move to; -1 when no name starts with the text.
    int productIndexFor(const QString& prefix) const;

    // The presentations of the current link, ordered by PresTipo.
    const std::vector<PresentationRow>& presentations() const;
    int currentPresentationIndex() const { return currentPresentation_; }
    const PresentationRow* currentPresentation() const;
    void setCurrentPresentationIndex(int index);
    QByteArray presentationPhoto(int codPresentacion);
    // TTCruce's TOTAL_UNIDADES_REALES for the current presentation; empty without a row.
    QString cruceText() const;

    // QVerificaAcceso (by code and stored password) and its detail TUsuario.
    // Returns the number of rows the access query holds (0 or 1).
    int openAccess(int userCode, const QString& storedPassword);
    void closeAccess();
    // Re-reads the logged-in user's access row and record by code, so a change of that user's
    // own password or data keeps the session and its role checks.
    void reopenAccess();
    const std::optional<UserRow>& access() const { return access_; }
    const std::optional<UserRow>& user() const { return user_; }
    // TUsuario's UsuCargo and UsuNombres; empty before any login.
    QString sessionRole() const;
    QString sessionName() const;

signals:
    void currentProductChanged();
    void currentPresentationChanged();
    void sessionDatasetsReopened();
    void accessChanged();

private:
    void loadProducts();
    void loadPresentations();  // with the cross-check rows
    void keepCruce(const std::vector<db::proc::CruceRow>& rows);

    db::Db& db_;
    std::vector<ProductRow> products_;
    core::PrefixIndex index_;  // by commercial name
    bool productsOpen_ = false;
    int currentProduct_ = -1;
    std::unordered_map<int, std::vector<PresentationRow>> presentationsByLink_;
    std::unordered_map<int, QString> cruceByPresentation_;
    bool presentationsOpen_ = false;
    int currentPresentation_ = -1;
    std::optional<UserRow> access_;
    std::optional<UserRow> user_;
};

}  // namespace session
