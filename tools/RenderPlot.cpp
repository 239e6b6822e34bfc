#include "tools/RenderPlot.h"

#include "tools/picture/BitmapFont.h"
#include "tools/picture/PngWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace qv {

namespace {

constexpr Rgb kBackground = {252, 252, 250};
constexpr Rgb kInk = {30, 30, 30};
constexpr Rgb kFaint = {110, 110, 110};
constexpr Rgb kGrid = {200, 200, 200};
constexpr Rgb kAxis = {120, 120, 120};
constexpr Rgb kPeak[2] = {{120, 165, 235}, {240, 160, 90}}; // L, R
constexpr Rgb kRms[2] = {{20, 60, 160}, {170, 70, 0}};      // L, R
constexpr Rgb kBand[BandReductionProbe::kBands] = {
    {210, 40, 40}, {230, 160, 0}, {40, 150, 60}, {30, 120, 210}, {140, 60, 170}};

constexpr int kMargin = 12;       // around everything
constexpr int kAxisLabels = 44;   // left of a panel: the dB labels
constexpr int kPanelHeight = 150; // drawing area of a panel
constexpr int kPanelGap = 46;     // title above a panel and time labels below it
constexpr int kTitleScale = 2;
constexpr double kLevelFloorDb = -60.0; // bottom of the level panels
constexpr double kLevelStepDb = 10.0;
constexpr double kReductionStepDb = 3.0;
constexpr double kMinReductionRangeDb = 6.0;
constexpr double kMaxReductionRangeDb = 60.0;
constexpr int kMaxTimeTicks = 12;
constexpr double kTimeSteps[] = {0.1, 0.2, 0.5, 1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 1800, 3600};

std::string number(double v, const char* pattern = "%g") {
    char text[32];
    std::snprintf(text, sizeof text, pattern, v);
    return text;
}

std::string baseName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Breaks `items` (joined by ", ") into lines of at most `chars` characters after `first`.
std::vector<std::string> wrap(const std::string& first, const std::vector<std::string>& items,
                              std::size_t chars) {
    std::vector<std::string> lines = {first};
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string piece = items[i] + (i + 1 < items.size() ? "," : "");
        if (lines.back().size() + 1 + piece.size() > chars) lines.push_back("  ");
        lines.back() += (lines.back().size() > 2 ? " " : "") + piece;
    }
    return lines;
}

struct Panel {
    int left, top, right, bottom; // drawing area
    double low, high;             // dB at the bottom and the top
    double seconds;               // time at the right edge
    int y(double db) const {
        const double clamped = std::min(std::max(db, low), high);
        return bottom -
               static_cast<int>(std::lround((clamped - low) / (high - low) * (bottom - top)));
    }
    int x(double t) const {
        return left + static_cast<int>(std::lround(t / seconds * (right - left)));
    }
};

void drawAxes(Canvas& c, const Panel& p, double stepDb, const std::string& unit) {
    for (double db = p.low; db <= p.high + 1e-9; db += stepDb) {
        const int y = p.y(db);
        c.dottedHorizontal(p.left, p.right, y, kGrid);
        const std::string label = number(db);
        c.text(p.left - 6 - Canvas::textWidth(label), y - BitmapFont::kGlyphHeight / 2, label,
               kInk);
    }
    c.text(p.left - 6 - Canvas::textWidth(unit), p.top - BitmapFont::kLineHeight - 2, unit, kFaint);
    double step = kTimeSteps[0];
    for (double s : kTimeSteps) {
        step = s;
        if (p.seconds / s <= kMaxTimeTicks) break;
    }
    for (double t = 0.0; t <= p.seconds + 1e-9; t += step) {
        const int x = p.x(t);
        c.dottedVertical(x, p.top, p.bottom, kGrid);
        c.line(x, p.bottom, x, p.bottom + 3, kAxis);
        const std::string label = number(t);
        c.text(x - Canvas::textWidth(label) / 2, p.bottom + 6, label, kInk);
    }
    c.text(p.right - Canvas::textWidth("seconds"), p.bottom + 6 + BitmapFont::kLineHeight,
           "seconds", kFaint);
    c.frame(p.left, p.top, p.right + 1, p.bottom + 1, kAxis);
}

// One curve through the slices for which `value` gives a reading.
void curve(Canvas& c, const Panel& p, std::size_t slices, double sliceSeconds,
           const std::function<bool(std::size_t, double&)>& value, Rgb colour) {
    bool previous = false;
    int px = 0, py = 0;
    for (std::size_t i = 0; i < slices; ++i) {
        double db = 0.0;
        if (!value(i, db)) {
            previous = false;
            continue;
        }
        const int x = p.x(std::min((static_cast<double>(i) + 0.5) * sliceSeconds, p.seconds));
        const int y = p.y(db);
        if (previous)
            c.line(px, py, x, y, colour);
        else
            c.set(x, y, colour);
        px = x;
        py = y;
        previous = true;
    }
}

// Title and coloured legend entries on the line above a panel.
void legend(Canvas& c, const Panel& p, const std::string& title,
            const std::vector<std::pair<std::string, Rgb>>& entries) {
    const int y = p.top - BitmapFont::kLineHeight - 2;
    int x = c.text(p.left, y, title, kInk) + 16;
    for (const auto& e : entries) {
        c.fill(x, y + 1, x + 12, y + BitmapFont::kGlyphHeight - 1, e.second);
        x = c.text(x + 16, y, e.first, kInk) + 14;
    }
}

void levelPanel(Canvas& c, const Panel& p, const RenderTrace& trace, bool output) {
    const std::vector<RenderTrace::Slice>& slices =
        output ? trace.outputSlices() : trace.inputSlices();
    legend(c, p, output ? "Output level" : "Input level",
           {{"peak L", kPeak[0]}, {"peak R", kPeak[1]}, {"RMS L", kRms[0]}, {"RMS R", kRms[1]}});
    drawAxes(c, p, kLevelStepDb, "dBFS");
    for (int pass = 0; pass < 2; ++pass) { // peaks first, RMS drawn over them
        for (int ch = 0; ch < 2; ++ch) {
            curve(
                c, p, slices.size(), trace.sliceSeconds(),
                [&](std::size_t i, double& db) {
                    if (slices[i].frames == 0) return false;
                    db = pass == 0 ? RenderTrace::peakDb(slices[i], ch, p.low)
                                   : RenderTrace::rmsDb(slices[i], ch, p.low);
                    return true;
                },
                pass == 0 ? kPeak[ch] : kRms[ch]);
        }
    }
}

void reductionPanel(Canvas& c, const Panel& p, const RenderTrace& trace) {
    std::vector<std::pair<std::string, Rgb>> entries;
    for (int b = 0; b < BandReductionProbe::kBands; ++b)
        entries.push_back({"band " + std::to_string(b + 1) +
                               (b == 0                                ? " (high)"
                                : b + 1 == BandReductionProbe::kBands ? " (low)"
                                                                      : ""),
                           kBand[b]});
    legend(c, p, "Gain reduction", entries);
    drawAxes(c, p, kReductionStepDb * std::ceil((p.high - p.low) / 8 / kReductionStepDb), "dB");
    if (!trace.hasReductions()) {
        c.text(p.left + 12, p.top + 12,
               "not available: only our own plug-in's band meters can be read", kFaint);
        return;
    }
    for (int b = 0; b < BandReductionProbe::kBands; ++b)
        curve(
            c, p, trace.slices(), trace.sliceSeconds(),
            [&](std::size_t i, double& db) {
                db = -trace.reductions()[i][static_cast<std::size_t>(b)];
                return true;
            },
            kBand[b]);
}

// The lines under the title: the program and the settings that differ from it.
std::vector<std::string> programLines(const RenderReport& report, std::size_t chars) {
    std::vector<std::string> text;
    text.push_back(report.program >= 0 ? "program " + std::to_string(report.program) + " \"" +
                                             report.programName + "\""
                                       : "the plug-in's own program");
    std::vector<std::string> changed;
    for (const PluginSettings::Applied& a : report.changed)
        changed.push_back(a.name + " " + a.display);
    for (const std::string& line : wrap(changed.empty() ? "settings as in the program"
                                                        : "settings that differ from the program:",
                                        changed, chars))
        text.push_back(line);
    return text;
}

// The lines under the panels: the summary's levels, band reductions and warnings, the latency.
std::vector<std::string> figureLines(const RenderReport& report, std::size_t chars) {
    std::vector<std::string> figures;
    for (const std::string& line : report.summary())
        if (line.rfind("input level", 0) == 0 || line.rfind("output level", 0) == 0 ||
            line.rfind("band reduction", 0) == 0 || line.rfind("warning", 0) == 0)
            figures.push_back(line.substr(0, chars));
    char latency[96];
    std::snprintf(latency, sizeof latency, "latency        : %d samples (%s)",
                  report.result.latency,
                  report.result.trimmed ? "trimmed" : "included in the output");
    figures.push_back(latency);
    return figures;
}

// The top of the level panels: 0 dBFS, or the next 6 dB above a louder peak.
double levelTopDb(const RenderResult& result) {
    double loudest = 0.0;
    for (const LevelMeter* m : {&result.inputLevels, &result.outputLevels})
        for (int ch = 0; ch < 2; ++ch)
            if (std::isfinite(m->peakDb(ch))) loudest = std::max(loudest, m->peakDb(ch));
    return std::ceil(loudest / 6.0) * 6.0;
}

// The depth of the reduction panel: the largest reduction rounded up to a whole step, limited.
double reductionRangeDb(const RenderTrace& trace) {
    double largest = 0.0;
    for (const RenderTrace::Reductions& r : trace.reductions())
        for (float db : r)
            largest = std::max(largest, static_cast<double>(db));
    return std::min(
        std::max(kMinReductionRangeDb, std::ceil(largest / kReductionStepDb) * kReductionStepDb),
        kMaxReductionRangeDb);
}

// The input level, output level and band reduction panels, one below the other from `top`.
void drawPanels(Canvas& c, const RenderResult& result, int top) {
    const RenderTrace& trace = result.trace;
    const double levelTop = levelTopDb(result);
    const double seconds = trace.totalSeconds() > 0.0 ? trace.totalSeconds() : 1.0;
    const int left = kMargin + kAxisLabels, right = RenderPlot::kWidth - kMargin - 1;
    Panel in = {left, top, right, top + kPanelHeight, kLevelFloorDb, levelTop, seconds};
    levelPanel(c, in, trace, false);
    top += kPanelHeight + kPanelGap;
    Panel out = {left, top, right, top + kPanelHeight, kLevelFloorDb, levelTop, seconds};
    levelPanel(c, out, trace, true);
    top += kPanelHeight + kPanelGap;
    const double range = reductionRangeDb(trace);
    Panel reduction = {left, top, right, top + kPanelHeight, -range, 0.0, seconds};
    reductionPanel(c, reduction, trace);
}

// Lines of text from `top` down.
void drawLines(Canvas& c, int top, const std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        c.text(kMargin, top + static_cast<int>(i) * BitmapFont::kLineHeight, lines[i], kInk);
}

} // namespace

Canvas RenderPlot::draw(const RenderReport& report) {
    const std::size_t chars = (kWidth - 2 * kMargin) / BitmapFont::kAdvance;
    const std::vector<std::string> text = programLines(report, chars);
    const std::vector<std::string> figures = figureLines(report, chars);

    const int titleHeight = BitmapFont::kLineHeight * kTitleScale;
    const int textTop = kMargin + titleHeight;
    const int panelsTop =
        textTop + static_cast<int>(text.size()) * BitmapFont::kLineHeight + kPanelGap - 20;
    const int figuresTop = panelsTop + 3 * (kPanelHeight + kPanelGap);
    const int height =
        figuresTop + static_cast<int>(figures.size()) * BitmapFont::kLineHeight + kMargin;
    Canvas c(kWidth, height, kBackground);

    c.text(kMargin, kMargin,
           (report.effectName.empty() ? std::string("plug-in") : report.effectName) + ": " +
               baseName(report.input) + " -> " + baseName(report.output),
           kInk, kTitleScale);
    drawLines(c, textTop, text);
    drawPanels(c, report.result, panelsTop);
    drawLines(c, figuresTop, figures);
    return c;
}

bool RenderPlot::write(const RenderReport& report, const std::string& path, std::string& error) {
    const Canvas c = draw(report);
    if (PngWriter::write(path, c.width(), c.height(), c.rgb(), error)) return true;
    error = "the render is written, but the plot is not: " + error;
    return false;
}

} // namespace qv
