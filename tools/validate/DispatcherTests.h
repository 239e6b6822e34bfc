// Random dispatcher calls: random opcodes, indices, values and floats with a valid 4 KiB buffer,
// after which the instance, put back into a known state, must process as a fresh one.
#pragma once

#include "tools/validate/ValidationRunner.h"

namespace qv {

class DispatcherTests {
public:
    static void addTo(ValidationRunner& runner);

private:
    static void randomCalls(TestContext& context);
};

} // namespace qv
