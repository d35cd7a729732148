#include "page/page_integration.h"

#include <oleidl.h>

#include <string>
#include <vector>

#include "markup/span_marker.h"
#include "page/sink_owners.h"

namespace vordo {
namespace {

// In-process server and handler, local and remote server.
constexpr DWORD kSinkClassContext = 0x17;

HRESULT CreateSinkThroughCom(IEvtHandler** sink) {
  return CoCreateInstance(CLSID_EvtHandler, nullptr, kSinkClassContext, IID_IEvtHandler,
                          reinterpret_cast<void**>(sink));
}

SinkCreator g_create_sink = nullptr;

bool BodyOf(IDispatch* document, ComRef<IHTMLDocument2>* html, ComRef<IHTMLElement>* body) {
  if (document == nullptr || FAILED(document->QueryInterface(IID_IHTMLDocument2, html->OutVoid())) ||
      !*html) {
    return false;
  }
  if (FAILED((*html)->get_body(body->Out()))) body->Reset();
  return true;
}

bool IsFrameset(IHTMLElement* body) {
  if (body == nullptr) return false;
  BSTR tag = nullptr;
  bool frameset = SUCCEEDED(body->get_tagName(&tag)) && tag != nullptr && lstrcmpiW(tag, L"frameset") == 0;
  SysFreeString(tag);
  return frameset;
}

// The documents of the document's frames, in the order its container
// lists them.
std::vector<ComRef<IDispatch>> CollectFrameDocuments(IDispatch* document) {
  std::vector<ComRef<IDispatch>> frames;
  ComRef<IOleContainer> container;
  ComRef<IEnumUnknown> objects;
  if (FAILED(document->QueryInterface(IID_IOleContainer, container.OutVoid())) ||
      FAILED(container->EnumObjects(OLECONTF_EMBEDDINGS, objects.Out())) || !objects) {
    return frames;
  }
  for (;;) {
    ComRef<IUnknown> object;
    if (objects->Next(1, object.Out(), nullptr) != S_OK) break;
    ComRef<IWebBrowser2> frame;
    if (FAILED(object->QueryInterface(IID_IWebBrowser2, frame.OutVoid()))) continue;
    frames.emplace_back();
    if (FAILED(frame->get_Document(frames.back().Out())) || !frames.back()) frames.pop_back();
  }
  return frames;
}

}  // namespace

void SetSinkCreator(SinkCreator create) { g_create_sink = create; }

PageIntegration::~PageIntegration() {
  Unbind();
  for (ComRef<IEvtHandler>& sink : sinks_) {
    if (sink) ForgetSinkOwner(sink.get());
  }
}

bool PageIntegration::CreateSinks() {
  if (sinks_[0]) return true;
  SinkCreator create = g_create_sink != nullptr ? g_create_sink : CreateSinkThroughCom;
  for (unsigned i = kMaxDocuments; i > 0; --i) {
    if (FAILED(create(sinks_[i - 1].Out())) || !sinks_[i - 1]) {
      for (ComRef<IEvtHandler>& sink : sinks_) sink.Reset();  // tried again next time
      return false;
    }
  }
  for (ComRef<IEvtHandler>& sink : sinks_) RecordSinkOwner(sink.get(), band_);
  return true;
}

void PageIntegration::Unbind() {
  for (ComRef<IEvtHandler>& sink : sinks_) {
    if (sink) sink->Setup(nullptr, reinterpret_cast<LONG_PTR>(band_));
  }
}

void PageIntegration::SetPageIntegration(IWebBrowser2* browser, bool enable) {
  if (!CreateSinks()) return;
  if (!enable) {
    Unbind();
    return;
  }
  if (browser == nullptr) return;
  ComRef<IDispatch> document;
  ComRef<IHTMLDocument2> html;
  ComRef<IHTMLElement> body;
  if (FAILED(browser->get_Document(document.Out())) || !BodyOf(document.get(), &html, &body)) return;
  if (!page_marked_ && body) {
    sink_count_ = 0;
    MarkDocuments(document.get());
    page_marked_ = true;
  }
  sink_count_ = 0;
  AttachSinks(document.get());
}

void PageIntegration::MarkDocuments(IDispatch* document) {
  ComRef<IHTMLDocument2> html;
  ComRef<IHTMLElement> body;
  if (BodyOf(document, &html, &body) && !IsFrameset(body.get()) && sink_count_ < kMaxDocuments) {
    if (body) {
      MarkBody(body.get());
      VARIANT handler;
      VariantInit(&handler);
      handler.vt = VT_DISPATCH;
      handler.pdispVal = sinks_[sink_count_].get();
      HookLeafSpans(body.get(), handler);
    }
    ++sink_count_;
  }
  for (ComRef<IDispatch>& frame : CollectFrameDocuments(document)) MarkDocuments(frame.get());
}

void PageIntegration::MarkBody(IHTMLElement* body) {
  BSTR markup = nullptr;
  if (FAILED(body->get_innerHTML(&markup)) || markup == nullptr) return;
  std::u16string marked = SpanMarker().RewriteUtf16(
      std::u16string_view(reinterpret_cast<const char16_t*>(markup), SysStringLen(markup)));
  SysFreeString(markup);
  BSTR written = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(marked.data()),
                                   static_cast<UINT>(marked.size()));
  if (written == nullptr) return;
  body->put_innerHTML(written);
  SysFreeString(written);
}

void PageIntegration::AttachSinks(IDispatch* document) {
  ComRef<IHTMLDocument2> html;
  ComRef<IHTMLElement> body;
  if (BodyOf(document, &html, &body) && !IsFrameset(body.get()) && sink_count_ < kMaxDocuments) {
    sinks_[sink_count_++]->Setup(document, reinterpret_cast<LONG_PTR>(band_));
  }
  for (ComRef<IDispatch>& frame : CollectFrameDocuments(document)) AttachSinks(frame.get());
}

void PageIntegration::HookLeafSpans(IHTMLElement* element, const VARIANT& handler) {
  ComRef<IDispatch> children_dispatch;
  ComRef<IHTMLElementCollection> children;
  long count = 0;
  if (FAILED(element->get_children(children_dispatch.Out())) || !children_dispatch ||
      FAILED(children_dispatch->QueryInterface(IID_IHTMLElementCollection, children.OutVoid())) ||
      FAILED(children->get_length(&count))) {
    return;
  }
  if (count == 0) {
    BSTR tag = nullptr;
    // Browsers report tag names in upper case; a page's own leaf SPANs get
    // the handler too.
    if (SUCCEEDED(element->get_tagName(&tag)) && tag != nullptr && lstrcmpW(tag, L"SPAN") == 0) {
      element->put_onmousemove(handler);
    }
    SysFreeString(tag);
    return;
  }
  for (long i = 0; i < count; ++i) {
    VARIANT index;
    VariantInit(&index);
    index.vt = VT_I4;
    index.lVal = i;
    VARIANT none;
    VariantInit(&none);
    ComRef<IDispatch> item;
    ComRef<IHTMLElement> child;
    if (SUCCEEDED(children->item(index, none, item.Out())) && item &&
        SUCCEEDED(item->QueryInterface(IID_IHTMLElement, child.OutVoid()))) {
      HookLeafSpans(child.get(), handler);
    }
  }
}

}  // namespace vordo
