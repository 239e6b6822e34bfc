#include "tools/PluginSettings.h"

#include "tools/DisplayValueFinder.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace qv {

namespace {

// Plug-ins are asked for short names, but a larger buffer keeps a careless one from overrunning.
constexpr std::size_t kNameBuffer = 512;
// More programs or parameters than this are taken for a broken record.
constexpr VstInt32 kMaxCount = 100000;

std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool isIndex(const std::string& s) {
    if (s.empty() || s.size() > 9) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

std::string nameFrom(const char* buffer) {
    std::string s(buffer);
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

} // namespace

PluginSettings::PluginSettings(PluginHost& h) : host_(h) {
    AEffect* e = host_.effect();
    if (!e) return;
    const VstInt32 numParams = std::min(std::max(e->numParams, 0), kMaxCount);
    const VstInt32 numPrograms = std::min(std::max(e->numPrograms, 0), kMaxCount);
    char text[kNameBuffer];
    for (VstInt32 i = 0; i < numParams; ++i) {
        text[0] = 0;
        host_.dispatch(effGetParamName, i, 0, text);
        text[kNameBuffer - 1] = 0;
        parameters_.push_back(nameFrom(text));
    }
    bool indexed = true;
    for (VstInt32 i = 0; i < numPrograms && indexed; ++i) {
        text[0] = 0;
        indexed = host_.dispatch(effGetProgramNameIndexed, i, -1, text) != 0;
        text[kNameBuffer - 1] = 0;
        programs_.push_back(nameFrom(text));
    }
    if (!indexed) {
        // No indexed names: visit each program, then return to the one that was current.
        programs_.clear();
        const VstIntPtr current = host_.dispatch(effGetProgram);
        for (VstInt32 i = 0; i < numPrograms; ++i) {
            host_.dispatch(effSetProgram, 0, i);
            text[0] = 0;
            host_.dispatch(effGetProgramName, 0, 0, text);
            text[kNameBuffer - 1] = 0;
            programs_.push_back(nameFrom(text));
        }
        if (numPrograms > 0) host_.dispatch(effSetProgram, 0, current);
    }
}

std::string PluginSettings::describe(const Applied& a) {
    char value[32];
    std::snprintf(value, sizeof value, "%g", static_cast<double>(a.value));
    std::string s = std::to_string(a.index) + " " + a.name + " = " + value + " (" + a.display + ")";
    if (a.displayed) s += " for \"" + a.text + "\"";
    return s;
}

bool PluginSettings::find(const std::vector<std::string>& names, const std::string& entry,
                          const char* what, VstInt32& index, std::string& error) {
    const std::string kind = what;
    if (isIndex(entry)) {
        const long i = std::stol(entry);
        if (i >= static_cast<long>(names.size())) {
            error = kind + " " + entry + " is out of range (the plug-in has " +
                    std::to_string(names.size()) + ", numbered 0 to " +
                    std::to_string(static_cast<long>(names.size()) - 1) +
                    "; \"qvhost info <plugin.dll>\" lists them)";
            return false;
        }
        index = static_cast<VstInt32>(i);
        return true;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == entry) {
            index = static_cast<VstInt32>(i);
            return true;
        }
    }
    int matches = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (lower(names[i]) == lower(entry)) {
            if (matches++ == 0) index = static_cast<VstInt32>(i);
        }
    }
    if (matches == 1) return true;
    error = matches > 1 ? kind + " name \"" + entry +
                              "\" is ambiguous (differs only in case): write it exactly"
                        : "the plug-in has no " + kind + " named \"" + entry +
                              "\" (\"qvhost info <plugin.dll>\" lists them)";
    return false;
}

bool PluginSettings::findProgram(const std::string& entry, VstInt32& index,
                                 std::string& error) const {
    return find(programs_, entry, "program", index, error);
}

bool PluginSettings::findParameter(const std::string& entry, VstInt32& index,
                                   std::string& error) const {
    return find(parameters_, entry, "parameter", index, error);
}

bool PluginSettings::apply(const std::string* programSpec,
                           const std::vector<ParameterSetting>& settings, std::string& error) {
    AEffect* e = host_.effect();
    if (!e) {
        error = "no plug-in loaded";
        return false;
    }
    // Resolve everything first so that a bad name leaves the plug-in untouched.
    VstInt32 chosen = -1;
    if (programSpec && !findProgram(*programSpec, chosen, error)) return false;
    std::vector<VstInt32> indices;
    for (const ParameterSetting& s : settings) {
        VstInt32 index = 0;
        if (!findParameter(s.key, index, error)) return false;
        indices.push_back(index);
    }
    if (chosen >= 0) {
        host_.dispatch(effSetProgram, 0, chosen);
        program_ = chosen;
    }
    auto shown = [&](VstInt32 index) {
        return DisplayValueFinder::withLabel(host_.dispatchString(effGetParamDisplay, index),
                                             host_.dispatchString(effGetParamLabel, index));
    };
    std::vector<float> programValues;
    for (std::size_t i = 0; i < parameters_.size(); ++i)
        programValues.push_back(e->getParameter(e, static_cast<VstInt32>(i)));
    done_.clear();
    differences_.clear();
    DisplayValueFinder finder(host_);
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const VstInt32 index = indices[i];
        const std::string& name = parameters_[static_cast<std::size_t>(index)];
        float value = 0.0f;
        bool displayed = false;
        if (!finder.find(index, name, settings[i].value, value, displayed, error)) return false;
        e->setParameter(e, index, value);
        done_.push_back({index, name, value, shown(index), settings[i].value, displayed});
    }
    for (std::size_t i = 0; i < parameters_.size(); ++i) {
        const auto index = static_cast<VstInt32>(i);
        const float value = e->getParameter(e, index);
        if (value != programValues[i])
            differences_.push_back({index, parameters_[i], value, shown(index), "", false});
    }
    return true;
}

} // namespace qv
