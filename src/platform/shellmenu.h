// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's context menu for documents, as the platform offers it: a menu description with
// command ids in a given range (open, open with, the containing folder, Send To, cut, copy, move to
// the trash, properties), the command behind an id, and the Send To folder's entries that documents
// are handed to.
#pragma once

#include "core/contextmenu.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vendle::platform {

struct InvokeResult {
    InvokeResult() = default;
    InvokeResult(bool done, std::string why = {}, bool refusal = false)
        : ok(done), reason(std::move(why)), refused(refusal) {}

    bool ok = true;
    std::string reason; // why it failed, in the user's language
    // Not a failure: the command left something undone on purpose (an existing file is never
    // overwritten), and `reason` tells the user what and why.
    bool refused = false;
    // The files that went to the trash (also when others could not), for an undo.
    std::vector<std::string> trashed;
};

// The context menu of one set of documents.
class ShellContextMenu {
public:
    virtual ~ShellContextMenu() = default;
    // Appends the items with ids from `firstId` on (never beyond `lastId`); false on failure.
    virtual bool query(std::vector<MenuItem>& menu, int firstId, int lastId) = 0;
    // Carries out the item `offset` places after `firstId`.
    virtual InvokeResult invoke(int offset) = 0;
};

struct SendToEntry {
    std::string name; // as the menu shows it
    std::string path; // the entry in the Send To folder
};

class Shell {
public:
    virtual ~Shell() = default;
    // The menu for the documents; null when it cannot be built (a path that does not exist).
    virtual std::unique_ptr<ShellContextMenu> contextMenu(const std::vector<std::string>& paths) = 0;
    // The Send To folder's entries that are not folders, in name order.
    virtual std::vector<SendToEntry> sendToEntries() = 0;
    // Hands the documents to Send To entry `index`: a folder receives copies (never over an
    // existing file), an application or a program is started with them. The clipboard is not used.
    virtual InvokeResult sendTo(std::size_t index, const std::vector<std::string>& paths) = 0;
    // Puts the documents on the clipboard as the menu's copy command does: as files for file
    // managers, and their paths as text.
    virtual void copyToClipboard(const std::vector<std::string>& paths) = 0;
};

// The desktop's shell. `showProperties` shows the properties of documents (a window of the
// program's). `dataHome` is the user's data folder (empty: $XDG_DATA_HOME): the recently-used file
// that opening notes documents in, and the Send To folder "vendle/SendTo", made on first use with
// entries for the user's desktop and documents folders.
std::unique_ptr<Shell> desktopShell(std::function<void(const std::vector<std::string>&)> showProperties,
                                    std::string dataHome = {});

// The facts a properties window shows.
struct FileProperties {
    std::string name;
    std::string type;
    std::string folder;
    long long size = -1; // bytes; -1 for a folder or when unknown
    long long modifiedUnix = 0;
};
FileProperties filePropertiesOf(const std::string& path);

} // namespace vendle::platform
