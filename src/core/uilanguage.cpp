// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/uilanguage.h"

namespace vendle {
namespace {

UiLanguage of(std::string_view name) {
    return name.substr(0, 2) == "ja" ? UiLanguage::Japanese : UiLanguage::English;
}

} // namespace

UiLanguage chooseUiLanguage(const LanguageEnvironment& env) {
    if (!env.vendleLang.empty())
        return of(env.vendleLang);
    // The locale of messages: LC_ALL, else LC_MESSAGES, else LANG.
    const std::string& locale = !env.lcAll.empty()        ? env.lcAll
                                : !env.lcMessages.empty() ? env.lcMessages
                                                          : env.lang;
    if (locale.empty() || locale == "C" || locale.rfind("C.", 0) == 0 || locale == "POSIX")
        return UiLanguage::English;
    // The desktop's list of languages, first choice first (as gettext, only under a real locale).
    if (!env.language.empty())
        return of(std::string_view(env.language).substr(0, env.language.find(':')));
    return of(locale);
}

std::string_view languageCode(UiLanguage language) {
    return language == UiLanguage::Japanese ? "ja" : "en";
}

} // namespace vendle
