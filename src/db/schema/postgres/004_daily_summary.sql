-- The daily summaries of boletas written for the tax tool, one row per pair of files.
CREATE TABLE RESUMEN (
    ResCod         INTEGER NOT NULL,
    ResFecha       TIMESTAMP(0),    -- generation day, at midnight
    ResCorrelativo INTEGER CHECK (ResCorrelativo BETWEEN 1 AND 999),
    ResArchivo     VARCHAR(40),     -- file name without extension
    ResTemporal    VARCHAR(200),    -- what its temporary names carry
    UsuCod         INTEGER,                  -- 0 before a login
    ResHostName    VARCHAR(30),              -- computer name
    ResMomento     TIMESTAMP(0),
    ResBoletas     INTEGER,
    PRIMARY KEY (ResCod),
    UNIQUE (ResFecha, ResCorrelativo)
);
CREATE UNIQUE INDEX IX_RESUMEN_ResTemporal ON RESUMEN (ResTemporal);

-- The summary that reported a boleta; null while it is not reported.
ALTER TABLE FACTURA ADD COLUMN FacResumen INTEGER;
-- The unreported boletas of a range of days, without reading the reported ones.
CREATE INDEX IX_FACTURA_FacTipoSunat_FacResumen_FacFecha ON FACTURA (FacTipoSunat, FacResumen, FacFecha);
