// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/fulltime.h"
#include "core/inifileex.h"
#include "fakefiles.h"

#include <gtest/gtest.h>

using namespace vendle;
using vendle::test::FakeFiles;

namespace {

const std::string kPath = "/opt/vendle/vendle.ini";
const std::string kApp = "%%% Application Infomation Section %%%";

class IniFileExTest : public ::testing::Test {
protected:
    FakeFiles files;
    DateTime clock = encodeDate(2026, 12, 8) + encodeTime(10, 0, 0, 0);
    std::vector<std::string> reported;

    // A run of the program: the exit sequence writes the file when the run is done with it.
    class Run {
    public:
        explicit Run(std::unique_ptr<TIniFileEx> ini) : ini_(std::move(ini)) {}
        Run(Run&&) = default;
        ~Run() {
            if (ini_)
                ini_->UpdateFile();
        }
        TIniFileEx* operator->() const { return ini_.get(); }

    private:
        std::unique_ptr<TIniFileEx> ini_;
    };
    Run open() {
        auto ini =
            std::make_unique<TIniFileEx>(kPath, files, DateTimeFormat::japanese(), [this] { return clock; });
        ini->setErrorReporter([this](const std::string& m) { reported.push_back(m); });
        return Run(std::move(ini));
    }
};

} // namespace

TEST_F(IniFileExTest, FirstStartThenSecondStart) {
    {
        auto ini = open();
        EXPECT_TRUE(ini->IsFirstKick());
        EXPECT_EQ(ini->ExecCount(), 1);
        EXPECT_EQ(files.writes, 0); // nothing reaches the disk before the end
        ini->WriteString("VendleMainForm", "DataMax", "10000");
        clock += encodeTime(0, 0, 5, 0);
    }
    EXPECT_EQ(files.files[kPath], "[%%% Application Infomation Section %%%]\r\n"
                                  "FirstKick=2026/12/08 10:00:00\r\n"
                                  "ExecCount=1\r\n"
                                  "TotalExecTime=0:00:05.000\r\n"
                                  "\r\n"
                                  "[VendleMainForm]\r\n"
                                  "DataMax=10000\r\n"
                                  "\r\n");
    {
        auto ini = open();
        EXPECT_FALSE(ini->IsFirstKick());
        EXPECT_EQ(ini->ExecCount(), 2);
        EXPECT_TRUE(ini->ValueExists(kApp, "DebugDoAsFirst"));
        EXPECT_EQ(ini->ReadString(kApp, "DebugDoAsFirst", ""), "0");
        EXPECT_EQ(ini->ReadString(kApp, "FirstKick", ""), "2026/12/08 10:00:00");
    }
    EXPECT_NE(files.files[kPath].find("ExecCount=2\r\n"), std::string::npos);
    EXPECT_TRUE(reported.empty());
}

TEST_F(IniFileExTest, DebugDoAsFirstForcesTheFirstStart) {
    files.files[kPath] = "[%%% Application Infomation Section %%%]\r\nFirstKick=2020/01/01\r\nExecCount=7\r\n"
                         "DebugDoAsFirst=1\r\n";
    {
        auto ini = open();
        EXPECT_TRUE(ini->IsFirstKick());
        EXPECT_EQ(ini->ExecCount(), 8);
        EXPECT_EQ(ini->ReadString(kApp, "FirstKick", ""), "2020/01/01"); // not rewritten
    }
    // A FirstKick that cannot be read counts as missing.
    files.files[kPath] = "[%%% application infomation section %%%]\r\nfirstkick=someday\r\n";
    auto ini = open();
    EXPECT_TRUE(ini->IsFirstKick());
    EXPECT_EQ(ini->ReadString(kApp, "FirstKick", ""), "2026/12/08 10:00:00");
    EXPECT_NE(ini->serialize().find("firstkick=2026/12/08 10:00:00\r\n"), std::string::npos); // in place
}

TEST_F(IniFileExTest, TotalRunningTimeAddsThisRun) {
    files.files[kPath] = "[%%% Application Infomation Section %%%]\r\nTotalExecTime=12:00:00.000\r\n";
    {
        auto ini = open();
        clock += encodeTime(0, 30, 0, 0);
        EXPECT_NEAR(ini->GetTotalExecTime(), 0.5 + 30.0 / 1440, 1e-9);
    }
    EXPECT_NE(files.files[kPath].find("TotalExecTime=12:30:00.000\r\n"), std::string::npos);

    files.files[kPath] = "[%%% Application Infomation Section %%%]\r\nTotalExecTime=30:15:00\r\n";
    auto ini = open();
    EXPECT_NEAR(ini->GetTotalExecTime(), 1.0 + encodeTime(6, 15, 0, 0), 1e-9);
}

TEST_F(IniFileExTest, DamagedTotalDoesNotLoseTheFile) {
    files.files[kPath] = "[%%% Application Infomation Section %%%]\r\nTotalExecTime=1:02:03.4.5\r\n"
                         "[VendleMainForm]\r\nDataMax=500\r\n";
    {
        auto ini = open();
        clock += encodeTime(1, 0, 0, 0);
        EXPECT_NEAR(ini->GetTotalExecTime(), 1.0 / 24, 1e-9);
    }
    EXPECT_NE(files.files[kPath].find("TotalExecTime=1:00:00.000\r\n"), std::string::npos);
    EXPECT_NE(files.files[kPath].find("DataMax=500\r\n"), std::string::npos);
    EXPECT_TRUE(reported.empty());
}

TEST_F(IniFileExTest, FailedWriteIsReportedAndKeepsTheOldFile) {
    const std::string old = "[VendleMainForm]\r\nDataMax=500\r\n\r\n";
    files.files[kPath] = old;
    {
        auto ini = open();
        ini->WriteString("VendleMainForm", "DataMax", "9");
        files.failWrites = true;
    }
    EXPECT_EQ(files.files[kPath], old);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].rfind("設定を保存できませんでした。\n", 0), 0u);
    EXPECT_NE(reported[0].find("disk full"), std::string::npos);
}

TEST_F(IniFileExTest, AFileThatCannotBeReadIsNeitherAFirstStartNorReplaced) {
    const std::string old =
        "[%%% Application Infomation Section %%%]\r\nFirstKick=2026/01/01\r\nExecCount=9\r\n";
    files.files[kPath] = old;
    files.unreadable.insert(kPath);
    {
        auto ini = open();
        EXPECT_TRUE(ini->unreadable());
        EXPECT_FALSE(ini->IsFirstKick());
        ini->WriteString("VendleMainForm", "DataMax", "9");
    }
    EXPECT_EQ(files.files[kPath], old);
    EXPECT_EQ(files.writes, 0);
}

TEST_F(IniFileExTest, AFirstStartDateFromAnotherLocaleIsReadAndWrittenInTheFilesForm) {
    // Written by an older version under a US English locale; read under that locale, and a date
    // written under any locale comes out in the files' own form.
    files.files[kPath] = "[%%% Application Infomation Section %%%]\r\nFirstKick=1/2/2026\r\nExecCount=1\r\n";
    {
        TIniFileEx ini(kPath, files, DateTimeFormat::usEnglish(), [this] { return clock; });
        EXPECT_FALSE(ini.IsFirstKick());
        EXPECT_DOUBLE_EQ(ini.ReadDateTime(kApp, "FirstKick", 0), encodeDate(2026, 1, 2));
        ini.WriteDateTime(kApp, "FirstKick", encodeDate(2026, 1, 2) + encodeTime(13, 4, 5, 0));
        EXPECT_EQ(ini.ReadString(kApp, "FirstKick", ""), "2026/01/02 13:04:05");
    }
}

// A file of someone else's content (no section of this program's) is a first start, and its
// content is kept beside it before the file is replaced; a file of ours makes no copy.
TEST_F(IniFileExTest, ForeignContentIsKeptAsABackupBeforeTheFileIsReplaced) {
    const std::string junk = "this is not a settings file\n[Other]\nx=1\n";
    files.files[kPath] = junk;
    {
        auto ini = open();
        EXPECT_TRUE(ini->IsFirstKick());
    }
    EXPECT_EQ(files.files[kPath + ".bak"], junk);
    EXPECT_NE(files.files[kPath].find(kApp), std::string::npos);
    files.files.erase(kPath + ".bak");
    { auto again = open(); }
    EXPECT_EQ(files.files.count(kPath + ".bak"), 0u);
}

// The file is written whenever something changed, several times a run: the running time is
// counted once.
TEST_F(IniFileExTest, WritingSeveralTimesARunCountsItsTimeOnce) {
    files.files[kPath] = "[" + kApp + "]\r\nFirstKick=2026/01/01 0:00:00\r\nTotalExecTime=01:00:00\r\n";
    auto ini = open();
    clock += encodeTime(0, 10, 0, 0);
    EXPECT_TRUE(ini->UpdateFile());
    clock += encodeTime(0, 10, 0, 0);
    EXPECT_TRUE(ini->UpdateFile());
    EXPECT_NE(files.files[kPath].find("TotalExecTime=1:20:00.000"), std::string::npos) << files.files[kPath];
}
