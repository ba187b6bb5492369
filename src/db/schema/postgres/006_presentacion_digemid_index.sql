-- The DIGEMID code's duplicate look-up; without it every presentation is read.
CREATE INDEX IX_PRESENTACION_PresCodDigemid ON PRESENTACION (PresCodDigemid);
