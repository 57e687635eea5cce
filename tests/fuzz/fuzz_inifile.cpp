// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: whatever it holds, what is written reads back to the same store, and the
// lists kept in it (forgotten documents, excluded folders) read back as they were written, within
// their bounds.
#include "core/exclusions.h"
#include "core/forgotten.h"
#include "core/inifile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vendle::MemIniFile ini;
    ini.parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string once = ini.serialize();
    vendle::MemIniFile again;
    again.parse(once);
    if (again.serialize() != once)
        std::abort();

    vendle::ForgottenDocuments forgotten;
    forgotten.read(ini);
    if (forgotten.size() > vendle::ForgottenDocuments::kMostForgotten)
        std::abort();
    vendle::Exclusions exclusions;
    exclusions.read(ini);
    vendle::MemIniFile written;
    forgotten.write(written);
    exclusions.write(written);
    vendle::ForgottenDocuments forgottenBack;
    forgottenBack.read(written);
    vendle::Exclusions exclusionsBack;
    exclusionsBack.read(written);
    if (forgottenBack.size() != forgotten.size() || !(exclusionsBack == exclusions))
        std::abort();
    (void)exclusions.excludes(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
