// The two forms of the built-in texts against each other: the UTF-8 table must be exactly what
// the C library's code page 932 converter makes of the Shift-JIS one.
#include "console/builtin_messages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "console/messages.h"

// glibc and musl keep iconv in the C library itself; elsewhere the test has nothing to convert
// with and says so.
#if defined(__linux__) && __has_include(<iconv.h>)
#include <iconv.h>
#define HITBLOW_HAVE_ICONV 1
#endif

namespace {

#if defined(HITBLOW_HAVE_ICONV)
// The whole text through `converter`; nothing when a byte sequence is invalid or incomplete.
std::optional<std::string> convert(iconv_t converter, const char* text) {
  std::string in = text;
  std::string out(in.size() * 4 + 4, '\0');
  char* in_next = in.data();
  std::size_t in_left = in.size();
  char* out_next = out.data();
  std::size_t out_left = out.size();
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  if (iconv(converter, &in_next, &in_left, &out_next, &out_left) == static_cast<std::size_t>(-1))
    return std::nullopt;
  out.resize(out.size() - out_left);
  return out;
}
#endif

TEST(BuiltinMessages, Utf8IsTheCp932ConversionOfEverySlot) {
#if defined(HITBLOW_HAVE_ICONV)
  const iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "iconv has no CP932 here";
  for (int slot = 0; slot < console::k_slot_count; ++slot) {
    const std::optional<std::string> want = convert(converter, console::k_builtin_messages[slot]);
    ASSERT_TRUE(want.has_value()) << "slot " << slot << " is not valid code page 932";
    EXPECT_EQ(console::k_builtin_messages_utf8[slot], *want) << "slot " << slot;
    EXPECT_LE(std::strlen(console::k_builtin_messages_utf8[slot]),
              static_cast<std::size_t>(console::k_slot_bytes - 1))
        << "slot " << slot << " does not fit its slot";
  }
  iconv_close(converter);
#else
  GTEST_SKIP() << "no iconv in this C library";
#endif
}

}  // namespace
