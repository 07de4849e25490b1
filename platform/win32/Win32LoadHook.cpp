// Compiled into every plug-in DLL: Windows calls this when the library is loaded.
#include "platform/Module.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
    quorvel::platform::storeModuleHandle(instance);
    return TRUE;
}
