#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/PlatformError.h"
#include "platform/TextCodes.h"
#include "support/FileSystemChecks.h"
#include "support/TempDir.h"

namespace tabulane {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

using test::ErrorNumberOf;
using test::NamesIn;
using test::ReadAll;
using test::WriteAll;

class NativeFileSystemTest : public ::testing::Test {
protected:
    test::TempDir m_dir;
    NativeFileSystem m_files;
};

TEST_F(NativeFileSystemTest, AttributesOfAMissingEntryAreAnError) {
    EXPECT_EQ(ErrorNumberOf([&] { m_files.GetAttributes(m_dir.File("missing")); }), ErrorNumber::kFileNotFound);
    EXPECT_NE(ErrorNumberOf([&] { m_files.GetAttributes(""); }), 0);
}

TEST_F(NativeFileSystemTest, ExistsForFilesAndFoldersOnly) {
    test::WriteFileBytes(m_dir.File("file.txt"), "x");
    EXPECT_TRUE(m_files.Exists(m_dir.File("file.txt")));
    EXPECT_TRUE(m_files.Exists(m_dir.Path().string()));
    EXPECT_FALSE(m_files.Exists(m_dir.File("missing")));
    EXPECT_FALSE(m_files.Exists(""));
}

TEST_F(NativeFileSystemTest, NothingIsVisibleAtTheTargetUntilCommit) {
    const std::string target = m_dir.File("out.csv");
    auto writer = m_files.CreateReplacing(target);
    WriteAll(*writer, "a,b\r\n");
    EXPECT_FALSE(fs::exists(target));
    writer->Commit();
    EXPECT_EQ(test::ReadFileBytes(target), "a,b\r\n");
    writer.reset();
    EXPECT_EQ(NamesIn(m_dir.Path()), std::vector<std::string>{"out.csv"});
}

TEST_F(NativeFileSystemTest, AnAbandonedWriterLeavesTheOldFileAndNoTemporary) {
    const std::string target = m_dir.File("out.csv");
    test::WriteFileBytes(target, "old\r\ncontent\x1a\0"s);
    {
        auto writer = m_files.CreateReplacing(target);
        WriteAll(*writer, "new content that is never committed");
        EXPECT_EQ(test::ReadFileBytes(target), "old\r\ncontent\x1a\0"s);
    }
    EXPECT_EQ(test::ReadFileBytes(target), "old\r\ncontent\x1a\0"s);
    EXPECT_EQ(NamesIn(m_dir.Path()), std::vector<std::string>{"out.csv"});

    {
        auto writer = m_files.CreateReplacing(m_dir.File("new.csv"));
        WriteAll(*writer, "x");
    }
    EXPECT_EQ(NamesIn(m_dir.Path()), std::vector<std::string>{"out.csv"});
}

TEST_F(NativeFileSystemTest, AFileWithoutWriteBitsIsRefusedEvenForTheSuperuser) {
    const std::string target = m_dir.File("locked.csv");
    test::WriteFileBytes(target, "keep");
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(ErrorNumberOf([&] { m_files.CreateReplacing(target); }), ErrorNumber::kPermissionDenied);
    EXPECT_EQ(test::ReadFileBytes(target), "keep");
    EXPECT_EQ(NamesIn(m_dir.Path()), std::vector<std::string>{"locked.csv"});
}

TEST_F(NativeFileSystemTest, AMissingFolderIsPathNotFound) {
    EXPECT_EQ(ErrorNumberOf([&] { m_files.CreateReplacing(m_dir.File("no/such/out.csv")); }),
              ErrorNumber::kPathNotFound);
    test::WriteFileBytes(m_dir.File("file"), "x");
    EXPECT_EQ(ErrorNumberOf([&] { m_files.CreateReplacing(m_dir.File("file/out.csv")); }), ErrorNumber::kPathNotFound);
}

TEST_F(NativeFileSystemTest, AFolderCannotBeReplaced) {
    fs::create_directory(m_dir.File("out.csv"));
    EXPECT_EQ(ErrorNumberOf([&] { m_files.CreateReplacing(m_dir.File("out.csv")); }), ErrorNumber::kPermissionDenied);
    EXPECT_TRUE(fs::is_directory(m_dir.File("out.csv")));
}

TEST_F(NativeFileSystemTest, TheLongestNameCanStillBeWritten) {
    // The temporary name carries the target's name; it must still fit when the target's name is at the limit.
    const std::string name = std::string(251, 'n') + ".csv";
    auto writer = m_files.CreateReplacing(m_dir.File(name));
    WriteAll(*writer, "x");
    writer->Commit();
    EXPECT_EQ(NamesIn(m_dir.Path()), std::vector<std::string>{name});

    // Two bytes per character: the shortened temporary name must not end inside one.
    std::string wide;
    for (int i = 0; i < 125; ++i) {
        wide += "\xc3\xa9";
    }
    wide += ".csv";
    auto second = m_files.CreateReplacing(m_dir.File(wide));
    for (const auto& entry : NamesIn(m_dir.Path())) {
        if (entry != name && entry != wide) {
            EXPECT_EQ(std::count(entry.begin(), entry.end(), '\xc3'), std::count(entry.begin(), entry.end(), '\xa9'))
                << "temporary name cut inside a character";
        }
    }
    second->Commit();
    EXPECT_EQ(NamesIn(m_dir.Path()).size(), 2U);
    EXPECT_TRUE(fs::exists(test::PathFromText(m_dir.File(wide))));
}

TEST_F(NativeFileSystemTest, ReadsAFileInAnyChunks) {
    const std::string bytes =
        "\xff\xfe"
        "a\0b\r\nlast line without break"s;
    test::WriteFileBytes(m_dir.File("in.txt"), bytes);
    auto reader = m_files.OpenRead(m_dir.File("in.txt"), InputKind::Any);
    EXPECT_EQ(ReadAll(*reader), bytes);
    EXPECT_EQ(reader->Read(nullptr, 0), 0U);
}

TEST_F(NativeFileSystemTest, OpeningWhatCannotBeReadIsAnError) {
    EXPECT_EQ(ErrorNumberOf([&] { m_files.OpenRead(m_dir.File("missing.txt"), InputKind::Any); }),
              ErrorNumber::kFileNotFound);
    EXPECT_NE(ErrorNumberOf([&] { m_files.OpenRead(m_dir.Path().string(), InputKind::Any); }), 0);
    EXPECT_NE(ErrorNumberOf([&] { m_files.OpenRead("", InputKind::Any); }), 0);
}

#ifndef _WIN32
// What only POSIX has: mode bits, symbolic links and devices.

mode_t PermissionBits(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

TEST_F(NativeFileSystemTest, AttributesUseTheWindowsBits) {
    test::WriteFileBytes(m_dir.File("file.txt"), "x");
    test::WriteFileBytes(m_dir.File(".hidden"), "x");
    test::WriteFileBytes(m_dir.File("readonly.txt"), "x");
    fs::permissions(m_dir.File("readonly.txt"), fs::perms::owner_read | fs::perms::group_read);
    fs::create_directory(m_dir.File("folder"));
    fs::create_directory(m_dir.File(".hiddenfolder"));
    fs::create_directory(m_dir.File("readonlyfolder"));
    fs::permissions(m_dir.File("readonlyfolder"), fs::perms::owner_read | fs::perms::owner_exec);
    fs::create_symlink(m_dir.File("file.txt"), m_dir.File("link-to-file"));
    fs::create_directory_symlink(m_dir.File("folder"), m_dir.File("link-to-folder"));
    fs::create_symlink(m_dir.File("file.txt"), m_dir.File(".hidden-link"));
    fs::create_symlink(m_dir.File("gone"), m_dir.File("dangling"));

    struct Case {
        std::string name;
        int attributes;
    };
    const std::vector<Case> cases = {
        {"folder", 16},         {"file.txt", 32},       {".hidden", 34},        {".hiddenfolder", 18},
        {"readonly.txt", 33},   {"readonlyfolder", 17}, {"link-to-file", 1056}, {"link-to-folder", 1040},
        {".hidden-link", 1058}, {"dangling", 1024},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(m_files.GetAttributes(m_dir.File(c.name)), c.attributes) << c.name;
    }
    EXPECT_EQ(m_files.GetAttributes(m_dir.Path().string() + "/folder/"), 16);
}

TEST_F(NativeFileSystemTest, ReplacingKeepsThePermissionBits) {
    const std::string target = m_dir.File("shared.csv");
    test::WriteFileBytes(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    auto writer = m_files.CreateReplacing(target);
    WriteAll(*writer, "new");
    writer->Commit();
    EXPECT_EQ(test::ReadFileBytes(target), "new");
    EXPECT_EQ(PermissionBits(target), 0640U);
}

TEST_F(NativeFileSystemTest, ANewFileGetsTheUsualPermissions) {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    auto writer = m_files.CreateReplacing(m_dir.File("new.csv"));
    writer->Commit();
    EXPECT_EQ(PermissionBits(m_dir.File("new.csv")), 0666U & ~mask);
}

TEST_F(NativeFileSystemTest, WritingThroughALinkReplacesItsTargetAndKeepsTheLink) {
    fs::create_directory(m_dir.File("real"));
    test::WriteFileBytes(m_dir.File("real/data.csv"), "old");
    fs::create_symlink("real/data.csv", m_dir.File("link.csv"));  // relative, as links often are
    fs::create_symlink(m_dir.File("link.csv"), m_dir.File("link-to-link.csv"));

    auto writer = m_files.CreateReplacing(m_dir.File("link-to-link.csv"));
    WriteAll(*writer, "new");
    writer->Commit();

    EXPECT_TRUE(fs::is_symlink(m_dir.File("link.csv")));
    EXPECT_TRUE(fs::is_symlink(m_dir.File("link-to-link.csv")));
    EXPECT_EQ(test::ReadFileBytes(m_dir.File("real/data.csv")), "new");
    EXPECT_EQ(NamesIn(m_dir.File("real")), std::vector<std::string>{"data.csv"});
}

TEST_F(NativeFileSystemTest, WritingThroughADanglingLinkCreatesItsTarget) {
    fs::create_directory(m_dir.File("real"));
    fs::create_symlink("real/later.csv", m_dir.File("link.csv"));
    auto writer = m_files.CreateReplacing(m_dir.File("link.csv"));
    WriteAll(*writer, "made");
    writer->Commit();
    EXPECT_TRUE(fs::is_symlink(m_dir.File("link.csv")));
    EXPECT_EQ(test::ReadFileBytes(m_dir.File("real/later.csv")), "made");
}

TEST_F(NativeFileSystemTest, ALinkLoopIsAnErrorNotAHang) {
    fs::create_symlink("b", m_dir.File("a"));
    fs::create_symlink("a", m_dir.File("b"));
    EXPECT_NE(ErrorNumberOf([&] { m_files.CreateReplacing(m_dir.File("a")); }), 0);
}

TEST_F(NativeFileSystemTest, AFolderListsInCaseInsensitiveOrderWithWindowsAttributes) {
    for (const char* name : {"b.txt", "B.txt", "a.txt", "_under", "Zed", ".hidden", ".readonly"}) {
        test::WriteFileBytes(m_dir.File(name), "x");
    }
    fs::create_directory(m_dir.File("sub"));
    fs::create_directory_symlink(m_dir.File("sub"), m_dir.File("link"));
    ASSERT_EQ(::mkfifo(m_dir.File("pipe").c_str(), 0644), 0);
    ::chmod(m_dir.File("Zed").c_str(), 0444);
    ::chmod(m_dir.File(".readonly").c_str(), 0444);
    fs::create_symlink(m_dir.File(".readonly"), m_dir.File("to-readonly"));

    std::vector<std::pair<std::string, int>> listed;
    for (const FolderEntry& entry : m_files.ListFolder(m_dir.Path().string())) {
        listed.emplace_back(entry.name, entry.attributes);
    }
    // Letters fold to lower case before comparing, so "_" sorts before them; "B" before "b" on a tie. The read-only
    // bit is read where it decides (hidden names, links), not for a plain entry the listing types by itself.
    EXPECT_EQ(listed, (std::vector<std::pair<std::string, int>>{{".hidden", 34},
                                                                {".readonly", 35},
                                                                {"_under", 32},
                                                                {"a.txt", 32},
                                                                {"B.txt", 32},
                                                                {"b.txt", 32},
                                                                {"link", 1040},
                                                                {"pipe", 0},
                                                                {"sub", 16},
                                                                {"to-readonly", 1057},
                                                                {"Zed", 32}}));
    EXPECT_EQ(m_files.GetAttributes(m_dir.File("Zed")), 33);
    EXPECT_TRUE(m_files.IsRegularFile(m_dir.File("a.txt")));
    for (const char* notRegular : {"pipe", "sub", "link", "missing"}) {
        EXPECT_FALSE(m_files.IsRegularFile(m_dir.File(notRegular))) << notRegular;
    }
}

TEST_F(NativeFileSystemTest, AFolderIsKnownByItsIdentityWhateverThePath) {
    fs::create_directory(m_dir.File("sub"));
    fs::create_directory_symlink(m_dir.File("sub"), m_dir.File("link"));
    test::WriteFileBytes(m_dir.File("file"), "x");
    EXPECT_EQ(m_files.GetFolder(m_dir.File("link") + "/").id, m_files.GetFolder(m_dir.File("sub")).id);
    EXPECT_NE(m_files.GetFolder(m_dir.File("sub")).id, m_files.GetFolder(m_dir.Path().string()).id);
    EXPECT_FALSE(m_files.GetFolder(m_dir.File("sub")).isRoot);
    EXPECT_TRUE(m_files.GetFolder("/").isRoot);
    EXPECT_TRUE(m_files.GetFolder("//").isRoot);
    for (const std::string& missing : {m_dir.File("missing"), m_dir.File("file"), std::string()}) {
        EXPECT_EQ(ErrorNumberOf([&] { m_files.GetFolder(missing); }), ErrorNumber::kPathNotFound) << missing;
        EXPECT_EQ(ErrorNumberOf([&] { m_files.ListFolder(missing); }), ErrorNumber::kPathNotFound) << missing;
    }
}

TEST(NativeFileSystemDevices, WritesToADeviceInPlaceWithoutReplacingIt) {
    NativeFileSystem files;
    struct stat before {};
    ASSERT_EQ(::stat("/dev/null", &before), 0);
    auto writer = files.CreateReplacing("/dev/null");
    writer->Write("discarded", 9);
    writer->Commit();
    struct stat after {};
    ASSERT_EQ(::stat("/dev/null", &after), 0);
    EXPECT_TRUE(S_ISCHR(after.st_mode));
    EXPECT_EQ(before.st_rdev, after.st_rdev);
}

#else
// What only Windows has: attributes set by the user, and the MAX_PATH limit.

void SetAttributes(const std::string& path, DWORD attributes) {
    ASSERT_TRUE(::SetFileAttributesW(WideFromUtf8(path).c_str(), attributes)) << path;
}

TEST_F(NativeFileSystemTest, AttributesAreTheOnesSetOnTheEntry) {
    // Wine keeps only the hidden and system bits of an entry and derives the others (ntdll: every file has the
    // archive bit, no folder has it), so two values read back differently there; underWine says how.
    struct Case {
        std::string name;
        bool folder;
        DWORD set;
        int attributes;
        int underWine = -1;  // -1: the same as on Windows
    };
    const std::vector<Case> cases = {
        {"file.txt", false, FILE_ATTRIBUTE_ARCHIVE, 32},
        {"hidden.txt", false, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, 34},
        {"hidden only.txt", false, FILE_ATTRIBUTE_HIDDEN, 2, 34},
        {"system.txt", false, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE, 38},
        {"readonly.txt", false, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, 33},
        {"folder", true, FILE_ATTRIBUTE_DIRECTORY, 16},
        {"hidden system folder", true, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, 22},
        {"archived hidden system folder", true, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE,
         54, 22},
        // Bits beyond the known ones are left out, so the walk still sees 22 and 34 (Wine drops this bit itself).
        {"unindexed hidden system folder", true,
         FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, 22},
        {"unindexed hidden file", false,
         FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, 34},
    };
    std::vector<std::pair<std::string, int>> expected;
    for (const auto& c : cases) {
        if (c.folder) {
            fs::create_directory(test::PathFromText(m_dir.File(c.name)));
        } else {
            test::WriteFileBytes(m_dir.File(c.name), "x");
        }
        SetAttributes(m_dir.File(c.name), c.set);
        const int attributes = c.underWine >= 0 && test::RunningUnderWine() ? c.underWine : c.attributes;
        EXPECT_EQ(m_files.GetAttributes(m_dir.File(c.name)), attributes) << c.name;
        expected.emplace_back(c.name, attributes);
    }
    EXPECT_EQ(m_files.GetAttributes(m_dir.File("hidden system folder") + "\\"), 22);

    // The listing the folder walk reads reports the same values.
    std::vector<std::pair<std::string, int>> listed;
    for (const FolderEntry& entry : m_files.ListFolder(m_dir.Path().string())) {
        listed.emplace_back(entry.name, entry.attributes);
    }
    std::sort(expected.begin(), expected.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, expected);
}

TEST_F(NativeFileSystemTest, TheOutputIsNeverLeftHiddenAndAReplacedOneKeepsItsAttributes) {
    const auto write = [&](const std::string& name) {
        auto writer = m_files.CreateReplacing(m_dir.File(name));
        WriteAll(*writer, "new");
        writer->Commit();
        EXPECT_EQ(test::ReadFileBytes(m_dir.File(name)), "new");
    };
    write("new.csv");
    EXPECT_EQ(m_files.GetAttributes(m_dir.File("new.csv")), FILE_ATTRIBUTE_ARCHIVE);

    for (const DWORD attributes : {DWORD{FILE_ATTRIBUTE_NORMAL}, DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE},
                                   DWORD{FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE}}) {
        const std::string name = "replaced " + std::to_string(attributes) + ".csv";
        test::WriteFileBytes(m_dir.File(name), "old");
        SetAttributes(m_dir.File(name), attributes);
        const int before = m_files.GetAttributes(m_dir.File(name));
        write(name);
        EXPECT_EQ(m_files.GetAttributes(m_dir.File(name)), before) << name;
    }
}

TEST_F(NativeFileSystemTest, PathsBeyondMaxPathAreWrittenAndRead) {
    // Ordinary (not \\?\) paths, as a user or the folder walk passes them; only the setup uses the long form.
    std::string folder = m_dir.File("");
    while (folder.size() <= MAX_PATH) {
        folder += std::string(60, 'd') + "\\";
    }
    fs::create_directories(test::PathFromText(R"(\\?\)" + folder));
    const std::string target = folder + "out.csv";
    auto writer = m_files.CreateReplacing(target);
    WriteAll(*writer, "long,path\r\n");
    writer->Commit();
    EXPECT_TRUE(m_files.Exists(target));
    EXPECT_EQ(m_files.GetAttributes(target), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(ReadAll(*m_files.OpenRead(target, InputKind::Any)), "long,path\r\n");
    WIN32_FIND_DATAW entry{};
    const HANDLE listing = ::FindFirstFileW(WideFromUtf8(R"(\\?\)" + folder + "*").c_str(), &entry);
    ASSERT_NE(listing, INVALID_HANDLE_VALUE);
    std::vector<std::string> names;
    do {
        names.push_back(Utf8FromWide(entry.cFileName));
    } while (::FindNextFileW(listing, &entry));
    ::FindClose(listing);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "out.csv"})) << "no temporary file is left";
}

#endif

}  // namespace
}  // namespace tabulane
