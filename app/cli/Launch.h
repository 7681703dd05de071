#pragma once

#include "CommandLine.h"

#include <optional>

namespace vorlie {

class InstanceRequests;
class LaunchClaim;
class SingleInstance;

// Names the process and gives it the project's version, which the device
// registration reports; call right after the application object exists.
void applyProgramIdentity();

// The steps of main() before the application is built. Those that may end
// the process give its exit status, or none to carry on.

// Answers --version and --help and refuses bad arguments (status 2, one line
// on stderr). Needs no application object and no display.
std::optional<int> answerWithoutStarting(const CommandLine &commandLine);

// A later launch hands its request to the running instance here (status 0),
// before it connects to the display.
std::optional<int> handOverToRunningInstance(LaunchClaim &claim, const CommandLine &commandLine);

// The first launch listens for later ones once its application object exists.
// A URL given to it is delivered to `requests` when the event loop runs.
void becomeRunningInstance(SingleInstance &instance, LaunchClaim &claim, InstanceRequests &requests,
                           const CommandLine &commandLine);

} // namespace vorlie
