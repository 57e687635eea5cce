// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fileaccess.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>

using vendle::IoError;
using vendle::platform::SystemFileAccess;
namespace fs = std::filesystem;

namespace {

class FileAccessTest : public ::testing::Test {
protected:
    fs::path dir;
    SystemFileAccess files;

    void SetUp() override {
        dir = fs::temp_directory_path() / ("vendle-fa-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string slurp(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::size_t entries() { return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {})); }
};

// Lowers the largest file this process may write, so that writes fail as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

} // namespace

TEST_F(FileAccessTest, ExistenceReadAndWrite) {
    const std::string file = (dir / "vendle.dat").string();
    EXPECT_FALSE(files.exists(file));
    EXPECT_FALSE(files.readAll(file, 100).has_value());
    files.writeAtomically(file, std::string("a\tb\r\n\0tail", 10));
    EXPECT_TRUE(files.exists(file));
    EXPECT_TRUE(files.isExistingFile(file));
    EXPECT_EQ(*files.readAll(file, 10), std::string("a\tb\r\n\0tail", 10));
    EXPECT_FALSE(files.readAll(file, 9).has_value()); // one byte over the limit: not read at all
    files.writeAtomically(file, "");
    EXPECT_EQ(*files.readAll(file, 10), "");
    EXPECT_EQ(fs::file_size(file), 0u);

    EXPECT_TRUE(files.exists(dir.string()));
    EXPECT_FALSE(files.isExistingFile(dir.string()));
    EXPECT_EQ(entries(), 1u); // no temporary files left behind
}

TEST_F(FileAccessTest, HostileFilesInAFilesPlaceAreRefusedAtOnce) {
    // A FIFO without a writer would block a plain read for good; a link to an endless device would
    // be read without end. Both are refused at once, and so is anything but a regular file.
    const std::string fifo = (dir / "fifo.dat").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string zero = (dir / "zero.dat").string();
    fs::create_symlink("/dev/zero", zero);
    for (const std::string& path : {fifo, zero, dir.string()})
        EXPECT_FALSE(files.readAll(path, std::size_t{1} << 30).has_value()) << path;
    // A file whose size the kernel does not declare is read to its end, within the limit.
    const std::optional<std::string> maps = files.readAll("/proc/self/maps", std::size_t{16} << 20);
    ASSERT_TRUE(maps.has_value());
    EXPECT_NE(maps->find("["), std::string::npos);
    EXPECT_FALSE(files.readAll("/proc/self/maps", 10).has_value());
}

TEST_F(FileAccessTest, FailedWriteLeavesTheOldFileByteIdentical) {
    const fs::path file = dir / "vendle.ini";
    const std::string old = "[VendleMainForm]\r\nDataMax=10000\r\n\r\n";
    files.writeAtomically(file.string(), old);
    const std::string big(64 * 1024, 'x');
    {
        FileSizeLimit limit(4096);
        try {
            files.writeAtomically(file.string(), big);
            FAIL() << "the write should have failed";
        } catch (const IoError& e) {
            EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos);
        }
    }
    EXPECT_EQ(slurp(file), old);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(FileAccessTest, ADocumentOnAnAbsentVolumeIsUnavailableNotGone) {
    const std::string file = (dir / "here.txt").string();
    files.writeAtomically(file, "x");
    EXPECT_EQ(files.presence(file), vendle::FileAccess::Presence::File);
    EXPECT_EQ(files.presence((dir / "gone.txt").string()), vendle::FileAccess::Presence::Gone);
    EXPECT_EQ(files.presence(dir.string()), vendle::FileAccess::Presence::Gone); // a folder is no document
    // No volume is mounted there: the document may come back with it.
    EXPECT_EQ(files.presence("/mnt/vendle-absent-volume/report.odt"),
              vendle::FileAccess::Presence::Unavailable);
    EXPECT_EQ(files.presence("/media/vendle-absent-stick/a.txt"), vendle::FileAccess::Presence::Unavailable);
    // A folder that is not there at all (a volume mounted elsewhere, say by fstab, is away): out of
    // reach, not deleted. Only a missing file in a folder that is there is gone.
    EXPECT_EQ(files.presence((dir / "data-volume/projects/plan.odt").string()),
              vendle::FileAccess::Presence::Unavailable);
    EXPECT_EQ(
        files.presenceOfEach({(dir / "data-volume/projects/plan.odt").string(), (dir / "gone.txt").string()}),
        (std::vector<vendle::FileAccess::Presence>{vendle::FileAccess::Presence::Unavailable,
                                                   vendle::FileAccess::Presence::Gone}));
}

// Many paths at once are looked at on several threads; each answer must be the one presence()
// gives for that path, in the order asked, whatever kind of path sits where.
TEST_F(FileAccessTest, PresenceOfManyPathsAnswersEachAsPresenceDoes) {
    std::vector<std::string> paths;
    for (int i = 0; i < 10'000; ++i) {
        const fs::path folder = dir / ("f" + std::to_string(i % 50));
        switch (i % 5) {
        case 0:
        case 1:
            fs::create_directories(folder);
            std::ofstream(folder / ("doc" + std::to_string(i))) << 'x';
            paths.push_back((folder / ("doc" + std::to_string(i))).string());
            break;
        case 2:
            paths.push_back((folder / ("gone" + std::to_string(i))).string());
            break;
        case 3:
            fs::create_directories(folder);
            paths.push_back(folder.string()); // a folder is no document
            break;
        default:
            paths.push_back("/mnt/vendle-absent-volume/" + std::to_string(i) + ".odt");
            break;
        }
    }
    const std::vector<std::string_view> views(paths.begin(), paths.end());
    const std::vector<vendle::FileAccess::Presence> answers = files.presenceOfEach(views);
    ASSERT_EQ(answers.size(), paths.size());
    std::size_t found = 0;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        ASSERT_EQ(answers[i], files.presence(paths[i])) << paths[i];
        found += answers[i] == vendle::FileAccess::Presence::File;
    }
    EXPECT_EQ(found, 4000u);
}

TEST_F(FileAccessTest, ALinkedFileIsWrittenAtItsTargetAndTheLinkStays) {
    fs::create_directories(dir / "real");
    const fs::path target = dir / "real" / "vendle.dat";
    files.writeAtomically(target.string(), "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("real/vendle.dat", dir / "vendle.dat");
    files.writeAtomically((dir / "vendle.dat").string(), "new");
    EXPECT_TRUE(fs::is_symlink(dir / "vendle.dat"));
    EXPECT_EQ(slurp(target), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

// A write never replaces what is not a regular file, directly or through a link: a device node
// (a FIFO where the test may not make one), or a folder. The program's every file goes this way.
TEST_F(FileAccessTest, ALinkToADeviceOrAFolderIsRefusedAndLeftAsItIs) {
    const fs::path node = dir / "node";
    const bool device = ::mknod(node.c_str(), S_IFCHR | 0600, makedev(1, 5)) == 0;
    if (!device) {
        ASSERT_EQ(::mkfifo(node.c_str(), 0600), 0);
    }
    fs::create_directories(dir / "folder");
    for (const char* name : {"vendle.dat", "vendle.seen", "vendle.ini"}) {
        const fs::path file = dir / name;
        for (const fs::path& target : {node, dir / "folder"}) {
            fs::remove(file);
            fs::create_symlink(target, file);
            try {
                files.writeAtomically(file.string(), "replaced");
                ADD_FAILURE() << name << " written through a link to " << target;
            } catch (const IoError& e) {
                EXPECT_NE(std::string(e.what()).find("通常のファイルではない"), std::string::npos)
                    << e.what();
            }
            EXPECT_TRUE(fs::is_symlink(file));
        }
    }
    fs::remove(dir / "vendle.dat");
    ASSERT_EQ(::mkfifo((dir / "vendle.dat").c_str(), 0600), 0); // not through a link either
    EXPECT_THROW(files.writeAtomically((dir / "vendle.dat").string(), "x"), IoError);
    EXPECT_TRUE(fs::is_fifo(dir / "vendle.dat"));
    EXPECT_TRUE(device ? fs::is_character_file(node) : fs::is_fifo(node));
    EXPECT_TRUE(fs::is_empty(dir / "folder"));
}

TEST_F(FileAccessTest, TemporariesLeftByAKilledSaveAreRemovedAndNothingElse) {
    const std::string file = (dir / "vendle.dat").string();
    files.writeAtomically(file, "history");
    for (const char* name : {"vendle.dat.Ab12Cd", "vendle.dat.zzzzzz", "vendle.dat.bak", "vendle.dat.Ab12Cde",
                             "vendle.datXAb12Cd", "vendle.ini.Ab12Cd"})
        std::ofstream(dir / name) << "x";
    files.removeStaleTemporaries(file);
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir))
        left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"vendle.dat", "vendle.dat.Ab12Cde", "vendle.dat.bak",
                                              "vendle.datXAb12Cd", "vendle.ini.Ab12Cd"}));
    EXPECT_EQ(slurp(file), "history");
}

TEST_F(FileAccessTest, WriteIntoAMissingFolderFails) {
    EXPECT_THROW(files.writeAtomically((dir / "no" / "such" / "vendle.dat").string(), "x"), IoError);
}

TEST_F(FileAccessTest, PiecesFromAProducerArriveInOrderAndWhole) {
    const std::string file = (dir / "vendle.dat").string();
    files.writeAtomically(file, "old\r\n"); // an old file to replace, as in use
    std::string expected;
    files.writeAtomicallyFrom(file, [&](vendle::ByteSink& sink) {
        for (int i = 0; i < 60; ++i) {
            std::string piece(100'000 + i, static_cast<char>('A' + i % 26));
            piece += std::to_string(i);
            expected += piece;
            if (i % 3 == 0) {
                sink.append(piece);
            } else {
                sink.appendPiece(piece);
                EXPECT_TRUE(piece.empty());
                piece = "reused buffer " + std::to_string(i); // a handed-over buffer may be reused
                expected += piece;
                sink.appendPiece(piece);
            }
        }
    });
    EXPECT_EQ(slurp(file), expected);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(FileAccessTest, AProducerThatFailsLeavesTheOldFileAndNoTemporaryFile) {
    const fs::path file = dir / "vendle.dat";
    files.writeAtomically(file.string(), "old\r\n");
    EXPECT_THROW(files.writeAtomicallyFrom(file.string(),
                                           [](vendle::ByteSink& sink) {
                                               for (int i = 0; i < 10; ++i) {
                                                   std::string piece(300'000, 'x');
                                                   sink.appendPiece(piece);
                                               }
                                               throw std::runtime_error("producer failed");
                                           }),
                 std::runtime_error);
    EXPECT_EQ(slurp(file), "old\r\n");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(FileAccessTest, AFullDiskLeavesTheOldFile) {
    const fs::path file = dir / "vendle.dat";
    files.writeAtomically(file.string(), "old\r\n");
    {
        FileSizeLimit limit(1024 * 1024);
        try {
            files.writeAtomicallyFrom(file.string(), [&](vendle::ByteSink& sink) {
                for (int i = 0; i < 20; ++i) {
                    std::string piece(256 * 1024, 'x');
                    sink.appendPiece(piece);
                }
            });
            FAIL() << "the write should have failed";
        } catch (const IoError& e) {
            EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos);
        }
    }
    EXPECT_EQ(slurp(file), "old\r\n");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(FileAccessTest, NewFilesArePrivateAndReplacedOnesKeepTheirMode) {
    const fs::path file = dir / "vendle.dat";
    files.writeAtomically(file.string(), "new");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    files.writeAtomically(file.string(), "again");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(FileAccessTest, FilesOnAFileSystemThatNeedsTheFlushAreWrittenWholeToo) {
    // tmpfs, another kind of file system than the test folder's usual one.
    const fs::path shm = "/dev/shm";
    if (!fs::is_directory(shm))
        GTEST_SKIP() << "no /dev/shm";
    const fs::path file = shm / ("vendle-fa-" + std::to_string(::getpid()) + ".dat");
    files.writeAtomically(file.string(), "old\r\n");
    std::string expected;
    files.writeAtomicallyFrom(file.string(), [&](vendle::ByteSink& sink) {
        for (int i = 0; i < 12; ++i) {
            std::string piece(700'000, static_cast<char>('a' + i));
            expected += piece;
            sink.appendPiece(piece);
        }
    });
    EXPECT_EQ(slurp(file), expected);
    fs::remove(file);
}
