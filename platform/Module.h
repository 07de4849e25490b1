// The handle of the library this code was loaded from, stored by the load hook of the backend;
// the editors use it to find their resources and name their window class.
#pragma once

namespace quorvel::platform {

void* moduleHandle();
void storeModuleHandle(void* handle);

} // namespace quorvel::platform
