-- Sales of one receipt type within a date range (the day's totals by type).
CREATE INDEX IX_FACTURA_FacTipoSunat_FacFecha ON FACTURA (FacTipoSunat, FacFecha);
