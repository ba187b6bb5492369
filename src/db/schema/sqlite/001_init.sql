-- Initial schema (SQLite).
-- Types: texts are TEXT holding right-trimmed values; money is INTEGER in ten-thousandths;
-- date-times are TEXT "YYYY-MM-DD HH:MM:SS"; bit is INTEGER 0/1; pictures are BLOB.
-- Tables are STRICT and the checks refuse what PostgreSQL's column types refuse (a text longer
-- than its size, a smallint out of range, a date-time in another format, a money amount bound
-- as a real), so a fault shows on both engines alike.
-- Keys are assigned by the creating procedures; no other constraint is relied upon.


-- Branches of the shop.
CREATE TABLE SUCURSAL (
    SucCod       INTEGER NOT NULL,
    SucNombre    TEXT CHECK (length(SucNombre) <= 20),
    SucCiudad    TEXT CHECK (length(SucCiudad) <= 35),
    SucDireccion TEXT CHECK (length(SucDireccion) <= 40),
    SucTelefono  TEXT CHECK (length(SucTelefono) <= 9),
    SucFoto      BLOB,                       -- bitmap
    PRIMARY KEY (SucCod)
) STRICT;

-- User accounts.
CREATE TABLE USUARIO (
    UsuCod           INTEGER NOT NULL,
    SucCod           INTEGER,                -- SUCURSAL
    UsuLogin         TEXT CHECK (length(UsuLogin) <= 10),
    UsuPassword      TEXT CHECK (length(UsuPassword) <= 200), -- one-way hash, never the password itself
    UsuCargo         TEXT CHECK (length(UsuCargo) <= 20), -- role
    UsuNombres       TEXT CHECK (length(UsuNombres) <= 20),
    UsuApellidos     TEXT CHECK (length(UsuApellidos) <= 30),
    UsuDni           TEXT CHECK (length(UsuDni) <= 8),
    UsuTelefono      TEXT CHECK (length(UsuTelefono) <= 20),
    UsuEdad          INTEGER CHECK (UsuEdad BETWEEN -32768 AND 32767),
    UsuDomicilio     TEXT CHECK (length(UsuDomicilio) <= 40),
    UsuFechNac       TEXT CHECK (datetime(UsuFechNac) IS UsuFechNac),
    UsuEstado        TEXT CHECK (length(UsuEstado) <= 8), -- ACTIVO / INACTIVO
    UsuTecla         TEXT CHECK (length(UsuTecla) <= 2), -- F5..F9; last character is the seller digit
    UsuFechaIngreso  TEXT CHECK (datetime(UsuFechaIngreso) IS UsuFechaIngreso),
    UsuFechaRenuncia TEXT CHECK (datetime(UsuFechaRenuncia) IS UsuFechaRenuncia),
    UsuFoto          BLOB,
    PRIMARY KEY (UsuCod)
) STRICT;

-- Products, independent of brand.
CREATE TABLE PRODUCTO (
    ProdCodigo         INTEGER NOT NULL,
    ProdNomComercial   TEXT CHECK (length(ProdNomComercial) <= 110),
    ProdNomGenerico    TEXT CHECK (length(ProdNomGenerico) <= 110),
    ProdLinea          TEXT CHECK (length(ProdLinea) <= 60),
    ProDescripcion     TEXT CHECK (length(ProDescripcion) <= 30),
    ProAccionMecanismo TEXT CHECK (length(ProAccionMecanismo) <= 120),
    PRIMARY KEY (ProdCodigo)
) STRICT;

-- Brands.
CREATE TABLE LABORATORIO (
    LabCodigo      INTEGER NOT NULL,
    LabNombre      TEXT CHECK (length(LabNombre) <= 82),
    LabRazSoc      TEXT CHECK (length(LabRazSoc) <= 82), -- company name given at creation
    LabDescripcion TEXT CHECK (length(LabDescripcion) <= 45), -- description given at creation
    PRIMARY KEY (LabCodigo)
) STRICT;

-- Product-brand links; presentations hang from them.
CREATE TABLE PRODUCTO_LABORATORIO (
    ProdLabCod    INTEGER NOT NULL,
    ProdCodigo    INTEGER,                   -- PRODUCTO
    LabCodigo     INTEGER,                   -- LABORATORIO
    ProdLabEstado TEXT CHECK (length(ProdLabEstado) <= 8), -- ACTIVO / INACTIVO
    PRIMARY KEY (ProdLabCod)
) STRICT;

-- Sellable presentations of a product-brand link.
CREATE TABLE PRESENTACION (
    CodPresentacion     INTEGER NOT NULL,
    ProdLabCod          INTEGER,             -- PRODUCTO_LABORATORIO
    PresTipo            TEXT CHECK (length(PresTipo) <= 90),
    PresPrecioCosto     INTEGER,             -- per unit
    PresVenta           INTEGER,             -- per unit
    PresIndicaPosologia TEXT CHECK (length(PresIndicaPosologia) <= 150),
    PresUbicacion       TEXT CHECK (length(PresUbicacion) <= 20),
    PresGenCom          TEXT CHECK (length(PresGenCom) <= 10), -- GENERICO / COMERCIAL
    PresUniTodo         TEXT CHECK (length(PresUniTodo) <= 10), -- UNIDAD / CAJA
    PresStockTotal      INTEGER CHECK (PresStockTotal BETWEEN -32768 AND 32767), -- units in stock
    PresPromUni         INTEGER CHECK (PresPromUni BETWEEN -32768 AND 32767), -- minimum stock
    PresEstado          TEXT CHECK (length(PresEstado) <= 20), -- CONTINUO / DISCONTINUO
    PresFoto            BLOB,
    PresCodDigemid      INTEGER,
    PresNumCaja         INTEGER,             -- units per box given at creation
    PRIMARY KEY (CodPresentacion)
) STRICT;

-- Sales (headers). A sale is its number within the day plus its date.
CREATE TABLE FACTURA (
    FacNumero      INTEGER NOT NULL,
    FacFecha       TEXT NOT NULL CHECK (datetime(FacFecha) IS FacFecha),
    UsuCod         INTEGER,                  -- seller
    FacHostName    TEXT CHECK (length(FacHostName) <= 17), -- workstation tag
    FacEstado      TEXT CHECK (length(FacEstado) <= 13),
    FacTipoSunat   TEXT CHECK (length(FacTipoSunat) <= 18), -- receipt type
    FacSerieSunat  TEXT CHECK (length(FacSerieSunat) <= 15),
    FacNumSunat    INTEGER,                  -- receipt number within its type
    FacEstadoSunat INTEGER CHECK (FacEstadoSunat IN (0, 1)), -- 1 while a boleta waits for the daily summary
    PRIMARY KEY (FacNumero, FacFecha)
) STRICT;

-- Sale lines.
CREATE TABLE DETAFAC (
    FacNumero       INTEGER NOT NULL,
    FacFecha        TEXT NOT NULL CHECK (datetime(FacFecha) IS FacFecha),
    DetaNumero      INTEGER NOT NULL,
    CodPresentacion INTEGER,
    Cantidad        INTEGER CHECK (Cantidad BETWEEN -32768 AND 32767),
    Importe         INTEGER,                 -- unit price charged
    Costo           INTEGER,                 -- unit cost at the time of sale
    Estado          TEXT CHECK (length(Estado) <= 13),
    PRIMARY KEY (FacNumero, FacFecha, DetaNumero)
) STRICT;

-- Discounts applied to sale lines.
CREATE TABLE DESCUENTO (
    FacNumero       INTEGER,
    FacFecha        TEXT CHECK (datetime(FacFecha) IS FacFecha),
    DetaNumero      INTEGER,
    CodPresentacion INTEGER,
    DesNombre       TEXT CHECK (length(DesNombre) <= 20),
    DesUnidades     INTEGER CHECK (DesUnidades BETWEEN -32768 AND 32767),
    DesImporte      INTEGER,
    DesFecha        TEXT CHECK (datetime(DesFecha) IS DesFecha)
) STRICT;

-- Returns of units of discharged lines; (FacNumero, FacFecha, DetaNumero) is the line.
CREATE TABLE DEVOLUCION (
    DetaNumero      INTEGER,
    FacFecha        TEXT CHECK (datetime(FacFecha) IS FacFecha),
    DevUnidades     INTEGER CHECK (DevUnidades BETWEEN -32768 AND 32767),
    DevFecha        TEXT CHECK (datetime(DevFecha) IS DevFecha),
    FacNumero       INTEGER,
    CodPresentacion INTEGER,
    DevCajero       TEXT CHECK (length(DevCajero) <= 20) -- login of the cashier
) STRICT;

-- Cash withdrawn from the till.
CREATE TABLE EGRESO (
    EgreCod    INTEGER NOT NULL,
    UsuCod     INTEGER,
    EgreFecha  TEXT CHECK (datetime(EgreFecha) IS EgreFecha),
    EgreMonto  INTEGER,
    EgreMotivo TEXT CHECK (length(EgreMotivo) <= 100),
    PRIMARY KEY (EgreCod)
) STRICT;

-- History of the tax rate and receipt series; the highest IgvCod is current.
CREATE TABLE IGV (
    IgvCod          INTEGER NOT NULL,
    UsuCod          INTEGER,
    IgvValor        REAL,                    -- rate in percent
    IgvFecha        TEXT CHECK (datetime(IgvFecha) IS IgvFecha),
    IgvSerieBoleta  TEXT CHECK (length(IgvSerieBoleta) <= 13),
    IgvSerieFactura TEXT CHECK (length(IgvSerieFactura) <= 13),
    PRIMARY KEY (IgvCod)
) STRICT;

-- Suppliers.
CREATE TABLE PROVEEDOR (
    ProvCod      INTEGER NOT NULL,
    ProvRazSoc   TEXT CHECK (length(ProvRazSoc) <= 50),
    ProvTelefono TEXT CHECK (length(ProvTelefono) <= 10),
    ProvTelefax  TEXT CHECK (length(ProvTelefax) <= 24),
    ProvEmail    TEXT CHECK (length(ProvEmail) <= 25),
    ProvCuenta   TEXT CHECK (length(ProvCuenta) <= 50),
    ProvDescrip  TEXT CHECK (length(ProvDescrip) <= 50),
    ProvEstado   TEXT CHECK (length(ProvEstado) <= 8),
    PRIMARY KEY (ProvCod)
) STRICT;

-- Suppliers' sales representatives.
CREATE TABLE REPRESENTANTE (
    RepCodigo    INTEGER NOT NULL,
    ProvCod      INTEGER,
    RepNombre    TEXT CHECK (length(RepNombre) <= 40),
    RepApellidos TEXT CHECK (length(RepApellidos) <= 60),
    RepTelefono  TEXT CHECK (length(RepTelefono) <= 12),
    RepEmail     TEXT CHECK (length(RepEmail) <= 30),
    RepDescrip   TEXT,
    RepFoto      BLOB,
    PRIMARY KEY (RepCodigo)
) STRICT;

-- Purchase orders.
CREATE TABLE PEDIDO (
    PedNumero       INTEGER NOT NULL,
    RepCodigo       INTEGER,
    UsuCod          INTEGER,
    PedFechaPedido  TEXT CHECK (datetime(PedFechaPedido) IS PedFechaPedido),
    PedFechaEntrega TEXT CHECK (datetime(PedFechaEntrega) IS PedFechaEntrega),
    PedEstado       TEXT CHECK (length(PedEstado) <= 12),
    PRIMARY KEY (PedNumero)
) STRICT;

-- Instalments of an order.
CREATE TABLE PAGO (
    PagCod       INTEGER NOT NULL,
    PedNumero    INTEGER,
    PagFechaPago TEXT CHECK (datetime(PagFechaPago) IS PagFechaPago),
    PagMonto     REAL,
    PagEstado    TEXT CHECK (length(PagEstado) <= 12),
    PRIMARY KEY (PagCod)
) STRICT;

-- Stock intakes, one per batch with its expiry date.
CREATE TABLE KARDEXINGRESO (
    KarInCod          INTEGER NOT NULL,
    CodPresentacion   INTEGER,
    UsuCod            INTEGER,
    ProvCod           INTEGER,
    KarInStock        INTEGER CHECK (KarInStock BETWEEN -32768 AND 32767), -- units received
    KarInPc           REAL,                  -- unit cost
    KarInFechaIngreso TEXT CHECK (datetime(KarInFechaIngreso) IS KarInFechaIngreso),
    KarInFechaCad     TEXT CHECK (datetime(KarInFechaCad) IS KarInFechaCad), -- expiry
    KarInDocTipo      TEXT CHECK (length(KarInDocTipo) <= 20),
    KarInNumDoc       TEXT CHECK (length(KarInNumDoc) <= 20),
    PRIMARY KEY (KarInCod)
) STRICT;

-- Stock-entry history per presentation.
CREATE TABLE PRESFECHCAD (
    CodPresentacion INTEGER,
    PresFechIngre   TEXT CHECK (datetime(PresFechIngre) IS PresFechIngre),
    PresStockActual INTEGER CHECK (PresStockActual BETWEEN -32768 AND 32767),
    Hora            TEXT CHECK (datetime(Hora) IS Hora) -- date and time of the entry; shown as its time of day
) STRICT;

-- Supplier exchanges of expiring stock.
CREATE TABLE CANJE (
    CanCod          INTEGER NOT NULL,
    CodPresentacion INTEGER,
    KarInCod        INTEGER,                 -- intake exchanged
    CanEstado       TEXT CHECK (length(CanEstado) <= 3), -- PCD sent back / PCR received
    CanFechaSalida  TEXT CHECK (datetime(CanFechaSalida) IS CanFechaSalida),
    CanFechaIngreso TEXT CHECK (datetime(CanFechaIngreso) IS CanFechaIngreso),
    CanUnidades     INTEGER CHECK (CanUnidades BETWEEN -32768 AND 32767),
    CanUnidPen      INTEGER CHECK (CanUnidPen BETWEEN -32768 AND 32767),
    PRIMARY KEY (CanCod)
) STRICT;

-- Inventory cross-check entries.
CREATE TABLE CRUCE (
    CruceCod        INTEGER NOT NULL,
    CodPresentacion INTEGER,
    UsuCod          INTEGER,
    CruCantidad     INTEGER CHECK (CruCantidad BETWEEN -32768 AND 32767),
    CruEstado       TEXT CHECK (length(CruEstado) <= 5), -- SOBRA / FALTA
    CruFecha        TEXT CHECK (datetime(CruFecha) IS CruFecha),
    PRIMARY KEY (CruceCod)
) STRICT;

-- Inventory periods; the highest InvCod is current.
CREATE TABLE INVENTARIO (
    InvCod   INTEGER NOT NULL,
    InvFecha TEXT CHECK (datetime(InvFecha) IS InvFecha), -- start of the period
    PRIMARY KEY (InvCod)
) STRICT;

-- Stock adjustments within an inventory period.
CREATE TABLE INVENTARIO_DETALLE (
    InvDetaCod      INTEGER NOT NULL,
    UsuCod          INTEGER,
    CodPresentacion INTEGER,
    InvCod          INTEGER,
    InvDetaTipo     TEXT CHECK (length(InvDetaTipo) <= 13), -- SOBRA / FALTA
    InvDetaUni      INTEGER CHECK (InvDetaUni BETWEEN -32768 AND 32767), -- negative for FALTA
    InvDetaPc       INTEGER,
    InvDetaPv       INTEGER,
    InvDetaFecha    TEXT CHECK (datetime(InvDetaFecha) IS InvDetaFecha),
    PRIMARY KEY (InvDetaCod)
) STRICT;

-- Shipments.
CREATE TABLE ENVIO (
    EnvCod          INTEGER NOT NULL,
    CodPresentacion INTEGER,
    EnvStock        INTEGER CHECK (EnvStock BETWEEN -32768 AND 32767), -- units
    EnvFecha        TEXT CHECK (datetime(EnvFecha) IS EnvFecha),
    PRIMARY KEY (EnvCod)
) STRICT;

-- Price-change log: one row per edit that changes a cost or sale price.
CREATE TABLE SEGUIMIENTO_PRECIO (
    SegCod          INTEGER NOT NULL,
    CodPresentacion INTEGER,
    UsuCod          INTEGER,
    SegFecha        TEXT CHECK (datetime(SegFecha) IS SegFecha),
    SegAnPc         INTEGER,                 -- old cost
    SegAnPv         INTEGER,                 -- old sale price
    SegNewPc        INTEGER,                 -- new cost
    SegNewPv        INTEGER,                 -- new sale price
    PRIMARY KEY (SegCod)
) STRICT;

-- Attendance: one row per login, closed at logout.
CREATE TABLE ASISTENCIA (
    AsiCod      INTEGER NOT NULL,
    UsuCod      INTEGER,
    AsiPrograma TEXT CHECK (length(AsiPrograma) <= 20),
    AsiIngreso  TEXT CHECK (datetime(AsiIngreso) IS AsiIngreso),
    AsiSalida   TEXT CHECK (datetime(AsiSalida) IS AsiSalida), -- null while the session is open
    PRIMARY KEY (AsiCod)
) STRICT;

-- Workstations of the shop, by computer name.
CREATE TABLE ESTACION (
    EstNombre         TEXT NOT NULL CHECK (length(EstNombre) <= 30),
    EstUltimaConexion TEXT CHECK (datetime(EstUltimaConexion) IS EstUltimaConexion),
    PRIMARY KEY (EstNombre)
) STRICT;

-- Messages addressed to workstations.
CREATE TABLE MENSAJE (
    MenCod    INTEGER NOT NULL,
    EstNombre TEXT CHECK (length(EstNombre) <= 30), -- addressee
    MenTexto  TEXT CHECK (length(MenTexto) <= 255),
    MenFecha  TEXT CHECK (datetime(MenFecha) IS MenFecha),
    MenLeido  INTEGER CHECK (MenLeido IN (0, 1)),
    PRIMARY KEY (MenCod)
) STRICT;

-- Program settings shared by every workstation.
CREATE TABLE PARAMETRO (
    ParNombre TEXT NOT NULL CHECK (length(ParNombre) <= 40),
    ParValor  TEXT CHECK (length(ParValor) <= 200),
    PRIMARY KEY (ParNombre)
) STRICT;

-- Joins and date ranges the screens and procedures query.
CREATE INDEX IX_USUARIO_UsuLogin ON USUARIO (UsuLogin);
CREATE INDEX IX_PRODUCTO_LABORATORIO_ProdCodigo ON PRODUCTO_LABORATORIO (ProdCodigo);
CREATE INDEX IX_PRODUCTO_LABORATORIO_LabCodigo ON PRODUCTO_LABORATORIO (LabCodigo);
CREATE INDEX IX_PRESENTACION_ProdLabCod ON PRESENTACION (ProdLabCod);
CREATE INDEX IX_FACTURA_FacFecha ON FACTURA (FacFecha);
CREATE INDEX IX_FACTURA_FacTipoSunat_FacNumSunat ON FACTURA (FacTipoSunat, FacNumSunat);
CREATE INDEX IX_DETAFAC_CodPresentacion_FacFecha ON DETAFAC (CodPresentacion, FacFecha);
CREATE INDEX IX_DETAFAC_FacFecha ON DETAFAC (FacFecha);
CREATE INDEX IX_DESCUENTO_FacNumero_FacFecha_DetaNumero ON DESCUENTO (FacNumero, FacFecha, DetaNumero);
CREATE INDEX IX_DESCUENTO_DesFecha ON DESCUENTO (DesFecha);
CREATE INDEX IX_DEVOLUCION_FacNumero_FacFecha_DetaNumero ON DEVOLUCION (FacNumero, FacFecha, DetaNumero);
CREATE INDEX IX_DEVOLUCION_DevFecha ON DEVOLUCION (DevFecha);
CREATE INDEX IX_EGRESO_EgreFecha ON EGRESO (EgreFecha);
CREATE INDEX IX_REPRESENTANTE_ProvCod ON REPRESENTANTE (ProvCod);
CREATE INDEX IX_PEDIDO_RepCodigo ON PEDIDO (RepCodigo);
CREATE INDEX IX_PAGO_PedNumero ON PAGO (PedNumero);
CREATE INDEX IX_KARDEXINGRESO_CodPresentacion ON KARDEXINGRESO (CodPresentacion);
CREATE INDEX IX_KARDEXINGRESO_KarInFechaIngreso ON KARDEXINGRESO (KarInFechaIngreso);
CREATE INDEX IX_KARDEXINGRESO_KarInFechaCad ON KARDEXINGRESO (KarInFechaCad);
CREATE INDEX IX_PRESFECHCAD_CodPresentacion ON PRESFECHCAD (CodPresentacion);
CREATE INDEX IX_CANJE_CodPresentacion ON CANJE (CodPresentacion);
CREATE INDEX IX_CANJE_KarInCod ON CANJE (KarInCod);
CREATE INDEX IX_CRUCE_CodPresentacion ON CRUCE (CodPresentacion);
CREATE INDEX IX_INVENTARIO_DETALLE_InvCod_InvDetaTipo ON INVENTARIO_DETALLE (InvCod, InvDetaTipo);
CREATE INDEX IX_INVENTARIO_DETALLE_CodPresentacion ON INVENTARIO_DETALLE (CodPresentacion);
CREATE INDEX IX_SEGUIMIENTO_PRECIO_CodPresentacion ON SEGUIMIENTO_PRECIO (CodPresentacion);
CREATE INDEX IX_ASISTENCIA_UsuCod ON ASISTENCIA (UsuCod);
CREATE INDEX IX_MENSAJE_EstNombre_MenLeido ON MENSAJE (EstNombre, MenLeido);
