#include "cli/CommandLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "cli/ProgramStart.h"
#include "platform/FileSystem.h"
#include "platform/PlatformError.h"
#include "platform/TextCodes.h"
#include "shell/ErrorReport.h"
#include "support/CommandLineArguments.h"
#include "support/FakeMessageBoxes.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace tabulane {
namespace {

using test::FakeMessageBoxes;
using test::ReadFileBytes;
using test::TempDir;
using test::TextFromArguments;
using test::WriteFileBytes;

const std::string kTitle = "Tabulane";

TEST(ParseCommandLine, DocumentedArgumentFormsWork) {
    struct Case {
        const char* description;
        std::vector<std::string> arguments;  // as the shell passes them
        std::string text;                    // as the user typed it
        std::string input;
        std::string output;
        std::string separator;  // after normalisation
        std::string option;
    };
    const std::vector<Case> cases = {
        {"unquoted, TABS, comma",
         {"in.txt", "out.csv", "TABS", "-c"},
         "in.txt out.csv TABS -c",
         "in.txt",
         "out.csv",
         "\t",
         "-c"},
        {"quoted comma Character, comma and space",
         {"in.txt", "out.csv", ", ", "-cs"},
         "in.txt out.csv \", \" -cs",
         "in.txt",
         "out.csv",
         ",",
         "-cs"},
        {"both paths and the Character quoted",
         {"my in.txt", "my out.csv", "\"TABS\"", "-c"},
         "\"my in.txt\" \"my out.csv\" \"TABS\" -c",
         "my in.txt",
         "my out.csv",
         "\t",
         "-c"},
        {"quoted input, unquoted output, quoted ENTERS",
         {"my in.txt", "out.csv", "\"ENTERS\"", "-cs"},
         "\"my in.txt\" out.csv \"ENTERS\" -cs",
         "my in.txt",
         "out.csv",
         "\n",
         "-cs"},
        {"quoted output, unquoted Character",
         {"in.txt", "my out.csv", "TABS", "-c"},
         "in.txt \"my out.csv\" TABS -c",
         "in.txt",
         "my out.csv",
         "\t",
         "-c"},
        {"quoted single space",
         {"in.txt", "out.csv", " ", "-c"},
         "in.txt out.csv \" \" -c",
         "in.txt",
         "out.csv",
         " ",
         "-c"},
        {"semicolon", {"in.txt", "out.csv", ";", "-c"}, "in.txt out.csv ; -c", "in.txt", "out.csv", ";", "-c"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        const std::string text = TextFromArguments(c.arguments);
        EXPECT_EQ(text, c.text);
        const CommandLineArguments parsed = ParseCommandLine(text);
        EXPECT_EQ(parsed.inputPath, c.input);
        EXPECT_EQ(parsed.outputPath, c.output);
        EXPECT_EQ(NormaliseCharacter(parsed.character), c.separator);
        EXPECT_EQ(parsed.option, c.option);
    }
}

TEST(ParseCommandLine, PositionsAndEdgeCases) {
    struct Case {
        const char* description;
        std::string text;
        std::string input;
        std::string output;
        std::string character;  // before normalisation
        std::string option;
    };
    const std::vector<Case> cases = {
        {"a single space leaves everything empty", " ", "", "", "", ""},
        {"a single argument has no output", "in.txt", "in.txt", "", "", ""},
        {"an option before the input blanks token 1", "-c in.txt out.csv TABS", "", "in.txt", "out.csv TABS ", "-c"},
        {"lower-case tabs stays literal text", "in.txt out.csv tabs -c", "in.txt", "out.csv", "tabs  ", "-c"},
        {"an upper-case option is no option", "in.txt out.csv TABS -C", "in.txt", "out.csv", "TABS -C ", ""},
        {"two spaces between the paths shift the output", "in.txt  out.csv TABS -c", "in.txt", "", "out.csv TABS  ",
         "-c"},
        {"a leading space empties the input", " in.txt out.csv TABS -c", "", "in.txt", "out.csv TABS  ", "-c"},
        {"several words form one Character", "in.txt out.csv a b -c", "in.txt", "out.csv", "a b  ", "-c"},
        {"a blanked option between words leaves two spaces", "in.txt out.csv a -c b", "in.txt", "out.csv", "a  b ",
         "-c"},
        {"the option may precede a quoted Character", "in.txt out.csv -cs \"TABS\"", "in.txt", "out.csv", " TABS ",
         "-cs"},
        {"a later option replaces an earlier one", "in.txt out.csv TABS -cs -c", "in.txt", "out.csv", "TABS   ", "-c"},
        {"a left-out Character after the option is a space", "in.txt out.csv -c", "in.txt", "out.csv", " ", "-c"},
        {"no option and no Character", "in.txt out.csv", "in.txt", "out.csv", "", ""},
        // Quoted input path.
        {"quoted input needs a quoted Character", "\"my in.txt\" out.csv TABS -c", "my in.txt", "out.csv", "", "-c"},
        {"quoted input and output with unquoted Character", "\"my in.txt\" \"my out.csv\" TABS -c", "my in.txt",
         "my out.csv", "", "-c"},
        {"quoted input, option before the quoted Character", "\"my in.txt\" out.csv -cs \"ENTERS\"", "my in.txt",
         "out.csv", "ENTERS ", "-cs"},
        {"quoted input, quoted space Character", "\"my in.txt\" out.csv \" \" -c", "my in.txt", "out.csv", "   ", "-c"},
        {"text before the Character's quote is skipped", "\"my in.txt\" out.csv skip \"x\" -c", "my in.txt", "out.csv",
         "x  ", "-c"},
        {"the character after the input's closing quote is skipped", "\"in.txt\"Xout.csv \"TABS\" -c", "in.txt",
         "out.csv", "TABS  ", "-c"},
        {"an unclosed input quote leaves the input empty", "\"my in.txt out.csv TABS -c", "", "", "", "-c"},
        {"an empty quoted input stays empty", "\"\" out.csv \"TABS\" -c", "", "", "", "-c"},
        {"a quoted input alone is too short for an output", "\"in.txt\"", "in.txt", "", "", ""},
        {"a quoted input and a space give an empty output", "\"in.txt\" ", "in.txt", "", "", ""},
        {"an unclosed output quote leaves the output empty", "\"my in.txt\" \"out.csv TABS -c", "my in.txt", "", "",
         "-c"},
        {"an empty quoted output after a quoted input", "\"my in.txt\" \"\" \"TABS\" -c", "my in.txt", "", "TABS  ",
         "-c"},
        // Quoted output path after an unquoted input.
        {"quoted output with a quoted comma", "in.txt \"my out.csv\" \", \" -cs", "in.txt", "my out.csv", ",   ",
         "-cs"},
        {"the character after the output's closing quote is skipped", "in.txt \"my out.csv\";X -c", "in.txt",
         "my out.csv", "X  ", "-c"},
        {"a quoted output at the end leaves no Character", "in.txt \"my out.csv\"", "in.txt", "my out.csv", "", ""},
        {"an unclosed output quote", "in.txt \"my out.csv TABS -c", "in.txt", "", "", "-c"},
        {"an empty quoted output", "in.txt \"\" TABS -c", "in.txt", "", "", "-c"},
        // Option words inside a closed quoted path belong to the path.
        {"an option word inside a quoted output", "s.tsv \"report -c final.csv\" TABS -c", "s.tsv",
         "report -c final.csv", "TABS  ", "-c"},
        {"an option word inside a quoted input", "\"rep -c in.tsv\" o.csv \"TABS\" -c", "rep -c in.tsv", "o.csv",
         "TABS  ", "-c"},
        {"option words inside both quoted paths", "\"a -cs b\" \"c -c d\" \"TABS\" -cs", "a -cs b", "c -c d", "TABS  ",
         "-cs"},
        {"the only option word inside a quoted path is no option", "in.txt \"out -c.csv\" TABS", "in.txt", "out -c.csv",
         "TABS ", ""},
        {"a lone quote and spaces (found by fuzzing)", "\"        ", "", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        const CommandLineArguments parsed = ParseCommandLine(c.text);
        EXPECT_EQ(parsed.inputPath, c.input);
        EXPECT_EQ(parsed.outputPath, c.output);
        EXPECT_EQ(parsed.character, c.character);
        EXPECT_EQ(parsed.option, c.option);
    }
}

TEST(NormaliseCharacter, TrimsAndMapsKeywords) {
    struct Case {
        const char* description;
        std::string character;
        std::string separator;
    };
    const std::vector<Case> cases = {
        {"TABS is the tab", "TABS  ", "\t"},
        {"ENTERS is the line feed alone", "  ENTERS ", "\n"},
        {"keywords are case-sensitive", "tabs", "tabs"},
        {"a longer word is no keyword", "TABSX", "TABSX"},
        {"spaces only become one space", "   ", " "},
        {"one space stays one space", " ", " "},
        {"spaces around text are trimmed", " ; ", ";"},
        {"inner spaces stay", "a  b  ", "a  b"},
        {"only spaces are trimmed, not tabs", "\tTABS ", "\tTABS"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        EXPECT_EQ(NormaliseCharacter(c.character), c.separator);
    }
}

TEST(UsageText, FirstTextIsExact) {
    EXPECT_EQ(UsageText1(),
              "Usage: tabulane <Input File> <Output File> \"<Character>\"<option>\r\n"
              "where <Character> can be \"TABS\" or \" \" or \"ENTERS\" or any.\r\n"
              "and <Option> can be -c(comma only) or -cs(comma and space)\r\n\r\n"
              "Example: tabulane TestFile.txt OutputFile.csv \", \" -cs");
}

TEST(UsageText, SecondTextIsExact) {
    EXPECT_EQ(UsageText2(),
              "Usage:\r\n\r\n"
              "tabulane <Input File> <Output File> \"<Character>\"<option>\r\n\r\n"
              "where <Character> can be \"TABS\" or \" \" or \"ENTERS\" or any other separating character(s).\r\n\r\n"
              "where <Option> can be -c(comma only) or -cs(comma and space)\r\n\r\n"
              "Example:\r\n\r\n"
              "tabulane TestFile.txt OutputFile.csv \"ENTERS\" -cs");
}

// Runs the mode against the real file system, recording every box.
class RunCommandLineTest : public ::testing::Test {
protected:
    int Run(const std::string& argumentText) { return RunCommandLine(argumentText, m_services, m_boxes, kTitle); }

    std::vector<std::string> FilesInFolder() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir m_dir;
    FakeMessageBoxes m_boxes;
    ErrorReporter m_reporter{m_boxes};
    NativeFileSystem m_files;
    ConversionServices m_services{m_reporter, m_files};
};

TEST_F(RunCommandLineTest, WrongArgumentsShowUsageAndWriteNothing) {
    const std::string in = m_dir.File("in.txt");
    const std::string spacedIn = m_dir.File("my in.txt");
    const std::string out = m_dir.File("out.csv");
    WriteFileBytes(in, "a\tb\r\n");
    WriteFileBytes(spacedIn, "a\tb\r\n");

    struct Case {
        const char* description;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"a single space", " "},
        {"the input alone", in},
        {"no option", in + " " + out + " TABS"},
        {"an upper-case option", in + " " + out + " TABS -C"},
        {"the option before the input", "-c " + in + " " + out + " TABS"},
        {"two spaces between the paths", in + "  " + out + " TABS -c"},
        {"a leading space", " " + in + " " + out + " TABS -c"},
        {"quoted input with an unquoted Character", "\"" + spacedIn + "\" " + out + " TABS -c"},
        {"an empty quoted output", in + " \"\" TABS -c"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        m_boxes.shown.clear();
        EXPECT_EQ(Run(c.text), kExitUsage);
        ASSERT_EQ(m_boxes.shown.size(), 1u);
        EXPECT_EQ(m_boxes.shown[0].text, UsageText1());
        EXPECT_EQ(m_boxes.shown[0].caption, kTitle);
        EXPECT_EQ(m_boxes.shown[0].icon, BoxIcon::None);
        EXPECT_EQ(m_boxes.shown[0].buttons, BoxButtons::Ok);
        EXPECT_EQ(FilesInFolder(), (std::vector<std::string>{"in.txt", "my in.txt"}));
    }
}

TEST_F(RunCommandLineTest, EmptyArgumentTextDoesNothing) {
    EXPECT_EQ(Run(""), kExitSuccess);
    EXPECT_TRUE(m_boxes.shown.empty());
}

TEST_F(RunCommandLineTest, ConvertsOneFileAsTheArgumentsSay) {
    struct Case {
        const char* description;
        std::string inputName;
        std::string outputName;
        std::vector<std::string> rest;  // Character and option, as the shell passes them
        std::string input;
        std::string output;
    };
    const std::vector<Case> cases = {
        {"tabs to commas", "in.txt", "out.csv", {"TABS", "-c"}, "a\tb\t\tc\r\n", "a,b,,c\r\n"},
        {"a comma to comma-space", "in.txt", "out.csv", {", ", "-cs"}, "x,y\r\n", "x, y\r\n"},
        {"paths with spaces and a quoted Character",
         "my in.txt",
         "my out.csv",
         {"\"TABS\"", "-c"},
         "a\tb\r\n",
         "a,b\r\n"},
        {"ENTERS replaces every line break, not only CR LF",
         "my in.txt",
         "out.csv",
         {"\"ENTERS\"", "-cs"},
         "a\r\nb\nc\rd",
         "a, b, c, d"},
        {"quoted output path", "in.txt", "my out.csv", {"TABS", "-c"}, "1\t2\r\n", "1,2\r\n"},
        {"a space Character collapses runs of spaces", "in.txt", "out.csv", {" ", "-c"}, "  a   b  \r\n", ",a,b\r\n"},
        {"the option between the output and the Character",
         "in.txt",
         "out.csv",
         {"-cs", "\"TABS\""},
         "a\tb\r\n",
         "a, b\r\n"},
        {"the output name is used as given", "in.txt", "result.dat", {"TABS", "-c"}, "a\tb\r\n", "a,b\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        TempDir dir;
        const std::string in = dir.File(c.inputName);
        const std::string out = dir.File(c.outputName);
        WriteFileBytes(in, c.input);
        std::vector<std::string> arguments{in, out};
        arguments.insert(arguments.end(), c.rest.begin(), c.rest.end());

        m_boxes.shown.clear();
        EXPECT_EQ(Run(TextFromArguments(arguments)), kExitSuccess);
        EXPECT_TRUE(m_boxes.shown.empty());
        ASSERT_TRUE(std::filesystem::exists(out));
        EXPECT_EQ(ReadFileBytes(out), c.output);
        EXPECT_EQ(ReadFileBytes(in), c.input);
    }
}

TEST_F(RunCommandLineTest, MissingInputIsReportedAndFailsTheRun) {
    const std::string text = m_dir.File("missing.txt") + " " + m_dir.File("out.csv") + " TABS -c";
    EXPECT_EQ(Run(text), kExitFailure);
    EXPECT_FALSE(m_boxes.ErrorTexts().empty());
    EXPECT_GT(m_reporter.ReportCount(), 0);
}

// The exit status as the program decides it, through the load step and its one reporter: the usage gives 2 whatever
// came before it; otherwise any error box of the start, the conversion's or an earlier step's, gives 1.
TEST(CommandLineExitStatus, IsTheUsageOrWhetherTheStartShowedAnyErrorBox) {
    struct Case {
        const char* description;
        std::string input;  // a name in the folder; only in.txt exists
        std::string rest;   // what follows the output path
        bool skinFails;
        bool argumentsFitText;
        int status;
        bool errorShown;
    };
    const std::vector<Case> cases = {
        {"a clean conversion", "in.txt", " TABS -c", false, true, kExitSuccess, false},
        {"a missing input", "missing.txt", " TABS -c", false, true, kExitFailure, true},
        {"wrong arguments", "in.txt", " TABS", false, true, kExitUsage, false},
        {"an argument the text cannot hold", "in.txt", " TABS -c", false, false, kExitUsage, false},
        {"a skin that fails before a clean conversion", "in.txt", " TABS -c", true, true, kExitFailure, true},
        {"a skin that fails before a missing input", "missing.txt", " TABS -c", true, true, kExitFailure, true},
        {"a skin that fails before wrong arguments", "in.txt", " TABS", true, true, kExitUsage, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        TempDir dir;
        WriteFileBytes(dir.File("in.txt"), "a\tb\r\n");
        test::FakePlatform fake;
        std::function<void()> skin;
        if (c.skinFails) {
            skin = [] { throw PlatformError(50003, "Unexpected error"); };
        }
        const std::string output = dir.File("out.csv");
        const std::string text = dir.File(c.input) + " " + output + c.rest;

        EXPECT_EQ(ConvertOnHiddenWindow(fake.platform, text, c.argumentsFitText, skin), c.status);
        const std::vector<std::string> errors = fake.boxes.ErrorTexts();
        EXPECT_EQ(!errors.empty(), c.errorShown);
        if (c.skinFails) {
            ASSERT_FALSE(errors.empty());
            EXPECT_EQ(errors[0].rfind("Unexpected error\r\nin Tabulane2021/08/31.Form1.Form_Load at line 100", 0), 0U);
        }
        // Whatever the status, a conversion that could run has written its file.
        const bool converts = c.input == "in.txt" && c.status != kExitUsage;
        ASSERT_EQ(std::filesystem::exists(output), converts);
        if (converts) {
            EXPECT_EQ(ReadFileBytes(output), "a,b\r\n");
        }
    }
}

}  // namespace
}  // namespace tabulane
