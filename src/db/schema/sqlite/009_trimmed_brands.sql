-- Brand names are stored trimmed, so the prefix search finds a name typed with leading blanks.
UPDATE LABORATORIO SET LabNombre = TRIM(LabNombre) WHERE LabNombre <> TRIM(LabNombre);
