// The player's language: the environment or the Windows language list in, the catalogue out.
#include "console/language.h"

#include <gtest/gtest.h>

namespace {

TEST(Language, CatalogueOfThePlayersLanguage) {
  static const struct {
    const char *language, *lc_all, *lc_messages, *lang;
    const char* want;
    const char* why;
  } cases[] = {
      {nullptr, nullptr, nullptr, "ru_RU.UTF-8", "ru", "LANG alone"},
      {nullptr, nullptr, nullptr, "ko_KR.UTF-8", "ko", "Korean"},
      {nullptr, nullptr, nullptr, "en_GB", "en", "no codeset"},
      {nullptr, nullptr, nullptr, "ja_JP.UTF-8", "", "Japanese is the built-in texts"},
      {nullptr, nullptr, nullptr, "fr_FR.UTF-8", "en", "a language without a catalogue"},
      {nullptr, nullptr, nullptr, "zh_CN.UTF-8", "zh-Hans", "mainland China"},
      {nullptr, nullptr, nullptr, "zh_TW.UTF-8", "zh-Hant", "Taiwan"},
      {nullptr, nullptr, nullptr, "zh", "zh-Hans", "plain Chinese reads as simplified"},
      {nullptr, nullptr, nullptr, "ko_KR.EUC-KR@x", "ko", "the codeset is the terminal's concern"},
      {nullptr, nullptr, nullptr, "C", "", "the C locale names no language"},
      {nullptr, nullptr, nullptr, "C.UTF-8", "", "nor C with a codeset"},
      {nullptr, nullptr, nullptr, nullptr, "", "nothing set"},
      {nullptr, nullptr, nullptr, "", "", "set but empty is unset"},
      {nullptr, "ko_KR.UTF-8", "ru_RU.UTF-8", "es_ES.UTF-8", "ko", "LC_ALL first"},
      {nullptr, "", "ru_RU.UTF-8", "es_ES.UTF-8", "ru", "then LC_MESSAGES"},
      {"es:en", nullptr, nullptr, "de_DE.UTF-8", "es", "LANGUAGE before the locale"},
      {"fr:de", nullptr, nullptr, "ru_RU.UTF-8", "ru", "then the locale itself"},
      {"::ja:", nullptr, nullptr, "en_US.UTF-8", "", "empty entries are skipped"},
      {"ko", nullptr, nullptr, "C", "", "LANGUAGE is ignored under C"},
      {"ko", "POSIX", nullptr, "en_US.UTF-8", "", "and under LC_ALL=POSIX"},
      {"ko", nullptr, nullptr, nullptr, "", "and with no locale at all"},
  };
  for (const auto& c : cases) {
    const auto languages = console::locale_languages(c.language, c.lc_all, c.lc_messages, c.lang);
    EXPECT_EQ(console::catalogue_for_languages(languages), c.want) << c.why;
  }
}

TEST(Language, CatalogueOfWindowsDisplayLanguages) {
  static const struct {
    std::vector<std::string> languages;
    const char* want;
    const char* why;
  } cases[] = {
      {{"ko-KR"}, "ko", "Korean Windows"},
      {{"zh-Hant-TW", "en-US"}, "zh-Hant", "a script subtag"},
      {{"zh-Hans-HK"}, "zh-Hans", "the script outweighs the region"},
      {{"pt-BR", "es-ES"}, "es", "the first the game speaks"},
      {{"ja-JP", "en-US"}, "", "Japanese Windows keeps the built-in texts"},
      {{}, "", "no list"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(console::catalogue_for_languages(c.languages), c.want) << c.why;
  }
}

}  // namespace
