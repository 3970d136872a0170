#include "filelist/FileList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/PlatformError.h"
#include "support/ListEntries.h"

namespace tabulane {
namespace {

using test::EntriesOf;

void AppendAll(FileList& list, const std::vector<std::string>& texts) {
    for (const auto& text : texts) {
        list.Append(text);
    }
}

TEST(FileList, KeepsInsertionOrderDuplicatesAndEmptyTexts) {
    FileList list;
    AppendAll(list, {"/d/b.txt", "/d/a.txt", "/d/b.txt", "", "/d/Grüße.txt"});
    EXPECT_EQ(EntriesOf(list), (std::vector<std::string>{"/d/b.txt", "/d/a.txt", "/d/b.txt", "", "/d/Grüße.txt"}));
}

TEST(FileList, RemovingAnEntryMovesTheLaterOnesUp) {
    struct Case {
        int position;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {3, {"1", "2", "4", "5"}},
        {1, {"2", "3", "4", "5"}},
        {5, {"1", "2", "3", "4"}},
    };
    for (const auto& c : cases) {
        FileList list;
        AppendAll(list, {"1", "2", "3", "4", "5"});
        list.RemoveAt(c.position);
        EXPECT_EQ(EntriesOf(list), c.expected) << "removing " << c.position;
        list.Append("6");  // the texts still line up with their offsets after the removal
        EXPECT_EQ(list.EntryText(list.Count()), "6");
    }
}

TEST(FileList, PositionsOutsideTheListFailWithoutChangingIt) {
    FileList list;
    AppendAll(list, {"a", "b"});
    for (const int position : {0, -1, 3}) {
        try {
            list.RemoveAt(position);
            ADD_FAILURE() << "RemoveAt(" << position << ") did not fail";
        } catch (const PlatformError& error) {
            EXPECT_EQ(error.Number(), ErrorNumber::kIndexOutOfBounds);
        }
        EXPECT_THROW(list.EntryText(position), PlatformError);
    }
    EXPECT_EQ(EntriesOf(list), (std::vector<std::string>{"a", "b"}));
}

TEST(IsInFileList, ComparesTheWholeTextExactly) {
    FileList list;
    AppendAll(list, {"C:\\a.txt", "", "/d/x.txt", "C:\\a.txt"});
    struct Case {
        const char* text;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"C:\\a.txt", true},    // first entry, and found again later
        {"/d/x.txt", true},     // last distinct entry
        {"c:\\A.TXT", false},   // letter case differs
        {"C:\\a.txt ", false},  // no trimming
        {"C:\\a", false},       // a prefix is not a match
        {"a.txt", false},       // nor a suffix
        {"C:/a.txt", false},    // no path normalisation
        {"", true},             // an empty entry matches the empty text
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsInFileList(list, c.text), c.expected) << '"' << c.text << '"';
    }
    EXPECT_FALSE(IsInFileList(FileList(), ""));
}

// Records each notice together with the count the list reports at that moment, as a view would see it.
class RecordingObserver final : public FileListObserver {
public:
    explicit RecordingObserver(const FileList& list) : m_list(list) {}

    void EntriesAboutToBeAppended(int first, int last) override {
        Log("about to append " + std::to_string(first) + ".." + std::to_string(last));
    }
    void EntriesAppended() override { Log("appended"); }
    void EntryAboutToBeRemoved(int position) override { Log("about to remove " + std::to_string(position)); }
    void EntryRemoved() override { Log("removed"); }
    void AboutToClear() override { Log("about to clear"); }
    void Cleared() override { Log("cleared"); }

    std::vector<std::string> events;

private:
    void Log(const std::string& event) { events.push_back(event + " @" + std::to_string(m_list.Count())); }
    const FileList& m_list;
};

TEST(FileList, TellsItsObserverBeforeAndAfterEachChange) {
    FileList list;
    RecordingObserver observer(list);
    list.SetObserver(&observer);
    AppendAll(list, {"a", "b", "c"});
    list.RemoveAt(2);
    EXPECT_THROW(list.RemoveAt(9), PlatformError);  // a refused removal announces nothing
    list.Clear();
    list.SetObserver(nullptr);
    list.Append("d");
    EXPECT_EQ(observer.events,
              (std::vector<std::string>{"about to append 1..1 @0", "appended @1", "about to append 2..2 @1",
                                        "appended @2", "about to append 3..3 @2", "appended @3", "about to remove 2 @3",
                                        "removed @2", "about to clear @2", "cleared @0"}));
}

TEST(FileList, HoldsAMillionEntries) {
    constexpr int kEntries = 1'000'000;
    const auto pathOf = [](int n) {
        return "/data/batch/folder" + std::to_string(n % 97) + "/file" + std::to_string(n) + ".txt";
    };
    FileList list;
    for (int n = 1; n <= kEntries; ++n) {
        list.Append(pathOf(n));
    }
    ASSERT_EQ(list.Count(), kEntries);
    EXPECT_EQ(list.EntryText(1), pathOf(1));
    EXPECT_EQ(list.EntryText(kEntries), pathOf(kEntries));

    list.RemoveAt(500'000);
    list.RemoveAt(1);
    list.RemoveAt(list.Count());
    ASSERT_EQ(list.Count(), kEntries - 3);
    EXPECT_EQ(list.EntryText(1), pathOf(2));
    EXPECT_EQ(list.EntryText(499'998), pathOf(499'999));
    EXPECT_EQ(list.EntryText(499'999), pathOf(500'001));
    EXPECT_EQ(list.EntryText(list.Count()), pathOf(kEntries - 1));
    EXPECT_TRUE(IsInFileList(list, pathOf(kEntries - 1)));
    EXPECT_FALSE(IsInFileList(list, pathOf(500'000)));

    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_THROW(list.EntryText(1), PlatformError);
    list.Append("again");
    EXPECT_EQ(EntriesOf(list), std::vector<std::string>{"again"});
}

}  // namespace
}  // namespace tabulane
