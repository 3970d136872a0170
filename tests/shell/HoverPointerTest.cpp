#include "shell/HoverPointer.h"

#include <gtest/gtest.h>

#include <string>

namespace tabulane {
namespace {

// Every control of the window's design, and the window itself, with the surface its mouse moves are.
TEST(HoverPointer, EachControlOfTheDesignIsAHandAnArrowOrNoSurface) {
    struct Row {
        const char* control;
        HoverSurface surface;
    };
    const Row rows[] = {
        {"PushButton1", HoverSurface::Hand},
        {"PushButton2", HoverSurface::Hand},
        {"PushButton3", HoverSurface::Hand},
        {"PushButton4", HoverSurface::Hand},
        {"PushButton5", HoverSurface::Hand},
        {"PushButton6", HoverSurface::Hand},
        {"PushButton7", HoverSurface::Hand},
        {"PushButton8", HoverSurface::Hand},
        {"Form1", HoverSurface::Arrow},
        {"Frame1", HoverSurface::Arrow},
        {"Frame2", HoverSurface::Arrow},
        {"Frame3", HoverSurface::Arrow},
        {"Frame5", HoverSurface::Arrow},
        {"ListView1", HoverSurface::Arrow},
        {"Text1", HoverSurface::Arrow},
        {"Option1", HoverSurface::Unhandled},
        {"Option2", HoverSurface::Unhandled},
        {"Combo1", HoverSurface::Unhandled},
        {"ProgressBar1", HoverSurface::Unhandled},
        {"PushButton9", HoverSurface::Unhandled},
        {"pushbutton1", HoverSurface::Unhandled},
        {"", HoverSurface::Unhandled},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(HoverSurfaceOf(row.control), row.surface) << row.control;
    }
}

// The pointer's transitions on a mouse move, from each pointer over each kind of surface.
TEST(HoverPointer, TheHandOverButtonsTheArrowElsewhereAndTheHourglassAlwaysStays) {
    struct Row {
        MousePointer from;
        HoverSurface over;
        MousePointer to;
    };
    const Row rows[] = {
        {MousePointer::Default, HoverSurface::Hand, MousePointer::Custom},
        {MousePointer::Custom, HoverSurface::Hand, MousePointer::Custom},
        {MousePointer::Hourglass, HoverSurface::Hand, MousePointer::Hourglass},
        {MousePointer::Default, HoverSurface::Arrow, MousePointer::Default},
        {MousePointer::Custom, HoverSurface::Arrow, MousePointer::Default},
        {MousePointer::Hourglass, HoverSurface::Arrow, MousePointer::Hourglass},
        {MousePointer::Default, HoverSurface::Unhandled, MousePointer::Default},
        {MousePointer::Custom, HoverSurface::Unhandled, MousePointer::Custom},
        {MousePointer::Hourglass, HoverSurface::Unhandled, MousePointer::Hourglass},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(PointerAfterHover(row.from, row.over), row.to)
            << static_cast<int>(row.from) << " over surface " << static_cast<int>(row.over);
    }
}

}  // namespace
}  // namespace tabulane
