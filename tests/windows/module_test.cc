// The COM module as the browser and regsvr32 meet it, under the Wine of
// the architecture that VORDO_DLL, the DLL under test, is built for.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <docobj.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "module/registration.h"
#include "com/type_info_dispatch.h"
#include "com/vordo_idl.h"
#include "host/bar_site.h"

namespace vordo {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// The DLL under test, loaded once for the whole run.
struct Module {
  HMODULE handle = nullptr;
  HRESULT(STDAPICALLTYPE* canUnloadNow)() = nullptr;
  HRESULT(STDAPICALLTYPE* getClassObject)(REFCLSID, REFIID, void**) = nullptr;
  HRESULT(STDAPICALLTYPE* registerServer)() = nullptr;
  HRESULT(STDAPICALLTYPE* unregisterServer)() = nullptr;

  static Module& Get() {
    static Module module = [] {
      Module loaded;
      loaded.handle = LoadLibraryA(Environment("VORDO_DLL").c_str());
      if (loaded.handle != nullptr) {
        loaded.canUnloadNow = reinterpret_cast<decltype(loaded.canUnloadNow)>(
            reinterpret_cast<void*>(GetProcAddress(loaded.handle, "DllCanUnloadNow")));
        loaded.getClassObject = reinterpret_cast<decltype(loaded.getClassObject)>(
            reinterpret_cast<void*>(GetProcAddress(loaded.handle, "DllGetClassObject")));
        loaded.registerServer = reinterpret_cast<decltype(loaded.registerServer)>(
            reinterpret_cast<void*>(GetProcAddress(loaded.handle, "DllRegisterServer")));
        loaded.unregisterServer = reinterpret_cast<decltype(loaded.unregisterServer)>(
            reinterpret_cast<void*>(GetProcAddress(loaded.handle, "DllUnregisterServer")));
      }
      return loaded;
    }();
    return module;
  }
};

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(module_.handle, nullptr) << "cannot load " << Environment("VORDO_DLL");
    ASSERT_NE(module_.getClassObject, nullptr);
    CoInitialize(nullptr);
  }
  void TearDown() override { CoUninitialize(); }

  IUnknown* CreateHandler() {
    IClassFactory* factory = nullptr;
    EXPECT_EQ(module_.getClassObject(CLSID_Handler, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    IUnknown* handler = nullptr;
    if (factory != nullptr) {
      EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&handler)), S_OK);
      factory->Release();
    }
    return handler;
  }

  Module& module_ = Module::Get();
};

TEST_F(ModuleTest, ClassObjectsAreCachedAndUnknownClassesRefused) {
  IClassFactory* first = nullptr;
  IClassFactory* second = nullptr;
  ASSERT_EQ(module_.getClassObject(CLSID_Handler, IID_IClassFactory, reinterpret_cast<void**>(&first)), S_OK);
  ASSERT_EQ(module_.getClassObject(CLSID_Handler, IID_IClassFactory, reinterpret_cast<void**>(&second)), S_OK);
  EXPECT_EQ(first, second);
  first->Release();
  second->Release();
  void* none = reinterpret_cast<void*>(1);
  EXPECT_EQ(module_.getClassObject(IID_IUnknown, IID_IClassFactory, &none), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(none, nullptr);
  // The band is served, and answers its interfaces in the DLL too.
  IClassFactory* band_factory = nullptr;
  ASSERT_EQ(module_.getClassObject(CLSID_DicBand, IID_IClassFactory, reinterpret_cast<void**>(&band_factory)),
            S_OK);
  IUnknown* band = nullptr;
  ASSERT_EQ(band_factory->CreateInstance(nullptr, IID_IDeskBand, reinterpret_cast<void**>(&band)), S_OK);
  IUnknown* aggregated = reinterpret_cast<IUnknown*>(1);
  EXPECT_EQ(band_factory->CreateInstance(band, IID_IUnknown, reinterpret_cast<void**>(&aggregated)),
            CLASS_E_NOAGGREGATION);
  for (const IID* iid : {&IID_IDicBand, &IID_IDispatch, &IID_IInputObject, &IID_IObjectWithSite,
                         &IID_IPersistStream}) {
    IUnknown* other = nullptr;
    EXPECT_EQ(band->QueryInterface(*iid, reinterpret_cast<void**>(&other)), S_OK);
    if (other != nullptr) other->Release();
  }
  IUnknown* window = nullptr;
  EXPECT_EQ(band->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window)), E_NOINTERFACE);
  // The browser's events arrive by dispatch identifier, read from the type
  // library: DocumentComplete (259), DownloadComplete (104), and no other.
  IDispatch* sink = nullptr;
  ASSERT_EQ(band->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&sink)), S_OK);
  VARIANT url;
  VariantInit(&url);
  VARIANTARG arguments[2];
  arguments[1].vt = VT_DISPATCH;  // in reverse order
  arguments[1].pdispVal = sink;
  arguments[0].vt = VT_VARIANT | VT_BYREF;
  arguments[0].pvarVal = &url;
  DISPPARAMS parameters = {arguments, nullptr, 2, 0};
  EXPECT_EQ(sink->Invoke(259, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr), S_OK);
  DISPPARAMS no_arguments = {nullptr, nullptr, 0, 0};
  EXPECT_EQ(sink->Invoke(104, IID_NULL, 0, DISPATCH_METHOD, &no_arguments, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(sink->Invoke(105, IID_NULL, 0, DISPATCH_METHOD, &no_arguments, nullptr, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
  sink->Release();
  band->Release();
  band_factory->Release();
}

TEST_F(ModuleTest, CanUnloadOnlyWithoutObjectsFactoriesOrLocks) {
  EXPECT_EQ(module_.canUnloadNow(), S_OK);
  IClassFactory* factory = nullptr;
  ASSERT_EQ(module_.getClassObject(CLSID_Handler, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  EXPECT_EQ(module_.canUnloadNow(), S_FALSE);
  IUnknown* handler = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&handler)), S_OK);
  factory->LockServer(TRUE);
  factory->Release();
  EXPECT_EQ(module_.canUnloadNow(), S_FALSE);  // the object and the lock
  handler->Release();
  EXPECT_EQ(module_.canUnloadNow(), S_FALSE);  // the lock
  ASSERT_EQ(module_.getClassObject(CLSID_Handler, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  factory->LockServer(FALSE);
  factory->Release();
  EXPECT_EQ(module_.canUnloadNow(), S_OK);
}

// An outer object that counts the references its inner object passes on.
class Outer final : public IUnknown {
 public:
  LONG references = 1;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!IsEqualIID(iid, IID_IUnknown)) return (*out = nullptr, E_NOINTERFACE);
    *out = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }
};

TEST_F(ModuleTest, HandlerCanBeAggregated) {
  IClassFactory* factory = nullptr;
  ASSERT_EQ(module_.getClassObject(CLSID_Handler, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  Outer outer;
  void* refused = nullptr;
  EXPECT_EQ(factory->CreateInstance(&outer, IID_IOleCommandTarget, &refused), CLASS_E_NOAGGREGATION);
  IUnknown* inner = nullptr;
  ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&inner)), S_OK);
  factory->Release();
  ASSERT_NE(inner, static_cast<IUnknown*>(&outer));
  IOleCommandTarget* target = nullptr;
  ASSERT_EQ(inner->QueryInterface(IID_IOleCommandTarget, reinterpret_cast<void**>(&target)), S_OK);
  EXPECT_EQ(outer.references, 2);  // the interface's reference went to the outer object
  IUnknown* identity = nullptr;
  ASSERT_EQ(target->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
  EXPECT_EQ(identity, static_cast<IUnknown*>(&outer));
  identity->Release();
  target->Release();
  EXPECT_EQ(outer.references, 1);
  EXPECT_EQ(module_.canUnloadNow(), S_FALSE);
  inner->Release();  // the outer object lets its inner one go
  EXPECT_EQ(module_.canUnloadNow(), S_OK);
}

TEST_F(ModuleTest, HandlerReportsEveryCommandSupportedAndEnabled) {
  IUnknown* handler = CreateHandler();
  ASSERT_NE(handler, nullptr);
  IOleCommandTarget* target = nullptr;
  ASSERT_EQ(handler->QueryInterface(IID_IOleCommandTarget, reinterpret_cast<void**>(&target)), S_OK);
  EXPECT_EQ(target->QueryStatus(nullptr, 0, nullptr, nullptr), S_OK);
  EXPECT_EQ(target->QueryStatus(nullptr, 2, nullptr, nullptr), E_POINTER);
  OLECMD commands[2] = {{1, 0}, {2, 0}};
  EXPECT_EQ(target->QueryStatus(nullptr, 2, commands, nullptr), S_OK);
  EXPECT_EQ(commands[0].cmdf, 3u);
  EXPECT_EQ(commands[1].cmdf, 3u);
  target->Release();
  handler->Release();
}

TEST_F(ModuleTest, HandlerShowsTheBandThroughItsSite) {
  IUnknown* handler = CreateHandler();
  ASSERT_NE(handler, nullptr);
  IObjectWithSite* with_site = nullptr;
  IOleCommandTarget* target = nullptr;
  ASSERT_EQ(handler->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&with_site)), S_OK);
  ASSERT_EQ(handler->QueryInterface(IID_IOleCommandTarget, reinterpret_cast<void**>(&target)), S_OK);

  void* site_out = reinterpret_cast<void*>(1);
  EXPECT_EQ(with_site->GetSite(IID_IUnknown, &site_out), E_FAIL);
  EXPECT_EQ(site_out, nullptr);
  EXPECT_EQ(with_site->GetSite(IID_IUnknown, nullptr), E_POINTER);

  BarSiteState calls = {};
  IUnknown* site = CreateBarSite(kBarSiteEverything, &calls);
  ASSERT_EQ(with_site->SetSite(site), S_OK);
  IUnknown* got = nullptr;
  ASSERT_EQ(with_site->GetSite(IID_IUnknown, reinterpret_cast<void**>(&got)), S_OK);
  EXPECT_EQ(got, site);
  got->Release();

  EXPECT_EQ(target->Exec(nullptr, 0, 0, nullptr, nullptr), S_OK);
  EXPECT_EQ(target->Exec(nullptr, 0, 0, nullptr, nullptr), S_OK);  // shown again, stays shown
  EXPECT_EQ(calls.showBrowserBar, 2);
  EXPECT_EQ(calls.barType, VT_BSTR);
  EXPECT_EQ(std::wstring(calls.bar), L"{825CACB8-03CF-4B4D-AA93-8224A18C4089}");
  EXPECT_EQ(calls.showType, VT_BOOL);
  EXPECT_EQ(calls.show, VARIANT_TRUE);

  // Without a site, or with one that gives no browser, Exec does nothing.
  ASSERT_EQ(with_site->SetSite(nullptr), S_OK);
  EXPECT_EQ(target->Exec(nullptr, 0, 0, nullptr, nullptr), S_OK);
  IUnknown* plain_site = CreateBarSite(kBarSiteInputSite | kBarSiteWindow, &calls);
  ASSERT_EQ(with_site->SetSite(plain_site), S_OK);
  EXPECT_EQ(target->Exec(nullptr, 0, 0, nullptr, nullptr), S_OK);
  EXPECT_EQ(calls.showBrowserBar, 2);
  // Nor does a site without a browser that follows one with it: the old
  // site's browser is not kept.
  ASSERT_EQ(with_site->SetSite(site), S_OK);
  ASSERT_EQ(with_site->SetSite(plain_site), S_OK);
  EXPECT_EQ(target->Exec(nullptr, 0, 0, nullptr, nullptr), S_OK);
  EXPECT_EQ(calls.showBrowserBar, 2);
  with_site->SetSite(nullptr);
  plain_site->Release();
  site->Release();
  target->Release();
  with_site->Release();
  handler->Release();
}

// Loads the DLL, makes a band with its windows and lets it go again, in a
// process of its own (scripts/wine_tests.sh), so that the DLL is really
// unloaded and its window classes are its own.
class ModuleUnloadTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { OleInitialize(nullptr); }

  // The band's windows were made: its classes are registered.
  bool ShowABand(HMODULE module) {
    auto get = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    IClassFactory* factory = nullptr;
    if (get == nullptr || FAILED(get(CLSID_DicBand, IID_IClassFactory, reinterpret_cast<void**>(&factory)))) {
      return false;
    }
    HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 600, nullptr, nullptr,
                                nullptr, nullptr);
    BarSiteState state = {};
    state.window = host;
    IUnknown* site = CreateBarSite(kBarSiteEverything, &state);
    IObjectWithSite* with_site = nullptr;
    IDeskBand* desk_band = nullptr;
    HWND window = nullptr;
    if (SUCCEEDED(factory->CreateInstance(nullptr, IID_IObjectWithSite, reinterpret_cast<void**>(&with_site))) &&
        SUCCEEDED(with_site->QueryInterface(IID_IDeskBand, reinterpret_cast<void**>(&desk_band))) &&
        SUCCEEDED(with_site->SetSite(site))) {
      desk_band->ShowDW(TRUE);
      desk_band->GetWindow(&window);
      desk_band->CloseDW(0);
      with_site->SetSite(nullptr);
    }
    if (desk_band != nullptr) desk_band->Release();
    if (with_site != nullptr) with_site->Release();
    site->Release();
    factory->Release();
    DestroyWindow(host);
    return window != nullptr;
  }
};

TEST_F(ModuleUnloadTest, UnloadingTakesTheWindowClassesAlong) {
  std::string path = Environment("VORDO_DLL");
  for (int load = 0; load < 2; ++load) {
    HMODULE module = LoadLibraryA(path.c_str());
    ASSERT_NE(module, nullptr) << path;
    ASSERT_TRUE(ShowABand(module)) << "load " << load;
    auto can_unload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    ASSERT_EQ(can_unload(), S_OK);
    WNDCLASSEXW info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetClassInfoExW(module, L"DicBandWndClass", &info));
    ASSERT_TRUE(GetClassInfoExW(module, L"ETSubWndClass", &info));
    ASSERT_TRUE(FreeLibrary(module));
    ASSERT_EQ(GetModuleHandleA(path.c_str()), nullptr) << "still loaded";
    // Neither the band's global class nor the view's class outlives the code.
    EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), L"DicBandWndClass", &info));
    EXPECT_FALSE(GetClassInfoExW(module, L"DicBandWndClass", &info));
    EXPECT_FALSE(GetClassInfoExW(module, L"ETSubWndClass", &info));
  }
}

}  // namespace
}  // namespace vordo
