#ifndef VORDO_MODULE_REGISTRATION_H_
#define VORDO_MODULE_REGISTRATION_H_

#include <windows.h>

#include <string>

namespace vordo {

// The registry as registration sees it. The module uses the real one; a
// test can make a hive fail to see the fallback to the current user's.
class RegistryAccess {
 public:
  virtual ~RegistryAccess() = default;
  virtual LONG CreateKey(HKEY parent, const std::string& path, REGSAM access, HKEY* key);
  virtual LONG OpenKey(HKEY parent, const std::string& path, REGSAM access, HKEY* key);
  virtual LONG SetValue(HKEY key, const char* name, DWORD type, const void* data, DWORD size);
  virtual void CloseKey(HKEY key);
  virtual void DeleteTree(HKEY parent, const std::string& path);
  virtual bool IsNtPlatform();
};

// Registers the classes, the type library, the explorer bar and the
// toolbar button: in the machine's hive when it may, otherwise (after
// removing the partial registration) in the current user's.
HRESULT RegisterServer(RegistryAccess& registry);
// Removes it all again from the hive where the button key stands.
HRESULT UnregisterServer(RegistryAccess& registry);

// "{XXXXXXXX-XXXX-...}" as the registry writes identifiers.
std::string GuidString(REFGUID guid);

}  // namespace vordo

#endif  // VORDO_MODULE_REGISTRATION_H_
