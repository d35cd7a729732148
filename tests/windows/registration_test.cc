// Registration as regsvr32 does it, the type library it registers, and the
// dispatch that the type library drives.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "module/registration.h"
#include "tests/windows/test_support.h"
#include "com/type_info_dispatch.h"
#include "com/vordo_idl.h"

namespace vordo {
namespace {

const std::string kBand = "{825CACB8-03CF-4B4D-AA93-8224A18C4089}";
const std::string kEventHandler = "{8F8DFD4C-65D7-46A8-B410-D645A0A4543D}";
const std::string kHandler = "{978C5A3B-D241-4CA3-B935-0F0FA91DBF14}";
const std::string kButton = "{46628E01-863C-4FF4-B642-9FE8E09DEF17}";
const std::string kLibrary = "{4BAF7CD0-4EDB-46BA-8932-163443C19C1A}";
const std::string kCategory = "{00021493-0000-0000-C000-000000000046}";
const std::string kButtonKey = "Software\\Microsoft\\Internet Explorer\\Extensions\\" + kButton;
const std::string kApprovedKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

std::string DllPath() {
  const char* path = std::getenv("VORDO_DLL");
  return path != nullptr ? path : "";
}

// A value as REG_SZ text; "<missing>" or "<type N>" otherwise.
std::string Text(HKEY hive, const std::string& key, const char* name) {
  char buffer[1024];
  DWORD size = sizeof buffer;
  DWORD type = 0;
  LONG status = RegGetValueA(hive, key.c_str(), name, RRF_RT_ANY, &type, buffer, &size);
  if (status != ERROR_SUCCESS) return "<missing>";
  if (type != REG_SZ) return "<type " + std::to_string(type) + ">";
  return std::string(buffer);
}

bool KeyExists(HKEY hive, const std::string& key) {
  HKEY opened;
  if (RegOpenKeyExA(hive, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

// Every key and value of the registration table, for a module at `path`.
void ExpectRegistered(HKEY hive, const std::string& path) {
  std::string classes = "Software\\Classes\\Clsid\\";
  EXPECT_EQ(Text(hive, classes + kBand, nullptr), "Vordo");
  EXPECT_EQ(Text(hive, classes + kEventHandler, nullptr), "EvtHandler Class");
  EXPECT_EQ(Text(hive, classes + kHandler, nullptr), "Handler Class");
  for (const std::string& clsid : {kBand, kEventHandler, kHandler}) {
    EXPECT_EQ(Text(hive, classes + clsid + "\\InprocServer32", nullptr), path);
    EXPECT_EQ(Text(hive, classes + clsid + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_TRUE(KeyExists(hive, classes + clsid + "\\Programmable"));
  }
  EXPECT_TRUE(KeyExists(hive, classes + kBand + "\\Implemented Categories\\" + kCategory));
  EXPECT_FALSE(KeyExists(hive, classes + kHandler + "\\Implemented Categories"));

  BYTE bar_size[16];
  DWORD size = sizeof bar_size;
  DWORD type = 0;
  ASSERT_EQ(RegGetValueA(hive, ("Software\\Microsoft\\Internet Explorer\\Explorer Bars\\" + kBand).c_str(),
                         "BarSize", RRF_RT_ANY, &type, bar_size, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(std::vector<BYTE>(bar_size, bar_size + size), (std::vector<BYTE>{0xAF, 0, 0, 0, 0, 0, 0, 0}));

  EXPECT_EQ(Text(hive, kButtonKey, "Default Visible"), "Yes");
  EXPECT_EQ(Text(hive, kButtonKey, "ButtonText"), "Vordo");
  EXPECT_EQ(Text(hive, kButtonKey, "MenuText"), "Vordo");
  EXPECT_EQ(Text(hive, kButtonKey, "MenuStatusBar"), "Zapnout slovn\xEDk Vordo");
  EXPECT_EQ(Text(hive, kButtonKey, "HotIcon"), path + ",201");
  EXPECT_EQ(Text(hive, kButtonKey, "Icon"), path + ",201");
  EXPECT_EQ(Text(hive, kButtonKey, "CLSID"), "{1FBA04EE-3024-11D2-8F1F-0000F87ABD16}");
  EXPECT_EQ(Text(hive, kButtonKey, "ClsidExtension"), kHandler);

  std::string library = "Software\\Classes\\TypeLib\\" + kLibrary + "\\1.0";
  EXPECT_EQ(Text(hive, library, nullptr), "Vordo 1.0 Type Library");
  EXPECT_EQ(Text(hive, library + "\\0\\win32", nullptr), path);
  EXPECT_EQ(Text(hive, library + "\\FLAGS", nullptr), "0");
  EXPECT_EQ(Text(hive, library + "\\HELPDIR", nullptr), path.substr(0, path.rfind('\\') + 1));
}

void ExpectUnregistered(HKEY hive) {
  for (const std::string& clsid : {kBand, kEventHandler, kHandler}) {
    EXPECT_FALSE(KeyExists(hive, "Software\\Classes\\Clsid\\" + clsid)) << clsid;
  }
  EXPECT_FALSE(KeyExists(hive, "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\" + kBand));
  EXPECT_FALSE(KeyExists(hive, kButtonKey));
  EXPECT_FALSE(KeyExists(hive, "Software\\Classes\\TypeLib\\" + kLibrary));
}

std::string ExecutablePath() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

// The registry with a machine hive that refuses every key.
class MachineHiveRefused : public RegistryAccess {
 public:
  LONG CreateKey(HKEY parent, const std::string& path, REGSAM access, HKEY* key) override {
    if (parent == HKEY_LOCAL_MACHINE) return ERROR_ACCESS_DENIED;
    return RegistryAccess::CreateKey(parent, path, access, key);
  }
};

class NotNt : public RegistryAccess {
 public:
  bool IsNtPlatform() override { return false; }
};

class RegistrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryA(DllPath().c_str());
    ASSERT_NE(module_, nullptr);
    register_ = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(GetProcAddress(module_, "DllRegisterServer")));
    unregister_ = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(GetProcAddress(module_, "DllUnregisterServer")));
    char full[MAX_PATH];
    GetModuleFileNameA(module_, full, MAX_PATH);
    path_ = full;
  }
  void TearDown() override {
    if (unregister_ != nullptr) unregister_();
    FreeLibrary(module_);
  }

  HMODULE module_ = nullptr;
  HRESULT(STDAPICALLTYPE* register_)() = nullptr;
  HRESULT(STDAPICALLTYPE* unregister_)() = nullptr;
  std::string path_;
};

TEST_F(RegistrationTest, WritesEveryKeyOfTheTableAndRemovesThemAgain) {
  std::string cache = "Component Categories\\" + kCategory + "\\Enum";
  HKEY created;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, cache.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &created, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(created);
  ASSERT_EQ(register_(), S_OK);
  ExpectRegistered(HKEY_LOCAL_MACHINE, path_);
  EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kApprovedKey, kBand.c_str()), "Vordo");
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, cache));
  ASSERT_EQ(register_(), S_OK);  // twice: the same keys
  ExpectRegistered(HKEY_LOCAL_MACHINE, path_);
  EXPECT_EQ(unregister_(), S_OK);
  ExpectUnregistered(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kApprovedKey, kBand.c_str()), "Vordo");  // left in place
  EXPECT_EQ(unregister_(), S_OK);  // nothing left to remove
}

TEST_F(RegistrationTest, FallsBackToTheCurrentUserWhenTheMachineHiveRefuses) {
  MachineHiveRefused refused;
  ASSERT_EQ(RegisterServer(refused), S_OK);
  ExpectRegistered(HKEY_CURRENT_USER, ExecutablePath());
  ExpectUnregistered(HKEY_LOCAL_MACHINE);  // the partial registration was removed
  ASSERT_EQ(register_(), S_OK);  // a machine registration, which must survive
  RegistryAccess registry;
  EXPECT_EQ(UnregisterServer(registry), S_OK);  // finds the button key in the user's hive
  ExpectUnregistered(HKEY_CURRENT_USER);
  ExpectRegistered(HKEY_LOCAL_MACHINE, path_);
}

TEST_F(RegistrationTest, WritesNoApprovedEntryBeforeNt) {
  HKEY approved;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kApprovedKey.c_str(), 0, KEY_ALL_ACCESS, &approved) == ERROR_SUCCESS) {
    RegDeleteValueA(approved, kBand.c_str());
    RegCloseKey(approved);
  }
  NotNt old_windows;
  EXPECT_EQ(RegisterServer(old_windows), S_OK);
  EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kApprovedKey, kBand.c_str()), "<missing>");
  EXPECT_EQ(UnregisterServer(old_windows), S_OK);
}

// An IEvtHandler whose dispatch comes from the module's type library.
class RecordingEvtHandler final : public TypeInfoDispatch<IEvtHandler> {
 public:
  int defaults = 0;
  IDispatch* document = reinterpret_cast<IDispatch*>(1);
  LONG_PTR band = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = this;
    return IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IEvtHandler)
               ? S_OK
               : (*out = nullptr, E_NOINTERFACE);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE Default() override {
    ++defaults;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Setup(IDispatch* piDisp, LONG_PTR pBand) override {
    document = piDisp;
    band = pBand;
    return S_OK;
  }
};

TEST_F(RegistrationTest, TypeLibraryDispatchReachesDefaultAndSetup) {
  ASSERT_EQ(register_(), S_OK);  // the dispatch finds the registered library
  CoInitialize(nullptr);
  {
    RecordingEvtHandler handler;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    EXPECT_EQ(handler.Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(handler.defaults, 1);

    VARIANT arguments[2];  // in reverse order: pBand, then piDisp
    VariantInit(&arguments[0]);
    VariantInit(&arguments[1]);
    // All of a pointer: beyond 32 bits on x86_64.
    const LONG_PTR band = static_cast<LONG_PTR>(sizeof(LONG_PTR) == 8 ? 0x123456789ABCDEF0LL : 0x12345678);
    arguments[0] = AddressVariant(band);
    arguments[1].vt = VT_DISPATCH;
    arguments[1].pdispVal = nullptr;
    DISPPARAMS setup = {arguments, nullptr, 2, 0};
    EXPECT_EQ(handler.Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &setup, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(handler.band, band);
    EXPECT_EQ(handler.document, nullptr);

    DISPID ids[1];
    OLECHAR name[] = L"Setup";
    LPOLESTR names[] = {name};
    EXPECT_EQ(handler.GetIDsOfNames(IID_NULL, names, 1, 0, ids), S_OK);
    EXPECT_EQ(ids[0], 1);
  }
  CoUninitialize();
}

}  // namespace
}  // namespace vordo
