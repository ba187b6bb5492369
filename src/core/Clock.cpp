#include "core/Clock.h"

namespace core {

QDateTime SystemClock::now() const {
    return QDateTime::currentDateTime().addSecs(offset_);
}

}  // namespace core
