// Helpers of the tool tests: a scratch folder that disappears with the test, raw file contents,
// and WAV files written in one call.
#pragma once

#include "tools/WavFormat.h"
#include "tools/WavWriter.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace qv {

class ScratchDir {
public:
    ScratchDir() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        static int counter = 0;
        dir = std::filesystem::path(base) / ("qvtools-" + std::to_string(GetCurrentProcessId()) +
                                             "-" + std::to_string(++counter));
        std::filesystem::create_directories(dir);
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    std::string file(const std::string& name) const { return (dir / name).string(); }
    std::vector<std::string> list() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        return names;
    }

private:
    std::filesystem::path dir;
};

inline std::vector<unsigned char> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

inline void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline bool fileExists(const std::string& path) {
    return std::filesystem::exists(path);
}

// Writes `left`/`right` (right ignored for mono) as a finished WAV file; returns the error text,
// empty on success.
inline std::string writeWav(const std::string& path, SampleEncoding encoding, int channels,
                            unsigned rate, const std::vector<float>& left,
                            const std::vector<float>& right) {
    WavFormat f;
    f.encoding = encoding;
    f.channels = channels;
    f.sampleRate = rate;
    WavWriter writer;
    std::string error;
    if (!writer.open(path, f, error)) return error;
    if (!writer.write(left.data(), channels == 2 ? right.data() : left.data(), left.size(), error))
        return error;
    if (!writer.commit(error)) return error;
    return "";
}

} // namespace qv
