// Automatic search against document doubles that behave like the
// browser's: marking the page and its frames, binding the sinks, and the
// hover lookup driven by real timers and the real cursor. The band and its
// sinks come from vordo.dll, as the browser makes them: the band through
// the module's class object, the sinks through COM, which finds the
// module's EvtHandler class object registered for this process. The test
// reads the band's state through DicBand's inline accessors, which see the
// DLL's object as its own code does (the same header, the same compiler).
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "com/com_ref.h"
#include "host/bar_site.h"
#include "host/dom_doubles.h"
#include "page/evt_handler.h"
#include "panel/dic_band.h"
#include "platform/platform.h"
#include "tests/windows/test_support.h"

namespace vordo {
namespace {

constexpr UINT kRestMilliseconds = EvtHandler::kHoverMilliseconds + 150;

// The module, beside the sample dictionary, and its class objects.
struct Module {
  HMODULE handle = nullptr;
  ComRef<IClassFactory> bands;
  ComRef<IClassFactory> sinks;
  DWORD sinks_cookie = 0;

  static Module& Get() {
    static Module module;
    return module;
  }

  bool Load() {
    if (handle != nullptr) return true;
    handle = LoadModuleBesideSampleDictionary();
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto get = handle == nullptr ? nullptr
                                 : reinterpret_cast<GetClassObject>(
                                       reinterpret_cast<void*>(GetProcAddress(handle, "DllGetClassObject")));
    return get != nullptr && SUCCEEDED(get(CLSID_DicBand, IID_IClassFactory, bands.OutVoid())) &&
           SUCCEEDED(get(CLSID_EvtHandler, IID_IClassFactory, sinks.OutVoid())) &&
           SUCCEEDED(CoRegisterClassObject(CLSID_EvtHandler, sinks.get(), CLSCTX_INPROC_SERVER,
                                           REGCLS_MULTIPLEUSE, &sinks_cookie));
  }
};

// A band from the module on a site of its own, with the site's window.
struct HostedBand {
  HWND host = nullptr;
  BarSiteState state = {};
  ComRef<IUnknown> site;
  ComRef<IDicBand> band;
  ComRef<IObjectWithSite> with_site;
  ComRef<IDeskBand> desk_band;

  HRESULT Create(IDispatch* document) {
    host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 700, nullptr,
                           nullptr, nullptr, nullptr);
    state.window = host;
    state.document = document;
    *site.Out() = CreateBarSite(kBarSiteEverything, &state);
    HRESULT created = Module::Get().bands->CreateInstance(nullptr, IID_IDicBand, band.OutVoid());
    if (FAILED(created)) return created;
    band->QueryInterface(IID_IObjectWithSite, with_site.OutVoid());
    band->QueryInterface(IID_IDeskBand, desk_band.OutVoid());
    HRESULT sited = with_site->SetSite(site.get());
    MoveWindow(Self()->bandWindow(), 0, 0, 300, 600, TRUE);
    return sited;
  }

  void Destroy() {
    if (desk_band) desk_band->CloseDW(0);
    if (with_site) with_site->SetSite(nullptr);
    desk_band.Reset();
    with_site.Reset();
    band.Reset();
    site.Reset();
    if (host != nullptr) DestroyWindow(host);
    host = nullptr;
  }

  DicBand* Self() { return static_cast<DicBand*>(band.get()); }
  // The address that the band gives its sinks' Setup.
  LONG_PTR Address() { return reinterpret_cast<LONG_PTR>(static_cast<HoverTarget*>(Self())); }
};

std::wstring Text(BSTR text) {
  std::wstring copy(text == nullptr ? L"" : text);
  SysFreeString(text);
  return copy;
}

std::wstring WithoutSpans(std::wstring markup) {
  for (const wchar_t* tag : {L"<SPAN>", L"</SPAN>"}) {
    size_t length = wcslen(tag);
    for (size_t at = markup.find(tag); at != std::wstring::npos; at = markup.find(tag, at)) markup.erase(at, length);
  }
  return markup;
}

class PageIntegrationTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { OleInitialize(nullptr); }

  void SetUp() override {
    ASSERT_TRUE(Module::Get().Load()) << "the module and the sample dictionary that scripts/wine_tests.sh names";
    page_ = CreateDomDocument(0);
    DomSetBodyHtml(page_, L"<p>Hello <b>world</b>, look 42</p>");
    *document_.Out() = DomDocumentDispatch(page_);
    ASSERT_EQ(hosted_.Create(document_.get()), S_OK);
    band_.Assign(hosted_.band.get());
    desk_band_.Assign(hosted_.desk_band.get());
  }

  void TearDown() override {
    desk_band_.Reset();
    band_.Reset();
    hosted_.Destroy();
    document_.Reset();
    ReleaseDomDocument(page_);
    PumpFor(10);
  }

  DicBand* band() { return hosted_.Self(); }

  // Rests the real cursor on a leaf of `document` and lets the timers run.
  void RestOn(DomDocument* document, int leaf, UINT milliseconds = kRestMilliseconds) {
    SetCursorPos(50 + leaf, 60);
    DomMouseMove(document, DomLeaf(document, leaf), 50 + leaf, 60);
    PumpFor(milliseconds);
  }

  std::wstring InputText() {
    wchar_t text[64] = {};
    GetWindowTextW(band()->edit(), text, 64);
    return text;
  }

  DomDocument* page_ = nullptr;
  ComRef<IDispatch> document_;
  HostedBand hosted_;
  ComRef<IDicBand> band_;
  ComRef<IDeskBand> desk_band_;
};

TEST_F(PageIntegrationTest, ShowingMarksThePageOnceAndHooksEveryLeafSpan) {
  EXPECT_EQ(DomBodyWrites(page_), 1);  // SetUp's, and none while hidden
  ASSERT_EQ(desk_band_->ShowDW(TRUE), S_OK);
  EXPECT_EQ(Text(DomBodyHtml(page_)),
            L"<p><SPAN>Hello</SPAN> <b><SPAN>world</SPAN></b>, <SPAN>look</SPAN> 42</p>");
  EXPECT_TRUE(band()->pageMarked());
  ASSERT_EQ(DomLeafCount(page_), 3);
  IDispatch* sink = DomElementHandler(DomLeaf(page_, 0));
  ASSERT_NE(sink, nullptr);
  for (int i = 1; i < 3; ++i) EXPECT_EQ(DomElementHandler(DomLeaf(page_, i)), sink);
  // Hidden and shown again: bound again, not marked again.
  desk_band_->ShowDW(FALSE);
  desk_band_->ShowDW(TRUE);
  EXPECT_EQ(DomBodyWrites(page_), 2);  // the one of SetUp and the marking
  RestOn(page_, 1);
  EXPECT_EQ(InputText(), L"world");
}

TEST_F(PageIntegrationTest, UnicodeTextComesBackUnchangedApartFromTheSpans) {
  std::wstring body = L"<p title=\"\u041F\u0440\u0430\u0433\u0430\">P\u0159\u00EDklad \U0001F600 "
                      L"\u041C\u043E\u0441\u043A\u0432\u0430 &amp; \u017Elu\u0165ou\u010Dk\u00FD</p>";
  DomSetBodyHtml(page_, body.c_str());
  desk_band_->ShowDW(TRUE);
  std::wstring marked = Text(DomBodyHtml(page_));
  EXPECT_EQ(WithoutSpans(marked), body);
  EXPECT_NE(marked.find(L"<SPAN>P\u0159\u00EDklad</SPAN>"), std::wstring::npos);
  EXPECT_NE(marked.find(L"<SPAN>\u017Elu\u0165ou\u010Dk\u00FD</SPAN>"), std::wstring::npos);
}

TEST_F(PageIntegrationTest, FramesAreMarkedInOrderEachWithItsOwnSinkAndFramesetsOnlyWalked) {
  DomDocument* frameset = CreateDomDocument(1);
  DomDocument* first = CreateDomDocument(0);
  DomDocument* second = CreateDomDocument(0);
  DomSetBodyHtml(first, L"one");
  DomSetBodyHtml(second, L"two");
  DomAddFrame(frameset, first);
  DomAddFrame(frameset, second);
  ComRef<IDispatch> top;
  *top.Out() = DomDocumentDispatch(frameset);
  hosted_.state.document = top.get();
  desk_band_->ShowDW(TRUE);
  EXPECT_EQ(DomBodyWrites(frameset), 0);  // never rewritten
  EXPECT_EQ(Text(DomBodyHtml(first)), L"<SPAN>one</SPAN>");
  EXPECT_EQ(Text(DomBodyHtml(second)), L"<SPAN>two</SPAN>");
  IDispatch* first_sink = DomElementHandler(DomLeaf(first, 0));
  IDispatch* second_sink = DomElementHandler(DomLeaf(second, 0));
  ASSERT_NE(first_sink, nullptr);
  ASSERT_NE(second_sink, nullptr);
  EXPECT_NE(first_sink, second_sink);
  // Each frame's rest is handled by its own sink, bound to its document.
  RestOn(second, 0);
  EXPECT_EQ(InputText(), L"two");
  ReleaseDomDocument(second);
  ReleaseDomDocument(first);
  ReleaseDomDocument(frameset);
}

TEST_F(PageIntegrationTest, AtMostSixteenDocumentsAreMarked) {
  std::vector<DomDocument*> frames;
  for (int i = 0; i < 20; ++i) {
    frames.push_back(CreateDomDocument(0));
    DomSetBodyHtml(frames.back(), L"word");
    DomAddFrame(page_, frames.back());
  }
  desk_band_->ShowDW(TRUE);
  int marked = 0;
  for (DomDocument* frame : frames) marked += DomBodyWrites(frame) == 2 ? 1 : 0;
  EXPECT_EQ(marked, 15);  // the page itself is the first of the 16
  EXPECT_EQ(DomBodyWrites(frames[19]), 1);
  EXPECT_EQ(DomLeaf(frames[19], 0), nullptr);  // no SPAN, so no handler
  for (DomDocument* frame : frames) ReleaseDomDocument(frame);
}

TEST_F(PageIntegrationTest, ARestLooksUpTheWordOnceAndAMoveBeforeFourHundredMsNone) {
  desk_band_->ShowDW(TRUE);
  RestOn(page_, 2);  // "look"
  EXPECT_EQ(InputText(), L"look");
  ASSERT_EQ(band()->resultView().lines().size(), 8u);  // the sample's "look"
  EXPECT_EQ(band()->resultView().lines()[0], " look");
  EXPECT_NE(GetFocus(), band()->resultView().window());  // the page keeps the focus

  // Over "Hello", then on to another spot before 400 ms: nothing.
  SetWindowTextW(band()->edit(), L"");
  SetCursorPos(70, 80);
  DomMouseMove(page_, DomLeaf(page_, 0), 50, 60);
  PumpFor(kRestMilliseconds);
  EXPECT_EQ(InputText(), L"");
  // Several words passed over without stopping: only the last is looked up.
  DomMouseMove(page_, DomLeaf(page_, 0), 10, 60);
  DomMouseMove(page_, DomLeaf(page_, 1), 20, 60);
  SetCursorPos(30, 60);
  DomMouseMove(page_, DomLeaf(page_, 0), 30, 60);
  PumpFor(kRestMilliseconds);
  EXPECT_EQ(InputText(), L"Hello");
}

TEST_F(PageIntegrationTest, HidingOrNavigatingUnbindsTheSinks) {
  desk_band_->ShowDW(TRUE);
  desk_band_->ShowDW(FALSE);
  RestOn(page_, 2);
  EXPECT_EQ(InputText(), L"");  // the handlers stay on the page but do nothing
  desk_band_->ShowDW(TRUE);
  ASSERT_EQ(band_->BeforeNavigate2(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), S_OK);
  EXPECT_FALSE(band()->pageMarked());
  RestOn(page_, 2);
  EXPECT_EQ(InputText(), L"");
}

TEST_F(PageIntegrationTest, TopDocumentCompleteMarksAgainAndOnlyInnerSpansGetTheHandler) {
  DomSetBodyHtml(page_, L"word <span>42</span>");
  desk_band_->ShowDW(TRUE);
  EXPECT_NE(DomElementHandler(DomLeaf(page_, 1)), nullptr);  // the page's own leaf SPAN too
  // A frame's completion does nothing.
  DomDocument* other = CreateDomDocument(0);
  ComRef<IDispatch> other_dispatch;
  *other_dispatch.Out() = DomDocumentDispatch(other);
  band_->DocumentComplete(other_dispatch.get(), nullptr);
  EXPECT_EQ(DomBodyWrites(page_), 3);  // SetUp's, this test's, the marking
  // The top document's completion marks the same page again.
  ComRef<IUnknown> browser;
  *browser.Out() = BarSiteBrowser(hosted_.site.get());
  ComRef<IDispatch> browser_dispatch;
  browser->QueryInterface(IID_IDispatch, browser_dispatch.OutVoid());
  band_->DocumentComplete(browser_dispatch.get(), nullptr);
  EXPECT_EQ(Text(DomBodyHtml(page_)), L"<SPAN><SPAN>word</SPAN></SPAN> <span>42</span>");
  ASSERT_EQ(DomLeafCount(page_), 2);
  EXPECT_EQ(std::wstring(DomElementTag(DomLeaf(page_, 0))), L"SPAN");
  EXPECT_NE(DomElementHandler(DomLeaf(page_, 0)), nullptr);
  ReleaseDomDocument(other);
}

// What a page script can do with the handler object on a word's
// onmousemove: call its members by name, with arguments of its choosing.
HRESULT ScriptCallsSetup(IDispatch* handler, IDispatch* document, LONG_PTR band) {
  OLECHAR name[] = L"Setup";
  LPOLESTR names[] = {name};
  DISPID setup = DISPID_UNKNOWN;
  HRESULT found = handler->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &setup);
  if (FAILED(found)) return found;
  VARIANT arguments[2];  // in reverse order: pBand, then piDisp
  arguments[0] = AddressVariant(band);
  VariantInit(&arguments[1]);
  arguments[1].vt = VT_DISPATCH;
  arguments[1].pdispVal = document;
  DISPPARAMS parameters = {arguments, nullptr, 2, 0};
  return handler->Invoke(setup, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, nullptr, nullptr,
                         nullptr);
}

HRESULT ScriptCallsDefault(IDispatch* handler) {
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  return handler->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr,
                         nullptr);
}

TEST_F(PageIntegrationTest, APageScriptCanBindASinkOnlyToTheBandThatOwnsIt) {
  desk_band_->ShowDW(TRUE);
  IDispatch* sink = DomElementHandler(DomLeaf(page_, 2));  // on "look"
  ASSERT_NE(sink, nullptr);
  // Another band, alive in this process, with sinks of its own on a page
  // of its own.
  DomDocument* other_page = CreateDomDocument(0);
  DomSetBodyHtml(other_page, L"dog");
  ComRef<IDispatch> other_document;
  *other_document.Out() = DomDocumentDispatch(other_page);
  HostedBand other;
  ASSERT_EQ(other.Create(other_document.get()), S_OK);
  other.desk_band->ShowDW(TRUE);
  ASSERT_NE(DomElementHandler(DomLeaf(other_page, 0)), nullptr);
  for (LONG_PTR address : {static_cast<LONG_PTR>(0x41414141), other.Address(),
                           reinterpret_cast<LONG_PTR>(other.band.get()), hosted_.Address() + 8}) {
    EXPECT_EQ(ScriptCallsSetup(sink, document_.get(), address), S_OK);
    EXPECT_EQ(ScriptCallsDefault(sink), S_OK);
    SetWindowTextW(band()->edit(), L"");
    SetWindowTextW(other.Self()->edit(), L"");
    RestOn(page_, 2);
    EXPECT_EQ(InputText(), L"") << std::hex << address;  // unbound: no lookup anywhere
    wchar_t other_text[16] = {};
    GetWindowTextW(other.Self()->edit(), other_text, 16);
    EXPECT_EQ(std::wstring(other_text), L"");
  }
  // The band's own address binds it, as the band itself would; hidden, a
  // rest replaces the results but leaves the field and the lines alone.
  desk_band_->ShowDW(FALSE);
  SetWindowTextW(band()->edit(), L"before");
  ASSERT_EQ(ScriptCallsSetup(sink, document_.get(), hosted_.Address()), S_OK);
  RestOn(page_, 2);
  EXPECT_EQ(InputText(), L"before");
  EXPECT_EQ(band()->results().size(), 3u);  // the sample's "look"
  EXPECT_TRUE(band()->resultView().lines().empty());
  other.Destroy();
  other_document.Reset();
  ReleaseDomDocument(other_page);
}

TEST_F(PageIntegrationTest, WhenTheSiteWindowGoesFirstTheBandIsHiddenAndARestLooksNothingUp) {
  desk_band_->ShowDW(TRUE);
  ASSERT_NE(DomElementHandler(DomLeaf(page_, 2)), nullptr);
  DestroyWindow(hosted_.host);  // takes the band's windows with it, before CloseDW
  hosted_.host = nullptr;
  EXPECT_EQ(band()->bandWindow(), nullptr);
  EXPECT_FALSE(band()->shown());
  RestOn(page_, 2);
  EXPECT_TRUE(band()->results().empty());
  // A top-level completion does not bind the hidden band's sinks again.
  ComRef<IUnknown> browser;
  *browser.Out() = BarSiteBrowser(hosted_.site.get());
  ComRef<IDispatch> browser_dispatch;
  browser->QueryInterface(IID_IDispatch, browser_dispatch.OutVoid());
  band_->DocumentComplete(browser_dispatch.get(), nullptr);
  RestOn(page_, 2);
  EXPECT_TRUE(band()->results().empty());
}

TEST_F(PageIntegrationTest, NewerDocumentModesHandTheEventToTheHandler) {
  desk_band_->ShowDW(TRUE);
  SetCursorPos(52, 60);
  DomMouseMoveWithEventArgument(page_, DomLeaf(page_, 2), 52, 60);
  PumpFor(kRestMilliseconds);
  EXPECT_EQ(InputText(), L"look");
}
}  // namespace
}  // namespace vordo
