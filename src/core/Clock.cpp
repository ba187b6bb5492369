#include "core/Clock.h"

#include <ctime>

namespace core {

QDateTime SystemClock::now() const {
    return QDateTime::currentDateTime().addSecs(offset_);
}

void readTimeZoneOnce() {
    if (qEnvironmentVariableIsSet("TZ"))
        return;
    // The C library's own name for the system's zone; Qt reads it as "no zone named".
    qputenv("TZ", ":/etc/localtime");
    tzset();
}

}  // namespace core
