-- The moment of the sale's last discharge that sold a line: what its receipt, also a reprint,
-- prints as its date and time. Empty for sales discharged before it was kept.
ALTER TABLE FACTURA ADD COLUMN FacDescargo TIMESTAMP(0);
