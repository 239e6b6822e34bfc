// Stored results of the golden renders (see GoldenRender.h), one table per build: the native
// build is checked by hash, the DLLs by probe samples. Regenerate with QV_GOLDEN_PRINT=1.
#pragma once

#include "tests/golden/GoldenRender.h"

namespace qv {

namespace golden {

struct Reference {
    const char* name;
    std::uint64_t hash;
    double probes[kProbes];
};

inline constexpr Reference kNative[] = {
    {"default",
     0x9b3a9086b6410119ULL,
     {0.10641779, -0.422267437, -0.0518053584, 0.193769023, -0.163605735, 0.275158197, -0.227346107,
      -0.12665236}},
    {"program 1",
     0xb6f0c748bdd22adcULL,
     {0.129542232, -0.361112505, -0.0668077469, 0.032761991, -0.0974809974, -0.0256473888,
      -0.186668172, -0.0880554989}},
    {"program 5",
     0x226becf5da57d07eULL,
     {0.134590462, -0.381063432, -0.049630668, 0.155078515, -0.123061754, 0.162095532, -0.216855168,
      -0.129983217}},
    {"program 9",
     0xc59851f1d3c70419ULL,
     {0.154412165, -0.44915235, -0.0550143458, 0.213152304, -0.206444055, 0.328116745, -0.229348093,
      -0.11735554}},
    {"heavy",
     0xcacc70a8cb34044bULL,
     {0.430298179, -0.465961397, -0.046486672, 0.219162688, -0.0506807789, 0.0180097222,
      -0.254021466, -0.0365918912}},
};

inline constexpr Reference kSseDll[] = {
    {"default",
     0xec74e88f5b17e652ULL,
     {0.106417775, -0.422267437, -0.0518053547, 0.193769008, -0.163605735, 0.275158197,
      -0.227346107, -0.12665236}},
    {"program 1",
     0x2e5a8ad03e55d58fULL,
     {0.129542217, -0.361112505, -0.0668077469, 0.0327619649, -0.0974809974, -0.0256473757,
      -0.186668172, -0.0880554989}},
    {"program 5",
     0xcc0a5b6b27c6d189ULL,
     {0.134590447, -0.381063432, -0.0496306643, 0.155078501, -0.123061754, 0.162095547,
      -0.216855168, -0.129983217}},
    {"program 9",
     0x96dc91586c5bc016ULL,
     {0.15441215, -0.44915238, -0.0550143383, 0.213152274, -0.206444055, 0.328116745, -0.229348093,
      -0.11735554}},
    {"heavy",
     0x69fdf35a48291e0aULL,
     {0.43029812, -0.465961367, -0.046486672, 0.219162658, -0.0506807752, 0.0180097297,
      -0.254021466, -0.0365918837}},
};

inline constexpr Reference kX87Dll[] = {
    {"default",
     0x88ada9581be30a8fULL,
     {0.106417775, -0.422267437, -0.0518053547, 0.193769008, -0.163605735, 0.275158197,
      -0.227346107, -0.12665236}},
    {"program 1",
     0x380dbf7c7b512388ULL,
     {0.129542217, -0.361112505, -0.0668077469, 0.0327619649, -0.0974809974, -0.0256473757,
      -0.186668172, -0.0880554989}},
    {"program 5",
     0xda80155275792badULL,
     {0.134590447, -0.381063432, -0.0496306643, 0.155078501, -0.123061754, 0.162095547,
      -0.216855168, -0.129983217}},
    {"program 9",
     0x9d469be825b1789eULL,
     {0.15441215, -0.44915238, -0.0550143383, 0.213152274, -0.206444055, 0.328116745, -0.229348093,
      -0.11735554}},
    {"heavy",
     0x532c698f2c5b2316ULL,
     {0.43029812, -0.465961367, -0.0464866683, 0.219162658, -0.0506807752, 0.0180097278,
      -0.254021466, -0.0365918837}},
};

// The stored reference of case `name` among the `size` entries of table, or null.
inline const Reference* find(const Reference* table, std::size_t size, const char* name) {
    for (std::size_t i = 0; i < size; ++i)
        if (std::strcmp(table[i].name, name) == 0) return &table[i];
    return nullptr;
}
template <std::size_t N> const Reference* find(const Reference (&table)[N], const char* name) {
    return find(table, N, name);
}

} // namespace golden

} // namespace qv
