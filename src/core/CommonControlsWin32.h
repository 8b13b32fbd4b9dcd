#pragma once
// The common controls (tool bars, tool tips, sliders and the rest) are not
// imported: loading them is the costliest step before the first window under
// some systems, and an imported library loads before the program's first line.
// The start-up loads them once it has started the helper, and everything that
// makes one of their windows first makes sure they are there.
//
// They are loaded on the interface thread: loading them on another one while
// the interface thread makes fonts and windows locks both threads up under
// Wine.

namespace wavora {

// Loads the library and registers its window classes, once.
void ensureCommonControls();

} // namespace wavora
