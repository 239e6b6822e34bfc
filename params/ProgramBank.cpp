#include "params/ProgramBank.h"

#include "params/BoundedText.h"

namespace qv {

namespace {

// One parameter of a factory program that differs from program 0.
struct ValueChange {
    int index;   // parameter index
    float value; // normalised value
};

// Parameter index held by each program slot.
constexpr int kSlotParameters[kNumProgramSlots] = {
    0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 77, 78,
    20, 21, 22, 23, 24, 79, 80, 26, 27, 28, 29, 30, 81, 82, 32, 33, 34, 35, 36, 83, 84,
    38, 39, 40, 41, 42, 85, 86, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 58,
    57, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 75, 76,
};

// Program 0 "Default", in slot order.
constexpr float kDefaultValues[kNumProgramSlots] = {
    0.893301f, // 0 Freq1-2
    0.756096f, // 1 Freq2-3
    0.430282f, // 2 Freq3-4
    0.112988f, // 3 Freq4-5
    0.5f,      // 4 cp1_InLevel
    0.5f,      // 5 cp2_InLevel
    0.5f,      // 6 cp3_InLevel
    0.5f,      // 7 cp4_InLevel
    0.5f,      // 8 cp5_InLevel
    0.5f,      // 9 cp1_OutLevel
    0.5f,      // 10 cp2_OutLevel
    0.5f,      // 11 cp3_OutLevel
    0.5f,      // 12 cp4_OutLevel
    0.5f,      // 13 cp5_OutLevel
    1.0f,      // 14 cp1_Thresh
    0.75f,     // 15 cp1_Ratio
    0.0f,      // 16 cp1_AtkCurve
    0.099941f, // 17 cp1_Atk
    0.0f,      // 18 cp1_RelMode
    0.500189f, // 77 cp1_Rel_m
    0.258503f, // 78 cp1_Rel_a
    1.0f,      // 20 cp2_Thresh
    0.75f,     // 21 cp2_Ratio
    0.0f,      // 22 cp2_AtkCurve
    0.099941f, // 23 cp2_Atk
    0.0f,      // 24 cp2_RelMode
    0.500189f, // 79 cp2_Rel_m
    0.258503f, // 80 cp2_Rel_a
    1.0f,      // 26 cp3_Thresh
    0.75f,     // 27 cp3_Ratio
    0.0f,      // 28 cp3_AtkCurve
    0.099941f, // 29 cp3_Atk
    0.0f,      // 30 cp3_RelMode
    0.500189f, // 81 cp3_Rel_m
    0.258503f, // 82 cp3_Rel_a
    1.0f,      // 32 cp4_Thresh
    0.75f,     // 33 cp4_Ratio
    0.0f,      // 34 cp4_AtkCurve
    0.099941f, // 35 cp4_Atk
    0.0f,      // 36 cp4_RelMode
    0.500189f, // 83 cp4_Rel_m
    0.258503f, // 84 cp4_Rel_a
    1.0f,      // 38 cp5_Thresh
    0.75f,     // 39 cp5_Ratio
    0.0f,      // 40 cp5_AtkCurve
    0.099941f, // 41 cp5_Atk
    0.0f,      // 42 cp5_RelMode
    0.500189f, // 85 cp5_Rel_m
    0.258503f, // 86 cp5_Rel_a
    0.0f,      // 44 cp1_PWSW
    0.0f,      // 45 cp1_CompSW
    0.0f,      // 46 cp2_PWSW
    0.0f,      // 47 cp2_CompSW
    0.0f,      // 48 cp3_PWSW
    0.0f,      // 49 cp3_CompSW
    0.0f,      // 50 cp4_PWSW
    0.0f,      // 51 cp4_CompSW
    0.0f,      // 52 cp5_PWSW
    0.0f,      // 53 cp5_CompSW
    0.0f,      // 54 lt_LimSW
    0.5f,      // 55 MasterOut
    0.0f,      // 56 MeterSW
    0.0f,      // 58 Monitor
    0.0f,      // 57 ReductionSW
    1.0f,      // 59 cp1_AutoRelType
    1.0f,      // 60 cp2_AutoRelType
    1.0f,      // 61 cp3_AutoRelType
    1.0f,      // 62 cp4_AutoRelType
    1.0f,      // 63 cp5_AutoRelType
    0.5f,      // 64 RedLink 1-2
    0.5f,      // 65 RedLink 2-3
    0.5f,      // 66 RedLink 3-4
    0.5f,      // 67 RedLink 4-5
    0.998f,    // 68 lt_Ceiling
    0.0f,      // 69 lt_RelSW
    0.1f,      // 70 lt_Rel_m
    0.40625f,  // 71 lt_Rel_a
    1.0f,      // 72 lt_clip
    0.0f,      // 73 FilterType
    0.5f,      // 74 Qcurve
    0.0f,      // 75 Dry out
    1.0f,      // 76 Wet out
};

constexpr ValueChange kChanges1[] = {
    // "(ex0"
    {1, 0.708929f},  {4, 0.540937f},  {5, 0.540937f},  {6, 0.540937f},  {7, 0.540937f},
    {8, 0.540937f},  {9, 0.52125f},   {10, 0.52125f},  {11, 0.52125f},  {12, 0.52125f},
    {13, 0.52125f},  {14, 0.63625f},  {17, 0.117137f}, {20, 0.772861f}, {23, 0.135063f},
    {26, 0.811808f}, {29, 0.177419f}, {32, 0.800304f}, {35, 0.210932f}, {38, 0.599009f},
    {40, 1.0f},      {41, 0.160224f}, {59, 0.0f},      {60, 0.0f},      {61, 0.0f},
    {62, 0.0f},      {64, 0.0f},      {65, 0.0f},      {66, 0.0f},      {67, 0.0f},
    {78, 0.0f},      {80, 0.138924f}, {82, 0.227068f}, {84, 0.337974f}, {86, 0.409749f},
};
constexpr ValueChange kChanges2[] = {
    // "(ex1"
    {1, 0.708929f},  {4, 0.5625f},    {5, 0.5625f},    {6, 0.5625f},    {7, 0.5625f},
    {8, 0.5625f},    {14, 0.63625f},  {17, 0.117137f}, {20, 0.772861f}, {23, 0.135063f},
    {26, 0.811808f}, {29, 0.177419f}, {32, 0.80125f},  {35, 0.210932f}, {38, 0.599506f},
    {40, 1.0f},      {41, 0.160224f}, {59, 0.0f},      {60, 0.0f},      {61, 0.0f},
    {62, 0.0f},      {64, 0.0f},      {65, 0.0f},      {66, 0.0f},      {67, 0.0f},
    {78, 0.0f},      {80, 0.138924f}, {82, 0.227068f}, {84, 0.337974f}, {86, 0.409749f},
};
constexpr ValueChange kChanges3[] = {
    // "(ex2"
    {1, 0.712315f},  {4, 0.5625f},    {5, 0.5625f},    {6, 0.5625f},    {7, 0.5625f},
    {8, 0.5625f},    {14, 0.63625f},  {16, 1.0f},      {17, 0.106419f}, {20, 0.787806f},
    {22, 1.0f},      {23, 0.125691f}, {26, 0.8375f},   {28, 1.0f},      {29, 0.154441f},
    {32, 0.80125f},  {34, 1.0f},      {35, 0.201941f}, {38, 0.599506f}, {40, 1.0f},
    {41, 0.190021f}, {64, 0.0f},      {65, 0.0f},      {66, 0.0f},      {67, 0.0f},
    {78, 0.11596f},  {80, 0.15721f},  {82, 0.27846f},  {84, 0.34721f},  {86, 0.49221f},
};
constexpr ValueChange kChanges4[] = {
    // "(ex3"
    {1, 0.708566f},  {4, 0.5625f},    {5, 0.5625f},    {6, 0.5625f},    {7, 0.5625f},
    {8, 0.5625f},    {14, 0.661819f}, {15, 0.9375f},   {16, 1.0f},      {17, 0.147801f},
    {20, 0.795309f}, {21, 0.9375f},   {22, 1.0f},      {23, 0.185953f}, {26, 0.819562f},
    {27, 0.9375f},   {28, 1.0f},      {29, 0.205282f}, {32, 0.814744f}, {33, 0.9375f},
    {34, 1.0f},      {35, 0.239877f}, {38, 0.642759f}, {39, 0.9375f},   {40, 1.0f},
    {41, 0.230645f}, {59, 0.0f},      {60, 0.0f},      {61, 0.0f},      {62, 0.0f},
    {64, 0.0f},      {65, 0.0f},      {66, 0.0f},      {67, 0.0f},      {78, 0.07125f},
    {80, 0.138924f}, {82, 0.209683f}, {84, 0.337974f}, {86, 0.480201f},
};
constexpr ValueChange kChanges5[] = {
    // "(ex4"
    {4, 0.5425f},    {5, 0.5425f},    {6, 0.5425f},    {7, 0.5425f},    {8, 0.5425f},
    {14, 0.800411f}, {15, 0.744987f}, {16, 1.0f},      {17, 0.0f},      {20, 0.800411f},
    {21, 0.744987f}, {22, 1.0f},      {23, 0.0f},      {26, 0.800411f}, {27, 0.744987f},
    {28, 1.0f},      {29, 0.0f},      {32, 0.800411f}, {33, 0.744987f}, {34, 1.0f},
    {35, 0.0f},      {38, 0.800411f}, {39, 0.744987f}, {40, 1.0f},      {41, 0.0f},
    {64, 0.0f},      {65, 0.0f},      {66, 0.0f},      {67, 0.0f},      {74, 0.0f},
    {78, 0.0f},      {80, 0.09596f},  {82, 0.144124f}, {84, 0.17471f},
};
constexpr ValueChange kChanges6[] = {
    // "(ex5"
    {1, 0.708929f},  {4, 0.500938f}, {5, 0.500938f},  {6, 0.500938f},  {7, 0.500938f},
    {8, 0.500938f},  {9, 0.541576f}, {10, 0.541576f}, {11, 0.541576f}, {12, 0.541576f},
    {13, 0.541576f}, {14, 0.63625f}, {16, 1.0f},      {17, 0.0f},      {20, 0.772861f},
    {22, 1.0f},      {23, 0.0f},     {26, 0.813058f}, {28, 1.0f},      {29, 0.0f},
    {32, 0.80125f},  {34, 1.0f},     {35, 0.0f},      {38, 0.599506f}, {40, 1.0f},
    {41, 0.0f},      {64, 0.0f},     {65, 0.0f},      {66, 0.0f},      {67, 0.0f},
    {74, 0.0f},      {78, 0.0f},     {80, 0.077162f}, {82, 0.124007f}, {84, 0.193412f},
    {86, 0.304662f},
};
constexpr ValueChange kChanges7[] = {
    // "(ex6"
    {0, 0.0f},       {1, 0.0f},  {2, 0.0f},  {3, 0.0f},  {9, 0.568162f}, {14, 0.84936f}, {15, 1.0f},
    {17, 0.127778f}, {21, 0.5f}, {27, 0.5f}, {33, 0.5f}, {39, 0.5f},     {46, 1.0f},     {47, 1.0f},
    {48, 1.0f},      {49, 1.0f}, {50, 1.0f}, {51, 1.0f}, {53, 1.0f},     {64, 0.0f},     {65, 0.0f},
    {66, 0.0f},      {67, 0.0f}, {74, 1.0f}, {78, 0.0f},
};
constexpr ValueChange kChanges8[] = {
    // "(ex7"
    {0, 0.855076f},  {1, 0.726667f},  {2, 0.534411f},  {3, 0.345669f},  {15, 0.5f},
    {16, 1.0f},      {17, 0.1f},      {20, 0.39886f},  {21, 0.325352f}, {22, 1.0f},
    {23, 0.0f},      {26, 0.39886f},  {27, 0.256603f}, {28, 1.0f},      {29, 0.0f},
    {32, 0.39886f},  {33, 0.315433f}, {34, 1.0f},      {35, 0.0f},      {39, 0.5f},
    {40, 1.0f},      {41, 0.1f},      {45, 1.0f},      {53, 1.0f},      {59, 0.0f},
    {60, 0.0f},      {61, 0.0f},      {62, 0.0f},      {63, 0.0f},      {64, 0.0f},
    {65, 0.0f},      {66, 0.0f},      {67, 0.0f},      {78, 0.120894f}, {80, 0.16448f},
    {82, 0.263634f}, {84, 0.345035f}, {86, 0.5228f},
};
constexpr ValueChange kChanges9[] = {
    // "(ex8"
    {0, 0.82061f},   {1, 0.71179f},   {2, 0.362234f},  {3, 0.223944f},  {14, 0.39975f},
    {15, 0.105708f}, {16, 1.0f},      {17, 0.0f},      {20, 0.39975f},  {21, 0.25631f},
    {22, 1.0f},      {23, 0.0f},      {27, 0.5f},      {28, 1.0f},      {29, 0.1f},
    {32, 0.39975f},  {33, 0.238145f}, {34, 1.0f},      {35, 0.0f},      {38, 0.39975f},
    {39, 0.095406f}, {40, 1.0f},      {41, 0.0f},      {49, 1.0f},      {59, 0.0f},
    {60, 0.0f},      {61, 0.0f},      {62, 0.0f},      {64, 0.0f},      {65, 0.0f},
    {66, 0.0f},      {67, 0.0f},      {78, 0.096539f}, {80, 0.158657f}, {82, 0.263634f},
    {84, 0.364049f}, {86, 0.426436f},
};
constexpr ValueChange kChanges10[] = {
    // "(ex9"
    {0, 0.798835f},  {1, 0.666578f},  {2, 0.441385f},  {3, 0.175455f}, {14, 0.39975f},
    {15, 0.355747f}, {16, 1.0f},      {17, 0.0f},      {20, 0.39975f}, {21, 0.270593f},
    {22, 1.0f},      {23, 0.0f},      {26, 0.39975f},  {27, 0.29338f}, {28, 1.0f},
    {29, 0.0f},      {32, 0.39975f},  {33, 0.340811f}, {34, 1.0f},     {35, 0.0f},
    {38, 0.39975f},  {39, 0.213007f}, {40, 1.0f},      {41, 0.0f},     {59, 0.0f},
    {60, 0.0f},      {61, 0.0f},      {62, 0.0f},      {64, 0.0f},     {65, 0.0f},
    {66, 0.0f},      {67, 0.0f},      {78, 0.171012f}, {80, 0.21221f}, {82, 0.27971f},
    {84, 0.32096f},  {86, 0.432874f},
};
constexpr ValueChange kChanges11[] = {
    // "(ex10"
    {1, 0.804218f},  {2, 0.737184f}, {15, 0.5f}, {21, 0.5f}, {26, 0.55f},
    {27, 0.642364f}, {28, 1.0f},     {29, 0.0f}, {33, 0.5f}, {39, 0.5f},
    {45, 1.0f},      {47, 1.0f},     {51, 1.0f}, {53, 1.0f}, {59, 0.0f},
    {61, 0.0f},      {62, 0.0f},     {63, 0.0f}, {64, 0.0f}, {65, 0.0f},
    {66, 0.0f},      {67, 0.0f},     {73, 1.0f}, {74, 1.0f}, {82, 0.166755f},
};
constexpr ValueChange kChanges12[] = {
    // "(ex11"
    {1, 0.644797f},  {2, 0.529402f},  {3, 0.218673f}, {6, 0.562717f}, {7, 0.593303f}, {15, 0.5f},
    {21, 0.5f},      {26, 0.4f},      {27, 0.5575f},  {28, 1.0f},     {29, 0.0f},     {32, 0.4f},
    {33, 0.595657f}, {34, 1.0f},      {35, 0.0f},     {39, 0.5f},     {45, 1.0f},     {47, 1.0f},
    {53, 1.0f},      {64, 0.0f},      {65, 0.0f},     {66, 0.0f},     {67, 0.0f},     {74, 1.0f},
    {82, 0.443943f}, {84, 0.556594f}, {86, 0.25221f},
};
constexpr ValueChange kChanges13[] = {
    // "(ex12"
    {0, 0.532346f},  {1, 0.449816f},  {2, 0.235631f},  {3, 0.0f},       {4, 0.541337f},
    {5, 0.515772f},  {6, 0.580726f},  {7, 0.645951f},  {8, 0.375f},     {9, 0.508768f},
    {11, 0.50625f},  {12, 0.510988f}, {14, 0.807902f}, {15, 0.815387f}, {16, 1.0f},
    {17, 0.349803f}, {20, 0.585198f}, {21, 0.832047f}, {23, 0.382823f}, {26, 0.725806f},
    {27, 0.753722f}, {29, 0.441827f}, {32, 0.673917f}, {33, 0.79511f},  {35, 0.458349f},
    {39, 0.5f},      {41, 0.100109f}, {53, 1.0f},      {59, 0.0f},      {60, 0.0f},
    {61, 0.0f},      {62, 0.0f},      {64, 0.0f},      {65, 0.0f},      {66, 0.0f},
    {67, 0.0f},      {74, 1.0f},      {77, 0.395447f}, {78, 0.445411f}, {79, 0.362947f},
    {80, 0.477845f}, {81, 0.394197f}, {82, 0.480011f}, {83, 0.42256f},  {84, 0.505929f},
    {85, 0.42256f},  {86, 0.50971f},
};
constexpr ValueChange kChanges14[] = {
    // "(ex13"
    {0, 0.765973f},  {1, 0.601733f},  {2, 0.340114f},  {3, 0.076173f},  {4, 0.58502f},
    {5, 0.584301f},  {6, 0.567394f},  {7, 0.665654f},  {8, 0.292194f},  {14, 0.785454f},
    {15, 0.845936f}, {17, 0.593426f}, {18, 1.0f},      {20, 0.789863f}, {21, 0.85707f},
    {23, 0.613658f}, {24, 1.0f},      {26, 0.828934f}, {27, 0.875353f}, {29, 0.650837f},
    {30, 1.0f},      {32, 0.773925f}, {33, 0.937406f}, {34, 1.0f},      {35, 0.708253f},
    {36, 1.0f},      {39, 0.5f},      {53, 1.0f},      {59, 0.0f},      {60, 0.0f},
    {62, 0.0f},      {64, 0.0f},      {65, 0.0f},      {66, 0.0f},      {67, 0.0f},
    {74, 1.0f},      {77, 0.528829f}, {79, 0.573696f}, {81, 0.660967f}, {83, 0.671971f},
    {86, 0.50721f},
};
constexpr ValueChange kChanges15[] = {
    // "(ex14"
    {4, 0.5625f},    {5, 0.5625f},    {6, 0.5625f},    {7, 0.5625f},    {8, 0.5625f},
    {14, 0.849106f}, {15, 1.0f},      {16, 1.0f},      {17, 0.0f},      {20, 0.849106f},
    {21, 1.0f},      {22, 1.0f},      {23, 0.0f},      {26, 0.849106f}, {27, 1.0f},
    {28, 1.0f},      {29, 0.0f},      {32, 0.849106f}, {33, 1.0f},      {34, 1.0f},
    {35, 0.0f},      {38, 0.849106f}, {39, 1.0f},      {40, 1.0f},      {41, 0.0f},
    {64, 1.0f},      {65, 1.0f},      {66, 1.0f},      {67, 1.0f},      {78, 0.162012f},
    {80, 0.235162f}, {82, 0.272424f}, {84, 0.34971f},  {86, 0.390431f},
};
constexpr ValueChange kChanges16[] = {
    // "(ex15"
    {4, 0.5625f},    {5, 0.5625f},   {6, 0.5625f},    {7, 0.5625f},    {8, 0.5625f},
    {14, 0.849106f}, {15, 1.0f},     {16, 1.0f},      {17, 0.0f},      {18, 1.0f},
    {20, 0.849106f}, {21, 1.0f},     {22, 1.0f},      {23, 0.0f},      {24, 1.0f},
    {26, 0.849106f}, {27, 1.0f},     {28, 1.0f},      {29, 0.0f},      {30, 1.0f},
    {32, 0.849106f}, {33, 1.0f},     {34, 1.0f},      {35, 0.0f},      {36, 1.0f},
    {38, 0.849106f}, {39, 1.0f},     {40, 1.0f},      {41, 0.0f},      {42, 1.0f},
    {64, 1.0f},      {65, 1.0f},     {66, 1.0f},      {67, 1.0f},      {77, 0.0f},
    {78, 0.162012f}, {79, 0.0f},     {80, 0.235162f}, {81, 0.0f},      {82, 0.272424f},
    {83, 0.0f},      {84, 0.34971f}, {85, 0.0f},      {86, 0.390431f},
};

struct FactoryContents {
    const char* name;
    const ValueChange* changes; // differences from program 0; nullptr for none
    int numChanges;
};

template <int N> constexpr FactoryContents contents(const char* name, const ValueChange (&c)[N]) {
    return {name, c, N};
}

// Programs 17..19 are spare slots holding the default values.
constexpr FactoryContents kFactoryContents[kNumPrograms] = {
    {"Default", nullptr, 0},       contents("(ex0", kChanges1),   contents("(ex1", kChanges2),
    contents("(ex2", kChanges3),   contents("(ex3", kChanges4),   contents("(ex4", kChanges5),
    contents("(ex5", kChanges6),   contents("(ex6", kChanges7),   contents("(ex7", kChanges8),
    contents("(ex8", kChanges9),   contents("(ex9", kChanges10),  contents("(ex10", kChanges11),
    contents("(ex11", kChanges12), contents("(ex12", kChanges13), contents("(ex13", kChanges14),
    contents("(ex14", kChanges15), contents("(ex15", kChanges16), {"---", nullptr, 0},
    {"---", nullptr, 0},           {"---", nullptr, 0},
};

// Inverse of kSlotParameters over 0..86; -1 for the indices without a slot.
struct SlotLookup {
    int slots[kNumNamedParameters];
    constexpr SlotLookup() : slots() {
        for (int i = 0; i < kNumNamedParameters; ++i)
            slots[i] = -1;
        for (int s = 0; s < kNumProgramSlots; ++s)
            slots[kSlotParameters[s]] = s;
    }
};
constexpr SlotLookup kSlotLookup;

bool isProgramIndex(int programIndex) {
    return programIndex >= 0 && programIndex < kNumPrograms;
}

} // namespace

int parameterOfSlot(int slot) {
    if (slot < 0 || slot >= kNumProgramSlots) return -1;
    return kSlotParameters[slot];
}

int slotOfParameter(int index) {
    if (index < 0 || index >= kNumNamedParameters) return -1;
    return kSlotLookup.slots[index];
}

void writeFactoryProgram(int programIndex, FactoryProgram& program) {
    if (!isProgramIndex(programIndex)) return;
    const FactoryContents& contents = kFactoryContents[programIndex];
    for (int s = 0; s < kNumProgramSlots; ++s)
        program.values[s] = kDefaultValues[s];
    for (int i = 0; i < contents.numChanges; ++i) {
        const int slot = slotOfParameter(contents.changes[i].index);
        if (slot >= 0) program.values[slot] = contents.changes[i].value;
    }
    for (char& c : program.name)
        c = '\0';
    copyBoundedText(contents.name, program.name, kMaxProgramNameLength);
}

ProgramBank::ProgramBank() : programs_() {}

void ProgramBank::fillFactoryBank() {
    for (int p = 0; p < kNumPrograms; ++p)
        writeFactoryProgram(p, programs_[p]);
}

FactoryProgram* ProgramBank::program(int programIndex) {
    return isProgramIndex(programIndex) ? &programs_[programIndex] : nullptr;
}

const FactoryProgram* ProgramBank::program(int programIndex) const {
    return isProgramIndex(programIndex) ? &programs_[programIndex] : nullptr;
}

float ProgramBank::storedValue(int programIndex, int parameterIndex) const {
    const int slot = slotOfParameter(parameterIndex);
    if (!isProgramIndex(programIndex) || slot < 0) return 0.0f;
    return programs_[programIndex].values[slot];
}

bool ProgramBank::storeValue(int programIndex, int parameterIndex, float value) {
    const int slot = slotOfParameter(parameterIndex);
    if (!isProgramIndex(programIndex) || slot < 0) return false;
    programs_[programIndex].values[slot] = value;
    return true;
}

void ProgramBank::setProgramName(int programIndex, const char* name) {
    if (name == nullptr || !isProgramIndex(programIndex)) return;
    copyBoundedText(name, programs_[programIndex].name, kMaxProgramNameLength);
}

bool ProgramBank::copyProgramNameIndexed(int programIndex, char* text) const {
    if (text == nullptr || !isProgramIndex(programIndex)) return false;
    copyBoundedText(programs_[programIndex].name, text, kMaxProgramNameLength);
    return true;
}

} // namespace qv
