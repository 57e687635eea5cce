// SPDX-License-Identifier: GPL-3.0-or-later
// 100,000 real files in a temporary tree and a data file listing them, made once per run: what
// the rows that read the disk work on.
#pragma once

#include "benchdata.h"

#include <QTemporaryDir>

#include <string>
#include <vector>

namespace vendle::bench {

struct DiskTree {
    QTemporaryDir dir;
    std::vector<Document> docs;
    std::string dataFile;

    DiskTree();
};

DiskTree& diskTree();

} // namespace vendle::bench
