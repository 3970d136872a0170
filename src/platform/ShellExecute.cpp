#include "platform/ShellExecute.h"

namespace tabulane {

void OpeningShellExecutor::ShellExecute(const ShellExecuteCall& call) {
    const std::string& file = call.file;
    const bool quoted = file.size() >= 2 && file.front() == '"' && file.back() == '"';
    m_shell.Open(quoted ? file.substr(1, file.size() - 2) : file);
}

}  // namespace tabulane
