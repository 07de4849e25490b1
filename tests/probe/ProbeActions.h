// The actions the probe plug-in runs on opcode 50, chosen by index. The integration tests and
// the probe both include this, so the numbers cannot drift apart.
#pragma once

#include <cstdint>

namespace quorvel::probe {

// Value texts are written into the pointer; the others answer the wrapper's result as an
// integer (a pointer result as its address). Arguments: value is the wrapper's integer
// argument, opt its float argument, pointer is passed through.
enum class ProbeAction : std::int32_t {
    NumberText = 1,  // numberText(opt)
    IntegerText,     // integerText(value)
    DecibelText,     // decibelText(opt)
    FrequencyText,   // frequencyText(opt) at the stored sample rate
    MillisecondText, // millisecondText(opt) at the stored sample rate
    HostVersion,
    HostCurrentId,
    HostIdle,
    IsInputConnected,  // index value
    IsOutputConnected, // index value
    RequestEvents,     // filter value
    HostTimeInfo,      // filter value
    SendEvents,        // one note-on of note value
    HostTempoAt,       // sample position value
    HostAutomatableCount,
    HostParameterQuantization,
    NotifyIoChanged,
    RequestIdle,
    RequestWindowSize, // width value, height opt
    RefreshSampleRate, // the rate in whole hertz
    RefreshBlockSize,
    HostInputLatency,
    HostOutputLatency,
    PreviousPlug,
    NextPlug,
    HostWillOverwrite,
    HostProcessLevel,
    HostAutomationState,
    SetOutputSampleRate, // rate opt
    HostOutputArrangement,
    HostInputArrangement,
    HostVendorText,  // pointer
    HostProductText, // pointer
    HostVendorVersion,
    HostVendorSpecific, // index 7, value, pointer, opt
    HostSupports,       // pointer
    HostLanguage,
    OpenHostWindow,  // pointer
    CloseHostWindow, // pointer
    HostDirectory,
    RefreshHostDisplay,
    BeginParameterEdit,      // index value
    EndParameterEdit,        // index value
    ApplyParameterAndNotify, // index value, value opt
    OpenFileSelector,        // pointer
    CloseFileSelector,       // pointer
    HostChunkFile,           // pointer
    OfflineStart,            // pointer, file count value, new file count 2
    OfflineRead,             // pointer, option value, source true
    OfflineWrite,            // pointer, option value
    OfflineCurrentPass,
    OfflineCurrentMetaPass,
    ModuleHandle, // what the library's load hook stored
};

constexpr std::int32_t actionIndex(ProbeAction action) {
    return static_cast<std::int32_t>(action);
}

} // namespace quorvel::probe
