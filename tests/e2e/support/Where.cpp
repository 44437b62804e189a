#include "Where.h"

namespace e2e {

void Fail(const Where& where, const std::string& what) {
    ADD_FAILURE_AT(where.file, where.line) << what;
    throw Stopped();
}

} // namespace e2e
