#include "support/DbTest.h"

#include "db/Migrations.h"

#include <map>
#include <vector>

using core::Money;
using db::Db;

namespace {

enum class Kind { Int, Small, Text, Memo, Money, Float, DateTime, Blob, Bit };

struct Column {
    const char* name;
    Kind kind;
    int size = 0;  // characters, for Kind::Text
};

struct Table {
    const char* name;
    std::vector<Column> columns;
    std::vector<const char*> key;
};

// The schema every screen and procedure relies on, column by column.
const std::vector<Table>& expectedTables() {
    using enum Kind;
    static const std::vector<Table> tables = {
        {"USUARIO",
         {{"UsuCod", Int},
          {"SucCod", Int},
          {"UsuLogin", Text, 10},
          {"UsuPassword", Text, 200},
          {"UsuCargo", Text, 20},
          {"UsuNombres", Text, 20},
          {"UsuApellidos", Text, 30},
          {"UsuDni", Text, 8},
          {"UsuTelefono", Text, 20},
          {"UsuEdad", Small},
          {"UsuDomicilio", Text, 40},
          {"UsuFechNac", DateTime},
          {"UsuEstado", Text, 8},
          {"UsuTecla", Text, 2},
          {"UsuFechaIngreso", DateTime},
          {"UsuFechaRenuncia", DateTime},
          {"UsuFoto", Blob}},
         {"UsuCod"}},
        {"SUCURSAL",
         {{"SucCod", Int},
          {"SucNombre", Text, 20},
          {"SucCiudad", Text, 35},
          {"SucDireccion", Text, 40},
          {"SucTelefono", Text, 9},
          {"SucFoto", Blob}},
         {"SucCod"}},
        {"PRODUCTO",
         {{"ProdCodigo", Int},
          {"ProdNomComercial", Text, 110},
          {"ProdNomGenerico", Text, 110},
          {"ProdLinea", Text, 60},
          {"ProDescripcion", Text, 30},
          {"ProAccionMecanismo", Text, 120}},
         {"ProdCodigo"}},
        {"LABORATORIO",
         {{"LabCodigo", Int},
          {"LabNombre", Text, 82},
          {"LabRazSoc", Text, 82},
          {"LabDescripcion", Text, 45}},
         {"LabCodigo"}},
        {"PRODUCTO_LABORATORIO",
         {{"ProdLabCod", Int}, {"ProdCodigo", Int}, {"LabCodigo", Int}, {"ProdLabEstado", Text, 8}},
         {"ProdLabCod"}},
        {"PRESENTACION",
         {{"CodPresentacion", Int},
          {"ProdLabCod", Int},
          {"PresTipo", Text, 90},
          {"PresPrecioCosto", Money},
          {"PresVenta", Money},
          {"PresIndicaPosologia", Text, 150},
          {"PresUbicacion", Text, 20},
          {"PresGenCom", Text, 10},
          {"PresUniTodo", Text, 10},
          {"PresStockTotal", Small},
          {"PresPromUni", Small},
          {"PresEstado", Text, 20},
          {"PresFoto", Blob},
          {"PresCodDigemid", Int},
          {"PresNumCaja", Int}},
         {"CodPresentacion"}},
        {"FACTURA",
         {{"FacNumero", Int},
          {"FacFecha", DateTime},
          {"UsuCod", Int},
          {"FacHostName", Text, 17},
          {"FacEstado", Text, 13},
          {"FacTipoSunat", Text, 18},
          {"FacSerieSunat", Text, 15},
          {"FacNumSunat", Int},
          {"FacEstadoSunat", Bit},
          {"FacResumen", Int}},
         {"FacNumero", "FacFecha"}},
        {"DETAFAC",
         {{"FacNumero", Int},
          {"FacFecha", DateTime},
          {"DetaNumero", Int},
          {"CodPresentacion", Int},
          {"Cantidad", Small},
          {"Importe", Money},
          {"Costo", Money},
          {"Estado", Text, 13}},
         {"FacNumero", "FacFecha", "DetaNumero"}},
        {"DESCUENTO",
         {{"FacNumero", Int},
          {"FacFecha", DateTime},
          {"DetaNumero", Int},
          {"CodPresentacion", Int},
          {"DesNombre", Text, 20},
          {"DesUnidades", Small},
          {"DesImporte", Money},
          {"DesFecha", DateTime}},
         {}},
        {"DEVOLUCION",
         {{"FacNumero", Int},
          {"FacFecha", DateTime},
          {"DetaNumero", Int},
          {"CodPresentacion", Int},
          {"DevUnidades", Small},
          {"DevFecha", DateTime},
          {"DevCajero", Text, 20}},
         {}},
        {"EGRESO",
         {{"EgreCod", Int},
          {"UsuCod", Int},
          {"EgreFecha", DateTime},
          {"EgreMonto", Money},
          {"EgreMotivo", Text, 100}},
         {"EgreCod"}},
        {"IGV",
         {{"IgvCod", Int},
          {"UsuCod", Int},
          {"IgvValor", Float},
          {"IgvFecha", DateTime},
          {"IgvSerieBoleta", Text, 13},
          {"IgvSerieFactura", Text, 13}},
         {"IgvCod"}},
        {"KARDEXINGRESO",
         {{"KarInCod", Int},
          {"CodPresentacion", Int},
          {"UsuCod", Int},
          {"ProvCod", Int},
          {"KarInStock", Small},
          {"KarInPc", Float},
          {"KarInFechaIngreso", DateTime},
          {"KarInFechaCad", DateTime},
          {"KarInDocTipo", Text, 20},
          {"KarInNumDoc", Text, 20}},
         {"KarInCod"}},
        {"PRESFECHCAD",
         {{"CodPresentacion", Int},
          {"PresFechIngre", DateTime},
          {"PresStockActual", Small},
          {"Hora", DateTime},
          {"KarInCod", Int}},
         {}},
        {"CANJE",
         {{"CanCod", Int},
          {"CodPresentacion", Int},
          {"KarInCod", Int},
          {"CanEstado", Text, 3},
          {"CanFechaSalida", DateTime},
          {"CanFechaIngreso", DateTime},
          {"CanUnidades", Small},
          {"CanUnidPen", Small}},
         {"CanCod"}},
        {"CRUCE",
         {{"CruceCod", Int},
          {"CodPresentacion", Int},
          {"UsuCod", Int},
          {"CruCantidad", Small},
          {"CruEstado", Text, 5},
          {"CruFecha", DateTime}},
         {"CruceCod"}},
        {"INVENTARIO", {{"InvCod", Int}, {"InvFecha", DateTime}}, {"InvCod"}},
        {"INVENTARIO_DETALLE",
         {{"InvDetaCod", Int},
          {"UsuCod", Int},
          {"CodPresentacion", Int},
          {"InvCod", Int},
          {"InvDetaTipo", Text, 13},
          {"InvDetaUni", Small},
          {"InvDetaPc", Money},
          {"InvDetaPv", Money},
          {"InvDetaFecha", DateTime}},
         {"InvDetaCod"}},
        {"ENVIO",
         {{"EnvCod", Int}, {"CodPresentacion", Int}, {"EnvStock", Small}, {"EnvFecha", DateTime}},
         {"EnvCod"}},
        {"PROVEEDOR",
         {{"ProvCod", Int},
          {"ProvRazSoc", Text, 50},
          {"ProvTelefono", Text, 10},
          {"ProvTelefax", Text, 24},
          {"ProvEmail", Text, 25},
          {"ProvCuenta", Text, 50},
          {"ProvDescrip", Text, 50},
          {"ProvEstado", Text, 8}},
         {"ProvCod"}},
        {"REPRESENTANTE",
         {{"RepCodigo", Int},
          {"ProvCod", Int},
          {"RepNombre", Text, 40},
          {"RepApellidos", Text, 60},
          {"RepTelefono", Text, 12},
          {"RepEmail", Text, 30},
          {"RepDescrip", Memo},
          {"RepFoto", Blob}},
         {"RepCodigo"}},
        {"PEDIDO",
         {{"PedNumero", Int},
          {"RepCodigo", Int},
          {"UsuCod", Int},
          {"PedFechaPedido", DateTime},
          {"PedFechaEntrega", DateTime},
          {"PedEstado", Text, 12}},
         {"PedNumero"}},
        {"PAGO",
         {{"PagCod", Int},
          {"PedNumero", Int},
          {"PagFechaPago", DateTime},
          {"PagMonto", Float},
          {"PagEstado", Text, 12}},
         {"PagCod"}},
        {"SEGUIMIENTO_PRECIO",
         {{"SegCod", Int},
          {"CodPresentacion", Int},
          {"UsuCod", Int},
          {"SegFecha", DateTime},
          {"SegAnPc", Money},
          {"SegAnPv", Money},
          {"SegNewPc", Money},
          {"SegNewPv", Money}},
         {"SegCod"}},
        {"ASISTENCIA",
         {{"AsiCod", Int},
          {"UsuCod", Int},
          {"AsiPrograma", Text, 20},
          {"AsiIngreso", DateTime},
          {"AsiSalida", DateTime}},
         {"AsiCod"}},
        {"ESTACION", {{"EstNombre", Text, 30}, {"EstUltimaConexion", DateTime}}, {"EstNombre"}},
        {"MENSAJE",
         {{"MenCod", Int},
          {"EstNombre", Text, 30},
          {"MenTexto", Text, 255},
          {"MenFecha", DateTime},
          {"MenLeido", Bit}},
         {"MenCod"}},
        {"PARAMETRO", {{"ParNombre", Text, 40}, {"ParValor", Text, 200}}, {"ParNombre"}},
        {"RESUMEN",
         {{"ResCod", Int},
          {"ResFecha", DateTime},
          {"ResCorrelativo", Int},
          {"ResArchivo", Text, 40},
          {"ResTemporal", Text, 200},
          {"UsuCod", Int},
          {"ResHostName", Text, 30},
          {"ResMomento", DateTime},
          {"ResBoletas", Int}},
         {"ResCod"}},
    };
    return tables;
}

// A column as the live catalog describes it.
struct LiveColumn {
    QString type;
    int size = 0;
    int datetimePrecision = -1;
    int keyPosition = 0;  // 1-based place in the primary key, 0 when not part of it
};

using Catalog = std::map<QString, LiveColumn>;  // by lower-case column name

Catalog sqliteCatalog(Db& db, const QString& table) {
    Catalog out;
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?)"), {table});
    while (q.next())
        out[q.value(0).toString().toLower()] = {q.value(1).toString().toUpper(), 0, -1,
                                                q.value(2).toInt()};
    return out;
}

Catalog postgresCatalog(Db& db, const QString& table) {
    Catalog out;
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT column_name, data_type, character_maximum_length, "
                               "datetime_precision FROM information_schema.columns "
                               "WHERE table_schema = current_schema() AND table_name = ?"),
                {table.toLower()});
    while (q.next())
        out[q.value(0).toString()] = {q.value(1).toString(), q.value(2).toInt(),
                                      q.value(3).isNull() ? -1 : q.value(3).toInt(), 0};
    QSqlQuery k =
        db.exec(QStringLiteral(
                    "SELECT k.column_name, k.ordinal_position "
                    "FROM information_schema.table_constraints c "
                    "JOIN information_schema.key_column_usage k "
                    "ON k.constraint_name = c.constraint_name AND k.table_schema = c.table_schema "
                    "WHERE c.constraint_type = 'PRIMARY KEY' AND c.table_schema = current_schema() "
                    "AND c.table_name = ?"),
                {table.toLower()});
    while (k.next())
        out[k.value(0).toString()].keyPosition = k.value(1).toInt();
    return out;
}

Catalog catalog(Db& db, const QString& table) {
    return db.dialect() == db::Dialect::SQLite ? sqliteCatalog(db, table)
                                               : postgresCatalog(db, table);
}

// The type the catalog must report for a kind, as "type" or "type(size)".
QString expectedType(db::Dialect dialect, const Column& c) {
    const bool sqlite = dialect == db::Dialect::SQLite;
    switch (c.kind) {
        case Kind::Int:
            return sqlite ? QStringLiteral("INTEGER") : QStringLiteral("integer");
        case Kind::Small:
        case Kind::Bit:
            return sqlite ? QStringLiteral("INTEGER") : QStringLiteral("smallint");
        case Kind::Money:
            return sqlite ? QStringLiteral("INTEGER") : QStringLiteral("bigint");
        case Kind::Text:
            return sqlite ? QStringLiteral("TEXT")
                          : QStringLiteral("character varying(%1)").arg(c.size);
        case Kind::Memo:
            return sqlite ? QStringLiteral("TEXT") : QStringLiteral("text");
        case Kind::Float:
            return sqlite ? QStringLiteral("REAL") : QStringLiteral("double precision");
        case Kind::DateTime:
            return sqlite ? QStringLiteral("TEXT")
                          : QStringLiteral("timestamp without time zone(0)");
        case Kind::Blob:
            return sqlite ? QStringLiteral("BLOB") : QStringLiteral("bytea");
    }
    return {};
}

QString liveType(const LiveColumn& c) {
    if (c.size > 0)
        return QStringLiteral("%1(%2)").arg(c.type).arg(c.size);
    if (c.datetimePrecision >= 0 && c.type.startsWith(QStringLiteral("timestamp")))
        return QStringLiteral("%1(%2)").arg(c.type).arg(c.datetimePrecision);
    return c.type;
}

// A row found again: its condition and the values to bind.
using Row = std::pair<QString, QVariantList>;

class Schema : public testsupport::DbTest {
protected:
    // Inserts one row holding value in column and unique values in the key columns.
    Row insert(const Table& t, const QString& column, const QVariant& value) {
        QStringList names;
        QVariantList values;
        QStringList where;
        QVariantList whereValues;
        ++serial_;
        for (const char* key : t.key) {
            const QString k = QString::fromLatin1(key);
            const Column& c = columnOf(t, k);
            QVariant v =
                c.kind == Kind::DateTime
                    ? QVariant(QDateTime(QDate(2026, 3, 7), QTime(0, 0, 1)).addSecs(serial_))
                : c.kind == Kind::Text ? QVariant(QStringLiteral("K%1").arg(serial_))
                                       : QVariant(serial_);
            if (k.compare(column, Qt::CaseInsensitive) == 0)
                v = value;
            names << k;
            values << v;
            where << k + QStringLiteral(" = ?");
            whereValues << v;
        }
        if (!names.contains(column)) {
            names << column;
            values << value;
        }
        if (t.key.empty()) {
            // A keyless row is found again by a marker in its first integer column.
            const QString marker = QString::fromLatin1(firstIntColumn(t));
            names << marker;
            values << serial_;
            where << marker + QStringLiteral(" = ?");
            whereValues << serial_;
        }
        QStringList marks;
        for (qsizetype i = 0; i < names.size(); ++i)
            marks << QStringLiteral("?");
        db().exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(QString::fromLatin1(t.name), names.join(QStringLiteral(", ")),
                           marks.join(QStringLiteral(", "))),
                  values);
        return {where.join(QStringLiteral(" AND ")), whereValues};
    }

    QVariant readBack(const Table& t, const QString& column, const Row& row) {
        return db().scalar(QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                               .arg(column, QString::fromLatin1(t.name), row.first),
                           row.second);
    }

    // Every (table, column) of a kind.
    static std::vector<std::pair<const Table*, const Column*>> columnsOfKind(Kind kind) {
        std::vector<std::pair<const Table*, const Column*>> out;
        for (const Table& t : expectedTables())
            for (const Column& c : t.columns)
                if (c.kind == kind)
                    out.emplace_back(&t, &c);
        return out;
    }

private:
    static const Column& columnOf(const Table& t, const QString& name) {
        for (const Column& c : t.columns)
            if (name == QString::fromLatin1(c.name))
                return c;
        throw std::logic_error("unknown column");
    }
    static const char* firstIntColumn(const Table& t) {
        for (const Column& c : t.columns)
            if (c.kind == Kind::Int)
                return c.name;
        throw std::logic_error("no integer column");
    }

    int serial_ = 0;
};

TEST_P(Schema, EveryTableHasEveryColumnWithItsType) {
    for (const Table& t : expectedTables()) {
        const Catalog live = catalog(db(), QString::fromLatin1(t.name));
        ASSERT_FALSE(live.empty()) << "missing table " << t.name;
        for (const Column& c : t.columns) {
            const auto found = live.find(QString::fromLatin1(c.name).toLower());
            ASSERT_NE(found, live.end()) << "missing column " << t.name << "." << c.name;
            EXPECT_EQ(liveType(found->second).toStdString(),
                      expectedType(GetParam(), c).toStdString())
                << t.name << "." << c.name;
        }
    }
}

TEST_P(Schema, PrimaryKeysAreTheNamedColumnsInOrder) {
    for (const Table& t : expectedTables()) {
        QStringList key;
        for (const char* k : t.key)
            key << QString::fromLatin1(k).toLower();
        QStringList live(key.size());
        int extra = 0;
        for (const auto& [name, column] : catalog(db(), QString::fromLatin1(t.name))) {
            if (column.keyPosition > 0 && column.keyPosition <= key.size())
                live[column.keyPosition - 1] = name;
            else if (column.keyPosition > 0)
                ++extra;
        }
        EXPECT_EQ(live.join(QLatin1Char(',')).toStdString(),
                  key.join(QLatin1Char(',')).toStdString())
            << t.name;
        EXPECT_EQ(extra, 0) << t.name;
    }
}

TEST_P(Schema, SalesOfTheSameNumberOnDifferentDaysAreDifferentSales) {
    const QString sql =
        QStringLiteral("INSERT INTO FACTURA (FacNumero, FacFecha, FacEstado) VALUES (?, ?, ?)");
    const QDateTime monday(QDate(2026, 3, 9), QTime(0, 0, 1));
    db().exec(sql, {25, monday, QStringLiteral("NO DESCARGADO")});
    db().exec(sql, {25, monday.addDays(1), QStringLiteral("NO DESCARGADO")});
    EXPECT_THROW(db().exec(sql, {25, monday, QStringLiteral("DESCARGADO")}), db::Error);

    const QString line = QStringLiteral(
        "INSERT INTO DETAFAC (FacNumero, FacFecha, DetaNumero, Cantidad) VALUES (?, ?, ?, ?)");
    db().exec(line, {25, monday, 1, 2});
    db().exec(line, {25, monday.addDays(1), 1, 3});
    EXPECT_THROW(db().exec(line, {25, monday, 1, 4}), db::Error);
    EXPECT_EQ(db::integer(db().scalar(
                  QStringLiteral("SELECT SUM(D.Cantidad) FROM FACTURA F, DETAFAC D "
                                 "WHERE F.FacNumero = D.FacNumero AND F.FacFecha = D.FacFecha "
                                 "AND F.FacFecha = ?"),
                  {monday})),
              2);
}

TEST_P(Schema, TextColumnsHoldExactlyTheirSizeInCharacters) {
    for (const auto& [t, c] : columnsOfKind(Kind::Text)) {
        const QString full(c->size, QChar(u'Ñ'));
        Row row;
        ASSERT_NO_THROW(row = insert(*t, QString::fromLatin1(c->name), full))
            << t->name << "." << c->name;
        EXPECT_EQ(db::text(readBack(*t, QString::fromLatin1(c->name), row)).toStdString(),
                  full.toStdString())
            << t->name << "." << c->name;
        EXPECT_THROW(insert(*t, QString::fromLatin1(c->name), full + QStringLiteral("X")),
                     db::Error)
            << t->name << "." << c->name;
    }
}

TEST_P(Schema, MoneyColumnsKeepFourDecimalsBeyondThirtyTwoBits) {
    const Money amount = Money::fromRaw(98765432101234LL);  // 9876543210.1234
    for (const auto& [t, c] : columnsOfKind(Kind::Money)) {
        Row row;
        ASSERT_NO_THROW(row = insert(*t, QString::fromLatin1(c->name), QVariant::fromValue(amount)))
            << t->name << "." << c->name;
        EXPECT_EQ(db::money(readBack(*t, QString::fromLatin1(c->name), row)).raw(), amount.raw())
            << t->name << "." << c->name;
    }
}

TEST_P(Schema, SaleTotalsSummedInSqlAreExact) {
    const QDateTime day(QDate(2026, 3, 7), QTime(0, 0, 1));
    const Money prices[] = {Money::fromRaw(12'3457), Money::fromRaw(1), Money::fromRaw(99'9999)};
    for (int i = 0; i < 3; ++i)
        db().exec(QStringLiteral("INSERT INTO DETAFAC (FacNumero, FacFecha, DetaNumero, Cantidad, "
                                 "Importe) VALUES (1, ?, ?, ?, ?)"),
                  {day, i + 1, 1000 * (i + 1), QVariant::fromValue(prices[i])});
    const Money expected = prices[0] * 1000 + prices[1] * 2000 + prices[2] * 3000;
    EXPECT_EQ(db::money(db().scalar(QStringLiteral(
                            "SELECT SUM(Cantidad * Importe) FROM DETAFAC WHERE FacNumero = 1")))
                  .raw(),
              expected.raw());
}

TEST_P(Schema, DateTimeColumnsRoundTripToTheSecondAndCompareInOrder) {
    const QDateTime lastSecond(QDate(2026, 12, 31), QTime(23, 59, 59));
    for (const auto& [t, c] : columnsOfKind(Kind::DateTime)) {
        const QString name = QString::fromLatin1(c->name);
        Row row;
        ASSERT_NO_THROW(row = insert(*t, name, lastSecond)) << t->name << "." << c->name;
        EXPECT_EQ(db::dateTime(readBack(*t, name, row)), lastSecond) << t->name << "." << c->name;
        QVariantList inDay = row.second;
        inDay << QDateTime(lastSecond.date(), QTime(0, 0, 1)) << lastSecond;
        EXPECT_EQ(db::integer(db().scalar(
                      QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 AND %3 BETWEEN ? AND ?")
                          .arg(QString::fromLatin1(t->name), row.first, name),
                      inDay)),
                  1)
            << t->name << "." << c->name;
    }
}

TEST_P(Schema, SmallintAndBitColumnsRefuseWhatTheTypeCannotHold) {
    for (const auto& [t, c] : columnsOfKind(Kind::Small)) {
        const QString name = QString::fromLatin1(c->name);
        EXPECT_NO_THROW(insert(*t, name, -32768)) << t->name << "." << c->name;
        EXPECT_NO_THROW(insert(*t, name, 32767)) << t->name << "." << c->name;
        EXPECT_THROW(insert(*t, name, 32768), db::Error) << t->name << "." << c->name;
    }
    for (const auto& [t, c] : columnsOfKind(Kind::Bit)) {
        const QString name = QString::fromLatin1(c->name);
        EXPECT_NO_THROW(insert(*t, name, true)) << t->name << "." << c->name;
        EXPECT_NO_THROW(insert(*t, name, false)) << t->name << "." << c->name;
        EXPECT_THROW(insert(*t, name, 2), db::Error) << t->name << "." << c->name;
    }
}

TEST_P(Schema, MigratingAgainKeepsTheCatalogAndTheData) {
    db().exec(QStringLiteral("INSERT INTO PARAMETRO (ParNombre, ParValor) VALUES (?, ?)"),
              {QStringLiteral("STOCK_EDITABLE"), QStringLiteral("1")});
    std::map<QString, Catalog> before;
    for (const Table& t : expectedTables())
        before[QString::fromLatin1(t.name)] = catalog(db(), QString::fromLatin1(t.name));
    const int versions =
        db::integer(db().scalar(QStringLiteral("SELECT COUNT(*) FROM schema_version")));

    db::migrate(db());

    for (const auto& [table, columns] : before) {
        const Catalog after = catalog(db(), table);
        ASSERT_EQ(after.size(), columns.size()) << table.toStdString();
        for (const auto& [name, column] : columns) {
            EXPECT_EQ(liveType(after.at(name)).toStdString(), liveType(column).toStdString())
                << table.toStdString();
            EXPECT_EQ(after.at(name).keyPosition, column.keyPosition) << table.toStdString();
        }
    }
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral("SELECT COUNT(*) FROM schema_version"))),
              versions);
    EXPECT_EQ(db::text(db().scalar(QStringLiteral("SELECT ParValor FROM PARAMETRO WHERE "
                                                  "ParNombre = ?"),
                                   {QStringLiteral("STOCK_EDITABLE")})),
              QStringLiteral("1"));
}

VELCARIS_DB_TEST_SUITE(Schema);

}  // namespace
