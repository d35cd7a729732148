// Small, honest stand-ins for the browser's document object model, enough to
// drive automatic search: documents whose body's innerHTML can be read and
// written (writing builds the element tree the markup describes), elements
// with upper-case tag names, children, text and onmousemove, a window with
// the current event (screenX, screenY, srcElement), and frames through
// IOleContainer and browsers. A mouse move over an element invokes its
// onmousemove handler's member 0, as the browser does.
#ifndef VORDO_HOST_DOM_DOUBLES_H_
#define VORDO_HOST_DOM_DOUBLES_H_

#include <windows.h>
#include <unknwn.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct DomDocument DomDocument;
typedef struct DomElement DomElement;

// A document with one reference; `frameset` makes its body a FRAMESET.
DomDocument* CreateDomDocument(int frameset);
void ReleaseDomDocument(DomDocument* document);
// The document's IDispatch, with a reference added.
IDispatch* DomDocumentDispatch(DomDocument* document);

// Sets the body's markup as put_innerHTML does, and reads it back.
void DomSetBodyHtml(DomDocument* document, const WCHAR* markup);
// The body's markup; the caller frees it with SysFreeString.
BSTR DomBodyHtml(DomDocument* document);
// How often the body's markup was written.
int DomBodyWrites(DomDocument* document);

// Adds a frame: a browser whose document is `frame`.
void DomAddFrame(DomDocument* document, DomDocument* frame);

// The n-th leaf element (no child elements) of the body in document order,
// or NULL; its tag, its text, and the handler set as its onmousemove.
DomElement* DomLeaf(DomDocument* document, int n);
int DomLeafCount(DomDocument* document);
const WCHAR* DomElementTag(DomElement* element);
// The element's text; the caller frees it with SysFreeString.
BSTR DomElementText(DomElement* element);
IDispatch* DomElementHandler(DomElement* element);

// A mouse move at screen (x, y) over `element`: the window's event holds it
// while the element's handler (if any) is invoked with member 0.
void DomMouseMove(DomDocument* document, DomElement* element, LONG x, LONG y);
// The same as newer document modes do it: the event object is the
// handler's one argument, and the window has no current event.
void DomMouseMoveWithEventArgument(DomDocument* document, DomElement* element, LONG x, LONG y);

#ifdef __cplusplus
}
#endif

#endif  // VORDO_HOST_DOM_DOUBLES_H_
