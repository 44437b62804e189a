#pragma once
// How a helper reports a failure at the line of the test that called it.
// Every helper that can fail takes `Where where = Where::Here()` as its last
// parameter: the compiler fills it in where the call is written, so callers
// write nothing. A failed check is reported there (Fail), and a helper that
// cannot go on then stops the test with Stopped, whose message only points
// back at that failure. A helper whose checks are GoogleTest's own EXPECT_*
// holds where.Trace() while it runs, so that they name the caller's line too.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "tools/windriver/Wait.h"

namespace e2e {

struct Where {
    const char* file;
    int line;

    static Where Here(const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
        return {file, line};
    }
    testing::ScopedTrace Trace() const { return testing::ScopedTrace(file, line, "called here"); }
};

struct Stopped : std::runtime_error {
    Stopped() : std::runtime_error("stopped: see the failure above") {}
};

// Reports `what` as a failure at `where` and stops the test.
[[noreturn]] inline void Fail(const Where& where, const std::string& what) {
    ADD_FAILURE_AT(where.file, where.line) << what;
    throw Stopped();
}

// Stops the test at `where`, saying `what`, unless `holds`.
inline void Require(bool holds, const Where& where, const std::string& what) {
    if (!holds)
        Fail(where, what);
}

// Runs `step`, a call of the window driver, which knows nothing of tests and
// throws; reports what it threw at `where`.
template <class Step> auto At(const Where& where, Step step) -> decltype(step()) {
    try {
        return step();
    } catch (const Stopped&) {
        throw;
    } catch (const std::exception& error) {
        Fail(where, error.what());
    }
}

// windriver::WaitUntil reporting at the caller's line.
template <class Condition>
void WaitUntil(Condition condition, const std::string& what, Where where = Where::Here()) {
    At(where, [&] { windriver::WaitUntil(condition, what); });
}

} // namespace e2e
