#pragma once
// Exceptions that a window procedure or a subclass stopped, so that they
// never cross into the system: each is written to the debugger's output
// and counted, where tests can read it. The operation that threw is
// abandoned; the window goes on.

#include <exception>

namespace mivra::win {

// Called from inside a catch block: notes the exception being handled.
// `where` names the window class or control.
void NoteStoppedException(const wchar_t* where) noexcept;

// How many exceptions were stopped in this process so far.
long StoppedExceptionCount() noexcept;

}  // namespace mivra::win
