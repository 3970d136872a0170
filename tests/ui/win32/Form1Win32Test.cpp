// The Win32 window read back the way a screen reader or a test robot reads it: window rectangles, WM_GETTEXT,
// LVM_GETITEMTEXT, BM_GETCHECK and PBM_GETPOS. The design table is the expectation.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

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

TEST_F(Form1Win32Test, ClientAreaAndEveryControlSitWhereTheDesignPutsThem) {
    win32::Form1& window = Window();
    window.Load("");
    window.ShowCentred();
    const int dpi = window.Dpi();

    RECT client{};
    ::GetClientRect(window.Handle(), &client);
    EXPECT_EQ(client.right, TwipsToPixels(kForm1Design.clientWidth, dpi));
    EXPECT_EQ(client.bottom, TwipsToPixels(kForm1Design.clientHeight, dpi));
    if (dpi == 96) {
        EXPECT_EQ(client.right, 536);
        EXPECT_EQ(client.bottom, 597);
    }
    // Fixed border, no maximise button, the minimise button kept.
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window.Handle(), GWL_STYLE));
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0U);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0U);

    for (const ControlDesign& design : kForm1Controls) {
        SCOPED_TRACE(std::string(design.name));
        HWND control = Control(design.name);
        ASSERT_NE(control, nullptr);
        RECT rect{};
        ::GetWindowRect(control, &rect);
        ::MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&rect), 2);
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

TEST_F(Form1Win32Test, ClosingTheWindowEndsTheProgram) {
    win32::Form1& window = Window();
    window.Load("");
    ::SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(closes, 1);
}

}  // namespace
}  // namespace tabulane::test
