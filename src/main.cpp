#include <QApplication>
#include <QCoreApplication>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "cli/CommandLine.h"
#include "cli/CommandLineStartup.h"
#include "cli/HiddenWindow.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtEnvironment.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtFilePicker.h"
#include "platform/qt/QtFolderPicker.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtProgramStarter.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtSkinFramework.h"
#include "ui/FileListSession.h"
#include "ui/Form1.h"
#include "ui/Presentation.h"

namespace tabulane {
namespace {

// The implementations of the platform interfaces the program runs on.
struct NativePlatform {
    NativeFileSystem files;
    QtSettingsStore settings;
    QtMessageBoxes boxes;
    QtFolderPicker folderPicker;
    QtEnvironment environment;
    QtEventLoop eventLoop;
    QtShell shell;
    OpeningShellExecutor shellExecutor{shell};
    QtProgramStarter programStarter;
    SeededRandomSource random;
    QtClock clock;
    QtSkinFramework skinFramework;
    Platform platform{boxes, settings,      files,          folderPicker, environment, eventLoop,
                      shell, shellExecutor, programStarter, random,       clock,       skinFramework};
};

// The command line needs no screen: the load step drives a window that is never built (building real widgets
// would only add start-up time to every conversion), and boxes go to the error stream.
int ConvertWithoutDisplay(int argc, char** argv, const std::string& argumentText) {
    QCoreApplication application(argc, argv);
    NativePlatform native;
    HiddenWindow window;
    ErrorReporter reporter(native.boxes);
    return Form_Load(window, native.platform, reporter, MakeStartupInputs(reporter, native.platform, argumentText))
        .exitStatus;
}

}  // namespace
}  // namespace tabulane

int main(int argc, char** argv) {
    using namespace tabulane;

    const std::string argumentText = ProgramArgumentText(argc, argv);
    if (IsHeadless(ReadDisplayEnvironment())) {
        if (argumentText.empty()) {
            std::cerr << "Tabulane: the window needs a display, and none is available (no DISPLAY or WAYLAND_DISPLAY, "
                         "or QT_QPA_PLATFORM=offscreen).\n"
                         "Without a display, convert one file on the command line:\n"
                         "  tabulane <Input File> <Output File> <Character> <-c|-cs>\n"
                         "for example: tabulane in.txt out.csv TABS -c\n";
            return 1;
        }
        return ConvertWithoutDisplay(argc, argv, argumentText);
    }

    QApplication application(argc, argv);
    // One style everywhere, so the fixed pixel layout looks the same on every desktop.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    NativePlatform native;
    Platform& platform = native.platform;
    QtFolderPicker& folderPicker = native.folderPicker;

    // Closing the window ends the program at once, even in the middle of a run: every setting is already stored.
    Form1 form(platform, [] {
        std::fflush(nullptr);
        std::exit(0);
    });
    folderPicker.SetOwner(&form);
    QtFilePicker filePicker;
    filePicker.SetOwner(&form);
    FileListSession fileList(form, filePicker);
    Form1Events events;
    fileList.Wire(events);
    WirePresentation(form, events);
    form.SetEvents(std::move(events));

    const StartupResult started = form.Load(argumentText);
    if (started.commandLineRan) {
        return started.exitStatus;
    }
    form.ShowCentred();
    return QApplication::exec();
}
