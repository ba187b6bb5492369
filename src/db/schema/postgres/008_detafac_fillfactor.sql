-- Room in every page for a new version of each of its lines, so that a discharge or a return
-- changes a line's state within its page without writing the line's three indexes again. Pages
-- filled from now on keep it; the lines already stored stay as they are.
ALTER TABLE DETAFAC SET (fillfactor = 50);
