// Each DLL renders what it rendered when the references were stored (probe samples within
// 1e-6), for a few programs and the heavy setting; see tests/golden/GoldenRender.h.
#include "tests/golden/GoldenReference.h"
#include "tests/wine/DllPaths.h"
#include "tools/PluginHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace qv {

namespace {

constexpr double kTolerance = 1e-6;

struct Flavour {
    const char* dll;
    const golden::Reference* table;
    std::size_t size;
};

#if defined(_WIN64)
// Doubles in SSE2 registers, as in the native build: its references hold.
const Flavour kFlavours[] = {
    {"Quorvanelle.dll", golden::kNative, std::size(golden::kNative)},
};
#else
const Flavour kFlavours[] = {
    {"Quorvanelle.dll", golden::kSseDll, std::size(golden::kSseDll)},
    {"Quorvanelle_x87.dll", golden::kX87Dll, std::size(golden::kX87Dll)},
};
#endif

class GoldenDll : public ::testing::TestWithParam<Flavour> {};

TEST_P(GoldenDll, RendersTheStoredProbeSamples) {
    const Flavour& f = GetParam();
    const bool print = std::getenv("QV_GOLDEN_PRINT") != nullptr;
    for (const golden::Case& c : golden::cases()) {
        PluginHost host;
        std::string error;
        ASSERT_TRUE(host.load(pluginPath(f.dll), error)) << error;
        const golden::Result r = golden::render(host.effect(), c);
        if (print) {
            golden::print(c, r);
            continue;
        }
        const golden::Reference* ref = golden::find(f.table, f.size, c.name);
        ASSERT_NE(ref, nullptr) << c.name;
        for (int p = 0; p < golden::kProbes; ++p)
            EXPECT_NEAR(r.probes[p], ref->probes[p], kTolerance) << c.name << " probe " << p;
    }
}

INSTANTIATE_TEST_SUITE_P(BothDlls, GoldenDll, ::testing::ValuesIn(kFlavours));

} // namespace

} // namespace qv
