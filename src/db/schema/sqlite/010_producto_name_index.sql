-- The advanced search lists presentations and products in the order of their commercial name,
-- its first screen read along this index instead of after sorting the whole catalogue.
CREATE INDEX IX_PRODUCTO_ProdNomComercial ON PRODUCTO (ProdNomComercial);
