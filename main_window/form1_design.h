#pragma once

#include "runtime/design.h"

namespace tolvane {

// The main window as designed: every control, the menus, the client size.
extern const rt::FormDesign Form1Design;

} // namespace tolvane
