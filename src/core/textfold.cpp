// SPDX-License-Identifier: GPL-3.0-or-later
#include "textfold.h"

namespace vendle {

std::optional<std::pair<std::size_t, std::size_t>> findFolded(std::string_view text, std::string_view needle,
                                                              const TextFolder& folder) {
    if (needle.empty())
        return std::nullopt;
    std::string folded;
    std::vector<std::uint32_t> origins;
    folder.fold(text, folded, &origins);
    // UTF-8 matches UTF-8 only at character starts; a match that ends inside a character folded
    // into several (ぽ into ほ and its mark) takes the whole character.
    const std::size_t at = folded.find(needle);
    if (at == std::string::npos)
        return std::nullopt;
    std::size_t end = at + needle.size();
    while (end < folded.size() && origins[end] == origins[end - 1])
        ++end;
    const std::size_t from = origins[at];
    const std::size_t to = end == folded.size() ? text.size() : origins[end];
    return std::make_pair(from, to - from);
}

} // namespace vendle
