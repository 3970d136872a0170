#include "convert/BatchRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "convert/TextConverter.h"
#include "filelist/ListEditing.h"
#include "support/FakeEventLoop.h"
#include "support/FakeMainWindow.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace tabulane {
namespace {

using test::FakeEventLoop;
using test::FakeMainWindow;
using test::FakePlatform;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

constexpr const char* kTitle = "Tabulane";

// What the window showed at one yield to the message loop.
struct AtYield {
    MousePointer pointer;
    double progress;
    std::string text;
};

class BatchRunTest : public ::testing::Test {
protected:
    BatchRunTest() {
        std::filesystem::create_directory(m_dir.Path() / "in");
        std::filesystem::create_directory(m_dir.Path() / "out");
        m_window.comboText = "Tabs To Commas";
        m_window.text1 = Out("");
        m_loop.onYield = [this](int number) {
            m_atYield.push_back({m_window.pointer, m_window.progressValue, m_window.progressText});
            if (m_script) {
                m_script(number);
            }
        };
    }

    std::string In(const std::string& name) const { return m_dir.File("in/" + name); }
    std::string Out(const std::string& name) const { return m_dir.File("out/" + name); }

    // Writes each input file and lists it.
    void AddInputs(const std::vector<std::pair<std::string, std::string>>& files) {
        for (const auto& [name, bytes] : files) {
            WriteFileBytes(In(name), bytes);
            m_list.Append(In(name));
        }
    }

    void Click() { m_run.PushButton2_Click(m_window, m_platform, m_list, m_reporter, kTitle); }

    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& box : m_fake.boxes.shown) {
            texts.push_back(box.text);
        }
        return texts;
    }

    std::vector<std::string> OutputNames() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path() / "out")) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    void ExpectIdle() {
        EXPECT_EQ(m_window.pointer, MousePointer::Default);
        EXPECT_EQ(m_window.progressValue, 0);
        EXPECT_EQ(m_window.progressText, "Progress Bar");
        EXPECT_FALSE(m_run.RunInProgress());
    }

    TempDir m_dir;
    FakePlatform m_fake;
    FakeEventLoop m_loop;
    Platform m_platform = m_fake.With(m_loop);
    ErrorReporter m_reporter{m_fake.boxes};
    FakeMainWindow m_window;
    FileList m_list;
    BatchRun m_run;
    std::vector<AtYield> m_atYield;
    std::function<void(int)> m_script;
};

TEST_F(BatchRunTest, ConvertsEveryListedFileAndEndsWithDone) {
    AddInputs({{"a.txt", "1\t2\n3\t4\n"}, {"b.log", "x\ty"}, {"c", ""}});
    Click();
    EXPECT_EQ(ReadFileBytes(Out("a.csv")), "1,2\r\n3,4\r\n");
    EXPECT_EQ(ReadFileBytes(Out("b.csv")), "x,y\r\n");
    EXPECT_EQ(ReadFileBytes(Out("c.csv")), "");
    ASSERT_EQ(m_fake.boxes.shown.size(), 1U);
    EXPECT_EQ(m_fake.boxes.shown[0].text, "Done.");
    EXPECT_EQ(m_fake.boxes.shown[0].caption, kTitle);
    EXPECT_EQ(m_fake.boxes.shown[0].icon, BoxIcon::None);
    EXPECT_EQ(m_fake.boxes.shown[0].buttons, BoxButtons::Ok);
    EXPECT_TRUE(m_fake.boxes.asked.empty());
    ExpectIdle();
}

TEST_F(BatchRunTest, WalksTheBarTwoYieldsPerFileUnderTheHourglass) {
    AddInputs({{"a.txt", "a"}, {"b.txt", "b"}});
    Click();
    // What the user can see is what the window shows at each yield (a repaint) and after the run; how often the
    // pointer is set in between is the run's own affair.
    ASSERT_EQ(m_atYield.size(), 4U);
    EXPECT_EQ(m_atYield[0].pointer, MousePointer::Default);  // the first yield comes before the hourglass
    EXPECT_EQ(m_atYield[0].text, "Progress Bar");
    const std::vector<std::pair<double, std::string>> shown = {
        {50, "Processing: a.txt"}, {50, "Processing: a.txt"}, {100, "Processing: b.txt"}};
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(m_atYield[i + 1].pointer, MousePointer::Hourglass) << i;
        EXPECT_DOUBLE_EQ(m_atYield[i + 1].progress, shown[i].first) << i;
        EXPECT_EQ(m_atYield[i + 1].text, shown[i].second) << i;
    }
    ExpectIdle();
}

TEST_F(BatchRunTest, OneFileFillsTheBarAtOnceThenEmptiesIt) {
    AddInputs({{"only.txt", "a\tb"}});
    Click();
    ASSERT_EQ(m_atYield.size(), 2U);
    EXPECT_DOUBLE_EQ(m_atYield[1].progress, 100);
    EXPECT_EQ(ReadFileBytes(Out("only.csv")), "a,b\r\n");
    ExpectIdle();
}

TEST_F(BatchRunTest, RefusesToStartWithoutFilesOrAnOutputFolder) {
    struct Case {
        const char* name;
        bool listed;
        bool option2;
        std::string folder;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"empty list", false, false, "", "No files added."},
        {"empty list, results beside the inputs", false, true, "", "No files added."},
        {"a folder that does not exist", true, false, "/no/such/folder",
         "Folder does not exist. Please select another folder."},
        {"an empty folder text", true, false, "", "Folder does not exist. Please select another folder."},
        {"a file, not a folder", true, false, "in/a.txt", "Folder does not exist. Please select another folder."},
    };
    for (const auto& c : cases) {
        FakePlatform fake;
        FakeEventLoop loop;
        Platform platform = fake.With(loop);
        ErrorReporter reporter(fake.boxes);
        FakeMainWindow window;
        window.comboText = "X Character(s) To Commas";
        window.option1 = !c.option2;
        window.option2 = c.option2;
        window.text1 = c.folder == "in/a.txt" ? m_dir.File(c.folder) : c.folder;
        WriteFileBytes(In("a.txt"), "a\tb");
        FileList list;
        if (c.listed) {
            list.Append(In("a.txt"));
        }
        BatchRun run;
        run.PushButton2_Click(window, platform, list, reporter, kTitle);
        ASSERT_EQ(fake.boxes.shown.size(), 1U) << c.name;
        EXPECT_EQ(fake.boxes.shown[0].text, c.message) << c.name;
        EXPECT_EQ(fake.boxes.shown[0].caption, kTitle) << c.name;
        EXPECT_TRUE(fake.boxes.asked.empty()) << c.name;  // no X prompt
        EXPECT_TRUE(window.calls.empty()) << c.name;      // neither pointer nor bar touched
        EXPECT_EQ(loop.yields, 0) << c.name;
        EXPECT_FALSE(run.RunInProgress()) << c.name;
        EXPECT_FALSE(std::filesystem::exists(In("a.csv"))) << c.name;
    }
    EXPECT_TRUE(OutputNames().empty());
}

TEST_F(BatchRunTest, ResultsBesideTheInputsIgnoreTheFolderText) {
    for (const std::string folder : {"", "/no/such/folder"}) {
        std::filesystem::remove(In("a.csv"));
        m_fake.boxes.shown.clear();
        m_list.Clear();
        AddInputs({{"a.txt", "p\tq"}});
        m_window.option1 = false;
        m_window.option2 = true;
        m_window.text1 = folder;
        Click();
        EXPECT_EQ(ReadFileBytes(In("a.csv")), "p,q\r\n") << '"' << folder << '"';
        EXPECT_EQ(Messages(), std::vector<std::string>{"Done."});
    }
}

TEST_F(BatchRunTest, AsksForXOnceAndUsesItForEveryFile) {
    m_window.comboText = "X Character(s) To Comma-spaces";
    m_fake.boxes.inputs.push_back(";");
    AddInputs({{"a.txt", "a;b"}, {"b.txt", "c;d;e"}});
    Click();
    ASSERT_EQ(m_fake.boxes.asked.size(), 1U);
    EXPECT_EQ(m_fake.boxes.asked[0].prompt, "Enter X:");
    EXPECT_EQ(m_fake.boxes.asked[0].title, "Enter X");
    EXPECT_EQ(m_fake.boxes.asked[0].preset, "");
    EXPECT_EQ(ReadFileBytes(Out("a.csv")), "a, b\r\n");
    EXPECT_EQ(ReadFileBytes(Out("b.csv")), "c, d, e\r\n");
}

TEST_F(BatchRunTest, CancelledXSkipsEveryFileButStillWalksTheList) {
    m_window.comboText = "X Character(s) To Commas";
    AddInputs({{"a.txt", "a;b"}, {"b.txt", "c;d"}});
    Click();  // the prompt answers "" as a cancelled one does
    EXPECT_EQ(m_fake.boxes.asked.size(), 1U);
    EXPECT_TRUE(OutputNames().empty());
    ASSERT_EQ(m_atYield.size(), 4U);
    EXPECT_EQ(m_atYield[1].text, "Processing: a.txt");
    EXPECT_EQ(m_atYield[3].text, "Processing: b.txt");
    EXPECT_DOUBLE_EQ(m_atYield[3].progress, 100);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Done."});
    ExpectIdle();
}

// The mode box takes typed text; a text that is not exactly one of the eight captions converts nothing.
TEST_F(BatchRunTest, ATypedModeMatchingNoCaptionConvertsNothing) {
    AddInputs({{"a.txt", "a\tb"}, {"b.txt", "c d"}});
    for (const std::string typed : {"tabs to commas", "Tabs To Commas ", "Tabs", "", "x character(s) to commas"}) {
        m_fake.boxes.shown.clear();
        m_atYield.clear();
        m_window.comboText = typed;
        Click();
        EXPECT_TRUE(OutputNames().empty()) << '"' << typed << '"';
        EXPECT_TRUE(m_fake.boxes.asked.empty()) << '"' << typed << '"';
        ASSERT_EQ(m_atYield.size(), 4U);
        EXPECT_EQ(m_atYield[3].text, "Processing: b.txt");
        EXPECT_EQ(Messages(), std::vector<std::string>{"Done."});
        ExpectIdle();
    }
}

TEST_F(BatchRunTest, IgnoresAClickArrivingDuringTheRun) {
    AddInputs({{"a.txt", "1"}, {"b.txt", "2"}});
    std::vector<bool> inProgress;
    m_script = [&](int number) {
        inProgress.push_back(m_run.RunInProgress());
        if (number == 2) {
            Click();
        }
    };
    Click();
    EXPECT_EQ(m_loop.yields, 4);  // the second click ran nothing
    EXPECT_EQ(inProgress, (std::vector<bool>{true, true, true, true}));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Done."});
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{"a.csv", "b.csv"}));
    ExpectIdle();

    Click();  // and the flag is clear again afterwards
    EXPECT_EQ(m_loop.yields, 8);
}

TEST_F(BatchRunTest, ReadsTheModeAgainBeforeEveryFile) {
    AddInputs({{"a.txt", "1\t2"}, {"b.txt", "3\t4"}, {"c.txt", "5 6"}});
    m_script = [&](int number) {
        if (number == 3) {
            m_window.comboText = "X Character(s) To Commas";  // X was never asked for: the rest is skipped
        }
    };
    Click();
    EXPECT_EQ(OutputNames(), std::vector<std::string>{"a.csv"});
    EXPECT_TRUE(m_fake.boxes.asked.empty());
    EXPECT_EQ(Messages(), std::vector<std::string>{"Done."});

    // The other way round, a switch to a tab mode applies to the files still to come.
    std::filesystem::remove(Out("a.csv"));
    m_fake.boxes.shown.clear();
    m_loop.yields = 0;
    m_window.comboText = "X Character(s) To Commas";
    m_script = [&](int number) {
        if (number == 5) {
            m_window.comboText = "Spaces To Comma-spaces";
        }
    };
    Click();
    EXPECT_EQ(OutputNames(), std::vector<std::string>{"c.csv"});
    EXPECT_EQ(ReadFileBytes(Out("c.csv")), "5, 6\r\n");
}

// A file of several blocks yields between them (here after every block) under the rules of the yields between
// files: a second click is ignored, removal and Clear meet the hourglass, which comes back after each yield even
// when something in it reset the pointer, and a mode chosen meanwhile applies from the next file on.
TEST_F(BatchRunTest, ALongFileYieldsBetweenItsBlocksUnderTheRulesOfTheRun) {
    std::string big;
    std::string expected;
    while (big.size() < 3 * kDefaultBufferSize + kDefaultBufferSize / 2) {
        big += "alpha\tbeta\t\tgamma\n";
        expected += "alpha,beta,,gamma\r\n";
    }
    AddInputs({{"big.txt", big}, {"small.txt", "a\tb"}});
    m_run.SetYieldPacing({std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
    m_window.selectedListPosition = 1;
    std::vector<bool> inProgress;
    m_script = [&](int number) {
        inProgress.push_back(m_run.RunInProgress());
        if (number == 4) {
            Click();
            ListView1_DblClick(m_window, m_list);
            PushButton6_Click(m_window, m_list, m_reporter);
            m_window.comboText = "Tabs To Comma-spaces";
            m_window.pointer = MousePointer::Default;
        }
    };
    Click();

    std::vector<AtYield> inBigFile;
    std::copy_if(m_atYield.begin() + 2, m_atYield.end(), std::back_inserter(inBigFile),
                 [](const AtYield& at) { return at.text == "Processing: big.txt"; });
    EXPECT_GE(inBigFile.size(), 3U);
    for (const AtYield& at : inBigFile) {
        EXPECT_EQ(at.pointer, MousePointer::Hourglass);
        EXPECT_DOUBLE_EQ(at.progress, 50);
    }
    EXPECT_EQ(std::count(inProgress.begin(), inProgress.end(), false), 0);
    EXPECT_EQ(m_list.Count(), 2);
    EXPECT_TRUE(ReadFileBytes(Out("big.csv")) == expected);  // a difference would print megabytes
    EXPECT_EQ(ReadFileBytes(Out("small.csv")), "a, b\r\n");
    EXPECT_EQ(Messages(), std::vector<std::string>{"Done."});
    ExpectIdle();
}

TEST_F(BatchRunTest, FilesAddedDuringTheRunCountInTheBarButWaitForTheNextRun) {
    AddInputs({{"a.txt", "1"}, {"b.txt", "2"}});
    WriteFileBytes(In("late.txt"), "3");
    m_script = [&](int number) {
        if (number == 1) {
            m_list.Append(In("late.txt"));
        }
    };
    Click();
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{"a.csv", "b.csv"}));
    ASSERT_EQ(m_atYield.size(), 4U);
    EXPECT_DOUBLE_EQ(m_atYield[1].progress, 100.0 / 3);
    EXPECT_DOUBLE_EQ(m_atYield[3].progress, 200.0 / 3);
    EXPECT_EQ(m_list.Count(), 3);
    ExpectIdle();
}

TEST_F(BatchRunTest, AFailingFileIsReportedAndTheRunGoesOn) {
    AddInputs({{"b.txt", "x\ty"}});
    m_list.Append(In("missing.txt"));
    AddInputs({{"c.txt", "z\tw"}});
    Click();
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{"b.csv", "c.csv"}));
    const auto errors = m_fake.boxes.ErrorTexts();
    ASSERT_FALSE(errors.empty());
    for (const auto& error : errors) {
        EXPECT_NE(error.find("AddRemove.ConvertCSVFSO"), std::string::npos) << error;
    }
    EXPECT_EQ(Messages().back(), "Done.");
    ExpectIdle();
}

// Two entries of one name converted into one folder: the first result stays as written, the second entry is
// reported once and the run goes on. What was there before the run is replaced, by this run and by the next.
TEST_F(BatchRunTest, ALaterEntryDoesNotReplaceAnOutputThisRunWrote) {
    std::filesystem::create_directory(m_dir.Path() / "in" / "jan");
    std::filesystem::create_directory(m_dir.Path() / "in" / "feb");
    WriteFileBytes(Out("sales.csv"), "from an earlier run\r\n");
    AddInputs({{"jan/sales.txt", "jan\t1\n"}, {"feb/sales.txt", "feb\t2\n"}, {"other.txt", "o\tk"}});
    Click();
    EXPECT_EQ(ReadFileBytes(Out("sales.csv")), "jan,1\r\n");
    EXPECT_EQ(ReadFileBytes(Out("other.csv")), "o,k\r\n");
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{"other.csv", "sales.csv"}));
    ASSERT_EQ(m_fake.boxes.shown.size(), 2U);
    const auto& error = m_fake.boxes.shown[0];
    EXPECT_EQ(error.caption, "Application Error");
    EXPECT_EQ(error.icon, BoxIcon::Exclamation);
    EXPECT_TRUE(error.text.starts_with("File already exists: " + Out("sales.csv") +
                                       "\r\nin Tabulane2021/08/31.AddRemove.ConvertCSVFSO at line 104\r\r"))
        << error.text;
    EXPECT_EQ(m_fake.boxes.shown[1].text, "Done.");
    ExpectIdle();

    m_fake.boxes.shown.clear();
    m_list.Clear();
    m_list.Append(In("feb/sales.txt"));
    Click();
    EXPECT_EQ(ReadFileBytes(Out("sales.csv")), "feb,2\r\n");
    EXPECT_EQ(Messages(), std::vector<std::string>{"Done."});
}

TEST_F(BatchRunTest, InputsBesideEachOtherWithOneNameKeepTheFirstResult) {
    m_window.option1 = false;
    m_window.option2 = true;
    AddInputs({{"data.tsv", "t\tsv"}, {"data.txt", "t\txt"}, {"more.txt", "m\t1"}});
    Click();
    EXPECT_EQ(ReadFileBytes(In("data.csv")), "t,sv\r\n");
    EXPECT_EQ(ReadFileBytes(In("more.csv")), "m,1\r\n");
    const auto errors = m_fake.boxes.ErrorTexts();
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_TRUE(errors[0].starts_with("File already exists: " + In("data.csv") + "\r\n")) << errors[0];
    EXPECT_EQ(Messages().back(), "Done.");
}

// The folder box changed during the run to another spelling of the same folder still reaches the same file.
TEST_F(BatchRunTest, AnotherSpellingOfTheOutputFolderIsTheSameFile) {
    std::vector<std::string> spellings = {Out("") + "." + Out("").back(), m_dir.File("in/../out/")};
#ifndef _WIN32
    std::filesystem::create_directory_symlink(m_dir.Path() / "out", m_dir.Path() / "link");
    spellings.push_back(m_dir.File("link/"));
#endif
    std::filesystem::create_directory(m_dir.Path() / "in" / "jan");
    std::filesystem::create_directory(m_dir.Path() / "in" / "feb");
    AddInputs({{"jan/sales.txt", "jan"}, {"feb/sales.txt", "feb"}});
    for (const std::string& spelling : spellings) {
        std::filesystem::remove(Out("sales.csv"));
        m_fake.boxes.shown.clear();
        m_window.text1 = Out("");
        m_loop.yields = 0;
        m_script = [&](int number) {
            if (number == 3) {
                m_window.text1 = spelling;
            }
        };
        Click();
        EXPECT_EQ(ReadFileBytes(Out("sales.csv")), "jan\r\n") << spelling;
        const auto errors = m_fake.boxes.ErrorTexts();
        ASSERT_EQ(errors.size(), 1U) << spelling;
        EXPECT_TRUE(errors[0].starts_with("File already exists: " + spelling + "sales.csv\r\n")) << errors[0];
        EXPECT_EQ(Messages().back(), "Done.");
    }
}

TEST_F(BatchRunTest, SkipsAnEmptyEntrySilently) {
    m_list.Append("");
    AddInputs({{"a.txt", "1\t2"}});
    Click();
    EXPECT_EQ(OutputNames(), std::vector<std::string>{"a.csv"});
    EXPECT_EQ(Messages(), std::vector<std::string>{"Done."});
    ASSERT_EQ(m_atYield.size(), 4U);
    EXPECT_EQ(m_atYield[1].text, "Processing: ");
    EXPECT_DOUBLE_EQ(m_atYield[1].progress, 50);
}

TEST_F(BatchRunTest, AFailingWindowStepIsReportedAndTheRunStillEnds) {
    AddInputs({{"a.txt", "1\t2"}, {"b.txt", "3\t4"}});
    m_window.failOn = {"SetProgressText"};
    Click();
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{"a.csv", "b.csv"}));
    const auto errors = m_fake.boxes.ErrorTexts();
    ASSERT_EQ(errors.size(), 3U);  // each file's text and the reset at the end
    EXPECT_NE(errors[0].find("in Tabulane2021/08/31.Form1.PushButton2_Click at line 116\r\r"), std::string::npos);
    EXPECT_NE(errors[2].find("at line 130\r\r"), std::string::npos);
    EXPECT_EQ(Messages().back(), "Done.");
    EXPECT_FALSE(m_run.RunInProgress());
}

// The list can only change under the run in its first yield, before the hourglass is up; later edits are refused.
TEST_F(BatchRunTest, EntriesRemovedBeforeTheHourglassAreNotConverted) {
    AddInputs({{"a.txt", "1"}, {"b.txt", "2"}, {"c.txt", "3"}});
    m_window.selectedListPosition = 1;
    m_script = [&](int) { ListView1_DblClick(m_window, m_list); };
    Click();
    // a went in the first yield; every later double-click met the hourglass.
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{"b.csv", "c.csv"}));
    EXPECT_EQ(m_list.Count(), 2);
    EXPECT_TRUE(m_fake.boxes.ErrorTexts().empty());
    EXPECT_EQ(Messages(), std::vector<std::string>{"Done."});
    ExpectIdle();
}

TEST_F(BatchRunTest, AListClearedBeforeTheHourglassEndsTheRun) {
    AddInputs({{"a.txt", "1"}, {"b.txt", "2"}});
    m_script = [&](int) { PushButton6_Click(m_window, m_list, m_reporter); };
    Click();
    EXPECT_TRUE(OutputNames().empty());
    EXPECT_EQ(m_loop.yields, 1);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Done."});
    ExpectIdle();
}

}  // namespace
}  // namespace tabulane
