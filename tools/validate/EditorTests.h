// The editor opened, idled and closed many times in a window of the validator's own while
// another thread processes audio.
#pragma once

#include "tools/validate/ValidationRunner.h"

namespace qv {

class EditorTests {
public:
    static void addTo(ValidationRunner& runner);

    // `cycles` rounds of open, idle, close on this thread (which owns the window).
    static void cycle(TestInstance& instance, int cycles);

private:
    static void cyclesWhileProcessing(TestContext& context);
};

} // namespace qv
