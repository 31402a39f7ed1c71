#pragma once

namespace app {

// Registers the windows' compiled-in pictures; a static library's resource
// initialiser is dropped by the linker unless something refers to it.
void ensureResources();

} // namespace app
