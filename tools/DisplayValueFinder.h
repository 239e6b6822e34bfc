// Turns a value as a plug-in displays it ("-10", "-10dB", "8000Hz", "soft") into the normalised
// value to set, for any plug-in: it asks the plug-in itself (effGetParamDisplay, effGetParamLabel)
// what it shows across 0..1 and searches the value whose display is nearest. Displays are taken
// to be monotonic in the value, or stepwise for switches and choices. Every search sets the
// parameter many times and puts all parameters back as they were afterwards.
// UI thread, before audio runs.
#pragma once

#include "tools/PluginHost.h"

#include <string>
#include <vector>

namespace qv {

class DisplayValueFinder {
public:
    explicit DisplayValueFinder(PluginHost& host);

    // What `text` means for parameter `index` (called `name` in messages). A bare number from 0
    // to 1 is the normalised value itself (`displayed` false); any other text, a number with a
    // unit, a number outside 0..1 or a word, is a displayed value (`displayed` true). For a
    // number the nearest display wins; a word must be one the parameter shows. Of the values
    // that show the chosen display, an end (0 or 1) is taken when it is among them, otherwise
    // the middle. False with a one-line reason in `error`.
    bool find(VstInt32 index, const std::string& name, const std::string& text, float& value,
              bool& displayed, std::string& error);

    // The display and label of parameter `index` at the normalised value x ("-40.0", "40 Hz").
    std::string displayAt(VstInt32 index, float x);

    // A display and its label as one text: "-10.0", "8000 Hz", "25 %" (a display that already
    // ends in its label keeps it once).
    static std::string withLabel(const std::string& display, const std::string& label);

    static constexpr int kGridSteps = 256; // values tried across 0..1 before refining

private:
    struct Reading {
        bool numeric = false; // a number (or minus infinity, written "-oo" or "-inf")
        double number = 0.0;
        std::string unit; // what follows the number, blanks trimmed
        std::string word; // the whole text when it is not a number
    };
    static Reading read(const std::string& text);

    std::string show(VstInt32 index, float x); // sets x, returns the display without the label
    std::vector<float> save() const;
    void restore(const std::vector<float>& values);
    bool search(VstInt32 index, const std::string& name, const Reading& target, float& value,
                std::string& error);
    // From `inside`, which shows `shown`, towards 0 (direction -1) or 1 (+1): the last value that
    // still shows it.
    float edge(VstInt32 index, float inside, int direction, const std::string& shown);

    PluginHost& host_;
};

} // namespace qv
