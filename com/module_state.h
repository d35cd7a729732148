#ifndef VORDO_COM_MODULE_STATE_H_
#define VORDO_COM_MODULE_STATE_H_

#include <windows.h>

#include <string>

namespace vordo {

// The process-wide state of the module: its handle and its lock count (one
// per live object, one per outside reference to a class factory, one per
// LockServer lock).
void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();

void LockModule();
void UnlockModule();
LONG ModuleLockCount();

// The module's full file path, as loaded; the narrow one in the system's
// code page, as the registry's narrow calls take it.
std::wstring ModulePathW();
std::string ModulePathA();

}  // namespace vordo

#endif  // VORDO_COM_MODULE_STATE_H_
