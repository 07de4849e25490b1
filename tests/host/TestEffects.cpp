#include "tests/host/TestEffects.h"

namespace quorvel::testing {

std::vector<HostCall> RecordingHost::calls;
IntPtr RecordingHost::answer = 0;

} // namespace quorvel::testing
