// SPDX-License-Identifier: GPL-3.0-or-later
// The data file: every line the loader takes, the writer writes so that it loads back the same,
// in UTF-8 and in CP932.
#include "core/historyfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string_view>

namespace {

class EveryPathExists final : public vendle::FileAccess {
public:
    std::map<std::string, std::string> files;
    bool exists(const std::string& path) override { return files.count(path) > 0; }
    bool isExistingFile(const std::string&) override { return true; }
    std::optional<std::string> readAll(const std::string& path, std::size_t limit) override {
        const auto it = files.find(path);
        return it == files.end() || it->second.size() > limit ? std::nullopt
                                                              : std::optional<std::string>(it->second);
    }
    void writeAtomicallyFrom(const std::string& path, const vendle::ByteWriter& write) override {
        vendle::StringSink sink;
        write(sink);
        files[path] = std::move(sink.bytes);
    }
};

class NoShell final : public vendle::ShellQuery {
public:
    vendle::ShellFileInfo queryFileInfo(const std::string&) override { return {}; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const vendle::CodePage cp = data[0] & 1 ? vendle::CodePage::cp932() : vendle::CodePage::utf8();
    EveryPathExists files;
    files.files["/d.dat"] = std::string(reinterpret_cast<const char*>(data + 1), size - 1);
    NoShell shell;
    const vendle::DateTimeFormat fmt = vendle::DateTimeFormat::japanese();
    vendle::HistoryList first(vendle::PathSyntax::posix(cp), shell);
    vendle::LoadHistory(first, "/d.dat", files, fmt, 100);
    vendle::SaveHistory(first, "/d.dat", files);
    vendle::HistoryList second(vendle::PathSyntax::posix(cp), shell);
    vendle::LoadHistory(second, "/d.dat", files, fmt, 100);
    if (second.ItemCount() != first.ItemCount())
        std::abort();
    for (int i = 0; i < first.ItemCount(); ++i) {
        if (first.Item(i).Path != second.Item(i).Path)
            std::abort();
    }
    return 0;
}
