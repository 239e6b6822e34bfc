// Text of a Windows error code for messages, e.g. "the system cannot find the path specified".
#pragma once

#include <string>

namespace qv {

std::string windowsErrorText(unsigned long code);

} // namespace qv
