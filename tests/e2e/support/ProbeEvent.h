#pragma once
// The event that the probe's "pause" command waits for (e2e_probe.exe
// includes this alone: the rest of the support library needs GoogleTest).

namespace e2e {
constexpr const char kProbeContinueEvent[] = "e2e-probe-continue";
} // namespace e2e
