#include <QApplication>
#include <QCoreApplication>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "cli/CommandLine.h"
#include "cli/ProgramStart.h"
#include "platform/DisplayProbe.h"
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
#include "ui/qt/Form1.h"

namespace tabulane {
namespace {

// The implementations of the platform interfaces the program runs on.
struct NativePlatform {
    NativeFileSystem files;
    QtSettingsStore settings;
    QtMessageBoxes boxes;
    QtFolderPicker folderPicker;
    QtFilePicker filePicker;
    QtEnvironment environment;
    QtEventLoop eventLoop;
    QtShell shell;
    OpeningShellExecutor shellExecutor{shell};
    QtProgramStarter programStarter;
    SeededRandomSource random;
    QtClock clock;
    QtSkinFramework skinFramework;
    Platform platform{boxes, settings,      files,          folderPicker, filePicker, environment,  eventLoop,
                      shell, shellExecutor, programStarter, random,       clock,      skinFramework};
};

}  // namespace
}  // namespace tabulane

int main(int argc, char** argv) {
    using namespace tabulane;

    const std::string argumentText = ProgramArgumentText(argc, argv);
#ifdef _WIN32
    const bool argumentsFitText = true;  // the raw command line is the argument text itself
#else
    const bool argumentsFitText = ArgumentsFitText(argc, argv);
#endif
    const DisplayEnvironment display = ReadDisplayEnvironment();
    const bool headless = IsHeadless(display);
    // A display that is named but does not answer (a stale DISPLAY) counts as none: Qt would abort on it.
    const bool unreachable = !headless && !DisplayAnswers(display.display, display.waylandDisplay, display.qpaPlatform);
    if (headless || unreachable) {
        if (argumentText.empty()) {
            return ExplainWindowNeedsDisplay(std::cerr, display, unreachable);
        }
        QCoreApplication application(argc, argv);
        NativePlatform native;
        return ConvertOnHiddenWindow(native.platform, argumentText, argumentsFitText);
    }

    QApplication application(argc, argv);
    // One style everywhere, so the fixed pixel layout looks the same on every desktop.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    NativePlatform native;
    // Closing the window ends the program at once, even in the middle of a run: every setting is already stored.
    Form1 form(native.platform, [] {
        std::fflush(nullptr);
        std::exit(0);
    });

    const StartupResult started = form.Load(argumentText, argumentsFitText);
    if (started.commandLineRan) {
        return started.exitStatus;
    }
    form.ShowCentred();
    return QApplication::exec();
}
