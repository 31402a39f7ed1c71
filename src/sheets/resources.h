#pragma once

namespace sheets {

// Registers the sheets' compiled-in pictures. A static library's resource
// initialiser is dropped by the linker unless something refers to it.
void ensureResources();

} // namespace sheets
