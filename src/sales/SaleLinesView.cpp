#include "sales/SaleLinesView.h"

#include "core/Format.h"
#include "core/InputRules.h"
#include "db/procedures/Checkout.h"
#include "sales/CheckoutModels.h"
#include "session/AppContext.h"
#include "session/Session.h"
#include "ui/Grid.h"
#include "ui/Hint.h"
#include "ui/InputFilter.h"
#include "ui/Palette.h"
#include "ui/TextStyle.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTableView>

namespace sales {

using db::proc::SaleLine;

namespace {

template <class W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

SaleLinesView::SaleLinesView(session::AppContext& context, QWidget* owner, bool withDate)
    : ctx_(context) {
    model_ = new SaleLinesModel(owner, withDate);
    DBGrid1 = named(new QTableView(owner), "DBGrid1");
    ui::Grid::setUp(DBGrid1, model_);
    DBGrid1->horizontalHeader()->setSectionResizeMode(model_->presTipoColumn(),
                                                      QHeaderView::Stretch);

    EdFacNumero = named(new QLineEdit(owner), "EdFacNumero");
    // Sale numbers are whole numbers of the column's size: a box of 4 digits would cut the
    // 10,000th sale of a day into another sale's number.
    EdFacNumero->setMaxLength(9);
    ui::setFontSize(EdFacNumero, 20, true);
    EdFacNumero->setFixedWidth(110);
    ui::filter(EdFacNumero, core::endsWithDigit);

    PC = named(new QLabel(owner), "PC");
    ui::setFontSize(PC, 14, true);
    PC->setMinimumWidth(200);
    Total = named(new QLabel(owner), "Total");
    ui::setHint(Total, QStringLiteral("MONTO TOTAL QUE EL CLIENTE DEBE PAGAR"));
    ui::setFontSize(Total, 28, true);
    Total->setMinimumWidth(200);
    Total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Total->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    FOTO_CAJERO = named(new QLabel(owner), "FOTO_CAJERO");
    ui::setHint(FOTO_CAJERO, QStringLiteral("PERSONA QUIEN REALIZO LA VENTA"));
    FOTO_CAJERO->setFixedSize(80, 90);
    FOTO_CAJERO->setScaledContents(true);
    FOTO_CAJERO->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    Mensaje = named(new QLabel(owner), "Mensaje");
    Mensaje->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ui::setFontSize(Mensaje, 10, true);
    ui::setTextColour(Mensaje, ui::palette::red);
}

QWidget* SaleLinesView::header(const QString& caption) {
    auto* header = new QWidget;
    auto* row = new QHBoxLayout(header);
    auto* label = new QLabel(caption);
    ui::setFontSize(label, 16, true);
    row->addWidget(label);
    row->addWidget(EdFacNumero);
    row->addSpacing(16);
    row->addWidget(PC);
    row->addStretch(1);
    row->addWidget(Total);
    row->addWidget(FOTO_CAJERO);
    return header;
}

void SaleLinesView::open(int facNumero, const core::DateTimeRange& window) {
    lines_ = db::proc::saleLines(ctx_.db, facNumero, window);
    total_ = db::proc::saleTotal(ctx_.db, facNumero, window);
    model_->setRows(lines_);
    ui::Grid::selectRow(DBGrid1, 0);
}

void SaleLinesView::close() {
    lines_.clear();
    total_.reset();
    model_->setRows({});
}

const SaleLine* SaleLinesView::firstLine() const {
    return lines_.empty() ? nullptr : &lines_.front();
}

QString SaleLinesView::totalText() const {
    return total_ ? core::fmt::shortest(*total_) : QString();
}

std::optional<int> SaleLinesView::typedNumber() const {
    QString typed = EdFacNumero->text();
    typed.remove(QLatin1Char(' '));
    bool ok = false;
    const int number = typed.toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

QString SaleLinesView::applyDisplayRules() {
    const SaleLine* line = firstLine();
    const QString state = line ? line->Estado : QString();
    showPcAndTotal();
    Mensaje->clear();
    const bool settled = state == db::proc::kSinStock || state == db::proc::kDescargado ||
                         state == db::proc::kDevuelto;
    if (!settled) {
        setPcAndTotalColour(ui::palette::blue);
        setTint(Tint::Notice, Tint::Notice);
    } else {
        setPcAndTotalColour(ui::palette::red);
        if (line)
            Mensaje->setText(QStringLiteral("PEDIDO ") + line->FacEstado.trimmed() +
                             QStringLiteral(", SATISFACTORIAMENTE..."));
        setTint(Tint::Settled, Tint::Settled);
    }
    showSellerPhoto();
    return state;
}

void SaleLinesView::showPcAndTotal() {
    const SaleLine* line = firstLine();
    PC->setText(line ? line->FacHostName.trimmed() : QString());
    Total->setText(totalText());
}

void SaleLinesView::showSellerPhoto() {
    closePhoto();
    const SaleLine* line = firstLine();
    const QString key = line ? db::proc::sellerKey(line->FacHostName) : QString();
    if (key.isEmpty())
        return;
    QPixmap photo;
    if (photo.loadFromData(db::proc::sellerPhoto(ctx_.db, key)))
        FOTO_CAJERO->setPixmap(photo);
}

void SaleLinesView::closePhoto() {
    FOTO_CAJERO->clear();
}

void SaleLinesView::setTint(std::optional<Tint> estado, std::optional<Tint> subTotal) {
    const auto apply = [this](int column, Tint tint) {
        switch (tint) {
            case Tint::Notice:
                model_->tint(column, ui::palette::infoBackground, ui::palette::red);
                break;
            case Tint::Settled:
                model_->tint(column, ui::palette::skyBlue, ui::palette::skyBlue);
                break;
        }
    };
    if (estado)
        apply(model_->estadoColumn(), *estado);
    if (subTotal)
        apply(model_->subTotalColumn(), *subTotal);
}

void SaleLinesView::setPcAndTotalColour(const QColor& colour) {
    ui::setTextColour(PC, colour);
    ui::setTextColour(Total, colour);
}

void SaleLinesView::clearShown() {
    PC->clear();
    Total->clear();
    Mensaje->clear();
}

void SaleLinesView::startUp(QWidget* window) {
    clearShown();
    setTint(Tint::Notice, std::nullopt);
    setPcAndTotalColour(ui::palette::blue);
    window->setWindowTitle(QStringLiteral("PERSONAL DE TURNO: ") + ctx_.session.login().toUpper() +
                           QStringLiteral(" - CODIGO DE TRABAJADOR: ") +
                           QString::number(ctx_.session.userCode()));
}

void SaleLinesView::showStartUpSale() {
    setTint(Tint::Notice, Tint::Notice);
    showPcAndTotal();
    showSellerPhoto();
}

void SaleLinesView::startingSteps() {
    setTint(Tint::Notice, std::nullopt);
    Total->clear();
    close();
    EdFacNumero->setFocus();
}

void SaleLinesView::closeSale() {
    EdFacNumero->clear();
    startingSteps();
}

void SaleLinesView::unload() {
    closePhoto();
    close();
    setTint(Tint::Notice, Tint::Notice);
    clearShown();
}

}  // namespace sales
