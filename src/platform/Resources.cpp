#include "platform/Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE names a function in the global namespace.
static void initProgramResources() {
    Q_INIT_RESOURCE(resources);
}

namespace platform {

void initResources() {
    static const bool done = (initProgramResources(), true);
    (void)done;
}

}  // namespace platform
