#pragma once

#include <exception>
#include <new>
#include <string>
#include <utility>

#include "platform/MessageBoxes.h"
#include "platform/PlatformError.h"

namespace tabulane {

// The number of the first step of every trapped operation.
inline constexpr int kFirstStep = 100;

// Shows the "Application Error" box and counts the reports (the command line turns a report into its exit status).
class ErrorReporter {
public:
    explicit ErrorReporter(MessageBoxes& boxes) : m_boxes(boxes) {}

    void Report(const std::string& description, const std::string& location, int step);
    int ReportCount() const { return m_reportCount; }

private:
    MessageBoxes& m_boxes;
    int m_reportCount = 0;
};

// The composed text of the box: description, CR LF, "in <location> at line <step>", CR CR, support request.
std::string ComposeErrorText(const std::string& description, const std::string& location, int step);

// The location text of a trapped operation, e.g. "Tabulane2021/08/31.Form1.Form_Load".
std::string MakeLocation(const std::string& module, const std::string& operation,
                         const std::string& project = "Tabulane");

// An operation's error trap. Each numbered step runs through Step(); a step that fails is reported
// with the operation's location and the step's number, and the operation goes on with its next step.
class ErrorTrap {
public:
    ErrorTrap(ErrorReporter& reporter, const std::string& module, const std::string& operation,
              const std::string& project = "Tabulane")
        : m_reporter(reporter), m_location(MakeLocation(module, operation, project)) {}

    // Runs one step; returns false when it failed (and was reported).
    template <typename Body>
    bool Step(int number, Body&& body) {
        try {
            std::forward<Body>(body)();
            return true;
        } catch (const PlatformError& error) {
            m_reporter.Report(error.Description(), m_location, number);
        } catch (const std::bad_alloc&) {
            m_reporter.Report("Out of memory", m_location, number);
        } catch (const std::exception& error) {
            m_reporter.Report(error.what(), m_location, number);
        } catch (...) {
            // Nothing may escape a trapped operation: it would end the program from inside an event handler.
            m_reporter.Report("Unknown error", m_location, number);
        }
        return false;
    }

private:
    ErrorReporter& m_reporter;
    std::string m_location;
};

// Runs an event handler that carries no trap of its own, as the event loop calls it. No trapped operation lies above
// it to take a failure, so the failure is reported under the handler's own name, at its first step.
template <typename Body>
void RunEventHandler(ErrorReporter& reporter, const std::string& module, const std::string& handler, Body&& body) {
    ErrorTrap(reporter, module, handler).Step(kFirstStep, std::forward<Body>(body));
}

}  // namespace tabulane
