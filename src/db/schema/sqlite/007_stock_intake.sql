-- Batches of a stock intake while it is staged or applied and not yet confirmed. Each intake has
-- a number of its own (the counter row below) and every row names its workstation, so two
-- intakes at once never touch each other's rows. KarInCod, IngPcAnterior and IngPcNuevo are set
-- when the intake is applied: the batch's KARDEXINGRESO key, the cost the apply replaced and the
-- one it set.
CREATE TABLE KARDEXINGRESO_TEMP (
    IngNumero         INTEGER NOT NULL,
    IngLinea          INTEGER NOT NULL,
    IngEstacion       TEXT NOT NULL CHECK (length(IngEstacion) <= 50),
    CodPresentacion   INTEGER NOT NULL,
    UsuCod            INTEGER NOT NULL,
    ProvCod           INTEGER NOT NULL,
    KarInStock        INTEGER NOT NULL CHECK (KarInStock BETWEEN 1 AND 32767),
    KarInPc           INTEGER NOT NULL,        -- unit cost
    KarInFechaIngreso TEXT NOT NULL CHECK (datetime(KarInFechaIngreso) IS KarInFechaIngreso),
    KarInFechaCad     TEXT NOT NULL CHECK (datetime(KarInFechaCad) IS KarInFechaCad),
    KarInDocTipo      TEXT CHECK (length(KarInDocTipo) <= 20),
    KarInNumDoc       TEXT CHECK (length(KarInNumDoc) <= 20),
    KarInCod          INTEGER,
    IngPcAnterior     INTEGER,
    IngPcNuevo        INTEGER,
    PRIMARY KEY (IngNumero, IngLinea)
) STRICT;
CREATE INDEX IX_KARDEXINGRESO_TEMP_IngEstacion ON KARDEXINGRESO_TEMP (IngEstacion);

-- The batch an entry of the stock history records, so that undoing an intake finds its rows.
ALTER TABLE PRESFECHCAD ADD COLUMN KarInCod INTEGER;
CREATE INDEX IX_PRESFECHCAD_KarInCod ON PRESFECHCAD (KarInCod);

-- The last intake number given out.
INSERT INTO PARAMETRO (ParNombre, ParValor) VALUES ('INGRESO_STOCK', '0');
