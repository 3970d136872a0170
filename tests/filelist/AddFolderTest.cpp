#include "filelist/AddFolder.h"

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

#include "platform/TextCodes.h"
#include "support/FakeFileTree.h"
#include "support/FakeMainWindow.h"
#include "support/FakePlatform.h"
#include "support/ListEntries.h"
#include "support/TempDir.h"

namespace tabulane {
namespace {

namespace fs = std::filesystem;
using test::EntriesOf;
using test::FakeFileTree;
using test::FakeMainWindow;
using test::FakePlatform;
using test::TempDir;
using test::WriteFileBytes;
using Entries = std::vector<std::string>;

constexpr const char* kTitle = "Tabulane";

// "Add All File(s) In Folder" on a real temporary tree, with the platform's own paths and attributes.
class AddFolderTest : public ::testing::Test {
protected:
    // Answers the prompt with extension and the picker with folder (the tree's root by default), then clicks.
    Entries Scan(const std::string& extension, const std::string& folder = {}) {
        m_fake.boxes.inputs.push_back(extension);
        m_fake.folderPicker.answers.push_back(folder.empty() ? Root() : folder);
        PushButton3_Click(m_window, m_list, m_fake.platform, m_reporter, kTitle);
        return EntriesOf(m_list);
    }
    std::string Root() const {
        const std::u8string root = m_dir.Path().u8string();
        return std::string(root.begin(), root.end());
    }
    std::string At(const std::string& relative) const { return m_dir.File(relative); }
    void File(const std::string& relative) {
        fs::create_directories(test::PathFromText(At(relative)).parent_path());
        WriteFileBytes(At(relative), "x");
    }
    // A hidden file: on POSIX its name starts with "."; on Windows the name is the same and the attribute is set.
    void HiddenFile(const std::string& relative, bool readOnly = false) {
        File(relative);
#ifdef _WIN32
        SetAttributes(relative,
                      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE | (readOnly ? FILE_ATTRIBUTE_READONLY : 0));
#else
        ASSERT_EQ(fs::path(relative).filename().string().front(), '.') << relative;
        if (readOnly) {
            ::chmod(At(relative).c_str(), 0444);
        }
#endif
    }
#ifdef _WIN32
    void SetAttributes(const std::string& relative, DWORD attributes) {
        ASSERT_TRUE(::SetFileAttributesW(WideFromUtf8(At(relative)).c_str(), attributes)) << relative;
    }
    int AttributesOf(const std::string& relative) {
        return static_cast<int>(::GetFileAttributesW(WideFromUtf8(At(relative)).c_str()));
    }
#endif

    TempDir m_dir;
    FakePlatform m_fake;
    FakeMainWindow m_window;
    ErrorReporter m_reporter{m_fake.boxes};
    FileList m_list;
};

TEST_F(AddFolderTest, ListsTheFolderThenEachLevelBreadthFirstGroupedByParent) {
    File("b.txt");
    File("A.txt");
    File("Zeta/z.txt");
    File("beta/b1.txt");
    File("beta/deep/d.txt");
    File("Zeta/inner/i.txt");
    fs::create_directories(At("beta/empty"));
    EXPECT_EQ(Scan("*"), (Entries{At("A.txt"), At("b.txt"), At("beta/b1.txt"), At("Zeta/z.txt"), At("beta/deep/d.txt"),
                                  At("Zeta/inner/i.txt")}));
    EXPECT_TRUE(m_fake.boxes.shown.empty());
    EXPECT_EQ(m_window.pointer, MousePointer::Default);
    // The window stays alive: a yield per folder walked (6), per subfolder listed (5), and per folder handed back
    // at each level it passes on the way up (3 at the second level, 5 at the first).
    EXPECT_EQ(m_fake.eventLoop.yields, 6 + 5 + 3 + 5);
}

TEST_F(AddFolderTest, TheAnswerPicksNamesInsideTheChosenTreeOnly) {
    File("report.txt");
    File("LOUD.TXT");
    File("notes.md");
    File("noext");
    File("~lock.txt");
    HiddenFile(".hidden.txt");
    HiddenFile("sub/.config");
    File("sub/deep.txt");
    // a folder matching "*.txt": a glob on paths would climb out through it
    fs::create_directories(test::PathFromText(At("dir.txt")));
    HiddenFile(".readonly-hidden.txt", true);  // hidden + read-only + archive is not 34: listed

    struct Case {
        const char* answer;
        Entries expected;
    };
    const std::vector<Case> cases = {
        {"*",
         {At(".readonly-hidden.txt"), At("LOUD.TXT"), At("noext"), At("notes.md"), At("report.txt"),
          At("sub/deep.txt")}},
        {"txt", {At(".readonly-hidden.txt"), At("LOUD.TXT"), At("report.txt"), At("sub/deep.txt")}},
        {"TxT", {At(".readonly-hidden.txt"), At("LOUD.TXT"), At("report.txt"), At("sub/deep.txt")}},
        {"m?", {At("notes.md")}},
        {"doc", {}},
        {"txt/../../*", {}},
        {"*/..", {}},
        {"..", {}},
    };
    for (const auto& c : cases) {
        m_list.Clear();
        EXPECT_EQ(Scan(c.answer), c.expected) << c.answer;
        EXPECT_EQ(m_fake.settings.values["Extension"], c.answer);
    }
}

#ifndef _WIN32
// Links, FIFOs and names that are not UTF-8 are POSIX's.

TEST_F(AddFolderTest, ALinkLoopEndsWithEveryFileOnce) {
    File("top.txt");
    File("a/in-a.txt");
    File("b/in-b.txt");
    fs::create_directory_symlink(Root(), At("a/back-to-root"));
    fs::create_directory_symlink(At("b"), At("a/to-b"));
    fs::create_directory_symlink(At("a"), At("b/to-a"));
    EXPECT_EQ(Scan("*"), (Entries{At("top.txt"), At("a/in-a.txt"), At("b/in-b.txt")}));
}

TEST_F(AddFolderTest, AFifoIsNeitherListedNorOpened) {
    File("before.txt");
    File("sub/after.txt");
    ASSERT_EQ(::mkfifo(At("pipe.txt").c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo(At("sub/pipe2").c_str(), 0644), 0);
    // Opening a FIFO with no writer would block here for ever.
    EXPECT_EQ(Scan("*"), (Entries{At("before.txt"), At("sub/after.txt")}));
    EXPECT_FALSE(IsExistingFile(m_fake.files, At("pipe.txt")));
    EXPECT_FALSE(IsExistingFile(m_fake.files, At("sub")));
    EXPECT_TRUE(IsExistingFile(m_fake.files, At("before.txt")));
}

// What a listing entry leads to decides, not how it is named: a link counts as its target (a hidden link to a file
// is not 34, so it is added), a hidden folder is walked, and a read-only file is added like any other.
TEST_F(AddFolderTest, LinksHiddenFoldersAndReadOnlyFilesCountByWhatTheyAre) {
    File("plain.txt");
    File("readonly.txt");
    ::chmod(At("readonly.txt").c_str(), 0444);
    HiddenFile(".hidden.txt");
    File(".hidden-folder/inside.txt");
    ASSERT_EQ(::mkfifo(At("pipe").c_str(), 0644), 0);
    fs::create_symlink(At("plain.txt"), At("link-to-file.txt"));
    fs::create_symlink(At("plain.txt"), At(".hidden-link.txt"));
    fs::create_symlink(At("gone.txt"), At("dangling.txt"));
    fs::create_symlink(At("pipe"), At("link-to-pipe.txt"));
    EXPECT_EQ(Scan("*"), (Entries{At(".hidden-link.txt"), At("link-to-file.txt"), At("plain.txt"), At("readonly.txt"),
                                  At(".hidden-folder/inside.txt")}));
    EXPECT_TRUE(m_fake.boxes.shown.empty());
}

TEST_F(AddFolderTest, ANameThatIsNotUtf8IsSkippedWithItsSubtree) {
    File("good/ok.txt");
    File("bad\xff/lost.txt");
    File("bad\xff/deeper/lost.txt");
    File("file\xfe.txt");
    EXPECT_EQ(Scan("*"), (Entries{At("good/ok.txt")}));
    EXPECT_TRUE(m_fake.boxes.shown.empty());
}

#endif  // _WIN32

TEST_F(AddFolderTest, CancellingChangesNothingButTheAnswer) {
    File("a.txt");
    m_fake.settings.values["Extension"] = "csv";
    m_fake.settings.values["LastFolder"] = "/previous";

    // Cancel at the prompt: the picker never opens.
    PushButton3_Click(m_window, m_list, m_fake.platform, m_reporter, kTitle);
    ASSERT_EQ(m_fake.boxes.asked.size(), 1u);
    EXPECT_EQ(m_fake.boxes.asked[0].prompt,
              "Enter file extension to load:\r\r(* for all files, txt for all txt files, doc for all doc files, etc.)");
    EXPECT_EQ(m_fake.boxes.asked[0].title, kTitle);
    EXPECT_EQ(m_fake.boxes.asked[0].preset, "csv");
    EXPECT_TRUE(m_fake.folderPicker.opened.empty());
    EXPECT_TRUE(m_fake.settings.writes.empty());

    // Cancel in the picker: the answer is kept, the folder is not.
    m_fake.boxes.inputs.push_back("txt");
    PushButton3_Click(m_window, m_list, m_fake.platform, m_reporter, kTitle);
    ASSERT_EQ(m_fake.folderPicker.opened.size(), 1u);
    EXPECT_EQ(m_fake.folderPicker.opened[0].title, "Please select folder:");
    EXPECT_EQ(m_fake.folderPicker.opened[0].startFolder, "/previous");
    EXPECT_EQ(m_fake.settings.writes, (std::vector<std::pair<std::string, std::string>>{{"Extension", "txt"}}));

    EXPECT_EQ(m_list.Count(), 0);
    EXPECT_TRUE(m_window.calls.empty());  // the pointer was never touched
    EXPECT_TRUE(m_fake.boxes.shown.empty());
}

TEST_F(AddFolderTest, ScanningTwiceAddsEveryFileTwiceAndRemembersTheFolder) {
    File("a.txt");
    File("s/b.txt");
    Scan("*");
    EXPECT_EQ(Scan("*"), (Entries{At("a.txt"), At("s/b.txt"), At("a.txt"), At("s/b.txt")}));
    EXPECT_EQ(m_fake.settings.values["LastFolder"], Root());
    EXPECT_EQ(m_fake.folderPicker.opened.back().startFolder, Root());
}

TEST_F(AddFolderTest, TheHourglassShowsDuringTheScanAndARunKeepsIt) {
    File("a.txt");
    std::vector<MousePointer> seen;
    m_fake.eventLoop.onYield = [&](int) { seen.push_back(m_window.pointer); };
    Scan("*");
    EXPECT_EQ(seen, std::vector<MousePointer>(seen.size(), MousePointer::Hourglass));
    EXPECT_FALSE(seen.empty());
    EXPECT_EQ(m_window.pointer, MousePointer::Default);

    // A scan started while a run shows the hourglass must leave it: removal and Clear stay locked.
    m_window.pointer = MousePointer::Hourglass;
    Scan("*");
    EXPECT_EQ(m_window.pointer, MousePointer::Hourglass);
    EXPECT_EQ(m_list.Count(), 2);
}

#ifdef _WIN32
// Attributes set through the system, read back by the walk through the system.

TEST_F(AddFolderTest, TheAttributesSetOnTheTreeDecideWhatIsListed) {
    for (const char* name :
         {"plain.txt", "hidden-archive.txt", "hidden-system-archive.txt", "hidden.txt", "readonly.txt",
          "HiddenSystem/a.txt", "HiddenSystem/Below/b.txt", "HiddenSystemArchive/c.txt",
          "HiddenSystemArchive/Below/d.txt", "Hidden/e.txt", "System/f.txt"}) {
        File(name);
    }
    SetAttributes("hidden-archive.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);  // 34
    SetAttributes("hidden-system-archive.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    SetAttributes("hidden.txt", FILE_ATTRIBUTE_HIDDEN);                               // 2
    SetAttributes("readonly.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);  // 33
    SetAttributes("HiddenSystem", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);     // 22
    SetAttributes("HiddenSystemArchive", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    SetAttributes("Hidden", FILE_ATTRIBUTE_HIDDEN);
    SetAttributes("System", FILE_ATTRIBUTE_SYSTEM);

    // Wine keeps only the hidden and system bits of an entry (ntdll stores them alone) and derives the rest:
    // every file has the archive bit and no folder has it. So there the folder set to 54 reads 22 and is not
    // walked, and the file set to 2 reads 34 and is not listed; on Windows both are. What is expected follows
    // the value the system reports, and that value is checked to be the one this platform can hold.
    const int archivedFolder = AttributesOf("HiddenSystemArchive");
    const int hiddenFile = AttributesOf("hidden.txt");
    EXPECT_EQ(archivedFolder, test::RunningUnderWine() ? 22 : 54);
    EXPECT_EQ(hiddenFile, test::RunningUnderWine() ? 34 : 2);
    EXPECT_EQ(AttributesOf("HiddenSystem"), 22);

    Entries expected = {At("hidden-system-archive.txt")};
    if (hiddenFile != 34) {
        expected.push_back(At("hidden.txt"));
    }
    expected.insert(expected.end(), {At("plain.txt"), At("readonly.txt"), At("Hidden/e.txt")});
    if (archivedFolder != 22) {
        expected.push_back(At("HiddenSystemArchive/c.txt"));
    }
    expected.push_back(At("System/f.txt"));
    if (archivedFolder != 22) {
        expected.push_back(At("HiddenSystemArchive/Below/d.txt"));
    }
    EXPECT_EQ(Scan("*"), expected);
    EXPECT_TRUE(m_fake.boxes.shown.empty());

    // Picked itself, a hidden system folder gives its own files but nothing below it.
    m_list.Clear();
    EXPECT_EQ(Scan("txt", At("HiddenSystem")), Entries{At("HiddenSystem/a.txt")});
}

// A drive of the test's own whose root is an empty folder: on Windows a substitute drive for the temporary
// folder (DefineDosDeviceW). Wine keeps such a definition but never resolves file names through it, so
// test-windows.sh maps a drive letter to an empty folder in its prefix and names it in TABULANE_TEST_DRIVE.
class TestDrive {
public:
    explicit TestDrive(const std::string& folder) : m_folder(WideFromUtf8(folder)) {
        wchar_t named[4] = {};
        if (::GetEnvironmentVariableW(L"TABULANE_TEST_DRIVE", named, 4) == 2 && named[1] == L':') {
            m_drive = named;
            return;
        }
        const DWORD used = ::GetLogicalDrives();
        for (wchar_t letter = L'Z'; letter > L'C' && m_drive.empty(); --letter) {
            if ((used & (1u << (letter - L'A'))) == 0) {
                const std::wstring drive{letter, L':'};
                if (::DefineDosDeviceW(0, drive.c_str(), m_folder.c_str())) {
                    m_drive = m_defined = drive;
                }
            }
        }
    }
    ~TestDrive() {
        if (!m_defined.empty()) {
            ::DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, m_defined.c_str(), m_folder.c_str());
        }
    }
    TestDrive(const TestDrive&) = delete;
    TestDrive& operator=(const TestDrive&) = delete;

    // "X:\", or "" when no drive could be had or its root is not an empty folder.
    std::string Root() const {
        if (m_drive.empty()) {
            return {};
        }
        const std::wstring root = m_drive + L"\\";
        WIN32_FIND_DATAW found{};
        const HANDLE listing = ::FindFirstFileW((root + L"*").c_str(), &found);
        if (listing == INVALID_HANDLE_VALUE) {  // an empty root lists nothing at all: it has no "." or ".."
            return ::GetLastError() == ERROR_FILE_NOT_FOUND ? Utf8FromWide(root) : std::string();
        }
        bool empty = true;
        do {
            const std::wstring name = found.cFileName;
            empty = empty && (name == L"." || name == L"..");
        } while (::FindNextFileW(listing, &found));
        ::FindClose(listing);
        return empty ? Utf8FromWide(root) : std::string();
    }

private:
    std::wstring m_folder;
    std::wstring m_drive;
    std::wstring m_defined;
};

TEST_F(AddFolderTest, ADriveRootIsWalkedWhateverItsAttributesAndJoinsWithOneSeparator) {
    TestDrive drive(Root());
    const std::string root = drive.Root();
    if (root.empty()) {
        GTEST_SKIP() << "no empty drive of its own: run through test-windows.sh under Wine";
    }
    const std::vector<std::string> made = {"a.txt", "Sub", "HiddenSystem"};
    for (const char* path : {"a.txt", "Sub\\b.txt", "HiddenSystem\\c.txt"}) {
        fs::create_directories(test::PathFromText(root + path).parent_path());
        WriteFileBytes(root + path, "x");
    }
    const auto set = [](const std::string& path, DWORD attributes) {
        EXPECT_TRUE(::SetFileAttributesW(WideFromUtf8(path).c_str(), attributes)) << path;
    };
    set(root + "HiddenSystem", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    set(root, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(::GetFileAttributesW(WideFromUtf8(root).c_str()), 22u);

    // The picker hands a drive root back as "X:\"; the walk starts from "X:\\".
    EXPECT_EQ(Scan("*", root), (Entries{root + "a.txt", root + "Sub\\b.txt"}));
    EXPECT_TRUE(m_fake.boxes.shown.empty());

    set(root, FILE_ATTRIBUTE_NORMAL);
    set(root + "HiddenSystem", FILE_ATTRIBUTE_NORMAL);
    for (const std::string& name : made) {
        std::error_code ignored;
        fs::remove_all(test::PathFromText(root + name), ignored);
    }
}

#endif  // _WIN32

TEST(MatchesWildcard, FollowsTheWindowsListingRules) {
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const std::vector<Case> cases = {
        {"a.txt", "*.txt", true},   {"A.TXT", "*.txt", true},     {"a.txt.bak", "*.txt", false},
        {"README", "*.*", true},    {"a.b.c", "*.*", true},       {"README", "*.", true},
        {"a.txt", "*.", false},     {"a.tx", "*.t?t", false},     {"a.txt", "*.t?t", true},
        {"é.txt", "?.txt", true},   {"ab.txt", "?.txt", false},   {"x.txt", "*..txt", false},
        {"x..txt", "*..txt", true}, {"aaaab", "*a*a*b", true},    {"txt", "*.txt", false},
        {"a.md", "*.m?", true},     {"a/b.txt", "*/../*", false}, {"Ünï.TXT", "*.txt", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MatchesWildcard(c.name, c.pattern), c.matches) << c.name << " against " << c.pattern;
    }
}

TEST(HasUnsafeNameCharacter, RefusesWhatThePlatformCannotCarry) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"plain", false},    {"Grüße ünd 日本", false}, {"emoji 😀", false},          {"what?", true},
        {"tab\there", true}, {"del\x7f", true},         {"c1 \xc2\x85", true},       {"nbsp \xc2\xa0", false},
        {"bad \xff", true},  {"cut \xe6\x97", true},    {"overlong \xc0\xaf", true}, {"surrogate \xed\xa0\x80", true},
    };
    for (const auto& [name, unsafe] : cases) {
        EXPECT_EQ(HasUnsafeNameCharacter(name), unsafe) << name;
    }
}

// The walk on a fake tree with Windows paths and attributes a POSIX file system cannot make.
class FolderWalkOnFakeTreeTest : public ::testing::Test {
protected:
    Platform MakePlatform() { return m_fake.With(m_tree); }
    std::vector<std::string> Walk(std::vector<std::string> folders) {
        Platform platform = MakePlatform();
        GetSubDirectories2016(folders, true, platform, m_reporter, PathStyle::Windows);
        return folders;
    }

    FakePlatform m_fake;
    FakeFileTree m_tree;
    ErrorReporter m_reporter{m_fake.boxes};
};

TEST_F(FolderWalkOnFakeTreeTest, HiddenSystemFoldersAreNeitherListedNorWalkedUnlessARoot) {
    m_tree.AddRoot("C:\\", 22);  // a root is walked whatever its attributes
    m_tree.AddFolder("C:\\Sys", 22);
    m_tree.AddFolder("C:\\Sys\\Below");
    m_tree.AddFolder("C:\\Link", 1046);
    m_tree.AddFolder("C:\\Link\\Below");
    m_tree.AddFolder("C:\\Hidden", 18);
    m_tree.AddFolder("C:\\HiddenSystemArchive", 54);
    m_tree.AddFolder("C:\\HiddenSystemArchive\\Below");
    m_tree.AddFolder("C:\\Plain");
    m_tree.AddFile("C:\\file.txt");
    EXPECT_EQ(Walk({"C:\\\\"}), (std::vector<std::string>{"C:\\\\", "C:\\\\Hidden\\", "C:\\\\HiddenSystemArchive\\",
                                                          "C:\\\\Plain\\", "C:\\\\HiddenSystemArchive\\Below\\"}));
    EXPECT_EQ(m_tree.listings.count("C:\\Sys"), 0u);
    EXPECT_EQ(m_tree.listings.count("C:\\Link"), 0u);
}

TEST_F(FolderWalkOnFakeTreeTest, AFolderThatRefusesItsListingDropsOutAndTheWalkGoesOn) {
    m_tree.AddRoot("D:\\");
    m_tree.AddFolder("D:\\A");
    m_tree.AddFolder("D:\\Denied", 16, ErrorNumber::kPermissionDenied);
    m_tree.AddFolder("D:\\Denied\\Below");
    m_tree.AddFolder("D:\\Gone", 16, ErrorNumber::kPathNotFound);
    m_tree.AddFolder("D:\\Odd", 16, ErrorNumber::kDeviceIoError);  // other failures keep the folder
    m_tree.AddFolder("D:\\Z");
    m_tree.AddFolder("D:\\Z\\Deep");
    EXPECT_EQ(Walk({"D:\\A\\", "D:\\Denied\\", "D:\\Gone\\", "D:\\Odd\\", "D:\\Z\\"}),
              (std::vector<std::string>{"D:\\A\\", "D:\\Odd\\", "D:\\Z\\", "D:\\Z\\Deep\\"}));
    EXPECT_TRUE(m_fake.boxes.shown.empty());

    // The first equal entry is the one removed, and the walk goes on with the entry after the failing one.
    EXPECT_EQ(Walk({"D:\\Denied\\", "D:\\A\\", "D:\\Denied\\", "D:\\Z\\"}),
              (std::vector<std::string>{"D:\\A\\", "D:\\Z\\", "D:\\Z\\Deep\\"}));
}

// One folder's listing hands on only what is still an existing file when asked by path; the folder scan keeps the
// listing's word (asking again for thousands of files would double its cost).
TEST_F(FolderWalkOnFakeTreeTest, AListedFileGoneBeforeItIsAskedForIsLeftOutOfOneFoldersListing) {
    m_tree.AddRoot("F:\\");
    m_tree.AddFolder("F:\\Samples");
    m_tree.AddFile("F:\\Samples\\a.txt");
    m_tree.AddFile("F:\\Samples\\b.txt");
    m_tree.AddFile("F:\\Samples\\c.log");
    m_tree.AddFolder("F:\\Samples\\d.txt");
    m_tree.goneAfterListing = {"F:\\Samples\\b.txt"};
    EXPECT_EQ(ListFilesInFolder(m_tree, "F:\\Samples", "*.txt", PathStyle::Windows), Entries{"a.txt"});
    EXPECT_EQ(ListFilesInFolder(m_tree, "F:\\Samples\\", "*.*", PathStyle::Windows), (Entries{"a.txt", "c.log"}));
    EXPECT_FALSE(IsExistingFile(m_tree, "F:\\Samples\\b.txt"));
    EXPECT_FALSE(IsExistingFile(m_tree, "F:\\Samples\\d.txt"));
    EXPECT_TRUE(IsExistingFile(m_tree, "F:\\Samples\\a.txt"));
}

TEST_F(FolderWalkOnFakeTreeTest, ADriveRootReadsWithOneSeparatorAndFailuresNameTheWalk) {
    m_tree.AddRoot("E:\\");
    m_tree.AddFile("E:\\x.txt");
    m_tree.AddFile("E:\\hidden-archive.txt", 34);
    m_tree.AddFile("E:\\hidden-system-archive.txt", 38);
    m_tree.AddFolder("E:\\Sub");
    m_tree.AddFile("E:\\Sub\\y.txt");
    Platform platform = MakePlatform();
    FileList list;
    ErrorTrap trap(m_reporter, "Form1", "PushButton3_Click");
    AppendFolderTree(trap, 110, "E:\\", "*.*", list, platform, m_reporter, PathStyle::Windows);
    EXPECT_EQ(EntriesOf(list), (Entries{"E:\\hidden-system-archive.txt", "E:\\x.txt", "E:\\Sub\\y.txt"}));

    // A folder that cannot be looked at after passing the folder test is reported, and the walk ends normally.
    m_tree.FailGetFolder("E:\\Sub", ErrorNumber::kDeviceIoError);
    std::vector<std::string> folders{"E:\\Sub\\"};
    GetSubDirectories2016(folders, true, platform, m_reporter, PathStyle::Windows);
    EXPECT_EQ(folders, std::vector<std::string>{"E:\\Sub\\"});
    EXPECT_EQ(m_fake.boxes.ErrorTexts(),
              std::vector<std::string>{"refused: E:\\Sub\\\r\nin Marlowdin2021/08/31.AddFolder."
                                       "GetSubDirectories2016 at line 104\r\r"
                                       "Please email screenshot of this message to support@tabulane.com"});
}

}  // namespace
}  // namespace tabulane
