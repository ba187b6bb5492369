#include "summary/UnitResumenDiario.h"

#include "core/Clock.h"
#include "core/DayWindow.h"
#include "core/Format.h"
#include "db/Reader.h"
#include "db/procedures/Summary.h"
#include "session/AppContext.h"
#include "session/Session.h"
#include "ui/FormHelpers.h"
#include "ui/Grid.h"
#include "ui/Guard.h"
#include "ui/Messages.h"
#include "ui/Palette.h"
#include "ui/TableModel.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace summary {

using db::proc::SummaryBoleta;

namespace {

const QString kCaption = QStringLiteral("Generar archivo plano");
const QString kNothing = QStringLiteral("NO HAY VALORES PARA MOSTRAR");
const QString kGenerated = QStringLiteral("ARCHIVO PLANO GENERADO");
const QString kNotGenerated = QStringLiteral("ERROR, NO SE GENERO EL ARCHIVO PLANO");
const QString kNotNamed = QStringLiteral(
    "ARCHIVO PLANO REGISTRADO, PERO SUS ARCHIVOS NO SE PUDIERON NOMBRAR\rSE NOMBRARAN AL "
    "GENERAR DE NUEVO O AL INICIAR EL PROGRAMA");

constexpr int kIncluded = 0;  // the "H/I" column

template <class W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

// The list, with "H/I" drawn as a check box, ticked while the boleta waits.
class SummaryListModel : public ui::VectorModel<SummaryBoleta> {
public:
    explicit SummaryListModel(QObject* parent) : VectorModel(parent) {
        const auto right = Qt::AlignRight | Qt::AlignVCenter;
        setColumns({
            {.title = QStringLiteral("H/I"), .width = 40, .alignment = Qt::AlignCenter},
            {.title = QStringLiteral("N° BOLETA"),
             .width = 80,
             .alignment = right,
             .value = by(&SummaryBoleta::FacNumSunat)},
            {.title = QStringLiteral("TIPO"),
             .width = 130,
             .value = by(&SummaryBoleta::FacTipoSunat)},
            {.title = QStringLiteral("FECHA DE VENTA"),
             .width = 140,
             .value = by(
                 [](const SummaryBoleta& b) { return core::fmt::shortDateLongTime(b.FacFecha); })},
            {.title = QStringLiteral("N° VENTA INTERNA"),
             .width = 130,
             .alignment = right,
             .value = by(&SummaryBoleta::FacNumero)},
            {.title = QStringLiteral("USUARIO"),
             .width = 70,
             .alignment = right,
             .value = by(&SummaryBoleta::UsuCod)},
            {.title = QStringLiteral("ESTADO"),
             .width = 100,
             .value = by(&SummaryBoleta::FacEstado)},
            {.title = QStringLiteral("PUNTO DE VENTA"),
             .width = 120,
             .value = by(&SummaryBoleta::FacHostName)},
            {.title = QStringLiteral("SERIE SUNAT"),
             .width = 90,
             .value = by(&SummaryBoleta::FacSerieSunat)},
        });
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (index.isValid() && index.column() == kIncluded && role == Qt::CheckStateRole)
            return row(index.row()).FacEstadoSunat ? Qt::Checked : Qt::Unchecked;
        return VectorModel::data(index, role);
    }

    // The row as read again; gone when the boleta is no longer listed (a summary holds it).
    void update(int index, const std::optional<SummaryBoleta>& boleta) {
        std::vector<SummaryBoleta> all = rows();
        if (boleta)
            all[std::size_t(index)] = *boleta;
        else
            all.erase(all.begin() + index);
        setRows(std::move(all));
    }
};

TFormArchivoPlano::TFormArchivoPlano(session::AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ctx_(context),
      summary_(context.db, context.platform),
      reader_(new db::Reader(context.db, this)) {
    setObjectName(QStringLiteral("FormArchivoPlano"));
    setWindowTitle(kCaption);
    build();
    wire();
}

TFormArchivoPlano::~TFormArchivoPlano() = default;

void TFormArchivoPlano::showSummary() {
    ui::centreOnDesktop(this);
    show();
    raise();
    activateWindow();
}

void TFormArchivoPlano::build() {
    auto* column = new QVBoxLayout(this);
    column->addWidget(buildHeader());
    model_ = new SummaryListModel(this);
    DBGrid2 = named(new QTableView, "DBGrid2");
    ui::Grid::setUp(DBGrid2, model_);
    DBGrid2->setSelectionBehavior(QAbstractItemView::SelectItems);
    DBGrid2->setStyleSheet(
        QStringLiteral("QTableView::item:focus { background-color: %1; color: black; }"
                       "QHeaderView::section { background-color: %2; }")
            .arg(ui::palette::skyBlue.name(), ui::palette::red.name()));
    column->addWidget(DBGrid2, 1);
    column->addWidget(buildFooter());
    resize(960, 520);
}

QWidget* TFormArchivoPlano::buildHeader() {
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    DateTimePicker1 = named(new QDateEdit(ctx_.clock.today()), "DateTimePicker1");
    DateTimePicker1->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    DateTimePicker1->setCalendarPopup(true);
    BitBtn1 = named(new QPushButton(QStringLiteral("&Mostrar")), "BitBtn1");
    row->addWidget(new QLabel(QStringLiteral("Fecha de documento:")));
    row->addWidget(DateTimePicker1);
    row->addWidget(BitBtn1);
    row->addStretch(1);
    return box;
}

QWidget* TFormArchivoPlano::buildFooter() {
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    ComboBox1 = named(new QComboBox, "ComboBox1");
    for (int days = 1; days <= 7; ++days)
        ComboBox1->addItem(QString::number(days));
    EdRuta = named(new QLineEdit(summary_.folder()), "EdRuta");
    EdRuta->setReadOnly(true);
    BitBtn4 = named(new QPushButton(QStringLiteral("&Generar")), "BitBtn4");
    row->addWidget(new QLabel(QStringLiteral("Numeros de Envio:")));
    row->addWidget(ComboBox1);
    row->addWidget(new QLabel(QStringLiteral("Guardar en:")));
    row->addWidget(EdRuta, 1);
    row->addWidget(BitBtn4);
    return box;
}

void TFormArchivoPlano::wire() {
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { BitBtn4Click(); });
    connect(DBGrid2, &QTableView::clicked, this,
            [this](const QModelIndex& index) { DBGrid2CellClick(index); });
}

int TFormArchivoPlano::chosenDays() const {
    return ComboBox1->currentText().toInt();
}

void TFormArchivoPlano::readList() {
    const QDate today = ctx_.clock.today();
    model_->setRows({});
    reader_->listInto(db::proc::summaryBoletasListing(
                          core::midnights(today.addDays(1 - chosenDays()), today.addDays(1))),
                      &db::proc::boletaOf, model_);
    listed_ = true;
}

void TFormArchivoPlano::BitBtn1Click() {
    DateTimePicker1->setDate(ctx_.clock.today());
    ui::guard(ctx_.messages, [this] { readList(); });
}

void TFormArchivoPlano::DBGrid2CellClick(const QModelIndex& index) {
    if (!index.isValid() || index.column() != kIncluded)
        return;
    ui::guard(ctx_.messages, [this, index] {
        const SummaryBoleta boleta = model_->row(index.row());
        db::proc::KZ_IncluyeBoleta(ctx_.db,
                                   {boleta.FacNumero, boleta.FacFecha, !boleta.FacEstadoSunat});
        model_->update(index.row(),
                       db::proc::summaryBoleta(ctx_.db, boleta.FacNumero, boleta.FacFecha));
        if (index.row() < model_->rowCount())
            DBGrid2->setCurrentIndex(model_->index(index.row(), kIncluded));
    });
}

void TFormArchivoPlano::BitBtn4Click() {
    ui::guard(
        ctx_.messages, [this] { generate(); }, kNotGenerated);
    if (listed_)
        ui::guard(ctx_.messages, [this] { readList(); });
}

void TFormArchivoPlano::generate() {
    SummaryResult result;
    try {
        result = summary_.generate(ctx_.clock.now(), ctx_.session.userCode());
    } catch (const NamingError& e) {
        qWarning("daily summary not named: %s", e.what());
        ctx_.messages.notice(kNotNamed, ui::Messages::Kind::Warning);
        return;
    }
    ctx_.messages.notice(result.name.isEmpty() ? kNothing : kGenerated);
}

}  // namespace summary
