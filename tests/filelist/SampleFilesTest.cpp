#include "filelist/SampleFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/FakePlatform.h"
#include "support/ListEntries.h"
#include "support/TempDir.h"

namespace tabulane {
namespace {

namespace fs = std::filesystem;
using test::EntriesOf;
using test::FakePlatform;
using test::TempDir;
using test::WriteFileBytes;
using Entries = std::vector<std::string>;

constexpr const char* kTitle = "Tabulane";

class SampleFilesTest : public ::testing::Test {
protected:
    SampleFilesTest() { m_fake.environment.programFolder = m_program.Path().string(); }

    std::string Sample(const std::string& name) const { return m_program.File("Samples/" + name); }
    void Click() { PushButton7_Click(m_list, m_fake.platform, m_reporter, kTitle); }
    void ExpectAskedEachTime(std::size_t times) const {
        ASSERT_EQ(m_fake.boxes.shown.size(), times);
        for (const auto& box : m_fake.boxes.shown) {
            EXPECT_EQ(box.text,
                      "Would you like this software to open the folder where these sample files are stored (so that "
                      "you can view them before working with them)?");
            EXPECT_EQ(box.caption, kTitle);
            EXPECT_EQ(box.icon, BoxIcon::None);
            EXPECT_EQ(box.buttons, BoxButtons::YesNo);
        }
    }

    TempDir m_program;
    FakePlatform m_fake;
    ErrorReporter m_reporter{m_fake.boxes};
    FileList m_list;
};

TEST_F(SampleFilesTest, AppendsEachSampleOnceAndAlwaysAsks) {
    fs::create_directories(m_program.File("Samples/sub"));
    for (const char* name : {"b.txt", "a.txt", "~draft.txt", ".hidden", "sub/not-walked.txt"}) {
        WriteFileBytes(Sample(name), "x");
    }
    // Already listed with exactly this text: not again. Through a path differing in case only: appended.
    m_list.Append(Sample("b.txt"));
    m_list.Append(m_program.File("samples/a.txt"));

    Click();
    const Entries first{Sample("b.txt"), m_program.File("samples/a.txt"), Sample(".hidden"), Sample("a.txt"),
                        Sample("~draft.txt")};
    EXPECT_EQ(EntriesOf(m_list), first);
    Click();
    EXPECT_EQ(EntriesOf(m_list), first);
    ExpectAskedEachTime(2);
    EXPECT_TRUE(m_fake.shell.opened.empty());  // No: nothing more
}

TEST_F(SampleFilesTest, YesOpensTheFolderItselfAndAMissingFolderStillAsks) {
    m_fake.boxes.answers = {BoxAnswer::Yes};
    Click();
    EXPECT_EQ(m_list.Count(), 0);
    ExpectAskedEachTime(1);
    EXPECT_EQ(m_fake.shell.opened, Entries{m_program.File("Samples/")});
    EXPECT_TRUE(m_fake.boxes.ErrorTexts().empty());
}

}  // namespace
}  // namespace tabulane
