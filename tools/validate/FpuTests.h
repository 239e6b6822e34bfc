// The plug-in must leave the host's floating-point settings as they are across every kind of
// call: with the settings a host starts with, with unusual ones (single precision, rounding
// toward zero, flush-to-zero), and with a host that unmasks the invalid-operation, division by
// zero and overflow exceptions, where a call that raises one of them fails the test.
#pragma once

#include "tools/validate/ValidationRunner.h"

namespace qv {

class FpuTests {
public:
    static void addTo(ValidationRunner& runner);

private:
    static void controlWords(TestContext& context);
    static void unmaskedExceptions(TestContext& context);
};

} // namespace qv
