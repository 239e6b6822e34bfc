// Saving and restoring as hosts do it, through the parameters and the program index: values
// read back with getParameter and set on a fresh instance, with and without the program index,
// must give bit-identical output for every program and for random settings. Program changes
// and program names, including names too long for the plug-in.
#pragma once

#include "tools/validate/ValidationRunner.h"

namespace qv {

class StateTests {
public:
    static void addTo(ValidationRunner& runner);

private:
    static void roundTrip(TestContext& context);
    static void programs(TestContext& context);
    static void programNames(TestContext& context);
};

} // namespace qv
