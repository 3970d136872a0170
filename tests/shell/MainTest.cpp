#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "shell/Main.h"
#include "support/TempDir.h"

namespace tabulane {
namespace {

enum class Operation { GetFileName, GetFolderOfPath, StripExtension, CollapseBackslashes };

struct PathCase {
    Operation operation;
    std::string argument;
    std::string expected;
};

std::string Apply(Operation operation, const std::string& argument, PathStyle style) {
    switch (operation) {
        case Operation::GetFileName:
            return GetFileName(argument, style);
        case Operation::GetFolderOfPath:
            return GetFolderOfPath(argument, style);
        case Operation::StripExtension:
            return StripExtension(argument);
        case Operation::CollapseBackslashes:
            return CollapseBackslashes(argument, style);
    }
    return {};
}

void CheckAll(const std::vector<PathCase>& cases, PathStyle style) {
    for (const auto& c : cases) {
        EXPECT_EQ(Apply(c.operation, c.argument, style), c.expected)
            << "operation " << static_cast<int>(c.operation) << " of \"" << c.argument << "\"";
    }
}

TEST(PathOperations, WindowsStyleFollowsTheExamplesToTheLetter) {
    CheckAll(
        {
            {Operation::GetFileName, R"(C:\data\in.txt)", "in.txt"},
            {Operation::GetFileName, "in.txt", "in.txt"},
            {Operation::GetFileName, R"(C:\data\)", ""},
            {Operation::GetFolderOfPath, R"(C:\data\in.txt)", R"(C:\data\)"},
            {Operation::GetFolderOfPath, "in.txt", ""},
            {Operation::GetFolderOfPath, R"(C:\)", R"(C:\)"},
            {Operation::StripExtension, R"(C:\data\in.txt)", R"(C:\data\in)"},
            {Operation::StripExtension, R"(C:\ver.2\readme)", R"(C:\ver)"},
            {Operation::StripExtension, ".profile", ".profile"},
            {Operation::StripExtension, "name.", "name"},
            {Operation::CollapseBackslashes, R"(C:\out\\file.csv)", R"(C:\out\file.csv)"},
            {Operation::CollapseBackslashes, R"(\\server\share\\x.csv)", R"(\\server\share\x.csv)"},
            {Operation::CollapseBackslashes, R"(\\\server\x)", R"(\\server\x)"},
            {Operation::CollapseBackslashes, R"(\dir\x)", R"(\\dir\x)"},
            {Operation::CollapseBackslashes, R"(C:\a\\\b)", R"(C:\a\\b)"},
            // A run of four becomes two: one pass, no re-scan of its own output.
            {Operation::CollapseBackslashes, R"(C:\a\\\\b)", R"(C:\a\\b)"},
            {Operation::CollapseBackslashes, R"(\)", R"(\\)"},
            // Empty text stays empty everywhere.
            {Operation::GetFileName, "", ""},
            {Operation::GetFolderOfPath, "", ""},
            {Operation::StripExtension, "", ""},
            {Operation::CollapseBackslashes, "", ""},
        },
        PathStyle::Windows);
}

TEST(PathOperations, PosixStyleFollowsTheSameRulesWithSlashes) {
    CheckAll(
        {
            {Operation::GetFileName, "/data/in.txt", "in.txt"},
            {Operation::GetFileName, "in.txt", "in.txt"},
            {Operation::GetFileName, "/data/", ""},
            {Operation::GetFolderOfPath, "/data/in.txt", "/data/"},
            {Operation::GetFolderOfPath, "in.txt", ""},
            {Operation::GetFolderOfPath, "/", "/"},
            {Operation::StripExtension, "/data/in.txt", "/data/in"},
            {Operation::StripExtension, "/ver.2/readme", "/ver"},
            {Operation::StripExtension, ".profile", ".profile"},
            {Operation::StripExtension, "name.", "name"},
            {Operation::CollapseBackslashes, "/out//file.csv", "/out/file.csv"},
            // No network form on POSIX: a leading run of separators becomes exactly one.
            {Operation::CollapseBackslashes, "//server/share//x.csv", "/server/share/x.csv"},
            {Operation::CollapseBackslashes, "///server/x", "/server/x"},
            {Operation::CollapseBackslashes, "/dir/x", "/dir/x"},
            {Operation::CollapseBackslashes, "/a///b", "/a//b"},
            {Operation::CollapseBackslashes, "a///b", "a//b"},
            {Operation::CollapseBackslashes, "a////b", "a//b"},
            {Operation::CollapseBackslashes, "/", "/"},
            {Operation::CollapseBackslashes, "//", "/"},
        },
        PathStyle::Posix);
}

TEST(PathOperations, EachStyleSplitsOnlyAtItsOwnSeparator) {
    EXPECT_EQ(GetFileName(R"(C:\data\in.txt)", PathStyle::Posix), R"(C:\data\in.txt)");
    EXPECT_EQ(GetFileName("/data/in.txt", PathStyle::Windows), "/data/in.txt");
    EXPECT_EQ(GetFolderOfPath("/data/in.txt", PathStyle::Windows), "");
    EXPECT_EQ(CollapseBackslashes(R"(C:\out\\x)", PathStyle::Posix), R"(C:\out\\x)");
    EXPECT_EQ(CollapseBackslashes("/out//x", PathStyle::Windows), "/out//x");
}

TEST(PathOperations, NativeStyleIsTheDefault) {
    const std::string path = std::string("a") + SeparatorOf(kNativePathStyle) + "b.txt";
    EXPECT_EQ(GetFileName(path), "b.txt");
    EXPECT_EQ(GetFolderOfPath(path), path.substr(0, 2));
#ifndef _WIN32
    EXPECT_EQ(kNativePathStyle, PathStyle::Posix);
#endif
}

TEST(PathOperations, PositionsBeyondSigned16BitsWork) {
    const std::string longFolder = R"(C:\)" + std::string(40000, 'a') + "\\";
    const std::string path = longFolder + "in.txt";
    EXPECT_EQ(GetFolderOfPath(path, PathStyle::Windows), longFolder);
    EXPECT_EQ(GetFileName(path, PathStyle::Windows), "in.txt");
    EXPECT_EQ(StripExtension(path), longFolder + "in");
    EXPECT_EQ(CollapseBackslashes(longFolder + "\\in.txt", PathStyle::Windows), path);

    const std::string posixFolder = "/" + std::string(40000, 'b') + "/";
    EXPECT_EQ(GetFolderOfPath(posixFolder + "x.csv", PathStyle::Posix), posixFolder);
    EXPECT_EQ(StripExtension(posixFolder + "x.csv"), posixFolder + "x");
}

TEST(PathOperations, JoinNeverDoublesTheSeparatorAfterARoot) {
    EXPECT_EQ(JoinFolderAndName(R"(C:\)", "name", PathStyle::Windows), R"(C:\name)");
    EXPECT_EQ(JoinFolderAndName(R"(C:\data)", "in.txt", PathStyle::Windows), R"(C:\data\in.txt)");
    EXPECT_EQ(JoinFolderAndName(R"(\\server\share)", "x.txt", PathStyle::Windows), R"(\\server\share\x.txt)");
    EXPECT_EQ(JoinFolderAndName("/", "name", PathStyle::Posix), "/name");
    EXPECT_EQ(JoinFolderAndName("/data", "in.txt", PathStyle::Posix), "/data/in.txt");
    EXPECT_EQ(JoinFolderAndName("//data", "in.txt", PathStyle::Posix), "/data/in.txt");  // below a walked root
}

TEST(PathOperations, ExistenceAndFolderTestsAgainstRealEntries) {
    test::TempDir dir;
    test::WriteFileBytes(dir.File("file.txt"), "x");
    std::filesystem::create_directory(dir.File("sub"));
    NativeFileSystem files;

    struct Case {
        std::string path;
        bool exists;
        bool folder;
    };
    std::vector<Case> cases = {
        {dir.File("file.txt"), true, false},
        {dir.File("sub"), true, true},
        {dir.Path().string(), true, true},
        {dir.File("missing"), false, false},
        {dir.File("missing/deeper"), false, false},
        {dir.File("file.txt/below-a-file"), false, false},
        {"", false, false},
    };
#ifndef _WIN32
    std::filesystem::create_directory_symlink(dir.File("sub"), dir.File("link-to-sub"));
    std::filesystem::create_symlink(dir.File("gone"), dir.File("dangling"));
    cases.push_back({dir.File("link-to-sub"), true, true});
    cases.push_back({dir.File("dangling"), false, false});
#endif
    for (const auto& c : cases) {
        bool exists = false;
        bool folder = false;
        EXPECT_NO_THROW(exists = PathExists(files, c.path)) << c.path;
        EXPECT_NO_THROW(folder = IsFolder(files, c.path)) << c.path;
        EXPECT_EQ(exists, c.exists) << c.path;
        EXPECT_EQ(folder, c.folder) << c.path;
    }
}

}  // namespace
}  // namespace tabulane
