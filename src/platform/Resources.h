#pragma once

namespace platform {

// Registers the program's compiled-in resources (sounds, pictures). The resources live in a
// static library, so the program calls this once before it reads any ":/..." file; calling it
// again does nothing.
void initResources();

}  // namespace platform
