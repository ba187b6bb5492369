-- Who discharged a sale: the cashier's code and the seller's workstation tag, as the discharge
-- receives them ("07CAJA2-5"). FacHostName keeps the seller's tag alone.
ALTER TABLE FACTURA ADD COLUMN FacCajero VARCHAR(20);
