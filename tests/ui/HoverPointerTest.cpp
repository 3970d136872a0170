#include "ui/HoverPointer.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/Form1Design.h"

namespace tabulane {
namespace {

// The surfaces come from the design: a control it does not hold, by a near miss of a name, has no handler.
TEST(HoverPointer, OnlyTheDesignsOwnNamesAreSurfaces) {
    EXPECT_EQ(HoverSurfaceOf(kForm1Design.name), HoverSurface::Arrow);
    for (const char* name : {"PushButton9", "pushbutton1", "PushButton1 ", "", "CommonDialog1"}) {
        EXPECT_EQ(HoverSurfaceOf(name), HoverSurface::Unhandled) << name;
    }
    int hands = 0;
    for (const ControlDesign& control : kForm1Controls) {
        hands += HoverSurfaceOf(control.name) == HoverSurface::Hand ? 1 : 0;
    }
    EXPECT_EQ(hands, 8);  // the eight push buttons, and nothing else
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
