-- Initial schema (PostgreSQL).
-- Identifiers are unquoted and fold to lower case; queries use them unquoted too.
-- Types: char(n)/varchar(n) are VARCHAR(n) holding right-trimmed values; money is BIGINT in
-- ten-thousandths; date-times are TIMESTAMP(0); bit is SMALLINT 0/1; pictures are BYTEA.
-- Keys are assigned by the creating procedures; no other constraint is relied upon.


-- Branches of the shop.
CREATE TABLE SUCURSAL (
    SucCod       INTEGER NOT NULL,
    SucNombre    VARCHAR(20),
    SucCiudad    VARCHAR(35),
    SucDireccion VARCHAR(40),
    SucTelefono  VARCHAR(9),
    SucFoto      BYTEA,                      -- bitmap
    PRIMARY KEY (SucCod)
);

-- User accounts.
CREATE TABLE USUARIO (
    UsuCod           INTEGER NOT NULL,
    SucCod           INTEGER,                -- SUCURSAL
    UsuLogin         VARCHAR(10),
    UsuPassword      VARCHAR(200),           -- one-way hash, never the password itself
    UsuCargo         VARCHAR(20),            -- role
    UsuNombres       VARCHAR(20),
    UsuApellidos     VARCHAR(30),
    UsuDni           VARCHAR(8),
    UsuTelefono      VARCHAR(20),
    UsuEdad          SMALLINT,
    UsuDomicilio     VARCHAR(40),
    UsuFechNac       TIMESTAMP(0),
    UsuEstado        VARCHAR(8),             -- ACTIVO / INACTIVO
    UsuTecla         VARCHAR(2),             -- F5..F9; last character is the seller digit
    UsuFechaIngreso  TIMESTAMP(0),
    UsuFechaRenuncia TIMESTAMP(0),
    UsuFoto          BYTEA,
    PRIMARY KEY (UsuCod)
);

-- Products, independent of brand.
CREATE TABLE PRODUCTO (
    ProdCodigo         INTEGER NOT NULL,
    ProdNomComercial   VARCHAR(110),
    ProdNomGenerico    VARCHAR(110),
    ProdLinea          VARCHAR(60),
    ProDescripcion     VARCHAR(30),
    ProAccionMecanismo VARCHAR(120),
    PRIMARY KEY (ProdCodigo)
);

-- Brands.
CREATE TABLE LABORATORIO (
    LabCodigo      INTEGER NOT NULL,
    LabNombre      VARCHAR(82),
    LabRazSoc      VARCHAR(82),              -- company name given at creation
    LabDescripcion VARCHAR(45),              -- description given at creation
    PRIMARY KEY (LabCodigo)
);

-- Product-brand links; presentations hang from them.
CREATE TABLE PRODUCTO_LABORATORIO (
    ProdLabCod    INTEGER NOT NULL,
    ProdCodigo    INTEGER,                   -- PRODUCTO
    LabCodigo     INTEGER,                   -- LABORATORIO
    ProdLabEstado VARCHAR(8),                -- ACTIVO / INACTIVO
    PRIMARY KEY (ProdLabCod)
);

-- Sellable presentations of a product-brand link.
CREATE TABLE PRESENTACION (
    CodPresentacion     INTEGER NOT NULL,
    ProdLabCod          INTEGER,             -- PRODUCTO_LABORATORIO
    PresTipo            VARCHAR(90),
    PresPrecioCosto     BIGINT,              -- per unit
    PresVenta           BIGINT,              -- per unit
    PresIndicaPosologia VARCHAR(150),
    PresUbicacion       VARCHAR(20),
    PresGenCom          VARCHAR(10),         -- GENERICO / COMERCIAL
    PresUniTodo         VARCHAR(10),         -- UNIDAD / CAJA
    PresStockTotal      SMALLINT,            -- units in stock
    PresPromUni         SMALLINT,            -- minimum stock
    PresEstado          VARCHAR(20),         -- CONTINUO / DISCONTINUO
    PresFoto            BYTEA,
    PresCodDigemid      INTEGER,
    PresNumCaja         INTEGER,             -- units per box given at creation
    PRIMARY KEY (CodPresentacion)
);

-- Sales (headers). A sale is its number within the day plus its date.
CREATE TABLE FACTURA (
    FacNumero      INTEGER NOT NULL,
    FacFecha       TIMESTAMP(0) NOT NULL,
    UsuCod         INTEGER,                  -- seller
    FacHostName    VARCHAR(17),              -- workstation tag
    FacEstado      VARCHAR(13),
    FacTipoSunat   VARCHAR(18),              -- receipt type
    FacSerieSunat  VARCHAR(15),
    FacNumSunat    INTEGER,                  -- receipt number within its type
    FacEstadoSunat SMALLINT CHECK (FacEstadoSunat IN (0, 1)), -- 1 while a boleta waits for the daily summary
    PRIMARY KEY (FacNumero, FacFecha)
);

-- Sale lines.
CREATE TABLE DETAFAC (
    FacNumero       INTEGER NOT NULL,
    FacFecha        TIMESTAMP(0) NOT NULL,
    DetaNumero      INTEGER NOT NULL,
    CodPresentacion INTEGER,
    Cantidad        SMALLINT,
    Importe         BIGINT,                  -- unit price charged
    Costo           BIGINT,                  -- unit cost at the time of sale
    Estado          VARCHAR(13),
    PRIMARY KEY (FacNumero, FacFecha, DetaNumero)
);

-- Discounts applied to sale lines.
CREATE TABLE DESCUENTO (
    FacNumero       INTEGER,
    FacFecha        TIMESTAMP(0),
    DetaNumero      INTEGER,
    CodPresentacion INTEGER,
    DesNombre       VARCHAR(20),
    DesUnidades     SMALLINT,
    DesImporte      BIGINT,
    DesFecha        TIMESTAMP(0)
);

-- Returns of units of discharged lines; (FacNumero, FacFecha, DetaNumero) is the line.
CREATE TABLE DEVOLUCION (
    DetaNumero      INTEGER,
    FacFecha        TIMESTAMP(0),
    DevUnidades     SMALLINT,
    DevFecha        TIMESTAMP(0),
    FacNumero       INTEGER,
    CodPresentacion INTEGER,
    DevCajero       VARCHAR(20)              -- login of the cashier
);

-- Cash withdrawn from the till.
CREATE TABLE EGRESO (
    EgreCod    INTEGER NOT NULL,
    UsuCod     INTEGER,
    EgreFecha  TIMESTAMP(0),
    EgreMonto  BIGINT,
    EgreMotivo VARCHAR(100),
    PRIMARY KEY (EgreCod)
);

-- History of the tax rate and receipt series; the highest IgvCod is current.
CREATE TABLE IGV (
    IgvCod          INTEGER NOT NULL,
    UsuCod          INTEGER,
    IgvValor        DOUBLE PRECISION,        -- rate in percent
    IgvFecha        TIMESTAMP(0),
    IgvSerieBoleta  VARCHAR(13),
    IgvSerieFactura VARCHAR(13),
    PRIMARY KEY (IgvCod)
);

-- Suppliers.
CREATE TABLE PROVEEDOR (
    ProvCod      INTEGER NOT NULL,
    ProvRazSoc   VARCHAR(50),
    ProvTelefono VARCHAR(10),
    ProvTelefax  VARCHAR(24),
    ProvEmail    VARCHAR(25),
    ProvCuenta   VARCHAR(50),
    ProvDescrip  VARCHAR(50),
    ProvEstado   VARCHAR(8),
    PRIMARY KEY (ProvCod)
);

-- Suppliers' sales representatives.
CREATE TABLE REPRESENTANTE (
    RepCodigo    INTEGER NOT NULL,
    ProvCod      INTEGER,
    RepNombre    VARCHAR(40),
    RepApellidos VARCHAR(60),
    RepTelefono  VARCHAR(12),
    RepEmail     VARCHAR(30),
    RepDescrip   TEXT,
    RepFoto      BYTEA,
    PRIMARY KEY (RepCodigo)
);

-- Purchase orders.
CREATE TABLE PEDIDO (
    PedNumero       INTEGER NOT NULL,
    RepCodigo       INTEGER,
    UsuCod          INTEGER,
    PedFechaPedido  TIMESTAMP(0),
    PedFechaEntrega TIMESTAMP(0),
    PedEstado       VARCHAR(12),
    PRIMARY KEY (PedNumero)
);

-- Instalments of an order.
CREATE TABLE PAGO (
    PagCod       INTEGER NOT NULL,
    PedNumero    INTEGER,
    PagFechaPago TIMESTAMP(0),
    PagMonto     DOUBLE PRECISION,
    PagEstado    VARCHAR(12),
    PRIMARY KEY (PagCod)
);

-- Stock intakes, one per batch with its expiry date.
CREATE TABLE KARDEXINGRESO (
    KarInCod          INTEGER NOT NULL,
    CodPresentacion   INTEGER,
    UsuCod            INTEGER,
    ProvCod           INTEGER,
    KarInStock        SMALLINT,              -- units received
    KarInPc           DOUBLE PRECISION,      -- unit cost
    KarInFechaIngreso TIMESTAMP(0),
    KarInFechaCad     TIMESTAMP(0),          -- expiry
    KarInDocTipo      VARCHAR(20),
    KarInNumDoc       VARCHAR(20),
    PRIMARY KEY (KarInCod)
);

-- Stock-entry history per presentation.
CREATE TABLE PRESFECHCAD (
    CodPresentacion INTEGER,
    PresFechIngre   TIMESTAMP(0),
    PresStockActual SMALLINT,
    Hora            TIMESTAMP(0)             -- date and time of the entry; shown as its time of day
);

-- Supplier exchanges of expiring stock.
CREATE TABLE CANJE (
    CanCod          INTEGER NOT NULL,
    CodPresentacion INTEGER,
    KarInCod        INTEGER,                 -- intake exchanged
    CanEstado       VARCHAR(3),              -- PCD sent back / PCR received
    CanFechaSalida  TIMESTAMP(0),
    CanFechaIngreso TIMESTAMP(0),
    CanUnidades     SMALLINT,
    CanUnidPen      SMALLINT,
    PRIMARY KEY (CanCod)
);

-- Inventory cross-check entries.
CREATE TABLE CRUCE (
    CruceCod        INTEGER NOT NULL,
    CodPresentacion INTEGER,
    UsuCod          INTEGER,
    CruCantidad     SMALLINT,
    CruEstado       VARCHAR(5),              -- SOBRA / FALTA
    CruFecha        TIMESTAMP(0),
    PRIMARY KEY (CruceCod)
);

-- Inventory periods; the highest InvCod is current.
CREATE TABLE INVENTARIO (
    InvCod   INTEGER NOT NULL,
    InvFecha TIMESTAMP(0),                   -- start of the period
    PRIMARY KEY (InvCod)
);

-- Stock adjustments within an inventory period.
CREATE TABLE INVENTARIO_DETALLE (
    InvDetaCod      INTEGER NOT NULL,
    UsuCod          INTEGER,
    CodPresentacion INTEGER,
    InvCod          INTEGER,
    InvDetaTipo     VARCHAR(13),             -- SOBRA / FALTA
    InvDetaUni      SMALLINT,                -- negative for FALTA
    InvDetaPc       BIGINT,
    InvDetaPv       BIGINT,
    InvDetaFecha    TIMESTAMP(0),
    PRIMARY KEY (InvDetaCod)
);

-- Shipments.
CREATE TABLE ENVIO (
    EnvCod          INTEGER NOT NULL,
    CodPresentacion INTEGER,
    EnvStock        SMALLINT,                -- units
    EnvFecha        TIMESTAMP(0),
    PRIMARY KEY (EnvCod)
);

-- Price-change log: one row per edit that changes a cost or sale price.
CREATE TABLE SEGUIMIENTO_PRECIO (
    SegCod          INTEGER NOT NULL,
    CodPresentacion INTEGER,
    UsuCod          INTEGER,
    SegFecha        TIMESTAMP(0),
    SegAnPc         BIGINT,                  -- old cost
    SegAnPv         BIGINT,                  -- old sale price
    SegNewPc        BIGINT,                  -- new cost
    SegNewPv        BIGINT,                  -- new sale price
    PRIMARY KEY (SegCod)
);

-- Attendance: one row per login, closed at logout.
CREATE TABLE ASISTENCIA (
    AsiCod      INTEGER NOT NULL,
    UsuCod      INTEGER,
    AsiPrograma VARCHAR(20),
    AsiIngreso  TIMESTAMP(0),
    AsiSalida   TIMESTAMP(0),                -- null while the session is open
    PRIMARY KEY (AsiCod)
);

-- Workstations of the shop, by computer name.
CREATE TABLE ESTACION (
    EstNombre         VARCHAR(30) NOT NULL,
    EstUltimaConexion TIMESTAMP(0),
    PRIMARY KEY (EstNombre)
);

-- Messages addressed to workstations.
CREATE TABLE MENSAJE (
    MenCod    INTEGER NOT NULL,
    EstNombre VARCHAR(30),                   -- addressee
    MenTexto  VARCHAR(255),
    MenFecha  TIMESTAMP(0),
    MenLeido  SMALLINT CHECK (MenLeido IN (0, 1)),
    PRIMARY KEY (MenCod)
);

-- Program settings shared by every workstation.
CREATE TABLE PARAMETRO (
    ParNombre VARCHAR(40) NOT NULL,
    ParValor  VARCHAR(200),
    PRIMARY KEY (ParNombre)
);

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
