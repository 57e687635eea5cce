// SPDX-License-Identifier: GPL-3.0-or-later
// The language of the program's texts: Japanese on a Japanese desktop, English on any other;
// VENDLE_LANG chooses either way.
#pragma once

#include <string>
#include <string_view>

namespace vendle {

enum class UiLanguage { Japanese, English };

// What the environment says, as the C library reads it.
struct LanguageEnvironment {
    std::string vendleLang; // VENDLE_LANG
    std::string language;   // LANGUAGE: a list of languages, read only under a locale other than C
    std::string lcAll;      // LC_ALL
    std::string lcMessages; // LC_MESSAGES
    std::string lang;       // LANG
};

UiLanguage chooseUiLanguage(const LanguageEnvironment& env);

// "ja" or "en", as the catalogues are named.
std::string_view languageCode(UiLanguage language);

} // namespace vendle
