// The built-in texts of the 42 message slots, as Shift-JIS bytes.
#pragma once

#include "console/console.h"

namespace console {

extern const char* const k_builtin_messages[k_slot_count];

}  // namespace console
