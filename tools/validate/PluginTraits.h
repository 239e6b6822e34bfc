// What the validator knows about the plug-in beyond the generic checks: whether it is our own
// (vendor "Ferrowyn", ID "fw30"), and for ours which parameters set the limiter's ceiling, so
// that the output can be held to it. For a foreign plug-in only the generic checks apply.
#pragma once

#include "tools/validate/TestInstance.h"

#include <string>

namespace qv {

class PluginTraits {
public:
    // Reads names and identity from a fresh instance.
    void learn(TestInstance& instance);

    bool ours() const { return isOurs_; }
    // The largest output magnitude the instance's current parameters allow: the ceiling when
    // the limiter is on and the monitor off, otherwise unbounded (infinity).
    double outputBound(TestInstance& instance) const;
    // Index of the parameter called `name`, -1 if there is none.
    int indexOf(const std::string& name) const;
    const std::string& identity() const { return description_; }

private:
    bool isOurs_ = false;
    int ceilingIndex_ = -1, limiterSwitchIndex_ = -1, monitorIndex_ = -1;
    std::vector<std::string> names_; // host-visible parameter names
    std::string description_;        // "Quorvanelle by Ferrowyn (fw30), 2 in, 2 out, ..."
};

} // namespace qv
