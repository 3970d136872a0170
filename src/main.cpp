// The program a user starts. It does not link Qt, so a conversion from the command line starts like a small Unix
// tool: the window program beside it is started only to show the window, and Qt's boxes are loaded only when a
// command-line run has a box to show on a reachable display.
#include <cerrno>
#include <chrono>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include <unistd.h>

#include "cli/CommandLine.h"
#include "cli/ProgramStart.h"
#include "platform/DisplayProbe.h"
#include "platform/FileSystem.h"
#include "platform/HeadlessBoxes.h"
#include "platform/IniSettingsReader.h"
#include "platform/NativeEnvironment.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "platform/ScreenBoxesModule.h"
#include "platform/StyleSheetFile.h"
#include "shell/Main.h"

namespace tabulane {
namespace {

constexpr const char* kWindowProgram = "tabulane-window";
// The runtime's answer to a call the object cannot make.
constexpr int kNotSupported = 438;

[[noreturn]] void RefuseWithoutWindow() {
    throw PlatformError(kNotSupported, "Not available without the window");
}

// What only the window uses: a command-line run never reaches these, and says so if it ever did.
struct WindowOnlyServices final : FolderPicker, FilePicker, EventLoop, Shell, ProgramStarter, Clock, SkinFramework {
    std::string BrowseForFolder(const std::string&, const std::string&) override { RefuseWithoutWindow(); }
    std::vector<std::string> PickFiles(const std::string&, const std::string&, bool) override { RefuseWithoutWindow(); }
    void YieldToMessageLoop() override {}  // nothing to repaint
    void Open(const std::string&) override { RefuseWithoutWindow(); }
    void StartProgram(const std::string&, WindowStyle) override { RefuseWithoutWindow(); }
    double SecondsSinceMidnight() const override {
        const auto now = std::chrono::system_clock::now();
        const auto day = std::chrono::floor<std::chrono::days>(now);
        return std::chrono::duration<double>(now - day).count();
    }
    void Invoke(int, const std::vector<DispatchValue>&) override { RefuseWithoutWindow(); }
    DispatchValue GetProperty(int) override { RefuseWithoutWindow(); }
    void SetProperty(int, const DispatchValue&) override { RefuseWithoutWindow(); }
};

// The command line's platform: native files, the settings read without Qt and never written, boxes on the error
// stream or, with a display in reach, on the screen.
struct CommandLinePlatform {
    explicit CommandLinePlatform(MessageBoxes& shownBoxes) : boxes(shownBoxes) {}

    MessageBoxes& boxes;
    NativeFileSystem files;
    IniSettingsReader settings;
    NativeEnvironment environment;
    WindowOnlyServices windowOnly;
    OpeningShellExecutor shellExecutor{windowOnly};
    SeededRandomSource random;
    Platform platform{boxes,      settings,      files,      windowOnly, windowOnly, environment, windowOnly,
                      windowOnly, shellExecutor, windowOnly, random,     windowOnly, windowOnly};
};

// Whether the named display answers, asked once and only when it matters: a conversion that has nothing to show
// never talks to the display server, which would cost more than the conversion itself.
class DisplayReach {
public:
    explicit DisplayReach(const DisplayEnvironment& display) : m_display(display) {}
    bool Reachable() {
        if (!m_answer.has_value()) {
            m_answer = DisplayAnswers(m_display.display, m_display.waylandDisplay, m_display.qpaPlatform);
        }
        return *m_answer;
    }

private:
    DisplayEnvironment m_display;
    std::optional<bool> m_answer;
};

// Boxes on the screen when the display answers, else on the error stream, decided at the first box.
class BoxesWhereShown final : public MessageBoxes {
public:
    BoxesWhereShown(DisplayReach& reach, MessageBoxes& screen, MessageBoxes& headless)
        : m_reach(reach), m_screen(screen), m_headless(headless) {}
    BoxAnswer ShowMessage(const std::string& text, const std::string& caption, BoxIcon icon,
                          BoxButtons buttons) override {
        return Boxes().ShowMessage(text, caption, icon, buttons);
    }
    std::string InputBox(const std::string& prompt, const std::string& title, const std::string& preset) override {
        return Boxes().InputBox(prompt, title, preset);
    }

private:
    MessageBoxes& Boxes() { return m_reach.Reachable() ? m_screen : m_headless; }

    DisplayReach& m_reach;
    MessageBoxes& m_screen;
    MessageBoxes& m_headless;
};

// The skin step as far as the command line can see it: the window's skin is never applied here, but a skin file
// that fails to load is reported before the conversion, as when the window program loads it on a display. Without
// one the window program has no skin step, so there is nothing to report.
void CheckSkin(Platform& platform, DisplayReach& reach) {
    const std::string path = SkinFilePath(platform.environment.ProgramFolder());
    if (platform.files.Exists(path) && !IsFolder(platform.files, path)) {
        try {
            ReadStyleSheetFile(path);
        } catch (const PlatformError&) {
            if (reach.Reachable()) {
                throw;
            }
        }
    }
}

// Replaces this process with the window program beside it, with the same arguments.
int StartWindowProgram(char** argv) {
    const std::string folder = NativeEnvironment().ProgramFolder();
    const std::string path = folder + "/" + kWindowProgram;
    ::execv(path.c_str(), argv);
    std::cerr << "Tabulane: cannot start the window program " << path << ": " << std::strerror(errno) << "\n";
    return 1;
}

}  // namespace
}  // namespace tabulane

int main(int argc, char** argv) {
    using namespace tabulane;

    const std::string argumentText = ProgramArgumentText(argc, argv);
    const DisplayEnvironment display = ReadDisplayEnvironment();
    const bool headless = IsHeadless(display);
    DisplayReach reach(display);
    const StartChoice start = ChooseStart(!argumentText.empty(), headless, [&reach] { return reach.Reachable(); });
    if (start.kind == StartKind::ExplainNoDisplay) {
        return ExplainWindowNeedsDisplay(std::cerr, display, start.displayNamed);
    }
    if (start.kind == StartKind::ShowWindow) {
        return StartWindowProgram(argv);
    }

    const bool argumentsFitText = ArgumentsFitText(argc, argv);
    HeadlessBoxes headlessBoxes(std::cerr);
    if (start.kind == StartKind::ConvertHeadless) {
        CommandLinePlatform native(headlessBoxes);
        return ConvertOnHiddenWindow(native.platform, argumentText, argumentsFitText);
    }
    OnDemandScreenBoxes screenBoxes(NativeEnvironment().ProgramFolder() + "/" + kScreenBoxesModule, argc, argv,
                                    std::cerr);
    BoxesWhereShown boxes(reach, screenBoxes, headlessBoxes);
    CommandLinePlatform native(boxes);
    return ConvertOnHiddenWindow(native.platform, argumentText, argumentsFitText,
                                 [&native, &reach] { CheckSkin(native.platform, reach); });
}
