#include "module/registration.h"

#include <olectl.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <vector>

#include "com/module_state.h"
#include "com/vordo_idl.h"

namespace vordo {
namespace {

constexpr char kVerticalBarCategory[] = "{00021493-0000-0000-C000-000000000046}";
constexpr char kToolbarExtensionClass[] = "{1FBA04EE-3024-11D2-8F1F-0000F87ABD16}";
constexpr char kCategoryCache[] =
    "Component Categories\\{00021493-0000-0000-C000-000000000046}\\Enum";
constexpr char kClassKey[] = "Software\\Classes\\Clsid\\";
constexpr char kExplorerBarsKey[] = "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\";
constexpr char kExtensionsKey[] = "Software\\Microsoft\\Internet Explorer\\Extensions\\";
constexpr char kTypeLibKey[] = "Software\\Classes\\TypeLib\\";
constexpr char kApprovedKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
constexpr char kBandName[] = "Vordo";
// The bar's first width, 175, as a little-endian 32-bit number, then four
// zero bytes.
constexpr BYTE kBarSize[8] = {0xAF, 0, 0, 0, 0, 0, 0, 0};
constexpr size_t kMaxValueText = 512;

// What registration writes: a value name (null for the default value) and
// a format whose one argument is the module's path.
struct ValueRow {
  const char* name;
  const char* format;
};

enum Row {
  kBandClassRow = 0,
  kEventHandlerClassRow = 1,
  kButtonHandlerClassRow = 2,
  kModulePathRow = 3,
  kThreadingModelRow = 4,
  kFirstButtonRow = 5,
  kClsidExtensionRow = 12,
  kLastButtonRow = 12,
  kLibraryNameRow = 13,
  kLibraryFlagsRow = 14,
  kHelpDirectoryRow = 15,
};

// Row 12 names the button handler's class; it is filled in at first use.
ValueRow g_rows[] = {
    {nullptr, "Vordo"},
    {nullptr, "EvtHandler Class"},
    {nullptr, "Handler Class"},
    {nullptr, "%s"},
    {"ThreadingModel", "Apartment"},
    {"Default Visible", "Yes"},
    {"ButtonText", "Vordo"},
    {"MenuText", "Vordo"},
    {"MenuStatusBar", "Zapnout slovn\xEDk Vordo"},
    {"HotIcon", "%s,201"},
    {"Icon", "%s,201"},
    {"CLSID", kToolbarExtensionClass},
    {"ClsidExtension", nullptr},
    {nullptr, "Vordo 1.0 Type Library"},
    {nullptr, "0"},
    {nullptr, "%s"},
};

std::string ButtonKeyName() {
  const wchar_t* id = VORDO_BUTTON_ID;
  return std::string(id, id + wcslen(id));
}

const ValueRow& RowAt(int row) {
  static const std::string handler = GuidString(CLSID_Handler);
  g_rows[kClsidExtensionRow].format = handler.c_str();
  return g_rows[row];
}

class Key {
 public:
  Key(RegistryAccess& registry, HKEY parent, const std::string& path)
      : registry_(registry), ok_(registry.CreateKey(parent, path, KEY_ALL_ACCESS, &key_) == ERROR_SUCCESS) {}
  ~Key() {
    if (ok_) registry_.CloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;

  bool ok() const { return ok_; }
  HKEY get() const { return key_; }

  bool Write(int row) {
    const ValueRow& value = RowAt(row);
    std::string path = ModulePathA();
    if (row == kHelpDirectoryRow) path = path.substr(0, path.find_last_of('\\') + 1);
    char text[kMaxValueText];
    std::snprintf(text, sizeof text, value.format, path.c_str());
    return registry_.SetValue(key_, value.name, REG_SZ, text,
                              static_cast<DWORD>(std::strlen(text) + 1)) == ERROR_SUCCESS;
  }

 private:
  RegistryAccess& registry_;
  HKEY key_ = nullptr;
  bool ok_;
};

bool RegisterClassKey(RegistryAccess& registry, HKEY hive, REFCLSID clsid, int row) {
  Key key(registry, hive, kClassKey + GuidString(clsid));
  if (!key.ok() || !key.Write(row)) return false;
  if (!Key(registry, key.get(), "Programmable").ok()) return false;
  Key server(registry, key.get(), "InprocServer32");
  if (!server.ok() || !server.Write(kModulePathRow) || !server.Write(kThreadingModelRow)) return false;
  if (row == kBandClassRow &&
      !Key(registry, key.get(), std::string("Implemented Categories\\") + kVerticalBarCategory).ok()) {
    return false;
  }
  return true;
}

void AddApprovedEntry(RegistryAccess& registry, HKEY hive, const std::string& name, const char* text) {
  if (!registry.IsNtPlatform()) return;
  HKEY key;
  if (registry.CreateKey(hive, kApprovedKey, KEY_WRITE, &key) != ERROR_SUCCESS) return;
  registry.SetValue(key, name.c_str(), REG_SZ, text, static_cast<DWORD>(std::strlen(text) + 1));
  registry.CloseKey(key);
}

HRESULT RegisterServerIn(RegistryAccess& registry, HKEY hive) {
  if (!RegisterClassKey(registry, hive, CLSID_DicBand, kBandClassRow) ||
      !RegisterClassKey(registry, hive, CLSID_EvtHandler, kEventHandlerClassRow) ||
      !RegisterClassKey(registry, hive, CLSID_Handler, kButtonHandlerClassRow)) {
    return SELFREG_E_CLASS;
  }
  {
    Key bar(registry, hive, kExplorerBarsKey + GuidString(CLSID_DicBand));
    if (!bar.ok() ||
        registry.SetValue(bar.get(), "BarSize", REG_BINARY, kBarSize, sizeof kBarSize) != ERROR_SUCCESS) {
      return SELFREG_E_CLASS;
    }
  }
  {
    Key button(registry, hive, kExtensionsKey + ButtonKeyName());
    if (!button.ok()) return SELFREG_E_CLASS;
    for (int row = kFirstButtonRow; row <= kLastButtonRow; ++row) {
      if (!button.Write(row)) return SELFREG_E_CLASS;
    }
  }
  Key library(registry, hive, kTypeLibKey + GuidString(LIBID_VORDOLib));
  if (!library.ok()) return SELFREG_E_CLASS;
  Key version(registry, library.get(), "1.0");
  if (!version.ok() || !version.Write(kLibraryNameRow)) return SELFREG_E_CLASS;
  Key win32(registry, version.get(), "0\\win32");
  Key flags(registry, version.get(), "FLAGS");
  Key help(registry, version.get(), "HELPDIR");
  if (!win32.ok() || !win32.Write(kModulePathRow) || !flags.ok() || !flags.Write(kLibraryFlagsRow) ||
      !help.ok() || !help.Write(kHelpDirectoryRow)) {
    return SELFREG_E_CLASS;
  }
  AddApprovedEntry(registry, hive, GuidString(CLSID_DicBand), kBandName);
  return S_OK;
}

void UnregisterServerIn(RegistryAccess& registry, HKEY hive) {
  for (const CLSID* clsid : {&CLSID_DicBand, &CLSID_EvtHandler, &CLSID_Handler}) {
    registry.DeleteTree(hive, kClassKey + GuidString(*clsid));
  }
  registry.DeleteTree(hive, kExplorerBarsKey + GuidString(CLSID_DicBand));
  registry.DeleteTree(hive, kExtensionsKey + ButtonKeyName());
  registry.DeleteTree(hive, kTypeLibKey + GuidString(LIBID_VORDOLib));
}

}  // namespace

LONG RegistryAccess::CreateKey(HKEY parent, const std::string& path, REGSAM access, HKEY* key) {
  return RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                         key, nullptr);
}

LONG RegistryAccess::OpenKey(HKEY parent, const std::string& path, REGSAM access, HKEY* key) {
  return RegOpenKeyExA(parent, path.c_str(), 0, access, key);
}

LONG RegistryAccess::SetValue(HKEY key, const char* name, DWORD type, const void* data, DWORD size) {
  return RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
}

void RegistryAccess::CloseKey(HKEY key) { RegCloseKey(key); }

void RegistryAccess::DeleteTree(HKEY parent, const std::string& path) {
  SHDeleteKeyA(parent, path.c_str());
}

bool RegistryAccess::IsNtPlatform() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

std::string GuidString(REFGUID guid) {
  wchar_t wide[39];
  StringFromGUID2(guid, wide, 39);
  return std::string(wide, wide + 38);
}

HRESULT RegisterServer(RegistryAccess& registry) {
  HRESULT result = RegisterServerIn(registry, HKEY_LOCAL_MACHINE);
  if (result != S_OK) {
    UnregisterServerIn(registry, HKEY_LOCAL_MACHINE);
    result = RegisterServerIn(registry, HKEY_CURRENT_USER);
  }
  registry.DeleteTree(HKEY_CLASSES_ROOT, kCategoryCache);
  return result;
}

HRESULT UnregisterServer(RegistryAccess& registry) {
  HKEY button;
  HKEY hive = HKEY_LOCAL_MACHINE;
  if (registry.OpenKey(HKEY_CURRENT_USER, kExtensionsKey + ButtonKeyName(), KEY_ALL_ACCESS,
                       &button) == ERROR_SUCCESS) {
    registry.CloseKey(button);
    hive = HKEY_CURRENT_USER;
  }
  UnregisterServerIn(registry, hive);
  registry.DeleteTree(HKEY_CLASSES_ROOT, kCategoryCache);
  return S_OK;
}

}  // namespace vordo
