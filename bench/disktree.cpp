// SPDX-License-Identifier: GPL-3.0-or-later
#include "disktree.h"

#include "core/historyfile.h"
#include "platform/fileaccess.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace vendle::bench {

DiskTree::DiskTree() {
    namespace fs = std::filesystem;
    docs = makeDocuments(100'000, dir.path().toStdString());
    for (const Document& d : docs) {
        fs::create_directories(fs::path(d.path).parent_path());
        std::ofstream(d.path) << 'x';
    }
    NameShell shell;
    HistoryList history(PathSyntax::posix(), shell);
    fill(history, docs);
    dataFile = dir.filePath(QStringLiteral("vendle.dat")).toStdString();
    platform::SystemFileAccess files;
    SaveHistory(history, dataFile, files);
    // Let the tree reach the disk now, so that writing it back does not run under the timings.
    ::sync();
}

DiskTree& diskTree() {
    static DiskTree tree;
    return tree;
}

} // namespace vendle::bench
