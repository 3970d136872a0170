#include "filelist/ListEditing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FakeMainWindow.h"
#include "support/FakeMessageBoxes.h"
#include "support/ListEntries.h"

namespace tabulane {
namespace {

using test::EntriesOf;
using test::FakeMainWindow;
using test::FakeMessageBoxes;

enum class Action { DoubleClick, DeleteKey, OtherKey, ClearList };

struct Case {
    const char* name;
    Action action;
    MousePointer pointer;
    int listSize;
    int selected;
    std::vector<std::string> expected;
};

TEST(ListEditing, RemovesTheSelectedEntryOrEverythingOnlyWhenNotBusy) {
    const std::vector<std::string> abc = {"a", "b", "c"};
    const std::vector<Case> cases = {
        {"double-click removes the selected entry", Action::DoubleClick, MousePointer::Default, 3, 2, {"a", "c"}},
        {"the Delete key removes the selected entry", Action::DeleteKey, MousePointer::Default, 3, 3, {"a", "b"}},
        {"the custom hand pointer is not busy", Action::DeleteKey, MousePointer::Custom, 3, 1, {"b", "c"}},
        {"other keys are left to the list", Action::OtherKey, MousePointer::Default, 3, 2, abc},
        {"Clear List empties the list", Action::ClearList, MousePointer::Default, 3, 0, {}},
        {"busy: double-click does nothing", Action::DoubleClick, MousePointer::Hourglass, 3, 2, abc},
        {"busy: Delete does nothing", Action::DeleteKey, MousePointer::Hourglass, 3, 2, abc},
        {"busy: Clear List does nothing", Action::ClearList, MousePointer::Hourglass, 3, 0, abc},
        {"no selection: double-click does nothing", Action::DoubleClick, MousePointer::Default, 3, 0, abc},
        {"no selection: Delete does nothing", Action::DeleteKey, MousePointer::Default, 3, 0, abc},
        {"a selection past the end does nothing", Action::DoubleClick, MousePointer::Default, 3, 4, abc},
        {"empty list: double-click does nothing", Action::DoubleClick, MousePointer::Default, 0, 1, {}},
        {"empty list: Delete does nothing", Action::DeleteKey, MousePointer::Default, 0, 1, {}},
        {"empty list: Clear List does nothing", Action::ClearList, MousePointer::Default, 0, 0, {}},
    };
    for (const auto& c : cases) {
        FakeMainWindow window;
        FakeMessageBoxes boxes;
        ErrorReporter reporter(boxes);
        FileList list;
        for (int i = 0; i < c.listSize; ++i) {
            list.Append(abc[static_cast<std::size_t>(i)]);
        }
        window.pointer = c.pointer;
        window.selectedListPosition = c.selected;
        switch (c.action) {
            case Action::DoubleClick:
                ListView1_DblClick(window, list);
                break;
            case Action::DeleteKey:
                ListView1_KeyDown(window, list, kDeleteKeyCode);
                break;
            case Action::OtherKey:
                ListView1_KeyDown(window, list, 40);  // arrow down
                break;
            case Action::ClearList:
                PushButton6_Click(window, list, reporter);
                break;
        }
        EXPECT_EQ(EntriesOf(list), c.expected) << c.name;
        EXPECT_TRUE(boxes.shown.empty()) << c.name;
        EXPECT_TRUE(window.calls.empty()) << c.name;  // nothing here changes the window itself
    }
}

}  // namespace
}  // namespace tabulane
