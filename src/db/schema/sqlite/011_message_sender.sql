-- The workstation that sent a message, shown with it where it arrives.
ALTER TABLE MENSAJE ADD COLUMN MenRemitente TEXT CHECK (length(MenRemitente) <= 30);
