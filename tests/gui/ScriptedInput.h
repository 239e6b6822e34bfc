// A scripted replacement for the system's mouse, keys and clock: each poll of the buttons takes
// the next state from a queue (and with it the pointer position); an empty queue means all
// buttons are up. The clock only moves when the test moves it. Installed for its lifetime.
#pragma once

#include "gui/InputSource.h"

#include <deque>
#include <vector>

namespace qv {

class ScriptedInput : public InputSource {
public:
    struct State {
        int buttons;   // InputSource bits (physical buttons and keys)
        Point pointer; // screen position
    };

    ScriptedInput() { InputSource::install(this); }
    ~ScriptedInput() override { InputSource::install(nullptr); }

    // Appends polls: each entry is one answer to physicalButtons().
    ScriptedInput& then(int buttons, Point pointer) {
        script.push_back({buttons, pointer});
        return *this;
    }
    ScriptedInput& then(int buttons, int x, int y) { return then(buttons, Point(x, y)); }

    int physicalButtons() override {
        ++polls;
        if (script.empty()) {
            current.buttons = 0;
        } else {
            current = script.front();
            script.pop_front();
        }
        return current.buttons;
    }
    Point cursorPosition() override { return current.pointer; }
    void setCursorPosition(Point screen) override { current.pointer = screen; }
    int showCursor(bool show) override { return show ? 0 : -1; }
    std::uint32_t tickCount() override { return tick; }
    void sleep(std::uint32_t milliseconds) override { sleeps.push_back(milliseconds); }

    std::deque<State> script;          // polls still to come
    State current{0, Point(0, 0)};     // the last state handed out
    int polls = 0;                     // physicalButtons() calls so far
    std::uint32_t tick = 100000;       // what tickCount() answers
    std::vector<std::uint32_t> sleeps; // every sleep asked for
};

} // namespace qv
