// Named points inside multi-step file changes where tests stop the program, to prove that every
// state a crash can leave behind is read correctly at the next start.
#pragma once

#include <string_view>

namespace platform {

/// Called at each named point; a test sets it to kill the process there. Null in the program.
using FaultHook = void (*)(std::string_view point);

/// Sets the hook for the whole process (null removes it).
void SetFaultHook(FaultHook hook);

/// Marks that a file change has reached `point`; does nothing unless a hook is set.
void FaultPoint(std::string_view point);

}  // namespace platform
