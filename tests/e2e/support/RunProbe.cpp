#include "RunProbe.h"

#include <sstream>

#include "Paths.h"

namespace e2e {

ProbeAnswers ParseAnswers(const std::string& output) {
    ProbeAnswers answers;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t equals = line.find('=');
        if (equals != std::string::npos)
            answers[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return answers;
}

ProbeAnswers RunProbe(const std::string& commands, const std::string& folder,
                      const std::string& program, Where where) {
    RunResult run = RunProgram(program.empty() ? ProbeExe() : program, commands, folder,
                               windriver::kTimeoutMs, where);
    Require(run.finished, where, "the probe did not end; it said: " + run.output);
    Require(run.exitCode == 0, where,
            "the probe ended with " + std::to_string(run.exitCode) + "; it said: " + run.output);
    return ParseAnswers(run.output);
}

Process StartProbe(const std::string& commands, Where where) {
    StartOptions options;
    options.arguments = commands;
    options.captureOutput = true;
    return Process::Start(ProbeExe(), options, where);
}

} // namespace e2e
