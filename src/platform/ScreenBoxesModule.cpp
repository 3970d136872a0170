#include "platform/ScreenBoxesModule.h"

#include <ostream>
#include <utility>

#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace tabulane {

OnDemandScreenBoxes::OnDemandScreenBoxes(std::string modulePath, int& argc, char** argv, std::ostream& errors)
    : m_modulePath(std::move(modulePath)), m_argc(argc), m_argv(argv), m_errors(errors), m_fallback(errors) {}

MessageBoxes& OnDemandScreenBoxes::Boxes() {
    if (!m_tried) {
        m_tried = true;
#ifndef _WIN32
        // Kept loaded for the rest of the process: Qt cannot be unloaded once started.
        void* module = ::dlopen(m_modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
        const auto entry =
            module == nullptr ? nullptr : reinterpret_cast<ScreenBoxesEntry>(::dlsym(module, kScreenBoxesEntry));
        if (entry != nullptr) {
            m_screen = entry(&m_argc, m_argv);
        } else {
            const char* why = ::dlerror();
            m_errors << "Tabulane: cannot show boxes on the display (" << (why != nullptr ? why : m_modulePath)
                     << "); they are written here.\n";
        }
#endif
    }
    return m_screen != nullptr ? *m_screen : static_cast<MessageBoxes&>(m_fallback);
}

BoxAnswer OnDemandScreenBoxes::ShowMessage(const std::string& text, const std::string& caption, BoxIcon icon,
                                           BoxButtons buttons) {
    return Boxes().ShowMessage(text, caption, icon, buttons);
}

std::string OnDemandScreenBoxes::InputBox(const std::string& prompt, const std::string& title,
                                          const std::string& preset) {
    return Boxes().InputBox(prompt, title, preset);
}

}  // namespace tabulane
