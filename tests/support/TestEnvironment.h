#pragma once

class QTemporaryDir;

namespace testsupport {

// Points the user's runtime, configuration and data folders into `home`, so the program's
// settings and files never touch the developer's own.
void useTemporaryHome(const QTemporaryDir& home);

}  // namespace testsupport
