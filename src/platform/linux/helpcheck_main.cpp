// SPDX-License-Identifier: GPL-3.0-or-later
// vendle-helpcheck: reads every object of a compiled help file once and exits 0 when all could be
// read. The program starts it as a process of its own before it opens a help file, so that faults
// which a damaged file sets off in the reader (divisions by zero, huge allocations, endless loops)
// end this process, not the program.
#include <chm_lib.h>

#include <cstdlib>
#include <string>

namespace {

// No page, picture or style sheet of a help file comes near this; a larger length is damage.
constexpr LONGUINT64 kMaxObject = 16 * 1024 * 1024;

int readObject(chmFile* file, chmUnitInfo* ui, void*) {
    if (ui->length > kMaxObject)
        return CHM_ENUMERATOR_FAILURE;
    std::string bytes(static_cast<std::size_t>(ui->length), '\0');
    if (ui->length > 0 &&
        chm_retrieve_object(file, ui, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                            static_cast<LONGINT64>(ui->length)) != static_cast<LONGINT64>(ui->length))
        return CHM_ENUMERATOR_FAILURE;
    return CHM_ENUMERATOR_CONTINUE;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2)
        return 2;
    chmFile* file = chm_open(argv[1]);
    if (!file)
        return 1;
    const int ok = chm_enumerate(file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, readObject, nullptr);
    chm_close(file);
    // The answer is the exit code alone: nothing at exit (a leak check of a sanitizer build) may
    // change it.
    std::_Exit(ok ? 0 : 1);
}
