#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace tabulane::test {

// Sets an environment variable for one scope (nullopt: removes it) and puts back what was there before, for the
// platform calls that read the user's folders from the environment.
class ScopedVariable {
public:
    ScopedVariable(std::string name, const std::optional<std::string>& value) : m_name(std::move(name)) {
        if (const char* old = std::getenv(m_name.c_str())) {
            m_old = old;
        }
        Set(value);
    }
    ~ScopedVariable() { Set(m_old); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void Set(const std::optional<std::string>& value) {
#ifdef _WIN32
        ::_putenv((m_name + "=" + value.value_or("")).c_str());
#else
        if (value) {
            ::setenv(m_name.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(m_name.c_str());
        }
#endif
    }

    std::string m_name;
    std::optional<std::string> m_old;
};

}  // namespace tabulane::test
