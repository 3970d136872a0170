#include "platform/DisplayProbe.h"

#include <cstdlib>

namespace tabulane {
namespace {

#if defined(_WIN32) || defined(__APPLE__)
constexpr bool kWindowsNeedDisplayServer = false;
#else
constexpr bool kWindowsNeedDisplayServer = true;
#endif

std::string ReadVariable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

bool IsOffscreenPlatform(std::string_view qpaPlatform) {
    // Qt tries the first entry of a list first.
    const std::string_view name = qpaPlatform.substr(0, qpaPlatform.find_first_of(";:"));
    return name == "offscreen" || name == "minimal";
}

bool IsHeadless(const DisplayEnvironment& environment) {
    if (IsOffscreenPlatform(environment.qpaPlatform)) {
        return true;
    }
    return kWindowsNeedDisplayServer && environment.display.empty() && environment.waylandDisplay.empty();
}

DisplayEnvironment ReadDisplayEnvironment() {
    return {ReadVariable("DISPLAY"), ReadVariable("WAYLAND_DISPLAY"), ReadVariable("QT_QPA_PLATFORM")};
}

}  // namespace tabulane

#ifdef _WIN32

namespace tabulane {

bool DisplayAnswers(const std::string&, const std::string&, const std::string&) {
    return true;  // the desktop is always there
}

}  // namespace tabulane

#else

#include <cstdlib>
#include <cstring>

#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace tabulane {
namespace {

// Connects to the X server as Qt's X11 support would, through the library it uses (loaded only for this check,
// so the program does not depend on it): a refused authorisation counts as unreachable too.
bool X11Answers(const std::string& display) {
    if (display.empty()) {
        return false;
    }
    void* library = ::dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL);
    if (library == nullptr) {
        return false;  // without it Qt cannot reach an X server either
    }
    using Connect = void* (*)(const char*, int*);
    using HasError = int (*)(void*);
    using Disconnect = void (*)(void*);
    const auto connect = reinterpret_cast<Connect>(::dlsym(library, "xcb_connect"));
    const auto hasError = reinterpret_cast<HasError>(::dlsym(library, "xcb_connection_has_error"));
    const auto disconnect = reinterpret_cast<Disconnect>(::dlsym(library, "xcb_disconnect"));
    bool answers = false;
    if (connect != nullptr && hasError != nullptr && disconnect != nullptr) {
        void* connection = connect(display.c_str(), nullptr);
        answers = connection != nullptr && hasError(connection) == 0;
        if (connection != nullptr) {
            disconnect(connection);
        }
    }
    ::dlclose(library);
    return answers;
}

bool WaylandAnswers(const std::string& display) {
    if (display.empty()) {
        return false;
    }
    std::string path = display;
    if (path.front() != '/') {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (runtime == nullptr || *runtime == '\0') {
            return false;
        }
        path = std::string(runtime) + "/" + display;
    }
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const bool answers = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return answers;
}

}  // namespace

bool DisplayAnswers(const std::string& x11Display, const std::string& waylandDisplay, const std::string& qpaPlatform) {
    if (qpaPlatform.starts_with("xcb")) {
        return X11Answers(x11Display);
    }
    if (qpaPlatform.starts_with("wayland")) {
        return WaylandAnswers(waylandDisplay);
    }
    if (!qpaPlatform.empty()) {
        return true;  // another platform plugin: nothing to check here
    }
    return X11Answers(x11Display) || WaylandAnswers(waylandDisplay);
}

}  // namespace tabulane

#endif  // _WIN32
