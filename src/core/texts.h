// SPDX-License-Identifier: GPL-3.0-or-later
// Texts a user may see that are made below the windows (errors, the count line, column titles):
// marked for the program's catalogue (i18n/) and given in the user's language through the
// translator the program installs at its start; without one, the Japanese source text.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Marks a text for the catalogue where it is not translated yet (a table of texts); the reader
// translates it with textIn(context, text).
#define VENDLE_TEXT_NOOP(context, text) text

namespace vendle {

using TextTranslator = std::string (*)(const char* context, const char* source);

// Installed once by the program before its first text; nullptr: the source texts.
void setTextTranslator(TextTranslator translator);

// `source` of `context` in the user's language.
std::string textIn(const char* context, const char* source);

// `text` with %1 … %9 replaced by the values, in one pass: a value that holds "%2" stays as it is.
std::string fillIn(std::string_view text, std::initializer_list<std::string_view> values);

} // namespace vendle
