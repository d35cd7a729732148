// What the test doubles of the browser's objects share.
#ifndef VORDO_HOST_DOUBLE_SUPPORT_H_
#define VORDO_HOST_DOUBLE_SUPPORT_H_

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

// Fills every slot of a vtable with a stub that ends the process with a
// message. The doubles write the methods that the module calls; a call to
// any other is a test's failure, and must not go on: on i686 the callee
// clears its arguments from the stack, so no one stub could return safely
// from methods of every signature.
void FillWithUnexpectedCalls(void* vtable, size_t size);

// Fills `vtable` so, then writes its IUnknown slots: prefix##QueryInterface,
// prefix##AddRef and prefix##Release.
#define START_VTABLE(vtable, prefix)                  \
  do {                                                \
    FillWithUnexpectedCalls(&(vtable), sizeof(vtable)); \
    (vtable).QueryInterface = prefix##QueryInterface; \
    (vtable).AddRef = prefix##AddRef;                 \
    (vtable).Release = prefix##Release;               \
  } while (0)

#ifdef __cplusplus
}
#endif

#endif  // VORDO_HOST_DOUBLE_SUPPORT_H_
