// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/texts.h"

#include <atomic>
#include <vector>

namespace vendle {
namespace {

// Read from worker threads too (the look at the desktop's record makes its reports there).
std::atomic<TextTranslator> installed{nullptr};

} // namespace

void setTextTranslator(TextTranslator translator) {
    installed.store(translator);
}

std::string textIn(const char* context, const char* source) {
    const TextTranslator translator = installed.load();
    return translator ? translator(context, source) : std::string(source);
}

std::string fillIn(std::string_view text, std::initializer_list<std::string_view> values) {
    const std::vector<std::string_view> value(values);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const std::size_t n = static_cast<std::size_t>(text[i + 1] - '1');
            if (n < value.size()) {
                out.append(value[n]);
                ++i;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

} // namespace vendle
