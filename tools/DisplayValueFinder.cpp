#include "tools/DisplayValueFinder.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace qv {

namespace {

constexpr int kBisections = 32; // halvings of an interval of float values: down to one step
constexpr VstInt32 kMaxCount = 100000;
const double kNoNumber = std::numeric_limits<double>::quiet_NaN();

std::string trim(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string squeezed(const std::string& s) { // lower case without blanks
    std::string out;
    for (char c : lower(s))
        if (c != ' ' && c != '\t') out += c;
    return out;
}

// Half a unit of the last digit a display shows: how far a number may lie from it.
double halfLastDigit(const std::string& shown) {
    const std::size_t dot = shown.find('.');
    if (dot == std::string::npos) return 0.5;
    int decimals = 0;
    for (std::size_t i = dot + 1;
         i < shown.size() && std::isdigit(static_cast<unsigned char>(shown[i])); ++i)
        ++decimals;
    return 0.5 * std::pow(10.0, -decimals);
}

double distance(double a, double b) {
    if (a == b) return 0.0; // also both minus infinity
    return std::fabs(a - b);
}

} // namespace

DisplayValueFinder::DisplayValueFinder(PluginHost& h) : host_(h) {}

std::string DisplayValueFinder::withLabel(const std::string& display, const std::string& label) {
    const std::string d = trim(display), l = trim(label);
    if (l.empty() || (d.size() >= l.size() && d.compare(d.size() - l.size(), l.size(), l) == 0))
        return d;
    return d + " " + l;
}

DisplayValueFinder::Reading DisplayValueFinder::read(const std::string& text) {
    Reading r;
    const std::string t = trim(text);
    const std::string l = lower(t);
    if (l == "-oo" || l == "-inf" || l == "-infinity") {
        r.numeric = true;
        r.number = -std::numeric_limits<double>::infinity();
        return r;
    }
    // A number starts with a digit, or a sign or point followed by one ("inf", "nan" are words).
    std::size_t i = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
    if (i < t.size() && t[i] == '.') ++i;
    if (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) {
        char* end = nullptr;
        r.number = std::strtod(t.c_str(), &end);
        if (end != t.c_str() && std::isfinite(r.number)) {
            r.numeric = true;
            r.unit = trim(end);
            return r;
        }
    }
    r.word = t;
    return r;
}

std::string DisplayValueFinder::show(VstInt32 index, float x) {
    AEffect* e = host_.effect();
    e->setParameter(e, index, x);
    return trim(host_.dispatchString(effGetParamDisplay, index));
}

std::vector<float> DisplayValueFinder::save() const {
    AEffect* e = host_.effect();
    std::vector<float> values;
    const VstInt32 count = std::min(std::max(e->numParams, 0), kMaxCount);
    for (VstInt32 i = 0; i < count; ++i)
        values.push_back(e->getParameter(e, i));
    return values;
}

void DisplayValueFinder::restore(const std::vector<float>& values) {
    // In index order: a parameter that pushes later ones (our crossovers keep their order) is
    // followed by theirs.
    AEffect* e = host_.effect();
    for (std::size_t i = 0; i < values.size(); ++i)
        e->setParameter(e, static_cast<VstInt32>(i), values[i]);
}

std::string DisplayValueFinder::displayAt(VstInt32 index, float x) {
    const std::vector<float> before = save();
    const std::string shown =
        withLabel(show(index, x), host_.dispatchString(effGetParamLabel, index));
    restore(before);
    return shown;
}

float DisplayValueFinder::edge(VstInt32 index, float inside, int direction,
                               const std::string& shown) {
    const float step = 1.0f / kGridSteps;
    const float end = direction > 0 ? 1.0f : 0.0f;
    float outside = end;
    bool found = false;
    for (float y = inside + direction * step; direction > 0 ? y < 1.0f : y > 0.0f;
         y += direction * step) {
        if (show(index, y) != shown) {
            outside = y;
            found = true;
            break;
        }
        inside = y;
    }
    if (!found && show(index, end) == shown) return end;
    for (int i = 0; i < kBisections; ++i) {
        const float middle = 0.5f * (inside + outside);
        if (middle == inside || middle == outside) break;
        if (show(index, middle) == shown)
            inside = middle;
        else
            outside = middle;
    }
    return inside;
}

DisplayValueFinder::Grid DisplayValueFinder::scan(VstInt32 index) {
    Grid grid;
    grid.label = trim(host_.dispatchString(effGetParamLabel, index));
    for (int k = 0; k <= kGridSteps; ++k) {
        grid.xs.push_back(static_cast<float>(k) / kGridSteps);
        grid.shown.push_back(show(index, grid.xs.back()));
        const Reading r = read(grid.shown.back());
        grid.numbers.push_back(r.numeric ? r.number : kNoNumber);
    }
    grid.range = "it shows " + withLabel(grid.shown.front(), grid.label) + " at 0 and " +
                 withLabel(grid.shown.back(), grid.label) + " at 1";
    return grid;
}

bool DisplayValueFinder::matchWord(const Grid& grid, const std::string& name, const Reading& target,
                                   Match& match, std::string& error) {
    const std::string wanted = squeezed(target.word);
    for (std::size_t k = 0; k < grid.xs.size(); ++k) {
        const std::string& shown = grid.shown[k];
        if (squeezed(shown) == wanted || squeezed(shown + grid.label) == wanted) {
            match = {grid.xs[k], shown};
            if (!shown.empty()) return true; // an empty display (the bare label) goes on
        }
    }
    error = name + ": no value shows \"" + target.word + "\"; " + grid.range +
            " (or give a normalised value from 0 to 1)";
    return false;
}

bool DisplayValueFinder::numberInRange(const Grid& grid, const std::string& name,
                                       const Reading& target, std::string& error) {
    // The unit, when the plug-in names one, must be its unit.
    std::string unit = grid.label;
    for (std::size_t k = 0; k < grid.xs.size() && unit.empty(); ++k)
        if (!std::isnan(grid.numbers[k])) unit = read(grid.shown[k]).unit;
    if (!target.unit.empty() && !unit.empty() && squeezed(target.unit) != squeezed(unit)) {
        error = name + " is shown in " + unit + ", not in " + target.unit + "; " + grid.range;
        return false;
    }
    const double v = target.number;
    double lowest = std::numeric_limits<double>::infinity(), highest = -lowest;
    double slackLow = 0.0, slackHigh = 0.0;
    for (std::size_t k = 0; k < grid.xs.size(); ++k) {
        const double n = grid.numbers[k];
        if (std::isnan(n)) continue;
        if (n < lowest) {
            lowest = n;
            slackLow = halfLastDigit(grid.shown[k]);
        }
        if (n > highest) {
            highest = n;
            slackHigh = halfLastDigit(grid.shown[k]);
        }
    }
    if (highest >= lowest && v >= lowest - slackLow && v <= highest + slackHigh) return true;
    char number[64];
    std::snprintf(number, sizeof number, "%g", v);
    error = name + ": no value shows " + number + (target.unit.empty() ? "" : " " + target.unit) +
            "; " + grid.range + " (or give a normalised value from 0 to 1)";
    return false;
}

void DisplayValueFinder::consider(VstInt32 index, float x, double number, Match& match,
                                  double& bestDistance) {
    const std::string s = show(index, x);
    const Reading r = read(s);
    if (!r.numeric) return;
    const double d = distance(r.number, number);
    if (d < bestDistance) {
        bestDistance = d;
        match = {x, s};
    }
}

void DisplayValueFinder::matchNumber(VstInt32 index, const Grid& grid, double v, Match& match) {
    double bestDistance = std::numeric_limits<double>::infinity();
    const std::vector<double>& numbers = grid.numbers;
    for (std::size_t k = 0; k < grid.xs.size(); ++k) {
        if (!std::isnan(numbers[k])) consider(index, grid.xs[k], v, match, bestDistance);
        if (k + 1 == grid.xs.size() || std::isnan(numbers[k]) || std::isnan(numbers[k + 1]))
            continue;
        const double a = numbers[k] - v, b = numbers[k + 1] - v;
        if (!((a < 0.0 && b > 0.0) || (a > 0.0 && b < 0.0))) continue;
        // The display crosses v between these two values: home in on the step.
        float low = grid.xs[k], high = grid.xs[k + 1];
        for (int i = 0; i < kBisections; ++i) {
            const float middle = 0.5f * (low + high);
            if (middle == low || middle == high) break;
            const Reading r = read(show(index, middle));
            if (!r.numeric) break;
            if ((r.number - v < 0.0) == (a < 0.0))
                low = middle;
            else
                high = middle;
        }
        consider(index, low, v, match, bestDistance);
        consider(index, high, v, match, bestDistance);
    }
}

float DisplayValueFinder::middleOf(VstInt32 index, const Match& match) {
    const float from = edge(index, match.x, -1, match.shown);
    const float to = edge(index, match.x, +1, match.shown);
    if (from == 0.0f || to == 1.0f) return from == 0.0f ? 0.0f : 1.0f;
    const float middle = 0.5f * (from + to);
    return show(index, middle) == match.shown ? middle : match.x;
}

bool DisplayValueFinder::search(VstInt32 index, const std::string& name, const Reading& target,
                                float& value, std::string& error) {
    const Grid grid = scan(index);
    const std::vector<std::string>& shown = grid.shown;
    if (std::all_of(shown.begin(), shown.end(),
                    [&](const std::string& s) { return s == shown[0]; })) {
        error = name + " shows \"" + shown[0] +
                "\" whatever its value, so it cannot be set by a displayed value; give a "
                "normalised value from 0 to 1";
        return false;
    }
    Match match;
    if (!target.numeric) {
        if (!matchWord(grid, name, target, match, error)) return false;
    } else {
        if (!numberInRange(grid, name, target, error)) return false;
        matchNumber(index, grid, target.number, match);
        if (match.shown.empty()) {
            error = name + ": no value shows a number; " + grid.range;
            return false;
        }
    }
    value = middleOf(index, match);
    return true;
}

bool DisplayValueFinder::find(VstInt32 index, const std::string& name, const std::string& text,
                              float& value, bool& displayed, std::string& error) {
    const Reading target = read(text);
    if (target.numeric && target.unit.empty() && target.number >= 0.0 && target.number <= 1.0) {
        value = static_cast<float>(target.number);
        displayed = false;
        return true;
    }
    displayed = true;
    if (trim(text).empty()) {
        error = name + " needs a value: a normalised value from 0 to 1 or a displayed value";
        return false;
    }
    const std::vector<float> before = save();
    const bool ok = search(index, name, target, value, error);
    restore(before);
    return ok;
}

} // namespace qv
