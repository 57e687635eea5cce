// A compiled help file, damaged anyhow: opening it and reading its pages never crashes.
#include "platform/chmfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/vendle-fuzz-" + std::to_string(::getpid()) + ".chm";
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    if (const auto chm = vendle::platform::ChmFile::open(path)) {
        for (const char* page : {"/index.htm", "/Option.htm", "/style.css", "/#SYSTEM"})
            (void)chm->read(page);
    }
    return 0;
}
