-- Sales of one receipt type within a date range (the day's totals by type). Without it SQLite
-- reads them through (FacTipoSunat, FacNumSunat): every sale of the type ever made.
CREATE INDEX IX_FACTURA_FacTipoSunat_FacFecha ON FACTURA (FacTipoSunat, FacFecha);
