#include "session/UnitDM.h"

#include <algorithm>

namespace session {

namespace {

const std::vector<PresentationRow>& noPresentations() {
    static const std::vector<PresentationRow> none;
    return none;
}

template <typename Row, typename Key>
int indexWhere(const std::vector<Row>& rows, Key Row::*member, Key value) {
    const auto it = std::find_if(rows.begin(), rows.end(),
                                 [&](const Row& row) { return row.*member == value; });
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}

}  // namespace

TDM::TDM(db::Db& db, QObject* parent) : QObject(parent), db_(db) {
    openSessionDatasets();
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
    index_.clear();
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
    products_ = db::proc::productList(db_);
    // Sorted here rather than by the engine, so that the order is the one the prefix search
    // relies on whatever the server's collation.
    index_.sort(products_, &ProductRow::ProdNomComercial);
    productsOpen_ = true;
}

namespace {

void sortByPresTipo(std::vector<PresentationRow>& rows) {
    std::stable_sort(
        rows.begin(), rows.end(),
        [](const PresentationRow& a, const PresentationRow& b) { return a.PresTipo < b.PresTipo; });
}

}  // namespace

void TDM::loadPresentations() {
    presentationsByLink_.clear();
    for (PresentationRow& r : db::proc::presentationRows(db_))
        presentationsByLink_[r.ProdLabCod].push_back(std::move(r));
    for (auto& [link, rows] : presentationsByLink_)
        sortByPresTipo(rows);
    cruceByPresentation_.clear();
    keepCruce(db::proc::cruceRows(db_));
    presentationsOpen_ = true;
}

void TDM::keepCruce(const std::vector<db::proc::CruceRow>& rows) {
    for (const db::proc::CruceRow& c : rows)
        cruceByPresentation_.try_emplace(c.CodPresentacion, c.total);
}

void TDM::refreshPresentations() {
    const ProductRow* product = currentProduct();
    if (!presentationsOpen_ || !product)
        return;
    const PresentationRow* current = currentPresentation();
    const int code = current ? current->CodPresentacion : -1;
    const int link = product->ProdLabCod;
    std::vector<PresentationRow>& rows = presentationsByLink_[link];
    for (const PresentationRow& r : rows)
        cruceByPresentation_.erase(r.CodPresentacion);
    rows = db::proc::presentationRowsOfLink(db_, link);
    sortByPresTipo(rows);
    keepCruce(db::proc::cruceRowsOfLink(db_, link));
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
    return index_.find(prefix);
}

void TDM::locateProduct(const QString& prefix) {
    const int index = productIndexFor(prefix);
    if (index >= 0)
        setCurrentProductIndex(index);
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
    return db::proc::presentationPhoto(db_, codPresentacion);
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
    const std::vector<UserRow> rows = db::proc::accessRows(db_, userCode, storedPassword);
    if (!rows.empty()) {
        access_ = rows.front();
        user_ = db::proc::userRow(db_, access_->UsuCod);
    }
    emit accessChanged();
    return int(rows.size());
}

void TDM::reopenAccess() {
    if (!access_)
        return;
    const int code = access_->UsuCod;
    access_ = db::proc::accessByCode(db_, code);
    user_ = access_ ? db::proc::userRow(db_, code) : std::nullopt;
    emit accessChanged();
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

}  // namespace session
