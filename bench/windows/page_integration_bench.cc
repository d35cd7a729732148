// How long automatic search takes to make a large page hoverable: the
// body's markup (about 1 MB of the Debian bzip2 and bc manuals, as UTF-16)
// read through the document double, marked through the UTF-16 boundary,
// written back (the double builds its element tree), and every leaf SPAN
// hooked. Google Benchmark is not built for Windows here, so this times
// itself: the median of several showings of fresh copies of the page.
// Usage (under wine64): page_integration_bench.exe PAGE.html
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "com/com_ref.h"
#include "host/bar_site.h"
#include "host/dom_doubles.h"
#include "page/evt_handler.h"
#include "page/page_integration.h"
#include "panel/dic_band.h"
#include "platform/platform.h"

namespace {

constexpr int kRounds = 7;

HRESULT CreateSink(IEvtHandler** sink) {
  return vordo::EvtHandler::Create(nullptr, IID_IEvtHandler, reinterpret_cast<void**>(sink));
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vordo;
  if (argc != 2) {
    std::fprintf(stderr, "usage: page_integration_bench.exe PAGE.html\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  std::string page = content.str();
  std::string body;
  while (body.size() < (1u << 20) && !page.empty()) body += page;
  std::u16string wide = NarrowToWide(body);  // any text: the marker reads UTF-16 as it is
  std::wstring markup(wide.begin(), wide.end());

  OleInitialize(nullptr);
  SetSinkCreator(CreateSink);
  HWND host = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 600, nullptr, nullptr, nullptr,
                              nullptr);
  std::vector<double> times;
  size_t leaves = 0;
  for (int round = 0; round < kRounds; ++round) {
    DomDocument* document = CreateDomDocument(0);
    DomSetBodyHtml(document, markup.c_str());
    ComRef<IDispatch> dispatch;
    *dispatch.Out() = DomDocumentDispatch(document);
    BarSiteState state = {};
    state.window = host;
    state.document = dispatch.get();
    ComRef<IUnknown> site;
    *site.Out() = CreateBarSite(kBarSiteEverything, &state);
    ComRef<IObjectWithSite> band;
    ComRef<IDeskBand> desk_band;
    vordo::DicBand::Create(nullptr, IID_IObjectWithSite, band.OutVoid());
    band->QueryInterface(IID_IDeskBand, desk_band.OutVoid());
    band->SetSite(site.get());
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    desk_band->ShowDW(TRUE);  // marks the page and hooks its SPANs
    QueryPerformanceCounter(&end);
    times.push_back(Milliseconds(start, end));
    leaves = static_cast<size_t>(DomLeafCount(document));
    desk_band->CloseDW(0);
    band->SetSite(nullptr);
    desk_band.Reset();
    band.Reset();
    site.Reset();
    dispatch.Reset();
    ReleaseDomDocument(document);
  }
  std::sort(times.begin(), times.end());
  std::printf("page of %zu characters, %zu leaf SPANs: marking and hooking took %.1f ms (median of %d; %.1f to %.1f)\n",
              markup.size(), leaves, times[times.size() / 2], kRounds, times.front(), times.back());
  DestroyWindow(host);
  OleUninitialize();
  return 0;
}
