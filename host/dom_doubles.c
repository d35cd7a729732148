// In C, so that the long vtables of the document object model can be filled
// in one stroke: every slot but those written here ends the process (see
// double_support.h).
#define CINTERFACE
#define COBJMACROS
#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>
#include <oleidl.h>
#include <stddef.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <wctype.h>

#include "host/dom_doubles.h"
#include "host/double_support.h"

enum { kMaxFrames = 32 };

struct DomElement {
  IHTMLElement element;  // first: the element is its own IHTMLElement
  IHTMLElementCollection children;
  DomDocument* document;
  WCHAR tag[32];
  DomElement* parent;
  DomElement** child;
  int childCount;
  int childCapacity;
  WCHAR* text;  // the text directly inside, decoded
  size_t textLength;
  size_t textCapacity;
  IDispatch* handler;
  DomElement* nextAllocated;
};

// A frame of a document: a browser that holds another document.
typedef struct DomFrame {
  IWebBrowser2 browser;  // first
  DomDocument* owner;
  DomDocument* document;
} DomFrame;

struct DomDocument {
  IHTMLDocument2 document;  // first: the document is its own IUnknown
  IOleContainer container;
  IHTMLWindow2 window;
  IHTMLEventObj event;
  DomFrame frame[kMaxFrames];
  int frameCount;
  LONG references;
  int frameset;
  DomElement* body;
  DomElement* allocated;
  BSTR bodyHtml;
  int writes;
  int eventActive;
  LONG eventX, eventY;
  DomElement* eventSource;
};

typedef struct DomEnumerator {
  IEnumUnknown enumerator;
  LONG references;
  DomDocument* document;
  int next;
} DomEnumerator;

#define OWNER(pointer, type, member) ((type*)((char*)(pointer)-offsetof(type, member)))

static ULONG AddDocumentReference(DomDocument* document) {
  return (ULONG)InterlockedIncrement(&document->references);
}

void ReleaseDomDocument(DomDocument* document);

static ULONG ReleaseDocumentReference(DomDocument* document) {
  LONG left = InterlockedDecrement(&document->references);
  if (left == 0) {
    for (DomElement* element = document->allocated; element != NULL;) {
      DomElement* next = element->nextAllocated;
      if (element->handler != NULL) IDispatch_Release(element->handler);
      free(element->child);
      free(element->text);
      free(element);
      element = next;
    }
    for (int i = 0; i < document->frameCount; ++i) ReleaseDomDocument(document->frame[i].document);
    SysFreeString(document->bodyHtml);
    free(document);
  }
  return (ULONG)left;
}

// ---- elements

static HRESULT STDMETHODCALLTYPE ElementQueryInterface(IHTMLElement* self, REFIID iid, void** out) {
  if (IsEqualIID(iid, &IID_IUnknown) || IsEqualIID(iid, &IID_IDispatch) || IsEqualIID(iid, &IID_IHTMLElement)) {
    *out = self;
    AddDocumentReference(((DomElement*)self)->document);
    return S_OK;
  }
  *out = NULL;
  return E_NOINTERFACE;
}

static ULONG STDMETHODCALLTYPE ElementAddRef(IHTMLElement* self) {
  return AddDocumentReference(((DomElement*)self)->document);
}

static ULONG STDMETHODCALLTYPE ElementRelease(IHTMLElement* self) {
  return ReleaseDocumentReference(((DomElement*)self)->document);
}

static HRESULT STDMETHODCALLTYPE GetTagName(IHTMLElement* self, BSTR* tag) {
  *tag = SysAllocString(((DomElement*)self)->tag);
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetChildren(IHTMLElement* self, IDispatch** children) {
  DomElement* element = (DomElement*)self;
  *children = (IDispatch*)&element->children;
  AddDocumentReference(element->document);
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE PutOnMouseMove(IHTMLElement* self, VARIANT handler) {
  DomElement* element = (DomElement*)self;
  if (element->handler != NULL) IDispatch_Release(element->handler);
  element->handler = NULL;
  if (V_VT(&handler) == VT_DISPATCH && V_DISPATCH(&handler) != NULL) {
    element->handler = V_DISPATCH(&handler);
    IDispatch_AddRef(element->handler);
  }
  return S_OK;
}

// Grows by doubling, so that text added a character at a time costs no more
// than text added at once.
static void AppendText(WCHAR** text, size_t* length, size_t* capacity, const WCHAR* more, size_t count) {
  if (*length + count + 1 > *capacity) {
    size_t wanted = *capacity * 2 > *length + count + 1 ? *capacity * 2 : *length + count + 1;
    WCHAR* grown = (WCHAR*)realloc(*text, wanted * sizeof(WCHAR));
    if (grown == NULL) return;
    *text = grown;
    *capacity = wanted;
  }
  memcpy(*text + *length, more, count * sizeof(WCHAR));
  *length += count;
  (*text)[*length] = 0;
}

static void CollectText(DomElement* element, WCHAR** text, size_t* length, size_t* capacity) {
  if (element->text != NULL) AppendText(text, length, capacity, element->text, element->textLength);
  for (int i = 0; i < element->childCount; ++i) CollectText(element->child[i], text, length, capacity);
}

BSTR DomElementText(DomElement* element) {
  WCHAR* text = NULL;
  size_t length = 0;
  size_t capacity = 0;
  CollectText(element, &text, &length, &capacity);
  BSTR result = SysAllocStringLen(text, (UINT)length);
  free(text);
  return result;
}

static HRESULT STDMETHODCALLTYPE GetInnerText(IHTMLElement* self, BSTR* text) {
  *text = DomElementText((DomElement*)self);
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetInnerHtml(IHTMLElement* self, BSTR* html) {
  DomElement* element = (DomElement*)self;
  if (element != element->document->body) return E_NOTIMPL;
  *html = SysAllocString(element->document->bodyHtml != NULL ? element->document->bodyHtml : L"");
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE PutInnerHtml(IHTMLElement* self, BSTR html) {
  DomElement* element = (DomElement*)self;
  if (element != element->document->body) return E_NOTIMPL;
  DomSetBodyHtml(element->document, html);
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE CollectionQueryInterface(IHTMLElementCollection* self, REFIID iid,
                                                          void** out) {
  DomElement* element = OWNER(self, DomElement, children);
  if (IsEqualIID(iid, &IID_IUnknown) || IsEqualIID(iid, &IID_IDispatch) ||
      IsEqualIID(iid, &IID_IHTMLElementCollection)) {
    *out = self;
    AddDocumentReference(element->document);
    return S_OK;
  }
  *out = NULL;
  return E_NOINTERFACE;
}

static ULONG STDMETHODCALLTYPE CollectionAddRef(IHTMLElementCollection* self) {
  return AddDocumentReference(OWNER(self, DomElement, children)->document);
}

static ULONG STDMETHODCALLTYPE CollectionRelease(IHTMLElementCollection* self) {
  return ReleaseDocumentReference(OWNER(self, DomElement, children)->document);
}

static HRESULT STDMETHODCALLTYPE CollectionLength(IHTMLElementCollection* self, LONG* length) {
  *length = OWNER(self, DomElement, children)->childCount;
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE CollectionItem(IHTMLElementCollection* self, VARIANT name, VARIANT index,
                                                IDispatch** item) {
  DomElement* element = OWNER(self, DomElement, children);
  (void)index;
  *item = NULL;
  if (V_VT(&name) != VT_I4 || V_I4(&name) < 0 || V_I4(&name) >= element->childCount) return E_INVALIDARG;
  *item = (IDispatch*)&element->child[V_I4(&name)]->element;
  AddDocumentReference(element->document);
  return S_OK;
}

static IHTMLElementVtbl g_element_vtable;
static IHTMLElementCollectionVtbl g_collection_vtable;

static DomElement* NewElement(DomDocument* document, DomElement* parent, const WCHAR* tag, size_t length) {
  DomElement* element = (DomElement*)calloc(1, sizeof(DomElement));
  element->element.lpVtbl = &g_element_vtable;
  element->children.lpVtbl = &g_collection_vtable;
  element->document = document;
  if (length > 31) length = 31;
  for (size_t i = 0; i < length; ++i) element->tag[i] = (WCHAR)towupper(tag[i]);
  element->parent = parent;
  element->nextAllocated = document->allocated;
  document->allocated = element;
  if (parent != NULL) {
    if (parent->childCount == parent->childCapacity) {
      parent->childCapacity = parent->childCapacity == 0 ? 4 : parent->childCapacity * 2;
      parent->child = (DomElement**)realloc(parent->child, (size_t)parent->childCapacity * sizeof(DomElement*));
    }
    parent->child[parent->childCount++] = element;
  }
  return element;
}

// ---- building the tree from markup

static int IsVoidElement(const WCHAR* tag) {
  static const WCHAR* kVoid[] = {L"BR", L"IMG", L"INPUT", L"HR", L"META", L"LINK", L"WBR", L"AREA", L"COL"};
  for (size_t i = 0; i < sizeof kVoid / sizeof *kVoid; ++i) {
    if (wcscmp(tag, kVoid[i]) == 0) return 1;
  }
  return 0;
}

// Decodes the references that tests write: numeric ones and amp, lt, gt,
// quot, nbsp.
static void AppendDecoded(DomElement* element, const WCHAR* text, size_t length) {
  for (size_t i = 0; i < length;) {
    WCHAR c = text[i];
    if (c == L'&') {
      const WCHAR* end = wmemchr(text + i, L';', length - i);
      if (end != NULL) {
        size_t name = (size_t)(end - (text + i)) - 1;
        const WCHAR* start = text + i + 1;
        WCHAR decoded = 0;
        if (name > 1 && start[0] == L'#') {
          decoded = (WCHAR)(start[1] == L'x' ? wcstol(start + 2, NULL, 16) : wcstol(start + 1, NULL, 10));
        } else if (name == 3 && wcsncmp(start, L"amp", 3) == 0) {
          decoded = L'&';
        } else if (name == 2 && wcsncmp(start, L"lt", 2) == 0) {
          decoded = L'<';
        } else if (name == 2 && wcsncmp(start, L"gt", 2) == 0) {
          decoded = L'>';
        } else if (name == 4 && wcsncmp(start, L"quot", 4) == 0) {
          decoded = L'"';
        } else if (name == 4 && wcsncmp(start, L"nbsp", 4) == 0) {
          decoded = 0xA0;
        }
        if (decoded != 0) {
          AppendText(&element->text, &element->textLength, &element->textCapacity, &decoded, 1);
          i += name + 2;
          continue;
        }
      }
    }
    AppendText(&element->text, &element->textLength, &element->textCapacity, &c, 1);
    ++i;
  }
}

static void BuildTree(DomDocument* document, const WCHAR* markup) {
  size_t length = wcslen(markup);
  DomElement* current = document->body;
  for (size_t pos = 0; pos < length;) {
    if (markup[pos] == L'<' && wcsncmp(markup + pos, L"<!--", 4) == 0) {
      const WCHAR* end = wcsstr(markup + pos + 4, L"-->");
      pos = end == NULL ? length : (size_t)(end - markup) + 3;
      continue;
    }
    int end_tag = markup[pos] == L'<' && pos + 1 < length && markup[pos + 1] == L'/';
    size_t name_start = pos + (end_tag ? 2 : 1);
    if (markup[pos] == L'<' && name_start < length && iswalpha(markup[name_start])) {
      size_t name_end = name_start;
      while (name_end < length && !iswspace(markup[name_end]) && markup[name_end] != L'>' &&
             markup[name_end] != L'/') {
        ++name_end;
      }
      size_t close = name_end;
      WCHAR quote = 0;
      for (; close < length && (quote != 0 || markup[close] != L'>'); ++close) {
        if (quote == 0 && (markup[close] == L'"' || markup[close] == L'\'')) {
          quote = markup[close];
        } else if (quote != 0 && markup[close] == quote) {
          quote = 0;
        }
      }
      int self_closing = close > name_start && markup[close - 1] == L'/';
      DomElement probe;
      memset(&probe, 0, sizeof probe);
      for (size_t i = 0; i < name_end - name_start && i < 31; ++i) probe.tag[i] = (WCHAR)towupper(markup[name_start + i]);
      if (end_tag) {
        for (DomElement* open = current; open != document->body && open != NULL; open = open->parent) {
          if (wcscmp(open->tag, probe.tag) == 0) {
            current = open->parent;
            break;
          }
        }
      } else {
        DomElement* element = NewElement(document, current, markup + name_start, name_end - name_start);
        if (!self_closing && !IsVoidElement(element->tag)) current = element;
      }
      pos = close < length ? close + 1 : length;
      continue;
    }
    size_t run = pos + 1;
    while (run < length && markup[run] != L'<') ++run;
    AppendDecoded(current, markup + pos, run - pos);
    pos = run;
  }
}

void DomSetBodyHtml(DomDocument* document, const WCHAR* markup) {
  SysFreeString(document->bodyHtml);
  document->bodyHtml = SysAllocString(markup);
  ++document->writes;
  // The body stays the same element, as in a browser; its old descendants
  // stay allocated (they may still be referred to) until the document goes.
  if (document->body == NULL) {
    document->body = NewElement(document, NULL, document->frameset ? L"FRAMESET" : L"BODY",
                                document->frameset ? 8 : 4);
  }
  document->body->childCount = 0;
  document->body->textLength = 0;
  if (document->body->text != NULL) document->body->text[0] = 0;
  BuildTree(document, markup);
}

BSTR DomBodyHtml(DomDocument* document) {
  return SysAllocString(document->bodyHtml != NULL ? document->bodyHtml : L"");
}

int DomBodyWrites(DomDocument* document) { return document->writes; }

static DomElement* FindLeaf(DomElement* element, int* n) {
  if (element->childCount == 0) return (*n)-- == 0 ? element : NULL;
  for (int i = 0; i < element->childCount; ++i) {
    DomElement* found = FindLeaf(element->child[i], n);
    if (found != NULL) return found;
  }
  return NULL;
}

DomElement* DomLeaf(DomDocument* document, int n) {
  if (document->body == NULL || document->body->childCount == 0) return NULL;
  return FindLeaf(document->body, &n);
}

static int CountLeaves(DomElement* element) {
  if (element->childCount == 0) return 1;
  int count = 0;
  for (int i = 0; i < element->childCount; ++i) count += CountLeaves(element->child[i]);
  return count;
}

int DomLeafCount(DomDocument* document) {
  if (document->body == NULL || document->body->childCount == 0) return 0;
  return CountLeaves(document->body);
}

const WCHAR* DomElementTag(DomElement* element) { return element->tag; }

IDispatch* DomElementHandler(DomElement* element) { return element->handler; }

// ---- documents, windows, events, frames

static HRESULT QueryDocument(DomDocument* document, REFIID iid, void** out) {
  *out = NULL;
  if (IsEqualIID(iid, &IID_IUnknown) || IsEqualIID(iid, &IID_IDispatch) || IsEqualIID(iid, &IID_IHTMLDocument2) ||
      IsEqualIID(iid, &IID_IHTMLDocument)) {
    *out = &document->document;
  } else if (IsEqualIID(iid, &IID_IOleContainer)) {
    *out = &document->container;
  }
  if (*out == NULL) return E_NOINTERFACE;
  AddDocumentReference(document);
  return S_OK;
}

#define DOCUMENT_UNKNOWN(Interface, member)                                                            \
  static HRESULT STDMETHODCALLTYPE member##QueryInterface(Interface* self, REFIID iid, void** out) {    \
    return QueryDocument(OWNER(self, DomDocument, member), iid, out);                                \
  }                                                                                                  \
  static ULONG STDMETHODCALLTYPE member##AddRef(Interface* self) {                                    \
    return AddDocumentReference(OWNER(self, DomDocument, member));                                   \
  }                                                                                                  \
  static ULONG STDMETHODCALLTYPE member##Release(Interface* self) {                                   \
    return ReleaseDocumentReference(OWNER(self, DomDocument, member));                               \
  }

DOCUMENT_UNKNOWN(IHTMLDocument2, document)
DOCUMENT_UNKNOWN(IOleContainer, container)

// The window and the event answer only for themselves.
#define OWN_UNKNOWN(Interface, member, iidOwn)                                                         \
  static HRESULT STDMETHODCALLTYPE member##QueryInterface(Interface* self, REFIID iid, void** out) {    \
    if (IsEqualIID(iid, &IID_IUnknown) || IsEqualIID(iid, &IID_IDispatch) || IsEqualIID(iid, iidOwn)) { \
      *out = self;                                                                                   \
      AddDocumentReference(OWNER(self, DomDocument, member));                                        \
      return S_OK;                                                                                   \
    }                                                                                                \
    *out = NULL;                                                                                     \
    return E_NOINTERFACE;                                                                            \
  }                                                                                                  \
  static ULONG STDMETHODCALLTYPE member##AddRef(Interface* self) {                                    \
    return AddDocumentReference(OWNER(self, DomDocument, member));                                   \
  }                                                                                                  \
  static ULONG STDMETHODCALLTYPE member##Release(Interface* self) {                                   \
    return ReleaseDocumentReference(OWNER(self, DomDocument, member));                               \
  }

OWN_UNKNOWN(IHTMLWindow2, window, &IID_IHTMLWindow2)
OWN_UNKNOWN(IHTMLEventObj, event, &IID_IHTMLEventObj)

static HRESULT STDMETHODCALLTYPE GetBody(IHTMLDocument2* self, IHTMLElement** body) {
  DomDocument* document = OWNER(self, DomDocument, document);
  *body = document->body == NULL ? NULL : &document->body->element;
  if (*body != NULL) AddDocumentReference(document);
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetParentWindow(IHTMLDocument2* self, IHTMLWindow2** window) {
  DomDocument* document = OWNER(self, DomDocument, document);
  *window = &document->window;
  AddDocumentReference(document);
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetEvent(IHTMLWindow2* self, IHTMLEventObj** event) {
  DomDocument* document = OWNER(self, DomDocument, window);
  *event = document->eventActive ? &document->event : NULL;
  if (*event != NULL) AddDocumentReference(document);
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetScreenX(IHTMLEventObj* self, LONG* x) {
  *x = OWNER(self, DomDocument, event)->eventX;
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetScreenY(IHTMLEventObj* self, LONG* y) {
  *y = OWNER(self, DomDocument, event)->eventY;
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetSrcElement(IHTMLEventObj* self, IHTMLElement** source) {
  DomDocument* document = OWNER(self, DomDocument, event);
  *source = document->eventSource == NULL ? NULL : &document->eventSource->element;
  if (*source != NULL) AddDocumentReference(document);
  return S_OK;
}

static ULONG STDMETHODCALLTYPE FrameAddRef(IWebBrowser2* self) {
  return AddDocumentReference(((DomFrame*)self)->owner);
}

static ULONG STDMETHODCALLTYPE FrameRelease(IWebBrowser2* self) {
  return ReleaseDocumentReference(((DomFrame*)self)->owner);
}

static HRESULT STDMETHODCALLTYPE FrameQueryInterface(IWebBrowser2* self, REFIID iid, void** out) {
  if (IsEqualIID(iid, &IID_IUnknown) || IsEqualIID(iid, &IID_IDispatch) || IsEqualIID(iid, &IID_IWebBrowser2)) {
    *out = self;
    FrameAddRef(self);
    return S_OK;
  }
  *out = NULL;
  return E_NOINTERFACE;
}

static HRESULT STDMETHODCALLTYPE FrameGetDocument(IWebBrowser2* self, IDispatch** document) {
  *document = DomDocumentDispatch(((DomFrame*)self)->document);
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE EnumQueryInterface(IEnumUnknown* self, REFIID iid, void** out) {
  if (IsEqualIID(iid, &IID_IUnknown) || IsEqualIID(iid, &IID_IEnumUnknown)) {
    *out = self;
    InterlockedIncrement(&((DomEnumerator*)self)->references);
    return S_OK;
  }
  *out = NULL;
  return E_NOINTERFACE;
}

static ULONG STDMETHODCALLTYPE EnumAddRef(IEnumUnknown* self) {
  return (ULONG)InterlockedIncrement(&((DomEnumerator*)self)->references);
}

static ULONG STDMETHODCALLTYPE EnumRelease(IEnumUnknown* self) {
  DomEnumerator* enumerator = (DomEnumerator*)self;
  LONG left = InterlockedDecrement(&enumerator->references);
  if (left == 0) {
    ReleaseDocumentReference(enumerator->document);
    free(enumerator);
  }
  return (ULONG)left;
}

static HRESULT STDMETHODCALLTYPE EnumNext(IEnumUnknown* self, ULONG count, IUnknown** objects, ULONG* fetched) {
  DomEnumerator* enumerator = (DomEnumerator*)self;
  ULONG given = 0;
  while (given < count && enumerator->next < enumerator->document->frameCount) {
    objects[given] = (IUnknown*)&enumerator->document->frame[enumerator->next++].browser;
    IUnknown_AddRef(objects[given]);
    ++given;
  }
  if (fetched != NULL) *fetched = given;
  return given == count ? S_OK : S_FALSE;
}

static IEnumUnknownVtbl g_enum_vtable;

static HRESULT STDMETHODCALLTYPE EnumerateFrames(IOleContainer* self, DWORD flags, IEnumUnknown** objects) {
  DomDocument* document = OWNER(self, DomDocument, container);
  (void)flags;
  DomEnumerator* enumerator = (DomEnumerator*)calloc(1, sizeof(DomEnumerator));
  enumerator->enumerator.lpVtbl = &g_enum_vtable;
  enumerator->references = 1;
  enumerator->document = document;
  AddDocumentReference(document);
  *objects = &enumerator->enumerator;
  return S_OK;
}

static IHTMLDocument2Vtbl g_document_vtable;
static IOleContainerVtbl g_container_vtable;
static IHTMLWindow2Vtbl g_window_vtable;
static IHTMLEventObjVtbl g_event_vtable;
static IWebBrowser2Vtbl g_frame_vtable;

static void FillVtables(void) {
  START_VTABLE(g_element_vtable, Element);
  g_element_vtable.get_tagName = GetTagName;
  g_element_vtable.get_children = GetChildren;
  g_element_vtable.put_onmousemove = PutOnMouseMove;
  g_element_vtable.get_innerText = GetInnerText;
  g_element_vtable.get_innerHTML = GetInnerHtml;
  g_element_vtable.put_innerHTML = PutInnerHtml;
  START_VTABLE(g_collection_vtable, Collection);
  g_collection_vtable.get_length = CollectionLength;
  g_collection_vtable.item = CollectionItem;
  START_VTABLE(g_document_vtable, document);
  g_document_vtable.get_body = GetBody;
  g_document_vtable.get_parentWindow = GetParentWindow;
  START_VTABLE(g_container_vtable, container);
  g_container_vtable.EnumObjects = EnumerateFrames;
  START_VTABLE(g_window_vtable, window);
  g_window_vtable.get_event = GetEvent;
  START_VTABLE(g_event_vtable, event);
  g_event_vtable.get_screenX = GetScreenX;
  g_event_vtable.get_screenY = GetScreenY;
  g_event_vtable.get_srcElement = GetSrcElement;
  START_VTABLE(g_frame_vtable, Frame);
  g_frame_vtable.get_Document = FrameGetDocument;
  START_VTABLE(g_enum_vtable, Enum);
  g_enum_vtable.Next = EnumNext;
}

DomDocument* CreateDomDocument(int frameset) {
  FillVtables();
  DomDocument* document = (DomDocument*)calloc(1, sizeof(DomDocument));
  document->document.lpVtbl = &g_document_vtable;
  document->container.lpVtbl = &g_container_vtable;
  document->window.lpVtbl = &g_window_vtable;
  document->event.lpVtbl = &g_event_vtable;
  for (int i = 0; i < kMaxFrames; ++i) {
    document->frame[i].browser.lpVtbl = &g_frame_vtable;
    document->frame[i].owner = document;
  }
  document->references = 1;
  document->frameset = frameset;
  DomSetBodyHtml(document, L"");
  document->writes = 0;
  return document;
}

void ReleaseDomDocument(DomDocument* document) { ReleaseDocumentReference(document); }

IDispatch* DomDocumentDispatch(DomDocument* document) {
  AddDocumentReference(document);
  return (IDispatch*)&document->document;
}

void DomAddFrame(DomDocument* document, DomDocument* frame) {
  if (document->frameCount >= kMaxFrames) return;
  AddDocumentReference(frame);
  document->frame[document->frameCount++].document = frame;
}

static void MoveMouse(DomDocument* document, DomElement* element, LONG x, LONG y, int eventAsArgument) {
  document->eventActive = !eventAsArgument;
  document->eventX = x;
  document->eventY = y;
  document->eventSource = element;
  if (element != NULL && element->handler != NULL) {
    VARIANT event;
    VariantInit(&event);
    V_VT(&event) = VT_DISPATCH;
    V_DISPATCH(&event) = (IDispatch*)&document->event;
    DISPPARAMS arguments = {&event, NULL, eventAsArgument ? 1 : 0, 0};
    IDispatch_Invoke(element->handler, 0, &IID_NULL, 0, DISPATCH_METHOD, &arguments, NULL, NULL, NULL);
  }
  document->eventActive = 0;
  document->eventSource = NULL;
}

void DomMouseMove(DomDocument* document, DomElement* element, LONG x, LONG y) {
  MoveMouse(document, element, x, y, 0);
}

void DomMouseMoveWithEventArgument(DomDocument* document, DomElement* element, LONG x, LONG y) {
  MoveMouse(document, element, x, y, 1);
}
