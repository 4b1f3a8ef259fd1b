// The player's language: which shipped catalogue speaks it, from the names the system gives
// ("ko_KR.UTF-8" from a POSIX locale, "zh-Hant-TW" from Windows). Only a game that a person
// watches picks one; through a pipe or into a file the built-in texts stay, byte for byte.
#pragma once

#include <string>
#include <vector>

namespace console {

// gettext's order of the languages a POSIX environment asks for: the entries of `language`
// (LANGUAGE, colon-separated), then the locale, the first of `lc_all`, `lc_messages` and `lang`
// that is set and not empty. A locale of C or POSIX (C.UTF-8 too) means no language at all, and
// LANGUAGE is then ignored, as gettext ignores it. Null pointers are unset variables.
std::vector<std::string> locale_languages(const char* language, const char* lc_all,
                                          const char* lc_messages, const char* lang);

// The catalogue for the first of `languages` that the game speaks: "en", "es", "ko", "ru",
// "zh-Hans" or "zh-Hant" (plain "zh" too), or "" for the built-in Japanese ("ja"). When languages
// are named but none is spoken, "en"; when none is named, "" (the built-in texts).
std::string catalogue_for_languages(const std::vector<std::string>& languages);

// Starts the table from the catalogue of the player's language, for a game with no -mesg=
// option: only where standard output is a terminal (a console on Windows), and a catalogue
// written in UTF-8 only where that terminal shows it (English, which is ASCII, otherwise). A
// catalogue that can't be found or read leaves the built-in texts, and says nothing: the player
// asked for nothing. Never fails.
void use_player_language();

}  // namespace console
