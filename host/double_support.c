#include "host/double_support.h"

#include <windows.h>
#include <stdio.h>

enum { kUnexpectedCallExit = 3 };

static void UnexpectedCall(void) {
  fputs("A method that the test doubles do not write was called.\n", stderr);
  fflush(stderr);
  ExitProcess(kUnexpectedCallExit);
}

void FillWithUnexpectedCalls(void* vtable, size_t size) {
  void** slots = (void**)vtable;
  for (size_t i = 0; i < size / sizeof(void*); ++i) slots[i] = (void*)UnexpectedCall;
}
