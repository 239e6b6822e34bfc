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
    // What a parameter shows across 0..1 on a grid of kGridSteps + 1 values.
    struct Grid {
        std::vector<float> xs;          // the values tried, 0..1
        std::vector<std::string> shown; // their displays, without the label
        std::vector<double> numbers;    // the displays' numbers (NaN for words)
        std::string label;              // the parameter's label
        std::string range;              // "it shows A at 0 and B at 1", for messages
    };
    // A value and what it shows, the best found so far (shown empty: none yet).
    struct Match {
        float x = 0.0f;
        std::string shown;
    };
    Grid scan(VstInt32 index);
    bool search(VstInt32 index, const std::string& name, const Reading& target, float& value,
                std::string& error);
    // The first grid value that shows the word (blanks and case aside, with or without label).
    static bool matchWord(const Grid& grid, const std::string& name, const Reading& target,
                          Match& match, std::string& error);
    // Whether the number, in its unit, lies within what the grid shows (to half a last digit).
    static bool numberInRange(const Grid& grid, const std::string& name, const Reading& target,
                              std::string& error);
    // The value whose display is nearest the number: the grid values and, where the display
    // crosses the number between two of them, both sides of that step.
    void matchNumber(VstInt32 index, const Grid& grid, double number, Match& match);
    // Keeps x when its display is nearer the number than the match so far.
    void consider(VstInt32 index, float x, double number, Match& match, double& bestDistance);
    // The middle of the values that show what the match shows, or an end when it is among them.
    float middleOf(VstInt32 index, const Match& match);
    // From `inside`, which shows `shown`, towards 0 (direction -1) or 1 (+1): the last value that
    // still shows it.
    float edge(VstInt32 index, float inside, int direction, const std::string& shown);

    PluginHost& host_;
};

} // namespace qv
