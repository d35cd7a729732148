#ifndef VORDO_PANEL_PANEL_INSTANCE_H_
#define VORDO_PANEL_PANEL_INSTANCE_H_

#include <windows.h>

#include "com/module_state.h"

namespace vordo {

// The instance that owns the panel's window classes: the module, or the
// program the panel is linked into.
inline HINSTANCE PanelInstance() {
  HINSTANCE instance = ModuleInstance();
  return instance != nullptr ? instance : GetModuleHandleW(nullptr);
}

}  // namespace vordo

#endif  // VORDO_PANEL_PANEL_INSTANCE_H_
