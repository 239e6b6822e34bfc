// Parameters as careless hosts handle them: values outside 0..1, NaN and infinities, indices
// outside the parameter range, text queries into canary-filled buffers, and automation of
// random parameters every 32 frames while processing.
#pragma once

#include "tools/validate/ValidationRunner.h"

namespace qv {

class ParameterTests {
public:
    static void addTo(ValidationRunner& runner);

    // Texts a host may ask for, with the longest it accepts and the buffer writes it tolerates.
    static constexpr int kBufferBytes = 64;      // nothing may be written at or past this byte
    static constexpr int kParameterTextMax = 15; // names, labels and display texts
    static constexpr int kProgramNameMax = 23;
    static constexpr int kEffectNameMax = 31;
    static constexpr int kVendorTextMax = 63; // vendor and product strings
    static constexpr unsigned char kCanary = 0xCD;
    // Calls `opcode` into a canary-filled buffer; "" if the text is well formed, else what is
    // wrong.
    static std::string checkText(TestInstance& instance, VstInt32 opcode, VstInt32 index,
                                 VstIntPtr value, int maxLength);

private:
    static void outOfRangeValues(TestContext& context);
    static void outOfRangeIndices(TestContext& context);
    static void textOpcodes(TestContext& context);
    static void automation(TestContext& context);
};

} // namespace qv
