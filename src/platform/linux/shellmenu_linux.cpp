// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/shellmenu.h"

// GIO before Qt's headers: Qt's "signals" keyword would clash with GIO's members.
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <glib/gstdio.h>

#include "core/desktopentry.h"
#include "core/filelimits.h"
#include "core/texts.h"
#include "glibutil.h"
#include "platform/logging.h"
#include "platform/opener.h"
#include "safewrite.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace vendle::platform {

namespace {

using GListPtr = std::unique_ptr<GList, GRelease<g_list_free>>;

std::string folderOf(const std::string& path) {
    const GCharPtr dir(g_path_get_dirname(path.c_str()));
    return dir.get();
}

bool isFolder(const std::string& path) {
    GStatBuf st;
    return g_stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string contentTypeOf(const std::string& path) {
    if (isFolder(path))
        return "inode/directory";
    const GCharPtr type(g_content_type_guess(path.c_str(), nullptr, 0, nullptr));
    return type ? std::string(type.get()) : std::string("application/octet-stream");
}

// Launches `app` with the documents; the reason when it fails.
InvokeResult launch(GAppInfo* app, const std::vector<std::string>& paths) {
    std::vector<GObjectPtr<GFile>> files;
    GList* list = nullptr;
    for (const std::string& p : paths) {
        files.emplace_back(g_file_new_for_path(p.c_str()));
        list = g_list_append(list, files.back().get());
    }
    const GListPtr owned(list);
    GError* raw = nullptr;
    if (g_app_info_launch(app, list, nullptr, &raw))
        return {};
    return {false, messageOf(GErrorPtr(raw))};
}

// All went well when each did; a refusal stays one only when nothing else went wrong.
InvokeResult combine(const std::vector<InvokeResult>& results) {
    InvokeResult all;
    bool failed = false;
    for (const InvokeResult& r : results) {
        if (!r.ok) {
            all.ok = false;
            failed = failed || !r.refused;
            all.reason += (all.reason.empty() ? "" : "\n") + r.reason;
        }
    }
    all.refused = !all.ok && !failed;
    return all;
}

// Puts the documents on the clipboard the way file managers do, so that they can paste them.
void putOnClipboard(const std::vector<std::string>& paths, bool cut) {
    auto* data = new QMimeData; // the clipboard takes it over
    QList<QUrl> urls;
    QByteArray gnome = cut ? "cut" : "copy";
    for (const std::string& p : paths) {
        const QUrl url = QUrl::fromLocalFile(QString::fromStdString(p));
        urls << url;
        gnome += "\n" + url.toEncoded();
    }
    data->setUrls(urls);
    data->setData(QStringLiteral("x-special/gnome-copied-files"), gnome);
    QStringList text;
    for (const std::string& p : paths)
        text << QString::fromStdString(p);
    data->setText(text.join(QLatin1Char('\n')));
    QGuiApplication::clipboard()->setMimeData(data);
}

class DesktopContextMenu final : public ShellContextMenu {
public:
    DesktopContextMenu(std::vector<std::string> paths,
                       std::function<void(const std::vector<std::string>&)> props, std::string dataHome)
        : paths_(std::move(paths)), properties_(std::move(props)), dataHome_(std::move(dataHome)) {}

    bool query(std::vector<MenuItem>& menu, int firstId, int lastId) override {
        actions_.clear();
        const auto add = [&](std::vector<MenuItem>& into, const std::string& caption, Action action) {
            const int id = firstId + static_cast<int>(actions_.size());
            if (id > lastId)
                return;
            actions_.push_back(std::move(action));
            into.push_back(MenuItem::command(caption, id));
        };
        add(menu, textIn("ShellMenu", "開く(&O)"), {Kind::Open, {}});
        // The applications registered for the type, when all documents share one.
        const std::string type = contentTypeOf(paths_.front());
        const bool oneType = std::all_of(paths_.begin(), paths_.end(),
                                         [&](const std::string& p) { return contentTypeOf(p) == type; });
        if (oneType) {
            MenuItem with{textIn("ShellMenu", "アプリケーションで開く(&H)"), 0, false, true, {}};
            // The default application first, then the others registered for the type.
            GList* apps = g_app_info_get_all_for_type(type.c_str());
            if (GAppInfo* preferred = g_app_info_get_default_for_type(type.c_str(), FALSE))
                apps = g_list_prepend(apps, preferred);
            std::vector<std::string> listed;
            for (GList* a = apps; a; a = a->next) {
                auto* app = G_APP_INFO(a->data);
                const char* id = g_app_info_get_id(app);
                if (!id || !g_app_info_should_show(app) ||
                    std::find(listed.begin(), listed.end(), id) != listed.end())
                    continue;
                listed.emplace_back(id);
                const char* name = g_app_info_get_display_name(app);
                add(with.submenu, plainCaption(name ? name : id), {Kind::OpenWith, id});
            }
            g_list_free_full(apps, g_object_unref);
            with.enabled = !with.submenu.empty();
            menu.push_back(std::move(with));
        }
        add(menu, textIn("ShellMenu", "フォルダを開く(&F)"), {Kind::OpenFolder, {}});
        menu.push_back(MenuItem::line());
        // The shell's own first entry of Send To; the menu component replaces it with the entries.
        MenuItem sendTo{textIn("ContextMenu", kSendToCaption), 0, false, true, {}};
        add(sendTo.submenu, textIn("ShellMenu", "（送り先）"), {Kind::None, {}});
        menu.push_back(std::move(sendTo));
        menu.push_back(MenuItem::line());
        add(menu, textIn("ShellMenu", "切り取り(&T)"), {Kind::Cut, {}});
        add(menu, textIn("ShellMenu", "コピー(&C)"), {Kind::Copy, {}});
        menu.push_back(MenuItem::line());
        add(menu, textIn("ShellMenu", "ゴミ箱へ移動(&D)"), {Kind::Trash, {}});
        menu.push_back(MenuItem::line());
        add(menu, textIn("ShellMenu", "プロパティ(&R)"), {Kind::Properties, {}});
        return true;
    }

    InvokeResult invoke(int offset) override {
        if (offset < 0 || offset >= static_cast<int>(actions_.size()))
            return {false, textIn("ShellMenu", "この項目はありません。")};
        const Action& action = actions_[static_cast<std::size_t>(offset)];
        switch (action.kind) {
        case Kind::Open: {
            std::vector<InvokeResult> results;
            for (const std::string& p : paths_) {
                const OpenResult r = openWithDefaultApplication(p);
                if (r.ok)
                    noteRecentlyUsed(p, dataHome_);
                results.emplace_back(r.ok, r.ok ? std::string()
                                                : r.reason + "\n" + textIn("ShellMenu", "ファイル名:") + p);
            }
            return combine(results);
        }
        case Kind::OpenWith: {
            const GObjectPtr<GDesktopAppInfo> app(g_desktop_app_info_new(action.app.c_str()));
            if (!app)
                return {false, textIn("ShellMenu", "アプリケーションが見つかりません: ") + action.app};
            InvokeResult r = launch(G_APP_INFO(app.get()), paths_);
            if (r.ok) {
                for (const std::string& p : paths_)
                    noteRecentlyUsed(p, dataHome_);
            }
            return r;
        }
        case Kind::OpenFolder: {
            std::vector<std::string> folders;
            for (const std::string& p : paths_) {
                const std::string f = folderOf(p);
                if (std::find(folders.begin(), folders.end(), f) == folders.end())
                    folders.push_back(f);
            }
            std::vector<InvokeResult> results;
            for (const std::string& f : folders) {
                const OpenResult r = openWithDefaultApplication(f);
                results.emplace_back(r.ok, r.ok ? std::string()
                                                : r.reason + "\n" + textIn("ShellMenu", "フォルダ名:") + f);
            }
            return combine(results);
        }
        case Kind::Cut:
        case Kind::Copy:
            putOnClipboard(paths_, action.kind == Kind::Cut);
            return {};
        case Kind::Trash: {
            std::vector<InvokeResult> results;
            std::vector<std::string> trashed;
            for (const std::string& p : paths_) {
                const GObjectPtr<GFile> file(g_file_new_for_path(p.c_str()));
                GError* raw = nullptr;
                const bool ok = g_file_trash(file.get(), nullptr, &raw);
                results.emplace_back(ok, ok ? std::string()
                                            : messageOf(GErrorPtr(raw)) + "\n" +
                                                  textIn("ShellMenu", "ファイル名:") + p);
                if (ok)
                    trashed.push_back(p);
            }
            InvokeResult all = combine(results);
            all.trashed = std::move(trashed);
            return all;
        }
        case Kind::Properties:
            if (properties_)
                properties_(paths_);
            return {};
        case Kind::None:
            break;
        }
        return {};
    }

private:
    enum class Kind { None, Open, OpenWith, OpenFolder, Cut, Copy, Trash, Properties };
    struct Action {
        Kind kind;
        std::string app;
    };

    std::vector<std::string> paths_;
    std::function<void(const std::vector<std::string>&)> properties_;
    std::string dataHome_;
    std::vector<Action> actions_;
};

std::string homeOr(const char* dir, const char* fallback) {
    if (dir && *dir)
        return dir;
    return std::string(g_get_home_dir()) + "/" + fallback;
}

void writeLinkEntry(const std::string& file, const std::string& name, const std::string& target) {
    const std::string text = "[Desktop Entry]\nType=Link\nName=" + escapeDesktopValue(name) +
                             "\nIcon=folder\nURL=" + uriOf(target) + "\n";
    replaceFile(file, text);
}

// The name a Send To entry shows: a desktop entry's Name, else the file name.
std::string entryName(const std::string& path, const std::string& fileName) {
    if (fileName.size() > 8 && fileName.compare(fileName.size() - 8, 8, ".desktop") == 0) {
        GKeyFile* raw = g_key_file_new();
        const std::unique_ptr<GKeyFile, GRelease<g_key_file_free>> keys(raw);
        if (g_key_file_load_from_file(raw, path.c_str(), G_KEY_FILE_NONE, nullptr)) {
            const GCharPtr name(g_key_file_get_locale_string(raw, "Desktop Entry", "Name", nullptr, nullptr));
            if (name && *name.get())
                return name.get();
        }
        return fileName.substr(0, fileName.size() - 8);
    }
    return fileName;
}

// Copies one file to `target`, which must not exist. The copy is made under a temporary name beside
// it and renamed only when complete, so that a full disk or a failed read never leaves a partial
// file under the real name; the temporary file goes on failure.
InvokeResult copyWhole(const std::string& file, const std::string& target) {
    const auto exists = [&] {
        GStatBuf st;
        return g_lstat(target.c_str(), &st) == 0;
    };
    InvokeResult refusal{
        false, fillIn(textIn("ShellMenu", "「%1」はすでにあります。上書きはしません。"), {target}), true};
    if (exists())
        return refusal;
    const GCharPtr folder(g_path_get_dirname(target.c_str()));
    std::string temporary = std::string(folder.get()) + "/.vendle-sendto-XXXXXX";
    const int fd = g_mkstemp_full(temporary.data(), O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return {false, g_strerror(errno)};
    ::close(fd);
    const auto discard = [&] { g_unlink(temporary.c_str()); };
    const GObjectPtr<GFile> from(g_file_new_for_path(file.c_str()));
    const GObjectPtr<GFile> to(g_file_new_for_path(temporary.c_str()));
    GError* raw = nullptr;
    if (!g_file_copy(from.get(), to.get(), G_FILE_COPY_OVERWRITE, nullptr, nullptr, nullptr, &raw)) {
        discard();
        return {false, messageOf(GErrorPtr(raw))};
    }
    // The copy takes the real name only if nothing has taken it meanwhile.
    if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return {};
    if (errno != EINVAL && errno != ENOSYS) {
        const int error = errno;
        discard();
        return error == EEXIST ? refusal : InvokeResult{false, g_strerror(error)};
    }
    // A file system without that kind of rename: a hard link refuses an existing name too.
    if (::link(temporary.c_str(), target.c_str()) == 0) {
        discard();
        return {};
    }
    const int error = errno;
    discard();
    return error == EEXIST ? refusal : InvokeResult{false, g_strerror(error)};
}

// Copies the files into `folder`, never over an existing file.
InvokeResult copyInto(const std::string& folder, const std::vector<std::string>& files) {
    std::vector<InvokeResult> results;
    for (const std::string& f : files) {
        const GCharPtr base(g_path_get_basename(f.c_str()));
        results.push_back(copyWhole(f, folder + "/" + base.get()));
    }
    return combine(results);
}

class DesktopShell final : public Shell {
public:
    DesktopShell(std::function<void(const std::vector<std::string>&)> props, std::string dataHome)
        : properties_(std::move(props)), dataHome_(std::move(dataHome)),
          folder_((dataHome_.empty() ? std::string(g_get_user_data_dir()) : dataHome_) + "/vendle/SendTo") {}

    void copyToClipboard(const std::vector<std::string>& paths) override { putOnClipboard(paths, false); }

    std::unique_ptr<ShellContextMenu> contextMenu(const std::vector<std::string>& paths) override {
        if (paths.empty())
            return nullptr;
        for (const std::string& p : paths) {
            GStatBuf st;
            if (g_stat(p.c_str(), &st) != 0)
                return nullptr;
        }
        return std::make_unique<DesktopContextMenu>(paths, properties_, dataHome_);
    }

    std::vector<SendToEntry> sendToEntries() override {
        ensureFolder();
        std::vector<SendToEntry> entries;
        GError* raw = nullptr;
        const GDirPtr dir(g_dir_open(folder_.c_str(), 0, &raw));
        if (!dir) {
            qCInfo(lcUi) << "no Send To folder:" << messageOf(GErrorPtr(raw)).c_str();
            return entries;
        }
        std::vector<std::string> names;
        while (const gchar* name = g_dir_read_name(dir.get()))
            names.emplace_back(name);
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            const std::string path = folder_ + "/" + name;
            GStatBuf st;
            if (g_lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
                continue; // folders are no entries; a link to one is
            entries.push_back({entryName(path, name), path});
        }
        return entries;
    }

    InvokeResult sendTo(std::size_t index, const std::vector<std::string>& files) override {
        const std::vector<SendToEntry> entries = sendToEntries();
        if (index >= entries.size())
            return {false, textIn("ShellMenu", "送り先がありません。")};
        const std::string& entry = entries[index].path;
        if (files.empty())
            return {false, textIn("ShellMenu", "送るファイルがありません。")};
        if (isFolder(entry)) // a symbolic link to a folder
            return copyInto(entry, files);
        if (entry.size() > 8 && entry.compare(entry.size() - 8, 8, ".desktop") == 0) {
            const std::optional<std::string> text = readWholeFile(entry, kLinkFileLimit);
            const UriPath link = desktopLinkTarget(text ? *text : std::string(), g_get_home_dir());
            // A link names its folder: a failure names that folder, not the entry's own file.
            if (link.status == UriPath::Status::Ok) {
                if (isFolder(link.path))
                    return copyInto(link.path, files);
                GStatBuf st;
                if (g_stat(link.path.c_str(), &st) != 0)
                    return {false,
                            fillIn(textIn("ShellMenu", "送り先のフォルダ「%1」がありません。"), {link.path})};
                return {false, fillIn(textIn("ShellMenu", "「%1」には送れません。"), {link.path})};
            }
            const GObjectPtr<GDesktopAppInfo> app(g_desktop_app_info_new_from_filename(entry.c_str()));
            if (app)
                return launch(G_APP_INFO(app.get()), files);
            return {false, fillIn(textIn("ShellMenu", "「%1」には送れません。"), {entry})};
        }
        if (::access(entry.c_str(), X_OK) == 0) {
            std::vector<gchar*> argv{const_cast<gchar*>(entry.c_str())};
            for (const std::string& f : files)
                argv.push_back(const_cast<gchar*>(f.c_str()));
            argv.push_back(nullptr);
            GError* raw = nullptr;
            if (g_spawn_async(nullptr, argv.data(), nullptr, G_SPAWN_DEFAULT, nullptr, nullptr, nullptr,
                              &raw))
                return {};
            return {false, messageOf(GErrorPtr(raw))};
        }
        return {false, fillIn(textIn("ShellMenu", "「%1」には送れません。"), {entry})};
    }

private:
    // Made on first use, with the user's desktop and documents folders as the first entries.
    void ensureFolder() {
        if (g_file_test(folder_.c_str(), G_FILE_TEST_IS_DIR))
            return;
        if (g_mkdir_with_parents(folder_.c_str(), 0700) != 0)
            return;
        writeLinkEntry(folder_ + "/desktop.desktop", textIn("ShellMenu", "デスクトップ"),
                       homeOr(g_get_user_special_dir(G_USER_DIRECTORY_DESKTOP), "Desktop"));
        writeLinkEntry(folder_ + "/documents.desktop", textIn("ShellMenu", "ドキュメント"),
                       homeOr(g_get_user_special_dir(G_USER_DIRECTORY_DOCUMENTS), "Documents"));
    }

    std::function<void(const std::vector<std::string>&)> properties_;
    std::string dataHome_;
    std::string folder_;
};

} // namespace

std::unique_ptr<Shell> desktopShell(std::function<void(const std::vector<std::string>&)> showProperties,
                                    std::string dataHome) {
    return std::make_unique<DesktopShell>(std::move(showProperties), std::move(dataHome));
}

FileProperties filePropertiesOf(const std::string& path) {
    FileProperties p;
    const GCharPtr base(g_path_get_basename(path.c_str()));
    p.name = base.get();
    p.folder = folderOf(path);
    const std::string type = contentTypeOf(path);
    const GCharPtr description(g_content_type_get_description(type.c_str()));
    p.type = description ? description.get() : type;
    GStatBuf st;
    if (g_stat(path.c_str(), &st) == 0) {
        p.size = S_ISDIR(st.st_mode) ? -1 : static_cast<long long>(st.st_size);
        p.modifiedUnix = static_cast<long long>(st.st_mtime);
    }
    return p;
}

} // namespace vendle::platform
