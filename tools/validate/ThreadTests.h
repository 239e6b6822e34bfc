// Calls from several threads at once, as real hosts make them: an audio thread processing, an
// automation thread changing parameters, and a user-interface thread opening, idling and
// closing the editor in a window of the validator's own.
#pragma once

#include "tools/validate/ValidationRunner.h"

namespace qv {

class ThreadTests {
public:
    static void addTo(ValidationRunner& runner);

private:
    static void editorVersusAutomation(TestContext& context);
};

} // namespace qv
