// The module: entry point, object map and the class-object exports.
#include <windows.h>
#include <olectl.h>

#include <new>

#include "com/module_state.h"
#include "com/vordo_idl.h"
#include "module/class_factory.h"
#include "module/handler.h"
#include "module/registration.h"
#include "page/evt_handler.h"
#include "panel/dic_band.h"

namespace vordo {
namespace {

struct ObjectMapEntry {
  const CLSID* clsid;
  ClassFactory::Creator creator;
  ClassFactory* factory;  // created on first request, then kept
};

ObjectMapEntry g_object_map[] = {
    {&CLSID_DicBand, &DicBand::Create, nullptr},
    {&CLSID_EvtHandler, &EvtHandler::Create, nullptr},
    {&CLSID_Handler, &Handler::Create, nullptr},
};

CRITICAL_SECTION g_factory_lock;

void ReleaseFactories() {
  for (ObjectMapEntry& entry : g_object_map) {
    if (entry.factory != nullptr) entry.factory->Release();
    entry.factory = nullptr;
  }
}

}  // namespace
}  // namespace vordo

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    vordo::SetModuleInstance(instance);
    InitializeCriticalSection(&vordo::g_factory_lock);
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    // Unloaded by FreeLibrary; at process exit nothing needs tidying. The
    // system keeps a DLL's window classes after it goes: a later load at
    // another address would find them pointing at the old code.
    vordo::ReleaseFactories();
    vordo::DicBand::UnregisterWindowClasses();
    DeleteCriticalSection(&vordo::g_factory_lock);
  }
  return TRUE;
}

STDAPI DllCanUnloadNow() { return vordo::ModuleLockCount() == 0 ? S_OK : S_FALSE; }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  for (vordo::ObjectMapEntry& entry : vordo::g_object_map) {
    if (!IsEqualCLSID(clsid, *entry.clsid)) continue;
    EnterCriticalSection(&vordo::g_factory_lock);
    if (entry.factory == nullptr) entry.factory = new (std::nothrow) vordo::ClassFactory(entry.creator);
    LeaveCriticalSection(&vordo::g_factory_lock);
    if (entry.factory == nullptr) return E_OUTOFMEMORY;
    return entry.factory->QueryInterface(iid, out);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllRegisterServer() {
  vordo::RegistryAccess registry;
  return vordo::RegisterServer(registry);
}

STDAPI DllUnregisterServer() {
  vordo::RegistryAccess registry;
  return vordo::UnregisterServer(registry);
}
