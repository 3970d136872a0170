#include "convert/AddRemove.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif
#include <filesystem>
#include <ostream>

#include "platform/TextCodes.h"
#include "support/FakeMessageBoxes.h"
#include "support/FakeOutputControls.h"
#include "support/FakeStreams.h"
#include "support/TempDir.h"

namespace tabulane {
namespace {

using test::FakeMessageBoxes;
using test::FakeOutputControls;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

struct DeriveCase {
    const char* name;
    PathStyle style;
    bool option1;
    bool option2;
    std::string folder;
    std::string input;
    std::string expected;
};

// Printed by name: ctest shows the value beside the test's name, and raw bytes (heap addresses) change every run.
void PrintTo(const DeriveCase& c, std::ostream* out) {
    *out << c.name;
}

class DeriveOutputPathCases : public testing::TestWithParam<DeriveCase> {};

TEST_P(DeriveOutputPathCases, FollowsTheOutputOptions) {
    const DeriveCase& c = GetParam();
    FakeOutputControls controls;
    controls.option1 = c.option1;
    controls.option2 = c.option2;
    controls.text1 = c.folder;
    EXPECT_EQ(DeriveOutputPath(c.input, &controls, c.style), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DeriveOutputPathCases,
    testing::Values(
        DeriveCase{"FolderWithSeparator", PathStyle::Windows, true, false, "D:\\out\\", "C:\\in\\data.txt",
                   "D:\\out\\data.csv"},
        DeriveCase{"FolderWithoutSeparator", PathStyle::Windows, true, false, "D:\\out", "C:\\in\\data.txt",
                   "D:\\out\\data.csv"},
        DeriveCase{"BesideInput", PathStyle::Windows, false, true, "D:\\out\\", "C:\\in\\data.txt", "C:\\in\\data.csv"},
        DeriveCase{"NetworkInputBesideIt", PathStyle::Windows, false, true, "", "\\\\server\\share\\f.txt",
                   "\\\\server\\share\\f.csv"},
        DeriveCase{"InnerDotKept", PathStyle::Windows, false, true, "", "C:\\data\\a.b.txt", "C:\\data\\a.b.csv"},
        DeriveCase{"NoExtension", PathStyle::Windows, false, true, "", "C:\\data\\README", "C:\\data\\README.csv"},
        DeriveCase{"FolderDotCutsName", PathStyle::Windows, true, false, "D:\\", "C:\\old.files\\notes", "D:\\old.csv"},
        DeriveCase{"DriveRootFolder", PathStyle::Windows, true, false, "E:\\", "C:\\a.txt", "E:\\a.csv"},
        DeriveCase{"PosixFolder", PathStyle::Posix, true, false, "/home/u/out/", "/in/data.txt",
                   "/home/u/out/data.csv"},
        DeriveCase{"PosixBesideInput", PathStyle::Posix, false, true, "", "/in/data.txt", "/in/data.csv"},
        DeriveCase{"PosixRootFolder", PathStyle::Posix, true, false, "/", "/in/x.log", "/x.csv"},
        DeriveCase{"PosixDotFile", PathStyle::Posix, false, true, "", "/in/.profile", "/in/.csv"},
        DeriveCase{"RelativeInputStaysBesideIt", PathStyle::Posix, false, true, "", "data.txt", "data.csv"}),
    [](const testing::TestParamInfo<DeriveCase>& row) { return row.param.name; });

TEST(CollapseSpaces, LeavesNoTwoAdjacentSpaces) {
    EXPECT_EQ(CollapseSpaces("  a   b  "), " a b ");
    EXPECT_EQ(CollapseSpaces("a\t\tb"), "a\t\tb");
    EXPECT_EQ(CollapseSpaces("     "), " ");
    EXPECT_EQ(CollapseSpaces(""), "");
}

// Windows file names ignore case, POSIX ones do not; a folder Windows-style paths name cannot be examined here,
// so those compare as written.
TEST(RunOutputs, NamesCompareAsTheirFileSystemDoes) {
    TempDir dir;
    NativeFileSystem files;
    const auto key = [&](const std::string& path, PathStyle style) { return RunOutputs::KeyOf(files, path, style); };
    EXPECT_EQ(key("Q:\\Out\\Sales.csv", PathStyle::Windows), key("q:\\OUT\\sales.CSV", PathStyle::Windows));
    EXPECT_NE(key("Q:\\Out\\Sales.csv", PathStyle::Windows), key("Q:\\Out\\Sales2.csv", PathStyle::Windows));
    EXPECT_EQ(key(dir.File("Sales.csv"), kNativePathStyle) == key(dir.File("sales.csv"), kNativePathStyle),
              kNativePathStyle == PathStyle::Windows);
}

class ConvertFile : public testing::Test {
protected:
    ConvertFile() { controls.text1 = dir.File(""); }

    void Convert(const std::string& input, const std::string& separator, bool commaSpace,
                 const std::string& output = {}, bool collapse = false) {
        ConvertToCSVInFile(services, input, separator, commaSpace, output, collapse);
    }

    std::vector<std::string> TempLeftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(".")) {
                names.push_back(name);
            }
        }
        return names;
    }

    TempDir dir;
    FakeMessageBoxes boxes;
    ErrorReporter reporter{boxes};
    NativeFileSystem files;
    FakeOutputControls controls;
    ConversionServices services{reporter, files, &controls};
};

TEST_F(ConvertFile, WritesTheDerivedCsvIntoTheChosenFolder) {
    std::filesystem::create_directory(dir.Path() / "in");
    WriteFileBytes(dir.File("in/report.txt"), "a\tb\nc\td\n");
    Convert(dir.File("in/report.txt"), "\t", false);
    EXPECT_EQ(ReadFileBytes(dir.File("report.csv")), "a,b\r\nc,d\r\n");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ConvertFile, ReplacesAnExistingOutputCompletely) {
    WriteFileBytes(dir.File("in.txt"), "x;y");
    WriteFileBytes(dir.File("out.csv"), std::string(5000, 'z'));
    Convert(dir.File("in.txt"), ";", true, dir.File("out.csv"));
    EXPECT_EQ(ReadFileBytes(dir.File("out.csv")), "x, y\r\n");
    EXPECT_TRUE(TempLeftovers().empty());
}

TEST_F(ConvertFile, ConvertsAFileOntoItself) {
    WriteFileBytes(dir.File("same.csv"), "1\t2\n3\t4");
    Convert(dir.File("same.csv"), "\t", false, dir.File("same.csv"));
    EXPECT_EQ(ReadFileBytes(dir.File("same.csv")), "1,2\r\n3,4\r\n");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ConvertFile, UsesTheBlockModeForLineBreakSeparators) {
    WriteFileBytes(dir.File("v.txt"), "a\r\nb\r\n");
    Convert(dir.File("v.txt"), "\n", true, dir.File("v.csv"));
    EXPECT_EQ(ReadFileBytes(dir.File("v.csv")), "a, b, ");
}

// A file without a mark is bytes in the ANSI code page on Windows (here 1252, Wine's and western Windows' default),
// UTF-8 elsewhere: the separator typed in UTF-8 is matched in the file's own code; on Windows a character the code
// page lacks becomes "?", as the file's own unrepresentable characters did.
TEST_F(ConvertFile, AnUnmarkedFileIsMatchedInTheSystemsCodePage) {
    struct Case {
        std::string separator;
        std::string input;
        std::string expected;
    };
#ifdef _WIN32
    if (::GetACP() != 1252) {
        GTEST_SKIP() << "the cases are written for code page 1252";
    }
    const std::vector<Case> cases = {
        {"\xC3\xA9",
         "a\xE9"
         "b\xC3\xA9"
         "c",
         "a,b\xC3\xA9"
         "c\r\n"},  // é is E9 in the file
        {"\xE2\x82\xAC",
         "1\x80"
         "2",
         "1,2\r\n"},                     // € is 80
        {"\xC4\x85", "x?y", "x,y\r\n"},  // ą is not in 1252
    };
#else
    const std::vector<Case> cases = {
        {"\xC3\xA9",
         "a\xE9"
         "b\xC3\xA9"
         "c",
         "a\xE9"
         "b,c\r\n"},
        {"\xC4\x85", "x?y\xC4\x85z", "x?y,z\r\n"},
    };
#endif
    for (const Case& c : cases) {
        WriteFileBytes(dir.File("in.txt"), c.input);
        Convert(dir.File("in.txt"), c.separator, false, dir.File("out.csv"));
        EXPECT_EQ(ReadFileBytes(dir.File("out.csv")), c.expected) << c.separator;
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ConvertFile, PathsLongerThan260CharactersAreConverted) {
    std::string folder = dir.File("");
    while (folder.size() <= 300) {
        folder += std::string(50, 'f') + dir.File("").back();
    }
#ifdef _WIN32
    std::filesystem::create_directories(
        test::PathFromText(R"(\\?\)" + folder));  // setup only: the test's tools need the long form
#else
    std::filesystem::create_directories(folder);
#endif
    auto writer = files.CreateReplacing(folder + "in.txt");
    writer->Write("a\tb", 3);
    writer->Commit();
    controls.option1 = false;
    controls.option2 = true;
    Convert(folder + "in.txt", "\t", false);
    EXPECT_TRUE(boxes.shown.empty());
    std::string bytes(16, '\0');
    bytes.resize(files.OpenRead(folder + "in.csv", InputKind::Any)->Read(bytes.data(), bytes.size()));
    EXPECT_EQ(bytes, "a,b\r\n");
}

#ifdef _WIN32
// What the user sees after a conversion: the output is never left hidden like the temporary file it was written
// as, and a replaced output keeps the attributes it had.
TEST_F(ConvertFile, TheOutputIsNotHiddenAndAReplacedOneKeepsItsAttributes) {
    const auto attributesOf = [](const std::string& path) { return ::GetFileAttributesW(WideFromUtf8(path).c_str()); };
    WriteFileBytes(dir.File("in.txt"), "a\tb");
    Convert(dir.File("in.txt"), "\t", false, dir.File("new.csv"));
    EXPECT_EQ(attributesOf(dir.File("new.csv")), DWORD{FILE_ATTRIBUTE_ARCHIVE});

    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
    WriteFileBytes(dir.File("kept.csv"), "old");
    ASSERT_TRUE(::SetFileAttributesW(WideFromUtf8(dir.File("kept.csv")).c_str(), kept));
    Convert(dir.File("in.txt"), "\t", false, dir.File("kept.csv"));
    EXPECT_EQ(ReadFileBytes(dir.File("kept.csv")), "a,b\r\n");
    EXPECT_EQ(attributesOf(dir.File("kept.csv")), kept);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(TempLeftovers().empty());
}
#endif

TEST_F(ConvertFile, MarkedInputKeepsItsMark) {
    const std::string input(
        "\xFF\xFE"
        "a\0\t\0b\0",
        8);
    WriteFileBytes(dir.File("u.txt"), input);
    Convert(dir.File("u.txt"), "\t", false, dir.File("u.csv"));
    EXPECT_EQ(ReadFileBytes(dir.File("u.csv")), std::string("\xFF\xFE"
                                                            "a\0,\0b\0\r\0\n\0",
                                                            12));
}

TEST_F(ConvertFile, EmptyInputGivesEmptyOutput) {
    WriteFileBytes(dir.File("e.txt"), "");
    Convert(dir.File("e.txt"), "\t", false, dir.File("e.csv"));
    EXPECT_EQ(ReadFileBytes(dir.File("e.csv")), "");
}

TEST_F(ConvertFile, MissingInputIsReportedAndLeavesTheOutputAlone) {
    WriteFileBytes(dir.File("keep.csv"), "old");
    Convert(dir.File("gone.txt"), "\t", false, dir.File("keep.csv"));
    const auto errors = boxes.ErrorTexts();
    ASSERT_EQ(errors.size(), 2u);  // once by the mark test, once by the opening step
    EXPECT_NE(errors[0].find("File not found"), std::string::npos);
    EXPECT_NE(errors[0].find("in Tabulane2021/08/31.AddRemove.ConvertCSVFSO at line 100"), std::string::npos);
    EXPECT_NE(errors[1].find("at line 102"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(dir.File("keep.csv")), "old");
    EXPECT_TRUE(TempLeftovers().empty());
}

TEST_F(ConvertFile, MissingInputCreatesNoOutput) {
    Convert(dir.File("gone.txt"), "\t", false);
    EXPECT_FALSE(std::filesystem::exists(dir.File("gone.csv")));
}

TEST_F(ConvertFile, MissingOutputFolderIsReportedOnce) {
    WriteFileBytes(dir.File("in.txt"), std::string(100000, 'a') + "\n" + std::string(100000, '\n'));
    Convert(dir.File("in.txt"), "\t", false, dir.File("no/such/out.csv"));
    const auto errors = boxes.ErrorTexts();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Path not found"), std::string::npos);
    EXPECT_NE(errors[0].find("ConvertCSVFSO at line 104"), std::string::npos);
}

TEST_F(ConvertFile, ReadOnlyOutputIsNotReplaced) {
    WriteFileBytes(dir.File("in.txt"), "a\tb");
    WriteFileBytes(dir.File("ro.csv"), "precious");
    ::chmod(dir.File("ro.csv").c_str(), 0444);
    Convert(dir.File("in.txt"), "\t", false, dir.File("ro.csv"));
    ASSERT_EQ(boxes.ErrorTexts().size(), 1u);
    EXPECT_NE(boxes.ErrorTexts()[0].find("Permission denied"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(dir.File("ro.csv")), "precious");
}

TEST_F(ConvertFile, WriteFailureGivesOneReportAndNoPartialFile) {
    test::FailingFileSystem failing(files);
    failing.writeFailAfter = 1000;
    ConversionServices failingServices{reporter, failing, &controls, kNativePathStyle, 64};
    std::string big;
    for (int i = 0; i < 5000; ++i) {
        big += "line\twith\ttabs\n";
    }
    WriteFileBytes(dir.File("big.txt"), big);
    WriteFileBytes(dir.File("big.csv"), "old result");
    ConvertToCSVInFile(failingServices, dir.File("big.txt"), "\t", false, dir.File("big.csv"), false);
    const auto errors = boxes.ErrorTexts();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Disk full"), std::string::npos);
    EXPECT_NE(errors[0].find("ConvertCSVFSO at line 106"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(dir.File("big.csv")), "old result");
    EXPECT_TRUE(TempLeftovers().empty());
}

TEST_F(ConvertFile, ReadFailureMidwayKeepsTheOldOutput) {
    test::FailingFileSystem failing(files);
    failing.readOpensBeforeFailing = 0;  // the one reader serves the mark, then fails midway
    failing.readFailAfter = 10;
    ConversionServices failingServices{reporter, failing, &controls, kNativePathStyle, 4};
    WriteFileBytes(dir.File("in.txt"), "a\tb\nc\td\ne\tf\ng\th\n");
    WriteFileBytes(dir.File("in.csv"), "previous");
    ConvertToCSVInFile(failingServices, dir.File("in.txt"), "\t", false, dir.File("in.csv"), false);
    ASSERT_EQ(boxes.ErrorTexts().size(), 1u);
    EXPECT_EQ(ReadFileBytes(dir.File("in.csv")), "previous");
    EXPECT_TRUE(TempLeftovers().empty());
}

TEST_F(ConvertFile, OpensTheInputOnceAndKeepsTheBytesTheMarkTestRead) {
    test::FailingFileSystem counting(files);
    ConversionServices countingServices{reporter, counting, &controls, kNativePathStyle, 3};
    WriteFileBytes(dir.File("in.txt"), "a\tb\tc\nd\te\tf\n");
    ConvertToCSVInFile(countingServices, dir.File("in.txt"), "\t", false, dir.File("in.csv"), false);
    EXPECT_EQ(counting.opens, 1);
    EXPECT_EQ(ReadFileBytes(dir.File("in.csv")), "a,b,c\r\nd,e,f\r\n");
    EXPECT_TRUE(boxes.ErrorTexts().empty());
}

// Two conversions on their own (two runs, or the command line): the later replaces the output. Within one batch
// run the later entry is refused instead (BatchRunTest).
TEST_F(ConvertFile, TwoInputsWithTheSameStemOutsideOneRunTheLaterReplacesTheOutput) {
    WriteFileBytes(dir.File("notes.txt"), "t\tt");
    WriteFileBytes(dir.File("notes.log"), "l\tl");
    controls.option1 = false;
    controls.option2 = true;
    Convert(dir.File("notes.txt"), "\t", false);
    Convert(dir.File("notes.log"), "\t", false);
    EXPECT_EQ(ReadFileBytes(dir.File("notes.csv")), "l,l\r\n");
}

TEST_F(ConvertFile, DetectsMarksFromTheFile) {
    WriteFileBytes(dir.File("m8.txt"), "\xEF\xBB\xBFx");
    WriteFileBytes(dir.File("plain.txt"), "xyz");
    WriteFileBytes(dir.File("short.txt"), "\xFF");
    EXPECT_TRUE(HasByteOrderMark(files, dir.File("m8.txt")));
    EXPECT_FALSE(HasByteOrderMark(files, dir.File("plain.txt")));
    EXPECT_FALSE(HasByteOrderMark(files, dir.File("short.txt")));
    EXPECT_THROW(HasByteOrderMark(files, dir.File("missing.txt")), PlatformError);
}

}  // namespace
}  // namespace tabulane
