// The built-in texts of the 42 message slots: the same Japanese as Shift-JIS bytes, and as UTF-8
// for terminals that show UTF-8.
#pragma once

#include "console/slots.h"

namespace console {

extern const char* const k_builtin_messages[k_slot_count];

// Each slot of k_builtin_messages converted from code page 932 and nothing else: the line feeds
// stand where the Shift-JIS texts have them, and every text still fits its slot.
extern const char* const k_builtin_messages_utf8[k_slot_count];

}  // namespace console
