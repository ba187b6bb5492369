#pragma once

#include "db/Reader.h"

#include <QObject>
#include <QTest>

namespace testsupport {

// Waits until every listing of the window has shown its last row; false after ten seconds.
inline bool waitForListings(const QObject* window) {
    return QTest::qWaitFor(
        [window] {
            for (const db::Reader* r : window->findChildren<db::Reader*>())
                if (r->running())
                    return false;
            return true;
        },
        10000);
}

}  // namespace testsupport
