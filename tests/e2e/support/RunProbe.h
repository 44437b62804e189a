#pragma once
// Driving the probe program (e2e_probe.exe): the setup dialog's probes run
// in a process of their own; answers come back as key=value lines.

#include <map>
#include <string>

#include "Process.h"
#include "StandInNames.h"

namespace e2e {

using ProbeAnswers = std::map<std::string, std::string>;

// The key=value lines of a probe's output (a later line wins).
ProbeAnswers ParseAnswers(const std::string& output);
// Runs the probe with `commands` in `folder` (empty: the test's) to its end
// and gives its answers. Fails when it does not end within kTimeoutMs (a
// message box waiting for the user, say) or ends with a status other than 0.
// `program` runs a copy of the probe instead of the built one.
ProbeAnswers RunProbe(const std::string& commands, const std::string& folder = "",
                      const std::string& program = "", Where where = Where::Here());
// Starts the probe with its output captured, for tests that watch it run.
Process StartProbe(const std::string& commands, Where where = Where::Here());

} // namespace e2e
