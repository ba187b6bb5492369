#include "db/Db.h"
