// The dictionary panel in real windows under wine64: the band's contract
// with its site, the input field, the results view's keys, scrolling and
// pixels, the panes, and Translate with the sample dictionary, which the
// tests put beside this program as dic.bin.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "com/com_ref.h"
#include "com/module_state.h"
#include "host/bar_site.h"
#include "dictionary/dictionary_file.h"
#include "panel/dic_band.h"
#include "panel/panes.h"
#include "platform/platform.h"
#include "tests/windows/test_support.h"

namespace vordo {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kLightYellow = RGB(255, 255, 225);
constexpr COLORREF kHeadColor = RGB(0, 32, 80);
constexpr COLORREF kGrey = RGB(128, 128, 128);

// Delivers what is waiting, so that windows are drawn and sized.
void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

RECT RectIn(HWND child, HWND parent) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The message box seam: counts the boxes, and can look up again from
// inside one, as a hover timer firing in its modal loop would.
int g_boxes = 0;
DicBand* g_reentering_band = nullptr;
int WINAPI CountingMessageBox(HWND, LPCWSTR text, LPCWSTR, UINT) {
  ++g_boxes;
  EXPECT_EQ(std::wstring(text), L"Nelze otev\u0159\u00EDt soubor se slovn\u00EDkem.");
  if (g_reentering_band != nullptr) g_reentering_band->Translate("dog", false, true);
  return IDOK;
}

BOOL g_online = FALSE;
BOOL WINAPI FakeConnectedState(LPDWORD flags, DWORD) {
  *flags = 0;
  return g_online;
}

// A top-level window as the bar site's, a site that gives everything, and
// a band on it, shown and sized.
class PanelTest : public ::testing::Test {
 protected:
  // As on the browser's user-interface thread, for the life of the thread;
  // the panes' controls need it.
  static void SetUpTestSuite() { OleInitialize(nullptr); }

  void SetUp() override {
    ASSERT_TRUE(PutSampleDictionary()) << "scripts/wine_tests.sh names the sample dictionary";
    SetMessageBoxFunction(CountingMessageBox);
    SetConnectedStateFunction(FakeConnectedState);
    host_ = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 700,
                            nullptr, nullptr, nullptr, nullptr);
    state_.window = host_;
    *site_.Out() = CreateBarSite(kBarSiteEverything, &state_);
    ASSERT_EQ(DicBand::Create(nullptr, IID_IDicBand, reinterpret_cast<void**>(band_.Out())), S_OK);
    band_->QueryInterface(IID_IObjectWithSite, with_site_.OutVoid());
    band_->QueryInterface(IID_IDeskBand, desk_band_.OutVoid());
    band_->QueryInterface(IID_IInputObject, input_.OutVoid());
    ASSERT_EQ(with_site_->SetSite(site_.get()), S_OK);
    ASSERT_EQ(desk_band_->ShowDW(TRUE), S_OK);
    Resize(300, 600);
  }

  void TearDown() override {
    if (desk_band_) desk_band_->CloseDW(0);
    if (with_site_) with_site_->SetSite(nullptr);
    desk_band_.Reset();
    with_site_.Reset();
    input_.Reset();
    band_.Reset();
    site_.Reset();
    DestroyWindow(host_);
    Pump();
  }

  // Drops every reference the test holds: with its site gone, the band goes.
  void ReleaseBand() {
    desk_band_.Reset();
    with_site_.Reset();
    input_.Reset();
    band_.Reset();
  }

  DicBand* band() { return static_cast<DicBand*>(band_.get()); }
  HWND view() { return band()->resultView().window(); }
  int lineHeight() { return band()->resultView().lineHeight(); }

  void Resize(int width, int height) {
    MoveWindow(band()->bandWindow(), 0, 0, width, height, TRUE);
    Pump();
  }

  void Type(const std::wstring& text) {
    SetWindowTextW(band()->edit(), text.c_str());
    SendMessageW(band()->edit(), WM_CHAR, VK_RETURN, 0);
    Pump();
  }

  void Key(WPARAM key) {
    SendMessageW(view(), WM_KEYDOWN, key, 0);
    Pump();
  }

  int ScrollPosition() { return GetScrollPos(view(), SB_VERT); }

  // What the results view draws, through WM_PRINTCLIENT.
  struct Capture {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    int width, height;
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    ~Capture() {
      SelectObject(dc, previous);
      DeleteObject(bitmap);
      DeleteDC(dc);
    }
  };
  std::unique_ptr<Capture> CaptureView() {
    RECT client;
    GetClientRect(view(), &client);
    HDC screen = GetDC(view());
    auto capture = std::make_unique<Capture>();
    capture->dc = CreateCompatibleDC(screen);
    capture->bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    capture->previous = SelectObject(capture->dc, capture->bitmap);
    capture->width = client.right;
    capture->height = client.bottom;
    ReleaseDC(view(), screen);
    SendMessageW(view(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(capture->dc), PRF_CLIENT);
    return capture;
  }

  // The x of the rightmost pixel of row `row` that differs from `background`.
  int RightmostInk(const Capture& capture, int row, COLORREF background) {
    for (int x = capture.width - 1; x >= 0; --x) {
      for (int y = row * lineHeight(); y < (row + 1) * lineHeight(); ++y) {
        if (capture.At(x, y) != background) return x;
      }
    }
    return -1;
  }

  bool RowHasColour(const Capture& capture, int row, COLORREF colour) {
    for (int y = row * lineHeight(); y < (row + 1) * lineHeight(); ++y) {
      for (int x = 0; x < capture.width; ++x) {
        if (capture.At(x, y) == colour) return true;
      }
    }
    return false;
  }

  HWND host_ = nullptr;
  BarSiteState state_ = {};
  ComRef<IUnknown> site_;
  ComRef<IDicBand> band_;
  ComRef<IObjectWithSite> with_site_;
  ComRef<IDeskBand> desk_band_;
  ComRef<IInputObject> input_;
};

// The dictionary is opened once per process: scripts/wine_tests.sh runs this
// test in a process of its own.
TEST_F(PanelTest, AMissingDictionaryGivesOneMessageAtATimeAndALaterLookupRecovers) {
  ASSERT_FALSE(ProcessDictionary().IsOpen()) << "run this test in a process that has not opened it";
  DeleteFileW(DictionaryBesideProgram().c_str());
  g_boxes = 0;
  g_reentering_band = band();
  Type(L"look");
  g_reentering_band = nullptr;
  EXPECT_EQ(g_boxes, 1);  // the lookup inside the box showed none of its own
  EXPECT_TRUE(band()->results().empty());
  EXPECT_TRUE(band()->resultView().lines().empty());
  Type(L"look");
  EXPECT_EQ(g_boxes, 2);  // each lookup tries again

  ASSERT_TRUE(PutSampleDictionary());
  Type(L"look");
  EXPECT_EQ(g_boxes, 2);
  EXPECT_EQ(band()->results().size(), 3u);
}

TEST_F(PanelTest, TheLastReleaseWithTheFocusInThePanelDeletesTheBandOnce) {
  SetFocus(band()->edit());
  Pump();
  ASSERT_EQ(input_->HasFocusIO(), S_OK);
  with_site_->SetSite(nullptr);  // and no CloseDW: the windows are the band's to destroy
  LONG locks = ModuleLockCount();
  int focus_changes = state_.focusChanges;
  ReleaseBand();
  EXPECT_EQ(ModuleLockCount(), locks - 1);  // one band gone, once
  EXPECT_EQ(GetFocus(), host_);             // the double moved the focus out, as Windows does
  EXPECT_EQ(state_.focusChanges, focus_changes);  // and the dying band told the site nothing
}

TEST_F(PanelTest, ASecondSiteWithoutSetSiteNullTakesTheBandAndItsEvents) {
  HWND second_host = CreateWindowExW(0, L"STATIC", L"second", WS_OVERLAPPEDWINDOW, 0, 0, 300, 600, nullptr,
                                     nullptr, nullptr, nullptr);
  BarSiteState second = {};
  second.window = second_host;
  ComRef<IUnknown> second_site;
  *second_site.Out() = CreateBarSite(kBarSiteEverything, &second);
  ASSERT_EQ(with_site_->SetSite(second_site.get()), S_OK);
  EXPECT_EQ(state_.unadvises, 1);  // the first browser no longer holds the band
  EXPECT_EQ(state_.eventSink, nullptr);
  EXPECT_EQ(second.wrongUnadvises, 0);  // and the second was not asked to end the first's connection
  EXPECT_EQ(second.advises, 1);
  EXPECT_EQ(second.eventSink, static_cast<IDispatch*>(band_.get()));
  EXPECT_EQ(GetParent(band()->bandWindow()), second_host);
  desk_band_->CloseDW(0);
  with_site_->SetSite(nullptr);
  EXPECT_EQ(second.unadvises, 1);
  EXPECT_EQ(second.eventSink, nullptr);
  ReleaseBand();  // it holds the second site, whose state is this test's
  second_site.Reset();
  DestroyWindow(second_host);
}

TEST_F(PanelTest, ClosingAndASiteAgainMakeTheWindowsButNoNewFontsOrBrushes) {
  Type(L"look");
  const ResultView& view = band()->resultView();
  HGDIOBJ objects[] = {view.normalFont(), view.boldFont(), view.focusFrameBrush(), band()->focusedBrush(),
                       band()->idleBrush()};
  for (HGDIOBJ object : objects) ASSERT_NE(GetObjectType(object), 0u);
  for (int again = 0; again < 3; ++again) {
    desk_band_->CloseDW(0);
    EXPECT_EQ(band()->bandWindow(), nullptr);
    ASSERT_EQ(with_site_->SetSite(site_.get()), S_OK);
    ASSERT_NE(band()->bandWindow(), nullptr);
    desk_band_->ShowDW(TRUE);
  }
  HGDIOBJ after[] = {view.normalFont(), view.boldFont(), view.focusFrameBrush(), band()->focusedBrush(),
                     band()->idleBrush()};
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(after[i], objects[i]) << i;
  Resize(300, 600);
  Type(L"look");
  EXPECT_EQ(band()->resultView().lines().size(), 8u);  // the new windows work
  // Released once, with the band.
  desk_band_->CloseDW(0);
  with_site_->SetSite(nullptr);
  ReleaseBand();
  for (HGDIOBJ object : objects) EXPECT_EQ(GetObjectType(object), 0u);
}

// The message box of one thread holds on until another thread's box showed.
DWORD g_first_thread = 0;
HANDLE g_first_box_shown = nullptr;
HANDLE g_second_box_shown = nullptr;
volatile LONG g_thread_boxes = 0;
int WINAPI BoxPerThread(HWND, LPCWSTR, LPCWSTR, UINT) {
  InterlockedIncrement(&g_thread_boxes);
  if (GetCurrentThreadId() == g_first_thread) {
    SetEvent(g_first_box_shown);
    WaitForSingleObject(g_second_box_shown, 5000);
  } else {
    SetEvent(g_second_box_shown);
    ShowCannotOpenDictionary();  // a timer in this box's loop: no second box here
  }
  return IDOK;
}

DWORD WINAPI ShowMessageOnThread(void*) {
  ShowCannotOpenDictionary();
  return 0;
}

TEST_F(PanelTest, TheMessageShowsOnEveryThreadButOnceOnEach) {
  g_first_box_shown = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  g_second_box_shown = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SetMessageBoxFunction(BoxPerThread);
  HANDLE first = CreateThread(nullptr, 0, ShowMessageOnThread, nullptr, CREATE_SUSPENDED, &g_first_thread);
  ResumeThread(first);
  ASSERT_EQ(WaitForSingleObject(g_first_box_shown, 10000), WAIT_OBJECT_0);
  ShowCannotOpenDictionary();  // while the first thread's box is up
  EXPECT_EQ(WaitForSingleObject(first, 10000), WAIT_OBJECT_0);
  EXPECT_EQ(g_thread_boxes, 2);
  CloseHandle(first);
  CloseHandle(g_first_box_shown);
  CloseHandle(g_second_box_shown);
  SetMessageBoxFunction(CountingMessageBox);
}

TEST_F(PanelTest, SetSiteNeedsABrowserAnInputSiteAndAWindow) {
  EXPECT_EQ(state_.advises, 1);
  EXPECT_EQ(state_.eventSink, static_cast<IDispatch*>(band_.get()));
  for (int parts : {kBarSiteInputSite | kBarSiteWindow, kBarSiteBrowser | kBarSiteWindow,
                    kBarSiteBrowser | kBarSiteInputSite}) {
    BarSiteState state = {};
    state.window = host_;
    ComRef<IUnknown> site;
    *site.Out() = CreateBarSite(parts, &state);
    ComRef<IObjectWithSite> fresh;
    ASSERT_EQ(DicBand::Create(nullptr, IID_IObjectWithSite, fresh.OutVoid()), S_OK);
    EXPECT_EQ(fresh->SetSite(site.get()), E_FAIL) << parts;
    HWND window = reinterpret_cast<HWND>(1);
    static_cast<DicBand*>(static_cast<IObjectWithSite*>(fresh.get()))->GetWindow(&window);
    EXPECT_EQ(window, nullptr) << parts;
    fresh->SetSite(nullptr);
  }
  ComRef<IUnknown> got;
  EXPECT_EQ(with_site_->GetSite(IID_IUnknown, got.OutVoid()), S_OK);
  EXPECT_EQ(got.get(), site_.get());
  EXPECT_EQ(with_site_->SetSite(nullptr), S_OK);
  EXPECT_EQ(state_.unadvises, 1);
  EXPECT_EQ(with_site_->GetSite(IID_IUnknown, got.OutVoid()), E_FAIL);
  EXPECT_EQ(got.get(), nullptr);
}

TEST_F(PanelTest, GetBandInfoFillsWhatIsAskedAndClearsTheColourBit) {
  DESKBANDINFO info = {};
  info.dwMask = 0x7F;
  ASSERT_EQ(desk_band_->GetBandInfo(7, 1, &info), S_OK);
  EXPECT_EQ(info.dwMask, 0x3Fu);
  EXPECT_EQ(info.ptMinSize.x, 10);
  EXPECT_EQ(info.ptMinSize.y, 10);
  EXPECT_EQ(info.ptMaxSize.x, -1);
  EXPECT_EQ(info.ptMaxSize.y, -1);
  EXPECT_EQ(info.ptIntegral.y, 1);
  EXPECT_EQ(info.ptActual.x, 0);
  EXPECT_EQ(std::wstring(info.wszTitle), L"Vordo");
  EXPECT_EQ(info.dwModeFlags, static_cast<DWORD>(DBIMF_VARIABLEHEIGHT));
  DESKBANDINFO only_title = {};
  only_title.dwMask = DBIM_TITLE;
  ASSERT_EQ(desk_band_->GetBandInfo(7, 1, &only_title), S_OK);
  EXPECT_EQ(only_title.ptMinSize.x, 0);  // not asked, not filled
  EXPECT_EQ(desk_band_->GetBandInfo(7, 1, nullptr), E_INVALIDARG);
}

TEST_F(PanelTest, ShowBeforeASiteDoesNothingAndAcceleratorsAlwaysSucceed) {
  ComRef<IDeskBand> fresh;
  ASSERT_EQ(DicBand::Create(nullptr, IID_IDeskBand, fresh.OutVoid()), S_OK);
  EXPECT_EQ(fresh->ShowDW(TRUE), S_OK);
  EXPECT_FALSE(static_cast<DicBand*>(static_cast<IDeskBand*>(fresh.get()))->shown());

  MSG key_up = {band()->edit(), WM_KEYUP, 'A', 0, 0, {0, 0}};
  EXPECT_EQ(input_->TranslateAcceleratorIO(&key_up), S_OK);
  SetFocus(band()->edit());
  SetWindowTextW(band()->edit(), L"");
  MSG character = {band()->edit(), WM_CHAR, 'x', 0, 0, {0, 0}};
  EXPECT_EQ(input_->TranslateAcceleratorIO(&character), S_OK);
  wchar_t text[8] = {};
  GetWindowTextW(band()->edit(), text, 8);
  EXPECT_EQ(std::wstring(text), L"x");
}

TEST_F(PanelTest, FocusIsTrackedAndToldToTheSite) {
  HWND elsewhere = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 650, 50, 20, host_, nullptr,
                                   nullptr, nullptr);
  SetFocus(elsewhere);
  Pump();
  EXPECT_EQ(input_->HasFocusIO(), S_FALSE);
  ASSERT_EQ(input_->UIActivateIO(TRUE, nullptr), S_OK);  // the band passes it to the input field
  Pump();
  EXPECT_EQ(GetFocus(), band()->edit());
  EXPECT_EQ(input_->HasFocusIO(), S_OK);
  EXPECT_GT(state_.focusChanges, 0);
  EXPECT_TRUE(state_.lastFocus);
  SetFocus(elsewhere);
  Pump();
  EXPECT_EQ(input_->HasFocusIO(), S_FALSE);
  EXPECT_FALSE(state_.lastFocus);
}

TEST_F(PanelTest, EnterLooksUpAndShowsTheResults) {
  ASSERT_NE(band()->helpPane(), nullptr) << "Wine's atl.dll hosts the panes";
  EXPECT_TRUE(IsWindowVisible(band()->helpPane()));
  EXPECT_FALSE(IsWindowVisible(view()));
  Type(L"look");
  Type(L"look");
  EXPECT_EQ(SendMessageW(band()->combo(), CB_GETCOUNT, 0, 0), 2);  // the same text twice
  const std::vector<std::string>& lines = band()->resultView().lines();
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], " look");
  EXPECT_EQ(lines[1], "pohled");
  EXPECT_EQ(lines[2], "d\xEDvat se");
  EXPECT_EQ(lines[4], " look after (sb/st)");
  EXPECT_EQ(band()->resultView().selected(), 0);
  EXPECT_EQ(GetFocus(), view());
  EXPECT_FALSE(IsWindowVisible(band()->helpPane()));
  EXPECT_TRUE(IsWindowVisible(view()));
  wchar_t text[8] = {};
  GetWindowTextW(band()->edit(), text, 8);
  EXPECT_EQ(std::wstring(text), L"look");  // the text stays in the field

  // Escape and Tab go to the view; the view's go back to the field.
  for (WPARAM key : {VK_ESCAPE, VK_TAB}) {
    SetFocus(band()->edit());
    SendMessageW(band()->edit(), WM_CHAR, key, 0);
    EXPECT_EQ(GetFocus(), view());
    Key(key);
    EXPECT_EQ(GetFocus(), band()->edit());
  }
}

TEST_F(PanelTest, TheFieldTakes255CharactersAndCzechAsWindows1250) {
  Type(std::wstring(250, L' ') + L"houseboat");  // cut after "house"
  ASSERT_EQ(band()->resultView().lines().size(), 3u);
  EXPECT_EQ(band()->resultView().lines()[2], "obydl\xED");
  Type(L"\u010Desky");  // "česky": its first byte is 0xE8 whatever the system's code page
  EXPECT_TRUE(band()->resultView().lines().empty());
  wchar_t item[16] = {};
  SendMessageW(band()->combo(), CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(item));
  EXPECT_EQ(std::wstring(item), L"\u010Desky");
}

// scripts/wine_tests.sh runs the panel's tests again under another system
// code page and names it here, so that such a run cannot pass by mistake
// under the usual one.
TEST_F(PanelTest, RunsUnderTheCodePageAskedFor) {
  const char* expected = std::getenv("VORDO_EXPECT_CODE_PAGE");
  if (expected != nullptr) {
    EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
  }
}

TEST_F(PanelTest, AHiddenLookupReplacesTheResultsButNotWhatIsShown) {
  Type(L"look");
  band()->Translate("house", false, false);
  EXPECT_EQ(band()->results().size(), 1u);
  EXPECT_EQ(band()->resultView().lines().size(), 8u);
  EXPECT_EQ(band()->resultView().lines()[0], " look");
}

TEST_F(PanelTest, LayoutFollowsTheSizeWithoutNegativeHeights) {
  struct Size {
    int width, height;
  };
  for (Size size : {Size{300, 600}, Size{200, 181}, Size{250, 150}, Size{100, 400}}) {
    Resize(size.width, size.height);
    HWND window = band()->bandWindow();
    RECT combo = RectIn(band()->combo(), window);
    EXPECT_EQ(combo.top, 0);
    EXPECT_EQ(combo.right - combo.left, size.width);
    EXPECT_EQ(combo.bottom - combo.top, 21);
    RECT middle = RectIn(view(), window);
    EXPECT_EQ(middle.top, 21);
    EXPECT_EQ(middle.bottom - middle.top, std::max(size.height - 181, 0)) << size.height;
    RECT help = RectIn(band()->helpPane(), window);
    EXPECT_EQ(help.bottom - help.top, std::max(size.height - 181, 0));
    RECT banner = RectIn(band()->bannerPane(), window);
    EXPECT_EQ(banner.top, std::max(size.height, 179) - 158) << size.height;
    EXPECT_EQ(banner.bottom - banner.top, 158);
    EXPECT_EQ(banner.right - banner.left, std::max(size.width, 128) + 18);
  }
}

TEST_F(PanelTest, KeysWheelClicksAndTheScrollBarMoveTheSelectionAndTheView) {
  Type(L"look");
  int lh = lineHeight();
  Resize(300, 181 + 3 * lh + 4);  // three whole rows and a part
  RECT client;
  GetClientRect(view(), &client);
  int height = client.bottom;
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(band()->resultView().selected(), 2);
  Key(VK_DOWN);  // row 3's lower edge lies below the bottom: it rises to one pixel above it
  EXPECT_EQ(band()->resultView().selected(), 3);
  EXPECT_EQ(ScrollPosition(), 4 * lh - height + 1);
  Key(VK_END);
  EXPECT_EQ(band()->resultView().selected(), 7);
  Key(VK_DOWN);
  EXPECT_EQ(band()->resultView().selected(), 7);
  Key(VK_HOME);
  EXPECT_EQ(band()->resultView().selected(), 0);
  EXPECT_EQ(ScrollPosition(), 0);
  Key(VK_UP);
  EXPECT_EQ(band()->resultView().selected(), 0);
  Key(VK_NEXT);
  EXPECT_EQ(band()->resultView().selected(), height / lh);
  Key(VK_PRIOR);
  EXPECT_EQ(band()->resultView().selected(), 0);

  SendMessageW(view(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(ScrollPosition(), 2 * lh);  // one notch towards the user: two rows down
  SendMessageW(view(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, lh), 0);
  EXPECT_EQ(ScrollPosition(), lh);
  SendMessageW(view(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
  EXPECT_EQ(ScrollPosition(), lh);  // nothing happens

  SendMessageW(view(), WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
  SendMessageW(view(), WM_LBUTTONDOWN, 0, MAKELPARAM(5, lh + 1));
  EXPECT_EQ(band()->resultView().selected(), 1);
  EXPECT_EQ(GetFocus(), view());

  // A click below the last row selects no row; Down brings it to the last.
  Type(L"house");
  SendMessageW(view(), WM_LBUTTONDOWN, 0, MAKELPARAM(5, 3 * lh + 2));
  EXPECT_EQ(band()->resultView().selected(), 3);
  Key(VK_DOWN);
  EXPECT_EQ(band()->resultView().selected(), 2);

  // An empty list: End selects -1, Home comes back to 0.
  Type(L"nothing");
  Key(VK_END);
  EXPECT_EQ(band()->resultView().selected(), -1);
  Key(VK_HOME);
  EXPECT_EQ(band()->resultView().selected(), 0);
}

TEST_F(PanelTest, ThePixelsOfTheView) {
  Type(L"look");
  int lh = lineHeight();
  std::unique_ptr<Capture> focused = CaptureView();
  // Row 0 is selected: the system highlight with white text and marker.
  COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_EQ(focused->At(focused->width / 2, lh / 2), highlight);
  EXPECT_TRUE(RowHasColour(*focused, 0, kWhite));
  EXPECT_EQ(focused->At(2, 6), kWhite);  // the marker on the selected row
  // The dotted frame along the selected row's edges.
  EXPECT_NE(focused->At(0, 0), focused->At(1, 0));
  // Row 4, " look after (sb/st)": the marker in the head colour, the group grey.
  int head_row = 4 * lh;
  for (auto [x, y] : {std::pair{2, 4}, std::pair{3, 5}, std::pair{4, 6}, std::pair{4, 7}, std::pair{2, 9}}) {
    EXPECT_EQ(focused->At(x, head_row + y), kHeadColor) << x << "," << y;
  }
  EXPECT_EQ(focused->At(5, head_row + 4), kWhite);  // beside the triangle
  EXPECT_TRUE(RowHasColour(*focused, 4, kGrey));
  EXPECT_TRUE(RowHasColour(*focused, 5, kGrey));   // "starat se o (koho/co)"
  EXPECT_FALSE(RowHasColour(*focused, 1, kGrey));  // "pohled"
  // Focus in the view: white below the last row; elsewhere light yellow.
  EXPECT_EQ(focused->At(10, focused->height - 2), kWhite);
  EXPECT_EQ(focused->At(focused->width - 2, 3 * lh + 1), kWhite);
  SetFocus(band()->edit());
  Pump();
  std::unique_ptr<Capture> idle = CaptureView();
  EXPECT_EQ(idle->At(10, idle->height - 2), kLightYellow);
  EXPECT_EQ(idle->At(idle->width - 2, 3 * lh + 1), kLightYellow);
  EXPECT_EQ(idle->At(idle->width / 2, lh / 2), highlight);  // the selection stays highlighted

  // A narrow view cuts the long line with "..." inside its right margin.
  int wide_ink = RightmostInk(*idle, 5, kLightYellow);
  Resize(90, 600);
  std::unique_ptr<Capture> narrow = CaptureView();
  int narrow_ink = RightmostInk(*narrow, 5, kLightYellow);
  EXPECT_GT(wide_ink, narrow->width);
  EXPECT_GT(narrow_ink, narrow->width / 2);
  EXPECT_LE(narrow_ink, narrow->width - 2);  // text from x = 3, fitted to the width less 5
}

IUnknown* g_control = nullptr;
LRESULT CALLBACK FakeAxHostProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  static const UINT get_control = RegisterWindowMessageA("WM_ATLGETCONTROL");
  if (message == get_control) {
    g_control->AddRef();
    return reinterpret_cast<LRESULT>(g_control);
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

TEST_F(PanelTest, TheAdvertisementIsNavigatedOncePerProcessWhenOnline) {
  // A banner pane stand-in that answers WM_ATLGETCONTROL with a browser.
  IUnknown* control = nullptr;
  BarSiteState state = {};
  ComRef<IUnknown> site;
  *site.Out() = CreateBarSite(kBarSiteEverything, &state);
  control = BarSiteBrowser(site.get());
  g_control = control;
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = FakeAxHostProc;
  window_class.lpszClassName = L"FakeAxHost";
  RegisterClassW(&window_class);
  HWND banner = CreateWindowExW(0, L"FakeAxHost", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_FALSE(AdNavigated());
  g_online = FALSE;
  NavigateBannerOnce(banner);
  NavigateBannerOnce(banner);
  EXPECT_EQ(state.navigations, 0);
  EXPECT_FALSE(AdNavigated());
  g_online = TRUE;
  NavigateBannerOnce(banner);
  NavigateBannerOnce(banner);
  EXPECT_EQ(state.navigations, 1);
  EXPECT_EQ(std::wstring(state.lastUrl), std::wstring(L"http://vordo.example/adv.html"));
  EXPECT_TRUE(AdNavigated());
  DestroyWindow(banner);
  control->Release();
}

}  // namespace
}  // namespace vordo
