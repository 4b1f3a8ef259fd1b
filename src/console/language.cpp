// The player's language: gettext's order of the environment, the table of the catalogues the
// game ships, and the quiet load of the one that speaks to the player.
#include "console/language.h"

#include <cstring>
#include <string_view>

#include "console/console.h"
#include "console/messages.h"
#include "console/platform.h"

namespace console {

namespace {

// The catalogue of each language the game speaks; "" is the built-in Japanese. Chinese has two,
// chosen by script or region below.
struct LanguageRow {
  const char* language;
  const char* catalogue;
};
constexpr LanguageRow k_languages[] = {
    {"ja", ""}, {"en", "en"}, {"es", "es"}, {"ko", "ko"}, {"ru", "ru"},
};

// The catalogue every other named language gets: English is ASCII, so any terminal shows it.
constexpr char k_fallback_catalogue[] = "en";

// Chinese comes in two scripts. A script subtag says which ("zh-Hans-HK" is simplified); else
// the regions that write traditional characters do; every other Chinese (zh_CN, zh_SG, and plain
// zh, as most systems read it) gets the simplified catalogue.
constexpr const char* k_simplified = "zh-Hans";
constexpr const char* k_traditional = "zh-Hant";
constexpr const char* k_traditional_regions[] = {"tw", "hk", "mo"};

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_letters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The subtags of a language name, language first: "zh_TW.UTF-8@x" and "zh-Hant-TW" both split
// at '_' and '-', and stop at the codeset or the modifier.
std::vector<std::string_view> subtags(std::string_view name) {
  name = name.substr(0, name.find_first_of(".@"));
  std::vector<std::string_view> parts;
  while (!name.empty()) {
    const std::size_t cut = name.find_first_of("_-");
    parts.push_back(name.substr(0, cut));
    if (cut == std::string_view::npos) break;
    name.remove_prefix(cut + 1);
  }
  return parts;
}

// The catalogue of one language name, or nullptr when the game doesn't speak it.
const char* catalogue_of(std::string_view name) {
  const std::vector<std::string_view> parts = subtags(name);
  if (parts.empty()) return nullptr;
  if (same_letters(parts[0], "zh")) {
    const char* script = k_simplified;
    for (std::size_t i = 1; i < parts.size(); ++i) {
      if (same_letters(parts[i], "hans")) return k_simplified;
      if (same_letters(parts[i], "hant")) return k_traditional;
      for (const char* region : k_traditional_regions) {
        if (same_letters(parts[i], region)) script = k_traditional;
      }
    }
    return script;
  }
  for (const LanguageRow& row : k_languages) {
    if (same_letters(parts[0], row.language)) return row.catalogue;
  }
  return nullptr;
}

// Whether a locale is the C library's own, which names no language: C, POSIX, C.UTF-8.
bool is_c_locale(std::string_view locale) {
  const std::string_view base = locale.substr(0, locale.find_first_of(".@"));
  return base == "C" || base == "POSIX";
}

bool is_set(const char* value) { return value != nullptr && *value != '\0'; }

}  // namespace

std::vector<std::string> locale_languages(const char* language, const char* lc_all,
                                          const char* lc_messages, const char* lang) {
  const char* locale = is_set(lc_all) ? lc_all : is_set(lc_messages) ? lc_messages : lang;
  if (!is_set(locale) || is_c_locale(locale)) return {};
  std::vector<std::string> languages;
  for (std::string_view list = is_set(language) ? language : ""; !list.empty();) {
    const std::size_t cut = list.find(':');
    const std::string_view entry = list.substr(0, cut);
    if (!entry.empty()) languages.emplace_back(entry);
    if (cut == std::string_view::npos) break;
    list.remove_prefix(cut + 1);
  }
  languages.emplace_back(locale);
  return languages;
}

std::string catalogue_for_languages(const std::vector<std::string>& languages) {
  bool named = false;
  for (const std::string& name : languages) {
    if (name.empty() || !is_letter(name[0]) || is_c_locale(name)) continue;
    named = true;
    if (const char* catalogue = catalogue_of(name)) return catalogue;
  }
  return named ? k_fallback_catalogue : "";
}

void use_player_language() {
  const platform::Display display = platform::display_of(output_stream());
  if (display == platform::Display::unwatched) return;
  std::string catalogue = catalogue_for_languages(platform::player_languages());
  if (catalogue.empty()) return;
  // Every catalogue but English is written in UTF-8, which a terminal in another character set
  // would show as garbage.
  if (display != platform::Display::unicode) catalogue = k_fallback_catalogue;
  load_catalogue_quietly(catalogue.c_str());
}

}  // namespace console
