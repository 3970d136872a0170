// The Win32 window read back the way a screen reader or a test robot reads it: window rectangles, WM_GETTEXT,
// LVM_GETITEMTEXT, BM_GETCHECK and PBM_GETPOS. The design table is the expectation.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/SkinStyle.h"
#include "platform/StyleSheetFile.h"
#include "platform/TextCodes.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"
#include "ui/Form1Design.h"
#include "ui/win32/Form1.h"
#include "ui/win32/Win32SkinFramework.h"

namespace tabulane::test {
namespace {

std::string TextOf(HWND hwnd) {
    wchar_t text[1024] = {};
    const auto length = ::SendMessageW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return Utf8FromWide(std::wstring_view(text, static_cast<std::size_t>(length)));
}

std::string RowText(HWND list, int row) {
    wchar_t text[1024] = {};
    LVITEMW item{};
    item.pszText = text;
    item.cchTextMax = 1024;
    const auto length =
        ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return Utf8FromWide(std::wstring_view(text, static_cast<std::size_t>(length)));
}

std::string HeaderText(HWND list) {
    const auto header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    wchar_t text[256] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = 256;
    ::SendMessageW(header, HDM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return Utf8FromWide(text);
}

// A window as the program builds it, on fakes; the list is the window's own file list.
class Form1Win32Test : public ::testing::Test {
protected:
    Form1Win32Test() {
        INITCOMMONCONTROLSEX controls{
            sizeof(controls), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&controls);
        fake.environment.programFolder = folder.Path().string();
        fake.environment.desktopFolder = folder.File("Desktop");
    }

    win32::Form1& Window() {
        form = std::make_unique<win32::Form1>(platform, [this] { ++closes; });
        return *form;
    }

    HWND Control(std::string_view name) const { return form->ControlHandle(name); }

    TempDir folder;
    FakePlatform fake;
    win32::Win32SkinFramework skin;
    Platform platform = fake.With(skin);
    std::unique_ptr<win32::Form1> form;
    int closes = 0;
};

// The client area and every control where the design puts them at the window's DPI, in the design's fonts.
void ExpectLaidOutAt(HWND window, int dpi, const std::function<HWND(std::string_view)>& controlOf) {
    SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(client.right, TwipsToPixels(kForm1Design.clientWidth, dpi));
    EXPECT_EQ(client.bottom, TwipsToPixels(kForm1Design.clientHeight, dpi));
    for (const ControlDesign& design : kForm1Controls) {
        SCOPED_TRACE(std::string(design.name));
        HWND control = controlOf(design.name);
        ASSERT_NE(control, nullptr);
        RECT rect{};
        ::GetWindowRect(control, &rect);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        const TwipsRect expected = RectInWindow(design);
        EXPECT_EQ(rect.left, TwipsToPixels(expected.left, dpi));
        EXPECT_EQ(rect.top, TwipsToPixels(expected.top, dpi));
        EXPECT_EQ(rect.right - rect.left, TwipsToPixels(expected.width, dpi));
        if (design.kind == ControlKind::ComboBox) {
            // A drop-down box takes the height its font needs (a field of 9-point bold text and its frame); the
            // control may not go below it by more than a pixel or two of its frame.
            EXPECT_NEAR(rect.bottom - rect.top, TwipsToPixels(expected.height, dpi), 2);
        } else {
            EXPECT_EQ(rect.bottom - rect.top, TwipsToPixels(expected.height, dpi));
        }

        // The design's font: face, weight and character set as LOGFONT fields, size at the window's DPI.
        LOGFONTW font{};
        const auto handle = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
        ASSERT_NE(::GetObjectW(handle, sizeof(font), &font), 0);
        EXPECT_EQ(Utf8FromWide(font.lfFaceName), design.font.face);
        EXPECT_EQ(font.lfWeight, design.font.bold ? FW_BOLD : FW_NORMAL);
        EXPECT_EQ(font.lfCharSet, design.font.charset);
        EXPECT_EQ(-font.lfHeight, static_cast<LONG>(std::lround(design.font.points * dpi / 72.0)));
    }
}

TEST_F(Form1Win32Test, ClientAreaAndEveryControlSitWhereTheDesignPutsThemAtEveryDpi) {
    win32::Form1& window = Window();
    window.Load("");
    window.ShowCentred();
    const auto controlOf = [this](std::string_view name) { return Control(name); };
    ExpectLaidOutAt(window.Handle(), window.Dpi(), controlOf);
    if (window.Dpi() == 96) {
        RECT client{};
        ::GetClientRect(window.Handle(), &client);
        EXPECT_EQ(client.right, 536);
        EXPECT_EQ(client.bottom, 597);
    }
    // Fixed border, no maximise button, the minimise button kept.
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window.Handle(), GWL_STYLE));
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0U);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0U);

    // Moved to a monitor at 150 % and back: the system tells the window its new DPI and it lays itself out again.
    for (const int dpi : {144, 96}) {
        RECT suggested{};
        ::GetWindowRect(window.Handle(), &suggested);
        ::SendMessageW(window.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(window.Dpi(), dpi);
        ExpectLaidOutAt(window.Handle(), dpi, controlOf);
    }
}

TEST_F(Form1Win32Test, EveryCaptionRowAndStateReadsWithTheStandardMessages) {
    win32::Form1& window = Window();
    window.Load("");
    FileList& list = window.Logic().List();
    list.Append(NativePath("/data/first.txt"));
    list.Append(NativePath("/data/zweite Datei ä.txt"));

    EXPECT_EQ(TextOf(window.Handle()), "Tabulane");
    for (const ControlDesign& design : kForm1Controls) {
        if (design.kind != ControlKind::ComboBox && design.kind != ControlKind::TextBox &&
            design.kind != ControlKind::ListView) {
            EXPECT_EQ(TextOf(Control(design.name)), design.caption) << design.name;
        }
    }
    // What the load step put in: the stored mode (the default here) and the desktop folder with its separator.
    EXPECT_EQ(TextOf(Control("Combo1")), "Tabs To Commas");
    EXPECT_EQ(::SendMessageW(Control("Combo1"), CB_GETCOUNT, 0, 0), 8);
    EXPECT_EQ(TextOf(Control("Text1")), folder.File("Desktop") + "\\");
    EXPECT_EQ(::SendMessageW(Control("Option1"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(::SendMessageW(Control("Option2"), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    HWND rows = Control("ListView1");
    EXPECT_EQ(HeaderText(rows), "File(s)");
    ASSERT_EQ(::SendMessageW(rows, LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(RowText(rows, 0), NativePath("/data/first.txt"));
    EXPECT_EQ(RowText(rows, 1), NativePath("/data/zweite Datei ä.txt"));
    list.RemoveAt(1);
    ASSERT_EQ(::SendMessageW(rows, LVM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(RowText(rows, 0), NativePath("/data/zweite Datei ä.txt"));
    list.Clear();
    EXPECT_EQ(::SendMessageW(rows, LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(Form1Win32Test, ProgressBarWindowTextAndPositionFollowTheRun) {
    win32::Form1& window = Window();
    window.Load("");
    HWND bar = Control("ProgressBar1");
    EXPECT_EQ(TextOf(bar), "Progress Bar");

    struct Step {
        double percent;
        int position;
        const char* text;
    };
    // Values out of range (and no number at all) are held at the nearest end of 0 to 100.
    for (const Step& step :
         {Step{50.0, 50, "Processing: a.txt"}, Step{33.4, 33, "Processing: %p 100%.txt"},
          Step{250.0, 100, "Processing: Ünïcode.txt"}, Step{-3.0, 0, "Progress Bar"}, Step{std::nan(""), 0, ""}}) {
        window.Logic().SetProgressValue(step.percent);
        window.Logic().SetProgressText(step.text);
        EXPECT_EQ(::SendMessageW(bar, PBM_GETPOS, 0, 0), step.position);
        EXPECT_EQ(TextOf(bar), step.text);
    }
}

TEST_F(Form1Win32Test, TheKeyboardWalksTheControlsInTheDesignsTabOrder) {
    win32::Form1& window = Window();
    window.Load("");
    window.ShowCentred();
    // Every control that takes the focus, in the design's order; a frame's option buttons are one stop, at the
    // checked one, and the arrow keys move within them, as in every Windows dialog.
    std::vector<std::string> expected;
    for (const ControlDesign* design : ControlsInTabOrder()) {
        const bool uncheckedOption = design->kind == ControlKind::OptionButton &&
                                     ::SendMessageW(Control(design->name), BM_GETCHECK, 0, 0) != BST_CHECKED;
        if (TakesFocus(design->kind) && !uncheckedOption) {
            expected.emplace_back(design->name);
        }
    }
    // Tab from the list, as the dialog keys walk it, once round the window.
    std::vector<std::string> walked{"ListView1"};
    HWND at = Control("ListView1");
    for (std::size_t step = 1; step < expected.size(); ++step) {
        at = ::GetNextDlgTabItem(window.Handle(), at, FALSE);
        std::string name = "?";
        for (const ControlDesign& design : kForm1Controls) {
            if (Control(design.name) == at) {
                name = design.name;
            }
        }
        walked.push_back(name);
    }
    EXPECT_EQ(walked, expected);
    EXPECT_EQ(::GetNextDlgTabItem(window.Handle(), at, FALSE), Control("ListView1"));
}

TEST_F(Form1Win32Test, ClosingTheWindowEndsTheProgram) {
    win32::Form1& window = Window();
    window.Load("");
    ::SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(closes, 1);
}

// The colour the window shows at a point of a control, as drawn on the screen.
COLORREF PixelOf(HWND control, int x, int y) {
    ::RedrawWindow(control, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC dc = ::GetDC(control);
    const COLORREF color = ::GetPixel(dc, x, y);
    ::ReleaseDC(control, dc);
    return color;
}

void WriteSkin(const TempDir& folder, const std::string& sheet) {
    std::filesystem::create_directories(folder.Path() / "x");
    std::ofstream(folder.Path() / "x" / "o.cjs", std::ios::binary) << sheet;
}

TEST_F(Form1Win32Test, TheShippedSkinRestylesTheWindowAndABrokenOneIsOneErrorAtLineOneHundred) {
    // The skin shipped with the program: the window's background takes its colour.
    std::ifstream shipped(std::filesystem::path(TABULANE_SOURCE_DIR) / "skins" / "o.cjs", std::ios::binary);
    WriteSkin(folder, std::string(std::istreambuf_iterator<char>(shipped), {}));
    {
        win32::Form1& window = Window();
        window.Load("");
        window.ShowCentred();
        EXPECT_TRUE(fake.boxes.ErrorTexts().empty());
        const SkinLook look = SkinStyle::Parse(ReadStyleSheetFile(folder.File("x/o.cjs"))).LookOf("QWidget#Form1");
        ASSERT_TRUE(look.background.has_value());
        const COLORREF skinned = RGB(look.background->red, look.background->green, look.background->blue);
        EXPECT_EQ(PixelOf(window.Handle(), 2, 2), skinned);
        // A frame's inside shows the frames' colour, not the design's white.
        EXPECT_NE(PixelOf(Control("Frame5"), 4, 30), RGB(255, 255, 255));
    }

    // A sheet whose braces do not balance: one error box at the load step's first step, and the window still
    // comes up with its design colours and every later step done.
    WriteSkin(folder, "QWidget#Form1 { background-color: #102030;\n");
    win32::Form1& window = Window();
    window.Load("");
    window.ShowCentred();
    const std::vector<std::string> errors = fake.boxes.ErrorTexts();
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_NE(errors[0].find("in Tabulane2021/08/31.Form1.Form_Load at line 100"), std::string::npos) << errors[0];
    EXPECT_EQ(TextOf(window.Handle()), "Tabulane");
    EXPECT_EQ(TextOf(Control("Combo1")), "Tabs To Commas");
    EXPECT_NE(PixelOf(window.Handle(), 2, 2), RGB(0x10, 0x20, 0x30));
}

}  // namespace
}  // namespace tabulane::test
