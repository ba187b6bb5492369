#include "sales/UnitCotizacion.h"
#include "session/UnitDM.h"
