#ifndef VORDO_PAGE_SINK_OWNERS_H_
#define VORDO_PAGE_SINK_OWNERS_H_

#include "com/vordo_idl.h"
#include "page/hover_target.h"

namespace vordo {

// Which panel owns which document sink, for the whole process. A sink is a
// dispatch object on the page's elements, so a page script can call its
// Setup with any band address it likes: the sink binds only to the panel
// recorded here as its owner, and the address it is given is only ever
// compared with that owner's, never followed.
void RecordSinkOwner(const IEvtHandler* sink, HoverTarget* owner);
void ForgetSinkOwner(const IEvtHandler* sink);

// The panel that owns `sink` if it is alive and at `address`; otherwise null.
HoverTarget* SinkOwnerAt(const IEvtHandler* sink, LONG_PTR address);

}  // namespace vordo

#endif  // VORDO_PAGE_SINK_OWNERS_H_
