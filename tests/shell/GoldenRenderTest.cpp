// The whole effect renders exactly what it rendered when the references were stored: every
// output sample's bits of a few programs and the heavy setting.
#include "tests/golden/GoldenReference.h"
#include "tests/shell/TestHost.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace qv {

namespace {

TEST(GoldenRender, NativeOutputIsBitForBitTheStoredOne) {
    const bool print = std::getenv("QV_GOLDEN_PRINT") != nullptr;
    for (const golden::Case& c : golden::cases()) {
        RecordingHost::reset();
        auto effect = std::make_unique<TestEffect>(&RecordingHost::callback, false);
        const golden::Result r = golden::render(effect->getAeffect(), c);
        if (print) {
            golden::print(c, r);
            continue;
        }
        const golden::Reference* ref = golden::find(golden::kNative, c.name);
        ASSERT_NE(ref, nullptr) << c.name;
        EXPECT_EQ(r.hash, ref->hash) << c.name;
    }
}

} // namespace

} // namespace qv
