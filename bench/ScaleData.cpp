#include "ScaleData.h"

#include "core/Money.h"
#include "core/Password.h"
#include "db/Db.h"
#include "db/procedures/Checkout.h"
#include "db/procedures/Procedure.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QVariantList>
#include <cmath>
#include <iostream>
#include <iterator>
#include <numeric>
#include <vector>

namespace bench {

std::uint64_t Rng::next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

int Rng::below(int n) {
    return n <= 1 ? 0 : static_cast<int>(next() % static_cast<std::uint64_t>(n));
}

double Rng::unit() {
    return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

namespace {

template <std::size_t N>
QString pick(Rng& rng, const char* const (&items)[N]) {
    return QString::fromUtf8(items[rng.below(static_cast<int>(N))]);
}

// Earlier items come up more often, as some first syllables do in real names.
template <std::size_t N>
QString pickSkewed(Rng& rng, const char* const (&items)[N]) {
    const int i = static_cast<int>(static_cast<double>(N) * std::pow(rng.unit(), 1.6));
    return QString::fromUtf8(items[i]);
}

const char* const kOnsets[] = {
    "A",  "AM", "CLO", "DI", "PA",  "ME",  "FLU", "MA",  "CA",  "PRO", "AL",  "BE",  "CE",
    "CI", "CO", "DE",  "DO", "E",   "EN",  "FE",  "GLI", "LA",  "LE",  "LO",  "MI",  "NA",
    "NE", "O",  "PE",  "PI", "RA",  "RE",  "SA",  "SE",  "SUL", "TA",  "TE",  "TRI", "VA",
    "VI", "AN", "AR",  "AZ", "BI",  "BRO", "CLA", "DU",  "ES",  "FO",  "GA",  "GE",  "HE",
    "HI", "I",  "IN",  "KE", "LI",  "MO",  "NI",  "NO",  "OM",  "PO",  "PRE", "QUI", "RI",
    "RO", "SI", "SO",  "TO", "TRA", "U",   "VE",  "XE",  "ZI",  "ZO"};
const char* const kMiddles[] = {"BA", "BE", "CI", "CO", "DA", "DE",  "DI", "FA", "FE",  "GA", "LA",
                                "LI", "LO", "MA", "MI", "MO", "NA",  "NE", "NI", "PRA", "RA", "RI",
                                "RO", "SA", "SO", "TA", "TI", "TRO", "VI", "XI", "ZA",  "ZO"};
const char* const kCodas[] = {
    "CIL", "CINA", "DAL", "DEX",  "DIL", "DOL", "DRAL", "FEN",  "FLEX", "GEN", "LAN", "LEX", "LIN",
    "MAX", "MED",  "MIN", "MOL",  "NAC", "NOL", "PAN",  "PRIL", "RAN",  "SAN", "SIL", "SOL", "TAL",
    "TAN", "TEC",  "TIL", "TRIN", "VAL", "VIR", "XAN",  "XIL",  "XIN",  "ZAM", "ZOL"};
const char* const kVariants[] = {"FORTE",    "PLUS",       "NF", "DUO", "RETARD", "COMPUESTO",
                                 "INFANTIL", "PEDIATRICO", "AC", "MAX", "D"};
const char* const kStrengths[] = {"5MG",   "10MG",  "20MG",      "25MG",      "50MG",  "100MG",
                                  "250MG", "400MG", "500MG",     "750MG",     "850MG", "1G",
                                  "0.1%",  "1%",    "120MG/5ML", "250MG/5ML", "2%"};
const char* const kBrandForms[] = {"LABORATORIOS %1", "LABORATORIOS %1", "%1 PHARMA",
                                   "%1 S.A.",         "FARMACEUTICA %1", "%1"};
const char* const kGenerics[] = {
    "PARACETAMOL",    "IBUPROFENO",    "AMOXICILINA", "NAPROXENO",    "AZITROMICINA",
    "CIPROFLOXACINO", "OMEPRAZOL",     "LORATADINA",  "METFORMINA",   "ENALAPRIL",
    "LOSARTAN",       "ATORVASTATINA", "SALBUTAMOL",  "DEXAMETASONA", "CLORFENAMINA",
    "DICLOFENACO",    "METRONIDAZOL",  "CETIRIZINA",  "RANITIDINA",   "KETOROLACO",
    "CEFALEXINA",     "FLUCONAZOL",    "ALBENDAZOL",  "PREDNISONA",   "AMLODIPINO",
    "GLIBENCLAMIDA",  "ACICLOVIR",     "CLOTRIMAZOL", "ACIDO FOLICO", "SULFATO FERROSO"};
const char* const kLines[] = {"MEDICINA",   "MEDICINA",           "MEDICINA", "MEDICINA",
                              "MEDICINA",   "MEDICINA",           "MEDICINA", "POPULARES",
                              "PERFUMERIA", "MATERIAL QUIRURGICO"};
const char* const kKinds[] = {"ANALGESICO",      "ANTIBIOTICO",      "ANTIINFLAMATORIO",
                              "ANTIHISTAMINICO", "ANTIHIPERTENSIVO", "ANTIDIABETICO ORAL",
                              "ANTIULCEROSO",    "BRONCODILATADOR",  "VITAMINA",
                              "ANTIPARASITARIO", "CORTICOIDE",       "ANTIMICOTICO"};
const char* const kMechanisms[] = {"INHIBE LA SINTESIS DE PROSTAGLANDINAS",
                                   "INHIBE LA SINTESIS DE LA PARED CELULAR BACTERIANA",
                                   "ANTAGONISTA DE LOS RECEPTORES H1 PERIFERICOS",
                                   "INHIBE LA BOMBA DE PROTONES DE LA CELULA PARIETAL GASTRICA",
                                   "INHIBE LA ENZIMA CONVERTIDORA DE ANGIOTENSINA",
                                   "REDUCE LA PRODUCCION HEPATICA DE GLUCOSA",
                                   "AGONISTA DE LOS RECEPTORES BETA 2 ADRENERGICOS"};
const char* const kDosages[] = {"1 TABLETA CADA 8 HORAS",     "1 TABLETA CADA 12 HORAS",
                                "1 CAPSULA AL DIA EN AYUNAS", "5ML CADA 8 HORAS",
                                "APLICAR 2 VECES AL DIA",     "SEGUN INDICACION MEDICA"};

struct Form {
    const char* text;
    int perBox;
};
const Form kForms[] = {
    {"TABLETA X 100", 100},     {"TABLETA CAJA X 20", 20}, {"CAPSULA X 100", 100},
    {"CAPSULA CAJA X 14", 14},  {"JARABE 120ML", 1},       {"SUSPENSION 60ML", 1},
    {"GOTAS 15ML", 1},          {"CREMA 30G", 1},          {"UNGÜENTO 20G", 1},
    {"AMPOLLA 2ML", 1},         {"SOBRE 5G", 50},          {"FRASCO 400ML", 1},
    {"INHALADOR 200 DOSIS", 1}, {"OVULO CAJA X 6", 6}};
const char* const kDocuments[] = {"FACTURA", "FACTURA", "BOLETA", "NOTA DE ENVIO", "TICKET"};

// The users: code, login (also the password), role, seller key.
struct User {
    int code;
    const char* login;
    const char* role;
    const char* key;
};
const User kUsers[] = {{kAdminUser, "ADMIN", "ADMINISTRADOR", "F5"},
                       {2, "QUIMICO", "QUIMICO FARMACEUTICO", "F6"},
                       {3, "TECNICA", "TECNICA", "F7"},
                       {kCashierUser, "CAJERO", "CAJERO", nullptr},
                       {5, "AUXILIAR", "AUXILIAR", "F8"},
                       {6, "VENDEDOR", "TECNICA", "F9"}};
const int kSellers[] = {1, 2, 3, 5, 6};

// Values bound per statement. SQLite looks each bound value's name up in a list, so a statement
// of thousands of values costs more than several short ones; PostgreSQL gains from long ones.
int valuesPerStatement(db::Dialect dialect) {
    return dialect == db::Dialect::SQLite ? 250 : 4000;
}

QVariant at(const QDate& day, int seconds) {
    return db::dateTimeText(QDateTime(day, QTime(0, 0)).addSecs(seconds));
}

QVariant money(qint64 cents) {
    return QVariant::fromValue(core::Money::fromRaw(cents * 100));
}

// Rows of one table written many at a time: INSERT ... VALUES (...), (...), ...
class BulkInsert {
public:
    BulkInsert(db::Db& db, const QString& table, const QStringList& columns)
        : db_(db),
          head_(QStringLiteral("INSERT INTO %1 (%2) VALUES ")
                    .arg(table, columns.join(QStringLiteral(", ")))),
          row_(QLatin1Char('(') + QStringList(columns.size(), QStringLiteral("?")).join(',') +
               QLatin1Char(')')),
          columns_(int(columns.size())),
          chunk_(std::max(1, valuesPerStatement(db.dialect()) / columns_)) {}

    void add(const QVariantList& row) {
        values_ += row;
        if (++pending_ == chunk_)
            flush();
    }

    void flush() {
        if (pending_ == 0)
            return;
        db_.exec(statement(pending_), values_);
        count_ += pending_;
        pending_ = 0;
        values_.clear();
    }

    int count() const { return count_ + pending_; }

private:
    QString statement(int rows) {
        if (rows == chunk_ && !full_.isEmpty())
            return full_;
        const QString sql = head_ + QStringList(rows, row_).join(QStringLiteral(", "));
        if (rows == chunk_)
            full_ = sql;
        return sql;
    }

    db::Db& db_;
    QString head_;
    QString row_;
    int columns_;
    int chunk_;
    QString full_;
    QVariantList values_;
    int pending_ = 0;
    int count_ = 0;
};

// Prices in cents of every presentation, by CodPresentacion - 1.
struct Prices {
    std::vector<qint64> cost;
    std::vector<qint64> sale;
};

class Generator {
public:
    Generator(db::Db& db, const ScaleOptions& options) : db_(db), options_(options) {}

    ScaleCounts run() {
        const QDate opened = options_.lastDay.addDays(-options_.days - 30);
        writeShop(opened);
        writeCatalogue();
        if (options_.days > 0)
            writeSales();
        return counts_;
    }

private:
    void writeShop(const QDate& opened) {
        db_.exec(QStringLiteral("INSERT INTO SUCURSAL (SucCod, SucNombre, SucCiudad, "
                                "SucDireccion, SucTelefono) VALUES (?, ?, ?, ?, ?)"),
                 {1, QStringLiteral("BOTICA VELCARIS"), QStringLiteral("TRUJILLO"),
                  QStringLiteral("AV. ESPAÑA 1520"), QStringLiteral("044201122")});
        db_.exec(QStringLiteral("INSERT INTO IGV (IgvCod, UsuCod, IgvValor, IgvFecha, "
                                "IgvSerieBoleta, IgvSerieFactura) VALUES (?, ?, ?, ?, ?, ?)"),
                 {1, kAdminUser, 18.0, at(opened, 8 * 3600), QStringLiteral("B001"),
                  QStringLiteral("F001")});
        db_.exec(QStringLiteral("INSERT INTO INVENTARIO (InvCod, InvFecha) VALUES (?, ?)"),
                 {1, at(opened, 8 * 3600)});
        BulkInsert users(db_, QStringLiteral("USUARIO"),
                         {"UsuCod", "SucCod", "UsuLogin", "UsuPassword", "UsuCargo", "UsuNombres",
                          "UsuApellidos", "UsuEstado", "UsuTecla", "UsuFechaIngreso"});
        for (const User& u : kUsers) {
            const QString login = QString::fromLatin1(u.login);
            users.add({u.code, 1, login, core::Encripta(login), QString::fromLatin1(u.role), login,
                       QStringLiteral("BENCH"), QStringLiteral("ACTIVO"),
                       u.key ? QVariant(QString::fromLatin1(u.key)) : QVariant(),
                       at(opened, 8 * 3600)});
        }
        users.flush();
        BulkInsert suppliers(db_, QStringLiteral("PROVEEDOR"),
                             {"ProvCod", "ProvRazSoc", "ProvTelefono", "ProvEstado"});
        Rng rng(options_.seed ^ 0x5u);
        for (int code = 1; code <= kSuppliers; ++code)
            suppliers.add({code, QStringLiteral("DROGUERIA ") + brandName(rng).left(30),
                           QStringLiteral("0442%1").arg(code, 5, 10, QLatin1Char('0')),
                           QStringLiteral("ACTIVO")});
        suppliers.flush();
    }

    void writeCatalogue() {
        Rng rng(options_.seed);
        const int brandCount = std::max(20, options_.links / 250);
        BulkInsert brands(db_, QStringLiteral("LABORATORIO"),
                          {"LabCodigo", "LabNombre", "LabRazSoc", "LabDescripcion"});
        for (int code = 1; code <= brandCount; ++code) {
            const QString name = brandName(rng);
            brands.add({code, name, db::proc::param(name + QStringLiteral(" S.A.C."), 82),
                        QStringLiteral("MEDICAMENTOS")});
        }
        brands.flush();
        counts_.brands = brands.count();

        BulkInsert products(db_, QStringLiteral("PRODUCTO"),
                            {"ProdCodigo", "ProdNomComercial", "ProdNomGenerico", "ProdLinea",
                             "ProDescripcion", "ProAccionMecanismo"});
        BulkInsert links(db_, QStringLiteral("PRODUCTO_LABORATORIO"),
                         {"ProdLabCod", "ProdCodigo", "LabCodigo", "ProdLabEstado"});
        BulkInsert presentations(
            db_, QStringLiteral("PRESENTACION"),
            {"CodPresentacion", "ProdLabCod", "PresTipo", "PresPrecioCosto", "PresVenta",
             "PresIndicaPosologia", "PresUbicacion", "PresGenCom", "PresUniTodo", "PresStockTotal",
             "PresPromUni", "PresEstado", "PresCodDigemid", "PresNumCaja"});
        int link = 0;
        int product = 0;
        while (link < options_.links) {
            ++product;
            const QString name = pharmacyName(rng);
            const QString line = pick(rng, kLines);
            products.add({product, name, pick(rng, kGenerics), line, pick(rng, kKinds),
                          pick(rng, kMechanisms)});
            const double u = rng.unit();
            const int brandsOfProduct = u < 0.75 ? 1 : u < 0.95 ? 2 : 3;
            for (int b = 0; b < brandsOfProduct && link < options_.links; ++b) {
                ++link;
                links.add(
                    {link, product, rng.between(1, brandCount),
                     rng.chance(0.05) ? QStringLiteral("INACTIVO") : QStringLiteral("ACTIVO")});
                const int count = rng.chance(0.5) ? 1 : rng.chance(0.7) ? 2 : 3;
                for (int p = 0; p < count; ++p)
                    presentations.add(presentation(rng, link, name, line));
            }
        }
        products.flush();
        links.flush();
        presentations.flush();
        counts_.products = products.count();
        counts_.links = links.count();
        counts_.presentations = presentations.count();
    }

    QVariantList presentation(Rng& rng, int link, const QString& name, const QString& line) {
        const int code = int(prices_.cost.size()) + 1;
        const Form& form = kForms[rng.below(int(std::size(kForms)))];
        const qint64 cost = 10 + qint64(8000 * std::pow(rng.unit(), 3.0));
        const qint64 sale = (cost * rng.between(125, 200) / 100 + 9) / 10 * 10;
        prices_.cost.push_back(cost);
        prices_.sale.push_back(sale);
        const QString text = QString::fromUtf8(form.text);
        const int stock = rng.chance(0.08) ? 0 : rng.between(1, 1500);
        return {code,
                link,
                db::proc::param(name + QLatin1Char(' ') + text, 90),
                money(cost),
                money(sale),
                pick(rng, kDosages),
                QStringLiteral("ESTANTE %1-%2")
                    .arg(QChar(u'A' + rng.below(8)))
                    .arg(rng.between(1, 40), 2, 10, QLatin1Char('0')),
                rng.chance(0.5) ? QStringLiteral("GENERICO") : QStringLiteral("COMERCIAL"),
                text.contains(QLatin1String("CAJA")) ? QStringLiteral("CAJA")
                                                     : QStringLiteral("UNIDAD"),
                stock,
                rng.between(0, 100),
                rng.chance(0.05) ? QStringLiteral("DISCONTINUO") : QStringLiteral("CONTINUO"),
                line == QLatin1String("MEDICINA") ? QVariant(10000 + code) : QVariant(),
                form.perBox};
    }

    // A presentation as sales pick them: a few sell far more often than the rest.
    int popularPresentation(Rng& rng) const {
        const int count = int(prices_.cost.size());
        const int rank = std::min(count - 1, int(count * std::pow(rng.unit(), 3.0)));
        return int((qint64(rank) * stride_) % count) + 1;
    }

    void writeSales() {
        const int count = int(prices_.cost.size());
        stride_ = 7919;
        while (std::gcd(stride_, qint64(count)) != 1)
            ++stride_;
        sales_ = std::make_unique<BulkInsert>(
            db_, QStringLiteral("FACTURA"),
            QStringList{"FacNumero", "FacFecha", "UsuCod", "FacHostName", "FacEstado",
                        "FacTipoSunat", "FacSerieSunat", "FacNumSunat", "FacEstadoSunat",
                        "FacCajero"});
        lines_ = std::make_unique<BulkInsert>(
            db_, QStringLiteral("DETAFAC"),
            QStringList{"FacNumero", "FacFecha", "DetaNumero", "CodPresentacion", "Cantidad",
                        "Importe", "Costo", "Estado"});
        returns_ = std::make_unique<BulkInsert>(
            db_, QStringLiteral("DEVOLUCION"),
            QStringList{"FacNumero", "FacFecha", "DetaNumero", "CodPresentacion", "DevUnidades",
                        "DevFecha", "DevCajero"});
        intakes_ = std::make_unique<BulkInsert>(
            db_, QStringLiteral("KARDEXINGRESO"),
            QStringList{"KarInCod", "CodPresentacion", "UsuCod", "ProvCod", "KarInStock", "KarInPc",
                        "KarInFechaIngreso", "KarInFechaCad", "KarInDocTipo", "KarInNumDoc"});
        entries_ = std::make_unique<BulkInsert>(
            db_, QStringLiteral("PRESFECHCAD"),
            QStringList{"CodPresentacion", "PresFechIngre", "PresStockActual", "Hora"});
        for (int d = options_.days - 1; d >= 0; --d)
            writeDay(options_.lastDay.addDays(-d));
        for (BulkInsert* b :
             {sales_.get(), lines_.get(), returns_.get(), intakes_.get(), entries_.get()})
            b->flush();
        counts_.sales = sales_->count();
        counts_.saleLines = lines_->count();
        counts_.returns = returns_->count();
        counts_.intakes = intakes_->count();
    }

    static int linesOfSale(Rng& rng) {
        const double u = rng.unit();
        return u < 0.30   ? 1
               : u < 0.55 ? 2
               : u < 0.73 ? 3
               : u < 0.85 ? 4
               : u < 0.93 ? 5
                          : 6 + rng.below(3);
    }

    static int quantity(Rng& rng) {
        const double u = rng.unit();
        return u < 0.55 ? 1 : u < 0.75 ? 2 : u < 0.85 ? 3 : rng.between(4, 10);
    }

    void writeDay(const QDate& day) {
        Rng rng(options_.seed ^ (std::uint64_t(day.toJulianDay()) * 0x9e3779b97f4a7c15ull));
        const double weekday = day.dayOfWeek() == 7 ? 0.6 : day.dayOfWeek() == 6 ? 1.1 : 1.0;
        const int target = int(options_.linesPerDay * weekday * (0.9 + 0.2 * rng.unit()));
        std::vector<int> sizes;
        for (int lines = 0; lines < target;) {
            sizes.push_back(linesOfSale(rng));
            lines += sizes.back();
        }
        const int sales = int(sizes.size());
        const int open = 8 * 3600;
        const int step = std::max(1, 14 * 3600 / std::max(1, sales));
        const bool last = day == options_.lastDay;
        for (int i = 0; i < sales; ++i) {
            const bool pending = last && i >= sales - options_.pendingSales;
            writeSale(rng, day, i + 1, open + i * step + rng.below(step), sizes[i], pending, last);
        }
        writeIntakes(rng, day);
    }

    void writeSale(Rng& rng, const QDate& day, int number, int second, int lineCount, bool pending,
                   bool lastDay) {
        const QVariant facFecha = at(day, second);
        const QString host = QStringLiteral("CAJA0%1-4").arg(rng.between(1, 3));
        const int seller = kSellers[rng.below(int(std::size(kSellers)))];
        int sold = 0;
        for (int line = 1; line <= lineCount; ++line) {
            const int code = popularPresentation(rng);
            const int units = quantity(rng);
            qint64 price = prices_.sale[code - 1];
            if (rng.chance(0.1))
                price = price * 95 / 100;
            QString state = db::proc::kDescargado;
            if (pending) {
                state = db::proc::kNoDescargado;
            } else if (rng.chance(0.004)) {
                state = db::proc::kSinStock;
            } else if (rng.chance(0.006)) {
                state = db::proc::kDevuelto;
                returns_->add({number, facFecha, line, code, units,
                               at(day, second + rng.between(600, 7200)), QStringLiteral("CAJERO")});
            }
            if (state != db::proc::kSinStock && state != db::proc::kNoDescargado)
                ++sold;
            lines_->add({number, facFecha, line, code, units, money(price),
                         money(prices_.cost[code - 1]), state});
        }
        if (pending) {
            sales_->add({number, facFecha, seller, host, db::proc::kNoDescargado, QVariant(),
                         QVariant(), QVariant(), 0, QVariant()});
            return;
        }
        const double u = rng.unit();
        const QString type = u < 0.55   ? db::proc::kNotaDeVenta
                             : u < 0.95 ? db::proc::kBoletaDeVenta
                                        : db::proc::kFactura;
        QVariant series;
        QVariant receipt;
        if (type == db::proc::kBoletaDeVenta) {
            series = QStringLiteral("B001");
            receipt = ++boletas_;
        } else if (type == db::proc::kFactura) {
            series = QStringLiteral("F001");
            receipt = ++facturas_;
        }
        sales_->add({number, facFecha, seller, host,
                     sold > 0 ? db::proc::kDescargado : db::proc::kSinStock, type, series, receipt,
                     type == db::proc::kBoletaDeVenta && lastDay ? 1 : 0,
                     db::proc::cashierTag(kCashierUser, host)});
    }

    void writeIntakes(Rng& rng, const QDate& day) {
        const int count = int(prices_.cost.size());
        const int intakes = rng.between(20, 40);
        for (int i = 0; i < intakes; ++i) {
            const int code = rng.between(1, count);
            const int units = rng.between(10, 300);
            const QVariant when = at(day, 7 * 3600 + 60 * i);
            intakes_->add({++intakeKey_, code, 3, rng.between(1, kSuppliers), units,
                           double(prices_.cost[code - 1]) / 100.0, when,
                           at(day.addDays(rng.between(180, 1000)), 0), pick(rng, kDocuments),
                           QStringLiteral("F%1-%2")
                               .arg(rng.between(1, 9), 3, 10, QLatin1Char('0'))
                               .arg(intakeKey_, 6, 10, QLatin1Char('0'))});
            entries_->add({code, when, units, when});
        }
    }

    static constexpr int kSuppliers = 3;

    db::Db& db_;
    const ScaleOptions& options_;
    ScaleCounts counts_;
    Prices prices_;
    qint64 stride_ = 1;
    int boletas_ = 0;
    int facturas_ = 0;
    int intakeKey_ = 0;
    std::unique_ptr<BulkInsert> sales_;
    std::unique_ptr<BulkInsert> lines_;
    std::unique_ptr<BulkInsert> returns_;
    std::unique_ptr<BulkInsert> intakes_;
    std::unique_ptr<BulkInsert> entries_;
};

}  // namespace

QString pharmacyName(Rng& rng) {
    QString name = pickSkewed(rng, kOnsets);
    const double u = rng.unit();
    const int middles = u < 0.3 ? 0 : u < 0.8 ? 1 : 2;
    for (int i = 0; i < middles; ++i)
        name += pick(rng, kMiddles);
    name += pick(rng, kCodas);
    if (rng.chance(0.25))
        name += QLatin1Char(' ') + pick(rng, kVariants);
    if (rng.chance(0.45))
        name += QLatin1Char(' ') + pick(rng, kStrengths);
    return name;
}

QString brandName(Rng& rng) {
    QString core = pick(rng, kOnsets) + pick(rng, kMiddles);
    if (rng.chance(0.5))
        core += pick(rng, kCodas);
    return pick(rng, kBrandForms).arg(core);
}

ScaleCounts generateScaleData(db::Db& db, const ScaleOptions& options) {
    const bool sqlite = db.dialect() == db::Dialect::SQLite;
    // A page cache that holds the whole load while it is written, then the connection's usual
    // one back, so the benchmarks measure what the program's own connections get.
    const QVariant cacheSize = sqlite ? db.scalar(QStringLiteral("PRAGMA cache_size")) : QVariant();
    if (sqlite)
        db.exec(QStringLiteral("PRAGMA cache_size = -262144"));
    ScaleCounts counts;
    {
        db::Db::Transaction tx(db);
        counts = Generator(db, options).run();
        tx.commit();
    }
    if (sqlite)
        db.exec(QStringLiteral("PRAGMA cache_size = %1").arg(cacheSize.toInt()));
    else
        db.exec(QStringLiteral("ANALYZE"));
    return counts;
}

ScaleCounts generateAndReport(db::Db& db, const ScaleOptions& options) {
    QElapsedTimer timer;
    timer.start();
    const ScaleCounts c = generateScaleData(db, options);
    std::cerr << "scale data on " << (db.dialect() == db::Dialect::SQLite ? "SQLite" : "PostgreSQL")
              << ": " << c.links << " links (" << c.products << " products, " << c.brands
              << " brands, " << c.presentations << " presentations), " << c.sales << " sales with "
              << c.saleLines << " lines, " << c.intakes << " intakes, " << c.returns
              << " returns in " << timer.elapsed() / 1000.0 << " s\n";
    return c;
}

YearAndDay::YearAndDay(db::Dialect dialect) : year_(dialect), day_(dialect) {
    ScaleOptions options;
    options.days = 365;
    generateAndReport(year_.db(), options);
    options.days = 1;
    generateAndReport(day_.db(), options);
}

FiveYearsAndDay::FiveYearsAndDay(db::Dialect dialect) : day_(dialect) {
    ScaleOptions options;
    options.days = kDays;
    years_ = keptDatabase(dialect, QStringLiteral("velcaris_shop5y_1"),
                          [&](db::Db& db) { generateAndReport(db, options); });
    options.days = 1;
    generateAndReport(day_.db(), options);
}

}  // namespace bench
