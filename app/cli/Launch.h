#pragma once

#include "CommandLine.h"
#include "single_instance/SingleInstance.h"

#include <optional>

namespace vorlie {

class InstanceRequests;

// Names the process and gives it the project's version, which the device
// registration reports; call right after the application object exists.
void applyProgramIdentity();

// The steps main() takes before it builds the application, in this order:
//
//   Launch launch(argc, argv);
//   if (const std::optional<int> exitCode = launch.finishEarly()) return *exitCode;
//   QApplication app(argc, argv);
//   launch.becomeRunningInstance(instance, requests);
class Launch {
public:
    Launch(int argc, const char *const *argv);

    // Answers --version and --help, refuses bad arguments (status 2, one line
    // on stderr), or hands the request to the running instance (status 0).
    // None means: start. Needs no application object and no display.
    std::optional<int> finishEarly();

    // With the application object built: listens for later launches. A URL
    // given to this launch reaches `requests` once the event loop runs.
    void becomeRunningInstance(SingleInstance &instance, InstanceRequests &requests);

    const CommandLine &commandLine() const { return m_commandLine; }

private:
    std::optional<int> answer() const;
    std::optional<int> handOver();

    CommandLine m_commandLine;
    // Made only once the arguments are known to be good, so that a refusal
    // stays the only line on stderr.
    std::optional<LaunchClaim> m_claim;
};

} // namespace vorlie
