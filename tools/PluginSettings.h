// Finds programs and parameters of a loaded plug-in by number or by the names the plug-in reports
// (effGetProgramNameIndexed, effGetParamName), and applies a --program / --set selection.
// UI thread: call before audio runs.
#pragma once

#include "tools/CommandLine.h"
#include "tools/PluginHost.h"

#include <string>
#include <vector>

namespace qv {

class PluginSettings {
public:
    struct Applied {
        VstInt32 index;      // parameter index
        std::string name;    // as the plug-in names it
        float value;         // normalised value that was set
        std::string display; // the plug-in's display text and label after setting it
        std::string text;    // the value as given
        bool displayed;      // `text` was a displayed value, not a normalised one
    };

    // "20 cp2_Thresh = 0.75 (-10.0)", and for a displayed value what was given.
    static std::string describe(const Applied& a);

    // Reads every program and parameter name from the plug-in.
    explicit PluginSettings(PluginHost& host);

    // `entry` is a decimal index or a name (exact; otherwise case-insensitive if that is unique).
    bool findProgram(const std::string& entry, VstInt32& index, std::string& error) const;
    bool findParameter(const std::string& entry, VstInt32& index, std::string& error) const;

    // Selects the program (if `program` is not null), then sets each parameter in order, a
    // displayed value found through DisplayValueFinder. Every name is checked before anything is
    // set; a value that cannot be resolved stops there with the reason in `error`.
    bool apply(const std::string* program, const std::vector<ParameterSetting>& settings,
               std::string& error);

    const std::vector<std::string>& programNames() const { return programs_; }
    const std::vector<std::string>& parameterNames() const { return parameters_; }
    // What `apply` did: the program chosen (-1: none) and the parameters set.
    VstInt32 chosenProgram() const { return program_; }
    const std::vector<Applied>& applied() const { return done_; }
    // The parameters whose value differs, after `apply`, from the program's (display and label
    // as the plug-in shows them).
    const std::vector<Applied>& changed() const { return differences_; }

private:
    static bool find(const std::vector<std::string>& names, const std::string& entry,
                     const char* what, VstInt32& index, std::string& error);

    PluginHost& host_;                    // the plug-in the names come from
    std::vector<std::string> programs_;   // program names by index
    std::vector<std::string> parameters_; // parameter names by index
    VstInt32 program_ = -1;               // program chosen by apply
    std::vector<Applied> done_;           // parameters set by apply
    std::vector<Applied> differences_;    // parameters apply left different from the program
};

} // namespace qv
