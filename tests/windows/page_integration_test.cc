// Automatic search under wine64, against document doubles that behave like
// the browser's: marking the page and its frames, binding the sinks, and
// the hover lookup driven by real timers and the real cursor. The sinks
// come from vordo.dll's class object, as the band makes them through COM.
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
#include "page/page_integration.h"
#include "panel/dic_band.h"
#include "panel/panes.h"
#include "platform/platform.h"
#include "tests/windows/test_support.h"

namespace vordo {
namespace {

constexpr UINT kRestMilliseconds = EvtHandler::kHoverMilliseconds + 150;

// The sinks from the DLL, whose own type library serves their dispatch.
HRESULT CreateSinkFromModule(IEvtHandler** sink) {
  static HMODULE module = [] {
    const char* path = std::getenv("VORDO_DLL");
    return path == nullptr ? nullptr : LoadLibraryA(path);
  }();
  if (module == nullptr) return E_FAIL;
  using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  auto get = reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  ComRef<IClassFactory> factory;
  if (get == nullptr || FAILED(get(CLSID_EvtHandler, IID_IClassFactory, factory.OutVoid()))) return E_FAIL;
  return factory->CreateInstance(nullptr, IID_IEvtHandler, reinterpret_cast<void**>(sink));
}

int g_boxes = 0;
int WINAPI CountingMessageBox(HWND, LPCWSTR, LPCWSTR, UINT) {
  ++g_boxes;
  return IDOK;
}

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
    ASSERT_TRUE(PutSampleDictionary()) << "scripts/wine_tests.sh names the sample dictionary";
    SetMessageBoxFunction(CountingMessageBox);
    SetSinkCreator(CreateSinkFromModule);
    host_ = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 700, nullptr,
                            nullptr, nullptr, nullptr);
    page_ = CreateDomDocument(0);
    DomSetBodyHtml(page_, L"<p>Hello <b>world</b>, look 42</p>");
    state_.window = host_;
    *document_.Out() = DomDocumentDispatch(page_);
    state_.document = document_.get();
    *site_.Out() = CreateBarSite(kBarSiteEverything, &state_);
    ASSERT_EQ(DicBand::Create(nullptr, IID_IDicBand, reinterpret_cast<void**>(band_.Out())), S_OK);
    band_->QueryInterface(IID_IObjectWithSite, with_site_.OutVoid());
    band_->QueryInterface(IID_IDeskBand, desk_band_.OutVoid());
    ASSERT_EQ(with_site_->SetSite(site_.get()), S_OK);
    MoveWindow(band()->bandWindow(), 0, 0, 300, 600, TRUE);
  }

  void TearDown() override {
    desk_band_->CloseDW(0);
    with_site_->SetSite(nullptr);
    desk_band_.Reset();
    with_site_.Reset();
    band_.Reset();
    site_.Reset();
    document_.Reset();
    ReleaseDomDocument(page_);
    DestroyWindow(host_);
    PumpFor(10);
    SetSinkCreator(nullptr);
  }

  DicBand* band() { return static_cast<DicBand*>(band_.get()); }

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

  HWND host_ = nullptr;
  DomDocument* page_ = nullptr;
  ComRef<IDispatch> document_;
  BarSiteState state_ = {};
  ComRef<IUnknown> site_;
  ComRef<IDicBand> band_;
  ComRef<IObjectWithSite> with_site_;
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
  state_.document = top.get();
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
  *browser.Out() = BarSiteBrowser(site_.get());
  ComRef<IDispatch> browser_dispatch;
  browser->QueryInterface(IID_IDispatch, browser_dispatch.OutVoid());
  band_->DocumentComplete(browser_dispatch.get(), nullptr);
  EXPECT_EQ(Text(DomBodyHtml(page_)), L"<SPAN><SPAN>word</SPAN></SPAN> <span>42</span>");
  ASSERT_EQ(DomLeafCount(page_), 2);
  EXPECT_EQ(std::wstring(DomElementTag(DomLeaf(page_, 0))), L"SPAN");
  EXPECT_NE(DomElementHandler(DomLeaf(page_, 0)), nullptr);
  ReleaseDomDocument(other);
}

// A stand-in for the panel, to see the handler alone.
class FakeTarget final : public HoverTarget {
 public:
  HWND window = nullptr;
  HWND input = nullptr;
  bool shown = false;
  std::vector<std::string> lookups;
  HWND HoverWindow() const override { return window; }
  HWND InputField() const override { return input; }
  bool PanelShown() const override { return shown; }
  void LookUpHovered(const std::string& word) override { lookups.push_back(word); }
};

TEST_F(PageIntegrationTest, TheHandlerAloneLooksUpHiddenWithoutTouchingTheField) {
  FakeTarget target;
  target.window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  target.input = CreateWindowExW(0, L"EDIT", L"before", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ComRef<IEvtHandler> handler;
  ASSERT_EQ(CreateSinkFromModule(handler.Out()), S_OK);
  DomSetBodyHtml(page_, L"<SPAN>42</SPAN><SPAN></SPAN><b>x</b>");
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_DISPATCH;
  value.pdispVal = handler.get();
  for (int i = 0; i < DomLeafCount(page_); ++i) {
    reinterpret_cast<IHTMLElement*>(DomLeaf(page_, i))->put_onmousemove(value);
  }
  // Unbound: nothing.
  RestOn(page_, 0);
  EXPECT_TRUE(target.lookups.empty());
  ComRef<IDispatch> document;
  *document.Out() = DomDocumentDispatch(page_);
  handler->Setup(document.get(), reinterpret_cast<LONG_PTR>(static_cast<HoverTarget*>(&target)));
  RestOn(page_, 0);
  RestOn(page_, 1);
  RestOn(page_, 2);  // not a SPAN: nothing
  EXPECT_EQ(target.lookups, (std::vector<std::string>{"42", ""}));
  wchar_t text[16] = {};
  GetWindowTextW(target.input, text, 16);
  EXPECT_EQ(std::wstring(text), L"before");  // hidden: the field is left alone
  handler->Setup(nullptr, reinterpret_cast<LONG_PTR>(static_cast<HoverTarget*>(&target)));
  DestroyWindow(target.input);
  DestroyWindow(target.window);
}

}  // namespace
}  // namespace vordo
