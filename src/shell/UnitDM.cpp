#include "shell/UnitDM.h"

#include "core/Format.h"
#include "db/Db.h"

#include <algorithm>
#include <cstdlib>

namespace shell {

namespace {

const QString kInactivo = QStringLiteral("INACTIVO");

const std::vector<PresentationRow>& noPresentations() {
    static const std::vector<PresentationRow> none;
    return none;
}

// A text column exactly as stored (a role keeps its trailing blanks); null gives "".
QString stored(const QVariant& v) {
    return v.isNull() ? QString() : v.toString();
}

// TTCruce's TOTAL_UNIDADES_REALES: the units that remain after the cross-check and the units
// it found over or short, then its kind, as in "7 /3 FALTA". A null in any part gives "".
QString cruceTotal(const QVariant& stock, const QVariant& quantity, const QVariant& kind) {
    if (stock.isNull() || quantity.isNull() || kind.isNull())
        return {};
    const int s = db::integer(stock);
    const int q = db::integer(quantity);
    return QString::number(std::abs(s - q)) + QStringLiteral(" /") + QString::number(std::abs(q)) +
           QLatin1Char(' ') + db::text(kind);
}

template <typename Row, typename Key>
int indexWhere(const std::vector<Row>& rows, Key Row::*member, Key value) {
    const auto it = std::find_if(rows.begin(), rows.end(),
                                 [&](const Row& row) { return row.*member == value; });
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}

UserRow accessRow(const QSqlQuery& q) {
    UserRow u;
    u.UsuCod = db::integer(q.value(0));
    u.UsuLogin = db::text(q.value(1));
    u.UsuFoto = db::blob(q.value(2));
    u.UsuCargo = stored(q.value(3));
    u.UsuEstado = db::text(q.value(4));
    u.UsuTecla = db::text(q.value(5));
    u.UsuApellidos = db::text(q.value(6));
    return u;
}

UserRow userRow(const QSqlQuery& q) {
    UserRow u;
    u.UsuCod = db::integer(q.value(0));
    u.SucCod = db::integer(q.value(1));
    u.UsuLogin = db::text(q.value(2));
    u.UsuPassword = db::text(q.value(3));
    u.UsuCargo = stored(q.value(4));
    u.UsuNombres = db::text(q.value(5));
    u.UsuApellidos = db::text(q.value(6));
    u.UsuDni = db::text(q.value(7));
    u.UsuTelefono = db::text(q.value(8));
    u.UsuEdad = db::integer(q.value(9));
    u.UsuDomicilio = db::text(q.value(10));
    u.UsuFechNac = db::dateTime(q.value(11));
    u.UsuEstado = db::text(q.value(12));
    u.UsuTecla = db::text(q.value(13));
    u.UsuFechaIngreso = db::dateTime(q.value(14));
    u.UsuFechaRenuncia = db::dateTime(q.value(15));
    u.UsuFoto = db::blob(q.value(16));
    return u;
}

}  // namespace

QString ProductRow::ACTINAC() const {
    return ProdLabEstado == kInactivo ? kInactivo : QString();
}

QString PresentationRow::P_Estado() const {
    if (PresEstado == QLatin1String("DISCONTINUO"))
        return QStringLiteral("D");
    if (PresEstado == QLatin1String("CONTINUO") && PresStockTotal == 0)
        return QStringLiteral("*");
    return {};
}

QString PresentationRow::PORCENGANAN() const {
    if (PresPrecioCosto.isZero())
        return {};
    return core::fmt::printf8_2((PresVenta.toDouble() / PresPrecioCosto.toDouble() - 1.0) * 100.0);
}

TDM::TDM(db::Db& db, QObject* parent) : QObject(parent), db_(db) {
    openSessionDatasets();
    loginAttempts = 0;
    sessionUserCode = 0;
    discountPermission = 0;
}

void TDM::openSessionDatasets() {
    openProductList();
    openPresentations();
}

void TDM::closeSessionDatasets() {
    closeProductList();
    closePresentations();
}

void TDM::reopenSessionDatasets() {
    const ProductRow* product = currentProduct();
    const PresentationRow* presentation = currentPresentation();
    const int link = product ? product->ProdLabCod : -1;
    const int code = presentation ? presentation->CodPresentacion : -1;
    loadProducts();
    loadPresentations();
    currentProduct_ =
        std::max(indexWhere(products_, &ProductRow::ProdLabCod, link), products_.empty() ? -1 : 0);
    currentPresentation_ =
        std::max(indexWhere(presentations(), &PresentationRow::CodPresentacion, code),
                 presentations().empty() ? -1 : 0);
    emit currentProductChanged();
    emit currentPresentationChanged();
    emit sessionDatasetsReopened();
}

void TDM::openProductList() {
    loadProducts();
    currentProduct_ = products_.empty() ? -1 : 0;
    currentPresentation_ = presentations().empty() ? -1 : 0;
    emit currentProductChanged();
    emit currentPresentationChanged();
}

void TDM::closeProductList() {
    products_.clear();
    sortKeys_.clear();
    productsOpen_ = false;
    currentProduct_ = -1;
    currentPresentation_ = -1;
    emit currentProductChanged();
    emit currentPresentationChanged();
}

void TDM::openPresentations() {
    loadPresentations();
    currentPresentation_ = presentations().empty() ? -1 : 0;
    emit currentPresentationChanged();
}

void TDM::closePresentations() {
    presentationsByLink_.clear();
    cruceByPresentation_.clear();
    presentationsOpen_ = false;
    currentPresentation_ = -1;
    emit currentPresentationChanged();
}

void TDM::loadProducts() {
    QSqlQuery q = db_.exec(QStringLiteral(
        "SELECT P.ProdCodigo, P.ProdNomComercial, L.LabNombre, P.ProAccionMecanismo, "
        "PL.ProdLabCod, P.ProdNomGenerico, P.ProdLinea, P.ProDescripcion, L.LabCodigo, "
        "PL.ProdLabEstado "
        "FROM PRODUCTO P, LABORATORIO L, PRODUCTO_LABORATORIO PL "
        "WHERE P.ProdCodigo = PL.ProdCodigo AND L.LabCodigo = PL.LabCodigo "
        "ORDER BY PL.ProdLabCod"));
    std::vector<ProductRow> rows;
    while (q.next()) {
        ProductRow r;
        r.ProdCodigo = db::integer(q.value(0));
        r.ProdNomComercial = db::text(q.value(1));
        r.LabNombre = db::text(q.value(2));
        r.ProAccionMecanismo = db::text(q.value(3));
        r.ProdLabCod = db::integer(q.value(4));
        r.ProdNomGenerico = db::text(q.value(5));
        r.ProdLinea = db::text(q.value(6));
        r.ProDescripcion = db::text(q.value(7));
        r.LabCodigo = db::integer(q.value(8));
        r.ProdLabEstado = db::text(q.value(9));
        rows.push_back(std::move(r));
    }
    // Sorted here rather than by the engine, so that the order is the one the prefix search
    // relies on whatever the server's collation.
    std::vector<std::pair<QString, std::size_t>> keys;
    keys.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        keys.emplace_back(rows[i].ProdNomComercial.toUpper(), i);
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    products_.clear();
    sortKeys_.clear();
    products_.reserve(rows.size());
    sortKeys_.reserve(rows.size());
    for (auto& [key, i] : keys) {
        products_.push_back(std::move(rows[i]));
        sortKeys_.push_back(std::move(key));
    }
    productsOpen_ = true;
}

namespace {

const QString kPresentationSelect = QStringLiteral(
    "SELECT CodPresentacion, ProdLabCod, PresTipo, PresPrecioCosto, PresVenta, "
    "PresIndicaPosologia, PresUbicacion, PresGenCom, PresUniTodo, PresStockTotal, "
    "PresPromUni, PresEstado, PresCodDigemid FROM PRESENTACION ");
const QString kCruceSelect = QStringLiteral(
    "SELECT C.CodPresentacion, P.PresStockTotal, C.CruCantidad, C.CruEstado "
    "FROM PRESENTACION P, CRUCE C WHERE P.CodPresentacion = C.CodPresentacion ");

PresentationRow presentationOf(const QSqlQuery& q) {
    PresentationRow r;
    r.CodPresentacion = db::integer(q.value(0));
    r.ProdLabCod = db::integer(q.value(1));
    r.PresTipo = db::text(q.value(2));
    r.PresPrecioCosto = db::money(q.value(3));
    r.PresVenta = db::money(q.value(4));
    r.PresIndicaPosologia = db::text(q.value(5));
    r.PresUbicacion = db::text(q.value(6));
    r.PresGenCom = db::text(q.value(7));
    r.PresUniTodo = db::text(q.value(8));
    r.PresStockTotal = db::integer(q.value(9));
    r.PresPromUni = db::integer(q.value(10));
    r.PresEstado = db::text(q.value(11));
    r.PresCodDigemid = db::integer(q.value(12));
    return r;
}

void sortByPresTipo(std::vector<PresentationRow>& rows) {
    std::stable_sort(
        rows.begin(), rows.end(),
        [](const PresentationRow& a, const PresentationRow& b) { return a.PresTipo < b.PresTipo; });
}

}  // namespace

void TDM::loadPresentations() {
    QSqlQuery q = db_.exec(kPresentationSelect + QStringLiteral("ORDER BY CodPresentacion"));
    presentationsByLink_.clear();
    while (q.next()) {
        PresentationRow r = presentationOf(q);
        presentationsByLink_[r.ProdLabCod].push_back(std::move(r));
    }
    for (auto& [link, rows] : presentationsByLink_)
        sortByPresTipo(rows);
    cruceByPresentation_.clear();
    readCruce(db_.exec(kCruceSelect + QStringLiteral("ORDER BY C.CruceCod")));
    presentationsOpen_ = true;
}

void TDM::readCruce(QSqlQuery&& c) {
    while (c.next())
        cruceByPresentation_.try_emplace(db::integer(c.value(0)),
                                         cruceTotal(c.value(1), c.value(2), c.value(3)));
}

void TDM::refreshPresentations() {
    const ProductRow* product = currentProduct();
    if (!presentationsOpen_ || !product)
        return;
    const PresentationRow* current = currentPresentation();
    const int code = current ? current->CodPresentacion : -1;
    const QVariantList link{product->ProdLabCod};
    std::vector<PresentationRow>& rows = presentationsByLink_[product->ProdLabCod];
    for (const PresentationRow& r : rows)
        cruceByPresentation_.erase(r.CodPresentacion);
    rows.clear();
    QSqlQuery q = db_.exec(kPresentationSelect + QStringLiteral("WHERE ProdLabCod = ?"), link);
    while (q.next())
        rows.push_back(presentationOf(q));
    sortByPresTipo(rows);
    readCruce(
        db_.exec(kCruceSelect + QStringLiteral("AND P.ProdLabCod = ? ORDER BY C.CruceCod"), link));
    currentPresentation_ =
        std::max(indexWhere(rows, &PresentationRow::CodPresentacion, code), rows.empty() ? -1 : 0);
    emit currentPresentationChanged();
}

const ProductRow* TDM::currentProduct() const {
    return currentProduct_ < 0 ? nullptr : &products_[currentProduct_];
}

void TDM::setCurrentProductIndex(int index) {
    const int count = static_cast<int>(products_.size());
    const int target = count == 0 ? -1 : std::clamp(index, 0, count - 1);
    if (target == currentProduct_)
        return;
    currentProduct_ = target;
    currentPresentation_ = presentations().empty() ? -1 : 0;
    emit currentProductChanged();
    emit currentPresentationChanged();
}

int TDM::productIndexFor(const QString& prefix) const {
    if (sortKeys_.empty())
        return -1;
    const auto it = std::lower_bound(sortKeys_.begin(), sortKeys_.end(), prefix.toUpper());
    return it == sortKeys_.end() ? static_cast<int>(sortKeys_.size()) - 1
                                 : static_cast<int>(it - sortKeys_.begin());
}

void TDM::locateProduct(const QString& prefix) {
    setCurrentProductIndex(productIndexFor(prefix));
}

const std::vector<PresentationRow>& TDM::presentations() const {
    const ProductRow* product = currentProduct();
    if (!presentationsOpen_ || !product)
        return noPresentations();
    const auto it = presentationsByLink_.find(product->ProdLabCod);
    return it == presentationsByLink_.end() ? noPresentations() : it->second;
}

const PresentationRow* TDM::currentPresentation() const {
    return currentPresentation_ < 0 ? nullptr : &presentations()[currentPresentation_];
}

void TDM::setCurrentPresentationIndex(int index) {
    const int count = static_cast<int>(presentations().size());
    const int target = count == 0 ? -1 : std::clamp(index, 0, count - 1);
    if (target == currentPresentation_)
        return;
    currentPresentation_ = target;
    emit currentPresentationChanged();
}

QByteArray TDM::presentationPhoto(int codPresentacion) {
    return db::blob(
        db_.scalar(QStringLiteral("SELECT PresFoto FROM PRESENTACION WHERE CodPresentacion = ?"),
                   {codPresentacion}));
}

QString TDM::cruceText() const {
    const PresentationRow* presentation = currentPresentation();
    if (!presentation)
        return {};
    const auto it = cruceByPresentation_.find(presentation->CodPresentacion);
    return it == cruceByPresentation_.end() ? QString() : it->second;
}

int TDM::openAccess(int userCode, const QString& storedPassword) {
    closeAccess();
    QSqlQuery q =
        db_.exec(QStringLiteral("SELECT UsuCod, UsuLogin, UsuFoto, UsuCargo, UsuEstado, UsuTecla, "
                                "UsuApellidos FROM USUARIO WHERE UsuCod = ? AND UsuPassword = ?"),
                 {userCode, storedPassword});
    int rows = 0;
    while (q.next()) {
        if (rows++ == 0)
            access_ = accessRow(q);
    }
    if (access_) {
        QSqlQuery u = db_.exec(
            QStringLiteral("SELECT UsuCod, SucCod, UsuLogin, UsuPassword, UsuCargo, UsuNombres, "
                           "UsuApellidos, UsuDni, UsuTelefono, UsuEdad, UsuDomicilio, "
                           "UsuFechNac, UsuEstado, UsuTecla, UsuFechaIngreso, "
                           "UsuFechaRenuncia, UsuFoto FROM USUARIO WHERE UsuCod = ?"),
            {access_->UsuCod});
        if (u.next())
            user_ = userRow(u);
    }
    emit accessChanged();
    return rows;
}

void TDM::closeAccess() {
    access_.reset();
    user_.reset();
    emit accessChanged();
}

QString TDM::sessionRole() const {
    return user_ ? user_->UsuCargo : QString();
}

QString TDM::sessionName() const {
    return user_ ? user_->UsuNombres : QString();
}

}  // namespace shell
