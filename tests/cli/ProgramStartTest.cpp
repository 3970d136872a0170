#include "cli/ProgramStart.h"

#include <gtest/gtest.h>

namespace tabulane {
namespace {

// Every entry program starts the same way from the same facts; a conversion never waits for the display server.
TEST(ProgramStart, TheStartFollowsTheArgumentsAndTheDisplay) {
    struct Row {
        const char* what;
        bool hasArguments;
        bool headless;
        bool answers;
        StartKind kind;
        bool displayNamed;
        bool asksDisplay;
    };
    const Row rows[] = {
        {"the window on a display that answers", false, false, true, StartKind::ShowWindow, false, true},
        {"no display at all", false, true, true, StartKind::ExplainNoDisplay, false, false},
        {"a named display that does not answer", false, false, false, StartKind::ExplainNoDisplay, true, true},
        {"a conversion without a display", true, true, false, StartKind::ConvertHeadless, false, false},
        {"a conversion with a display named", true, false, false, StartKind::ConvertWithBoxes, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        int asked = 0;
        const StartChoice choice = ChooseStart(row.hasArguments, row.headless, [&] {
            ++asked;
            return row.answers;
        });
        EXPECT_EQ(choice.kind, row.kind);
        EXPECT_EQ(choice.displayNamed, row.displayNamed);
        EXPECT_EQ(asked, row.asksDisplay ? 1 : 0);
    }
}

}  // namespace
}  // namespace tabulane
