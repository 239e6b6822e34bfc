// Audio under every condition a host may create: sample rates from 8 kHz to 384 kHz and absurd
// ones, block sizes from 1 to 8192 frames and a random mix, empty calls, blocks longer than
// announced, in-place buffers, both process calls, and bad samples in the input with the
// recovery afterwards.
#pragma once

#include "tools/validate/ValidationRunner.h"

namespace qv {

class AudioTests {
public:
    static void addTo(ValidationRunner& runner);

private:
    static void sampleRates(TestContext& context);
    static void absurdSampleRates(TestContext& context);
    static void blockSizes(TestContext& context);
    static void zeroFrames(TestContext& context);
    static void oversizedBlocks(TestContext& context);
    static void inPlace(TestContext& context);
    static void accumulating(TestContext& context);
    static void badInput(TestContext& context);
};

} // namespace qv
