// The skin's colours and borders as a window that draws itself reads them from the style sheet.
#include <gtest/gtest.h>

#include "platform/SkinStyle.h"

namespace tabulane::test {
namespace {

constexpr SkinColor kSlate{0x32, 0x5b, 0x87};

TEST(SkinStyleTest, ReadsColoursGradientsAndBordersPerSelectorLaterRulesWinning) {
    const SkinStyle style = SkinStyle::Parse(R"(/* a comment { with a brace } */
QWidget#Form1,
QGroupBox ,   QRadioButton { background-color: #e4e9f0; color: #1d2b3a; }
QPushButton {
    color: white;
    background-color: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #5482b3, stop: 1 #325b87);
    border: 1px solid #264668;
    border-radius: 4px;
}
QPushButton:pressed { background-color: rgb(50, 91, 135); }
QGroupBox { color: #abc; border: none; }
QTreeView { selection-background-color: #325B87; selection-color: #fff; font: "a;b{c}"; }
QHeaderView::section { background-color: #d2dbe5 }
)");

    // One rule names three selectors; a later rule of one of them wins for what it sets.
    const SkinLook window = style.LookOf("QWidget#Form1");
    EXPECT_EQ(window.background, (SkinColor{0xe4, 0xe9, 0xf0}));
    EXPECT_EQ(window.text, (SkinColor{0x1d, 0x2b, 0x3a}));
    const SkinLook frame = style.LookOf("QGroupBox");
    EXPECT_EQ(frame.background, window.background);
    EXPECT_EQ(frame.text, (SkinColor{0xaa, 0xbb, 0xcc}));
    EXPECT_FALSE(frame.border.has_value());

    // A gradient is its first and last stop; a border its width and colour; a state its own rule alone.
    const SkinLook button = style.LookOf("QPushButton");
    EXPECT_EQ(button.background, (SkinColor{0x54, 0x82, 0xb3}));
    EXPECT_EQ(button.backgroundEnd, kSlate);
    EXPECT_EQ(button.text, (SkinColor{255, 255, 255}));
    EXPECT_EQ(button.border, (SkinColor{0x26, 0x46, 0x68}));
    EXPECT_EQ(button.borderWidth, 1);
    EXPECT_EQ(button.borderRadius, 4);
    const SkinLook pressed = style.LookOf("QPushButton:pressed");
    EXPECT_EQ(pressed.background, kSlate);
    EXPECT_FALSE(pressed.backgroundEnd.has_value());
    EXPECT_FALSE(pressed.text.has_value());

    // Upper-case hex digits, a semicolon and braces inside a quoted value, a last declaration without ";".
    const SkinLook list = style.LookOf("QTreeView");
    EXPECT_EQ(list.selectionBackground, kSlate);
    EXPECT_EQ(list.selectionText, (SkinColor{255, 255, 255}));
    EXPECT_EQ(style.LookOf("QHeaderView::section").background, (SkinColor{0xd2, 0xdb, 0xe5}));

    // A selector the sheet does not name has no look of its own.
    const SkinLook none = style.LookOf("QProgressBar");
    EXPECT_FALSE(none.background.has_value());
    EXPECT_FALSE(none.text.has_value());
}

TEST(SkinStyleTest, ColoursAsSheetsWriteThemAndWhatIsNoColour) {
    struct Case {
        const char* text;
        std::optional<SkinColor> color;
    };
    for (const Case& c :
         {Case{"#0a0B0c", SkinColor{10, 11, 12}}, Case{"#fff", SkinColor{255, 255, 255}},
          Case{" rgb( 1 , 2,3 ) ", SkinColor{1, 2, 3}}, Case{"Black", SkinColor{0, 0, 0}}, Case{"#12345", std::nullopt},
          Case{"#ggg", std::nullopt}, Case{"rgb(1,2)", std::nullopt}, Case{"rgb(1,2,256)", std::nullopt},
          Case{"transparent-ish", std::nullopt}, Case{"", std::nullopt}}) {
        EXPECT_EQ(ParseSkinColor(c.text), c.color) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace tabulane::test
