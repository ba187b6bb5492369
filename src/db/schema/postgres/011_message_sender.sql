-- The workstation that sent a message, shown with it where it arrives.
ALTER TABLE MENSAJE ADD COLUMN MenRemitente VARCHAR(30);
