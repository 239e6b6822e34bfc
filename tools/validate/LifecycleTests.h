// Creating, starting, stopping and destroying instances: many rounds, many instances at once on
// their own threads, processing without preparation, repeated resumes, suspend and resume while
// another thread reads parameters.
#pragma once

#include "tools/validate/ValidationRunner.h"

namespace qv {

class LifecycleTests {
public:
    static void addTo(ValidationRunner& runner);

private:
    static void createClose(TestContext& context);
    static void parallelInstances(TestContext& context);
    static void processUnprepared(TestContext& context);
    static void repeatedResume(TestContext& context);
    static void suspendResumeWhileReading(TestContext& context);
};

} // namespace qv
