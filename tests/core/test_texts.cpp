// SPDX-License-Identifier: GPL-3.0-or-later
// The language the texts are given in, and values put into a translated text.
#include "core/texts.h"
#include "core/uilanguage.h"

#include <gtest/gtest.h>

using namespace vendle;

TEST(UiLanguage, TheDesktopsLanguageChoosesAndVendleLangOverrides) {
    struct Case {
        LanguageEnvironment env;
        UiLanguage expected;
    };
    const Case cases[] = {
        {{"", "", "", "", "ja_JP.UTF-8"}, UiLanguage::Japanese},
        {{"", "", "", "", "en_US.UTF-8"}, UiLanguage::English},
        {{"", "", "", "", ""}, UiLanguage::English},
        {{"", "", "", "", "C.UTF-8"}, UiLanguage::English},
        {{"", "", "en_GB.UTF-8", "", "ja_JP.UTF-8"}, UiLanguage::English},  // LC_ALL first
        {{"", "", "", "ja_JP.UTF-8", "de_DE.UTF-8"}, UiLanguage::Japanese}, // then LC_MESSAGES
        {{"", "ja:en", "", "", "en_US.UTF-8"}, UiLanguage::Japanese},       // the desktop's list
        {{"", "de:ja", "", "", "ja_JP.UTF-8"}, UiLanguage::English},        // its first choice
        {{"", "ja", "", "", "C"}, UiLanguage::English},                     // ignored under C
        {{"en", "", "", "", "ja_JP.UTF-8"}, UiLanguage::English},
        {{"ja", "", "C", "", ""}, UiLanguage::Japanese},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chooseUiLanguage(c.env), c.expected)
            << c.env.vendleLang << "|" << c.env.language << "|" << c.env.lcAll << "|" << c.env.lcMessages
            << "|" << c.env.lang;
}

TEST(Texts, ValuesGoInOnceAndTheTranslatorIsAsked) {
    EXPECT_EQ(fillIn("%2 of %1 files match.", {"10", "3"}), "3 of 10 files match.");
    // A value that looks like a place stays as it is; a place without a value too.
    EXPECT_EQ(fillIn("「%1」には送れません。%3", {"/a/%2", "x"}), "「/a/%2」には送れません。%3");
    EXPECT_EQ(textIn("CountLine", "%1個のファイル"), "%1個のファイル");
    setTextTranslator(
        [](const char* context, const char* source) { return std::string(context) + ":" + source; });
    EXPECT_EQ(textIn("CountLine", "%1個のファイル"), "CountLine:%1個のファイル");
    setTextTranslator(nullptr);
}
