#include "Probe.h"

#include <stdexcept>

#include "Paths.h"

namespace e2e {

const char kProbeContinueEvent[] = "e2e-probe-continue";

ProbeAnswers ParseAnswers(const std::string& output) {
    ProbeAnswers answers;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos)
            end = output.size();
        std::string line = output.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t equals = line.find('=');
        if (equals != std::string::npos)
            answers[line.substr(0, equals)] = line.substr(equals + 1);
        start = end + 1;
    }
    return answers;
}

ProbeAnswers RunProbe(const std::string& commands, const std::string& folder,
                      const std::string& program) {
    RunResult run = RunProgram(program.empty() ? ProbeExe() : program, commands, folder);
    if (!run.finished)
        throw std::runtime_error("the probe did not end; it said: " + run.output);
    if (run.exitCode != 0)
        throw std::runtime_error("the probe ended with " + std::to_string(run.exitCode) +
                                 "; it said: " + run.output);
    return ParseAnswers(run.output);
}

Process StartProbe(const std::string& commands) {
    StartOptions options;
    options.arguments = commands;
    options.captureOutput = true;
    return Process::Start(ProbeExe(), options);
}

} // namespace e2e
