// The mouse pointer over the window: the hand over push buttons, the arrow elsewhere, the hourglass while busy.
#include <filesystem>

#include "ui/scenarios/Scenario.h"

namespace tabulane::test {
namespace {

using PointerScenario = Scenario;

TEST_F(PointerScenario, ThePointerFollowsTheHoverTable) {
    window.Start();
    struct Step {
        const char* over;
        MousePointer expected;
    };
    const Step steps[] = {
        {"PushButton1", MousePointer::Custom},
        {"Combo1", MousePointer::Custom},  // no handler: the hand stays across the gap
        {"Frame1", MousePointer::Default},
        {"PushButton4", MousePointer::Custom},  // inside a frame, whose own handler must not undo it
        {"Option1", MousePointer::Custom},
        {"ProgressBar1", MousePointer::Custom},
        {"Text1", MousePointer::Default},
        {"PushButton8", MousePointer::Custom},
        {"ListView1", MousePointer::Default},
        {"PushButton5", MousePointer::Custom},
        {"Form1", MousePointer::Default},
        {"PushButton7", MousePointer::Custom},
        {"Frame5", MousePointer::Default},
        {"PushButton2", MousePointer::Custom},
        {"Frame2", MousePointer::Default},
        {"PushButton6", MousePointer::Custom},
        {"Frame3", MousePointer::Default},
        {"PushButton3", MousePointer::Custom},
        {"Option2", MousePointer::Custom},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.over);
        window.MoveMouseOver(step.over);
        EXPECT_EQ(window.Pointer(), step.expected);
    }
}

TEST_F(PointerScenario, OverTheDisabledFolderControlsThePointerIsTheirFramesArrow) {
    Stored() = {{"Option1", "False"}, {"Option2", "True"}};
    window.Start();
    window.MoveMouseOver("PushButton1");
    window.MoveMouseOver("PushButton8");
    EXPECT_EQ(window.Pointer(), MousePointer::Default);
    window.Click("Option1");
    window.MoveMouseOver("PushButton8");
    EXPECT_EQ(window.Pointer(), MousePointer::Custom);
}

TEST_F(PointerScenario, DuringARunHoverNeverReplacesTheHourglassAndTheArrowComesBackAtItsEnd) {
    TempDir dir;
    WriteFileBytes(dir.File("a.txt"), "1\t2\n");
    fake.filePicker.answers.push_back({dir.File("a.txt")});
    window.Start();
    window.Click("PushButton1");
    window.Click("Option2");

    std::vector<std::string> notHourglass;
    fake.eventLoop.onYield = [&](int yield) {
        if (yield != 2) {  // the file's second yield: the hourglass is up
            return;
        }
        for (const char* over :
             {"PushButton1", "PushButton2", "PushButton3", "PushButton4", "PushButton5", "PushButton6", "PushButton7",
              "PushButton8", "Frame1", "Frame2", "Frame3", "Frame5", "ListView1", "Text1", "Form1"}) {
            window.MoveMouseOver(over);
            if (window.Pointer() != MousePointer::Hourglass) {
                notHourglass.emplace_back(over);
            }
        }
    };
    window.MoveMouseOver("PushButton2");
    window.Click("PushButton2");
    EXPECT_GT(fake.eventLoop.yields, 0);
    EXPECT_TRUE(notHourglass.empty()) << notHourglass.front();
    EXPECT_TRUE(std::filesystem::exists(PathFromText(dir.File("a.csv"))));
    // The run is over: the arrow, though the mouse rests on the button, until it moves again.
    EXPECT_EQ(window.Pointer(), MousePointer::Default);
    window.MoveMouseOver("PushButton2");
    EXPECT_EQ(window.Pointer(), MousePointer::Custom);
}

}  // namespace
}  // namespace tabulane::test
