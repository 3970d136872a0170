#include "ui/Form1Logic.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "cli/CommandLine.h"
#include "cli/CommandLineStartup.h"
#include "convert/ModeChoice.h"
#include "convert/OutputDestination.h"
#include "filelist/AddFiles.h"
#include "filelist/AddFolder.h"
#include "filelist/ListEditing.h"
#include "filelist/SampleFiles.h"
#include "platform/CommonDialog.h"
#include "platform/PlatformError.h"
#include "shell/CommandLineHelp.h"
#include "ui/Form1Design.h"
#include "ui/HoverPointer.h"
#include "ui/Presentation.h"

namespace tabulane {

namespace {

constexpr std::string_view kWindow = kForm1Design.name;
// The module every location text of the window names.
constexpr const char* kModule = "Form1";

}  // namespace

Form1Logic::Form1Logic(Platform& platform, NativeWindow& window, std::function<void()> endProgram)
    : m_platform(platform), m_window(window), m_endProgram(std::move(endProgram)), m_reporter(platform.boxes) {
    WireHandlers();
}

// The handlers of the small events (options, folder box, mode box) carry no trap of their own: the window's trap
// takes a user's change under the event's name, and a change the program makes (SetText1Text, SetComboText) calls
// the handler itself, inside the trapped step that made it, so a failure is reported there.
void Form1Logic::WireHandlers() {
    Platform& p = m_platform;
    auto plain = [](std::function<void()> body) { return [body = std::move(body)](const EventArgs&) { body(); }; };
    m_handlers = {
        {"Option1_Click", plain([this, &p] { Option1_Click(*this, p.settings); })},
        {"Option2_Click", plain([this, &p] { Option2_Click(*this, p.settings); })},
        {"Text1_Change", plain([this, &p] { Text1_Change(*this, p.settings); })},
        {"Combo1_Change", plain([this, &p] { Combo1_Change(*this, p.settings); })},
        {"Combo1_Click", plain([this, &p] { Combo1_Click(*this, p.settings); })},
        {"PushButton1_Click", plain([this, &p] {
             // The window's file dialog component, set up afresh at every click.
             CommonDialog commonDialog1(p.filePicker);
             PushButton1_Click(commonDialog1, m_list, p, m_reporter, m_applicationTitle);
         })},
        {"PushButton2_Click",
         plain([this, &p] { m_batchRun.PushButton2_Click(*this, p, m_list, m_reporter, m_applicationTitle); })},
        {"PushButton3_Click",
         plain([this, &p] { PushButton3_Click(*this, m_list, p, m_reporter, m_applicationTitle); })},
        {"PushButton4_Click",
         plain([this, &p] { PushButton4_Click(m_reporter, p.boxes, m_applicationTitle, &UsageText2); })},
        {"PushButton5_Click", plain([this, &p] { PushButton5_Click(*this, p.shellExecutor, m_reporter); })},
        {"PushButton6_Click", plain([this] { PushButton6_Click(*this, m_list, m_reporter); })},
        {"PushButton7_Click", plain([this, &p] { PushButton7_Click(m_list, p, m_reporter, m_applicationTitle); })},
        {"PushButton8_Click", plain([this, &p] { PushButton8_Click(*this, p, m_reporter); })},
        {"ListView1_DblClick", plain([this] { ListView1_DblClick(*this, m_list); })},
        {"ListView1_KeyDown", [this](const EventArgs& args) { ListView1_KeyDown(*this, m_list, args.keyCode); }},
        {"ListView1_DragOver", [](const EventArgs& args) { DragOverList(*args.data, *args.effect); }},
        {"ListView1_DragDrop", [this, &p](const EventArgs& args) { DropOnList(*args.data, m_list, p, m_reporter); }},
    };
}

void Form1Logic::Fire(std::string_view control, std::string_view event, const EventArgs& args) {
    std::string name(control);
    name.append(1, '_').append(event);
    const auto handler = m_handlers.find(name);
    if (handler == m_handlers.end()) {
        return;
    }
    // The drop handlers carry the names their location texts have always had.
    if (name == "ListView1_DragOver") {
        name = "DragOverList";
    } else if (name == "ListView1_DragDrop") {
        name = "DropOnList";
    }
    RunEventHandler(m_reporter, kModule, name, [&] { handler->second(args); });
}

StartupResult Form1Logic::Load(const std::string& argumentText, bool argumentsFitText) {
    m_commandLineStart = !argumentText.empty();
    StartupInputs inputs = MakeStartupInputs(m_reporter, m_platform, argumentText, argumentsFitText);
    // The load step's own trap takes their failures, at their steps.
    inputs.applySkin = [this] { ApplySkin(*this, m_platform); };
    inputs.visitHomePage = [this] { VisitHomePage(m_platform); };
    const StartupResult result = Form_Load(*this, m_platform, m_reporter, inputs);
    m_applicationTitle = result.applicationTitle;
    return result;
}

void Form1Logic::Click(std::string_view control) {
    Fire(control, "Click", {});
}

void Form1Logic::Change(std::string_view control) {
    Fire(control, "Change", {});
}

void Form1Logic::DoubleClick(std::string_view control) {
    Fire(control, "DblClick", {});
}

void Form1Logic::KeyDown(std::string_view control, int keyCode) {
    Fire(control, "KeyDown", {.keyCode = keyCode});
}

int Form1Logic::DragOver(std::string_view control, const DragData& data, int proposedEffect) {
    int effect = kDropEffectNone;
    if (m_handlers.find(std::string(control) + "_DragOver") != m_handlers.end()) {
        effect = proposedEffect;
        Fire(control, "DragOver", {.data = &data, .effect = &effect});
    }
    return effect;
}

void Form1Logic::Drop(std::string_view control, const DragData& data) {
    Fire(control, "DragDrop", {.data = &data});
}

void Form1Logic::MouseMove(std::string_view control) {
    std::string over(control);
    while (m_disabled.count(over) != 0) {
        const ControlDesign* design = FindControlDesign(over);
        over = design != nullptr ? std::string(design->parent) : std::string(kWindow);
    }
    SetPointer(PointerAfterHover(m_pointer, HoverSurfaceOf(over)));
}

void Form1Logic::Close() {
    if (m_endProgram) {
        m_endProgram();
    }
}

void Form1Logic::SetCaption(const std::string& caption) {
    m_window.SetControlText(kWindow, caption);
}

void Form1Logic::LoadCustomCursor(const std::string& path) {
    m_window.LoadPointerImage(path);
    m_window.ShowPointer(m_pointer);
}

void Form1Logic::AddListColumn(const std::string& header, int widthTwips) {
    m_window.SetListColumn(header, widthTwips);
}

void Form1Logic::AddComboItem(const std::string& caption) {
    // Filling the box selects nothing: adding to an empty box would select the entry and store it as the chosen
    // mode before the stored one is read.
    const int selected = m_window.ComboSelection("Combo1");
    const std::string text = m_window.ControlText("Combo1");
    m_window.AddComboItem("Combo1", caption);
    m_comboItems.push_back(caption);
    m_window.SetComboSelection("Combo1", selected);
    m_window.SetControlText("Combo1", text);
}

std::string Form1Logic::ComboText() const {
    return m_window.ControlText("Combo1");
}

void Form1Logic::SetComboText(const std::string& text) {
    // The entry of exactly that text is selected; a text that names none selects nothing and is shown as it is.
    const auto entry = std::find(m_comboItems.begin(), m_comboItems.end(), text);
    m_window.SetComboSelection("Combo1",
                               entry == m_comboItems.end() ? -1 : static_cast<int>(entry - m_comboItems.begin()));
    m_window.SetControlText("Combo1", text);
    // The command line stores no setting.
    if (!m_commandLineStart) {
        Combo1_Change(*this, m_platform.settings);
    }
}

void Form1Logic::SetOptionSelected(std::string_view option, std::string_view other, bool selected) {
    // Selecting one clears the other; clearing one leaves the other alone, so a stored state may clear both.
    m_window.SetChecked(option, selected);
    if (selected) {
        m_window.SetChecked(other, false);
    }
}

void Form1Logic::SetOption1Selected(bool selected) {
    SetOptionSelected("Option1", "Option2", selected);
}

void Form1Logic::SetOption2Selected(bool selected) {
    SetOptionSelected("Option2", "Option1", selected);
}

void Form1Logic::SetText1Text(const std::string& text) {
    const std::string before = m_window.ControlText("Text1");
    m_window.SetControlText("Text1", text);
    // A change the program makes is stored as a keystroke is; setting the text it already has is no change.
    if (m_window.ControlText("Text1") != before) {
        Text1_Change(*this, m_platform.settings);
    }
}

void Form1Logic::SetEnabledWithin(std::string_view container, bool enabled) {
    // A disabled frame makes everything inside it unusable, however deep.
    std::vector<std::string_view> names{container};
    for (std::size_t at = 0; at < names.size(); ++at) {
        for (const ControlDesign& control : kForm1Controls) {
            if (control.parent == names[at]) {
                names.push_back(control.name);
            }
        }
    }
    for (std::string_view name : names) {
        m_window.SetEnabled(name, enabled);
        if (const auto at = m_disabled.find(name); enabled && at != m_disabled.end()) {
            m_disabled.erase(at);
        } else if (!enabled) {
            m_disabled.emplace(name);
        }
    }
}

void Form1Logic::SetFrame3Enabled(bool enabled) {
    SetEnabledWithin("Frame3", enabled);
}

bool Form1Logic::Option1Selected() const {
    return m_window.IsChecked("Option1");
}

bool Form1Logic::Option2Selected() const {
    return m_window.IsChecked("Option2");
}

std::string Form1Logic::Text1Text() const {
    return m_window.ControlText("Text1");
}

void Form1Logic::SetPointer(MousePointer pointer) {
    if (pointer == m_pointer) {
        return;
    }
    m_pointer = pointer;
    m_window.ShowPointer(pointer);
}

void Form1Logic::SetProgressValue(double percent) {
    // The bar's range is 0 to 100; anything else (or no number at all) is held at its nearest end.
    const double inRange =
        std::isnan(percent) ? kProgressMinimum : std::clamp<double>(percent, kProgressMinimum, kProgressMaximum);
    m_window.SetProgressValue(static_cast<int>(std::lround(inRange)));
}

void Form1Logic::SetProgressText(const std::string& text) {
    m_window.SetControlText("ProgressBar1", text);
}

int Form1Logic::SelectedListPosition() const {
    return m_window.SelectedListRow();
}

std::int32_t Form1Logic::WindowHandle() {
    return m_window.WindowHandle();
}

void Form1Logic::SetBackColor(OleColor color) {
    m_window.SetBackColor(kWindow, color);
}

std::vector<WindowControl> Form1Logic::Controls() const {
    std::vector<WindowControl> controls;
    for (const ControlDesign& control : kForm1Controls) {
        controls.push_back({std::string(control.name), control.kind});
    }
    return controls;
}

void Form1Logic::SetControlBackColor(const std::string& name, OleColor color) {
    constexpr int kObjectRequired = 424;
    if (FindControlDesign(name) == nullptr) {
        throw PlatformError(kObjectRequired, "Object required");
    }
    m_window.SetBackColor(name, color);
}

}  // namespace tabulane
