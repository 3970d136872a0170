// The names of the temporary files the writers of NativeFileSystem.cpp keep beside a target, and their removal
// when the process ends before the writer can remove them itself.
#ifndef _WIN32

#include "platform/TemporaryNames.h"

#include <array>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <random>

#include <unistd.h>

namespace tabulane {
namespace {

// Temporary names removed before the process ends, by a signal or by exit() (closing the window in the middle of a
// file ends the program there, without unwinding to the writer): the named temporary files, and an unnamed one
// during the instant between its getting a name and the rename over the target. Fixed slots, because a signal
// handler may neither allocate nor lock.
class TemporaryNames {
public:
    static TemporaryNames& Instance() {
        static TemporaryNames names;
        return names;
    }

    // Returns the slot to release, or -1 when every slot is taken (the file then just is not cleaned up).
    int Register(const std::string& path) {
        InstallHandlers();
        if (path.size() >= PATH_MAX) {
            return -1;
        }
        for (std::size_t i = 0; i < m_slots.size(); ++i) {
            bool expected = false;
            if (m_slots[i].claimed.compare_exchange_strong(expected, true)) {
                std::memcpy(m_paths[i].data(), path.c_str(), path.size() + 1);
                m_slots[i].live.store(true);
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    void Release(int slot) {
        if (slot >= 0) {
            m_slots[static_cast<std::size_t>(slot)].live.store(false);
            m_slots[static_cast<std::size_t>(slot)].claimed.store(false);
        }
    }

private:
    // The flags lie apart from the paths, so that the check at every exit reads one page, not one a path.
    struct Slot {
        std::atomic<bool> claimed{false};
        std::atomic<bool> live{false};
    };

    static void RemoveLive() {
        TemporaryNames& names = Instance();
        for (std::size_t i = 0; i < names.m_slots.size(); ++i) {
            if (names.m_slots[i].live.load()) {
                ::unlink(names.m_paths[i].data());
            }
        }
    }

    static void OnSignal(int signal) {
        RemoveLive();
        // The handler was reset to the default on entry: the signal ends the process with its usual status.
        ::raise(signal);
    }

    // Only signals that would end the process get the handler; one that is ignored or handled stays so.
    void InstallHandlers() {
        std::call_once(m_installed, [] {
            // Registered after the slots exist, so it runs before they go.
            std::atexit(&TemporaryNames::RemoveLive);
            for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGXFSZ}) {
                struct sigaction current {};
                if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) {
                    continue;
                }
                struct sigaction action {};
                action.sa_handler = &TemporaryNames::OnSignal;
                sigemptyset(&action.sa_mask);
                action.sa_flags = SA_RESETHAND;
                ::sigaction(signal, &action, nullptr);
            }
        });
    }

    std::array<Slot, 16> m_slots{};
    std::array<std::array<char, PATH_MAX>, 16> m_paths{};
    std::once_flag m_installed;
};

// The target's name as part of the temporary name, shortened so that "." + stem + ".XXXXXX" still fits
// NAME_MAX, cut at a UTF-8 character boundary.
std::string TempStem(const std::string& name) {
    constexpr std::size_t kMaxStem = NAME_MAX - 8;
    if (name.size() <= kMaxStem) {
        return name;
    }
    std::size_t end = kMaxStem;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) {
        --end;
    }
    return name.substr(0, end);
}

}  // namespace

std::string TemporaryName(const std::string& folder, const std::string& name) {
    return folder + "/." + TempStem(name) + ".XXXXXX";
}

void FillRandomSuffix(std::string& name) {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    for (std::size_t i = name.size() - 6; i < name.size(); ++i) {
        name[i] = kLetters[pick(random)];
    }
}

int RegisterTemporaryName(const std::string& path) {
    return TemporaryNames::Instance().Register(path);
}

void ReleaseTemporaryName(int slot) {
    TemporaryNames::Instance().Release(slot);
}

}  // namespace tabulane

#endif  // _WIN32
