#include "tests/shell/TestHost.h"

namespace qv {

VstIntPtr RecordingHost::version = 2300;
std::vector<HostCall> RecordingHost::calls;
int RecordingEditor::liveCount = 0;

} // namespace qv
