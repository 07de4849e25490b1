#include "tests/probe/ProbeEffect.h"

#include "host/Conversions.h"
#include "platform/Module.h"
#include "tests/probe/ProbeActions.h"

namespace quorvel {

namespace {

using probe::ProbeAction;

constexpr ParameterInfo kParameters[] = {{"Level", "dB", 0.0f}, {"Depth", "%", 0.25f}};

constexpr MidiEffectConfig kConfig{
    8, 2,     kParameters, "Probe", "Quorvel Probe", "Quorvel", fourCharacters("QzPb"),
    7, false, false,       nullptr};

IntPtr address(const void* pointer) {
    return reinterpret_cast<IntPtr>(pointer);
}

} // namespace

ProbeEffect::ProbeEffect(HostCallback host) : MidiEffect(host, kConfig) {
    applyInitialProgram();
}

void ProbeEffect::valueToText(std::int32_t, float value, char* text) {
    numberText(value, text);
}

IntPtr ProbeEffect::writeValueText(std::int32_t index, IntPtr value, char* text, float opt) {
    if (text == nullptr) return 0;
    switch (static_cast<ProbeAction>(index)) {
    case ProbeAction::NumberText:
        numberText(opt, text);
        break;
    case ProbeAction::IntegerText:
        integerText(static_cast<std::int32_t>(value), text);
        break;
    case ProbeAction::DecibelText:
        decibelText(opt, text);
        break;
    case ProbeAction::FrequencyText:
        frequencyText(opt, text);
        break;
    case ProbeAction::MillisecondText:
        millisecondText(opt, text);
        break;
    default:
        return 0;
    }
    return 1;
}

IntPtr ProbeEffect::vendorSpecific(std::int32_t index, IntPtr value, void* pointer, float opt) {
    auto* text = static_cast<char*>(pointer);
    const auto value32 = static_cast<std::int32_t>(value);
    switch (static_cast<ProbeAction>(index)) {
    case ProbeAction::NumberText:
    case ProbeAction::IntegerText:
    case ProbeAction::DecibelText:
    case ProbeAction::FrequencyText:
    case ProbeAction::MillisecondText:
        return writeValueText(index, value, text, opt);
    case ProbeAction::HostVersion:
        return hostVersion();
    case ProbeAction::HostCurrentId:
        return hostCurrentId();
    case ProbeAction::HostIdle:
        return hostIdle();
    case ProbeAction::IsInputConnected:
        return isInputConnected(value32) ? 1 : 0;
    case ProbeAction::IsOutputConnected:
        return isOutputConnected(value32) ? 1 : 0;
    case ProbeAction::RequestEvents:
        return requestEvents(value32);
    case ProbeAction::HostTimeInfo:
        return address(hostTimeInfo(value32));
    case ProbeAction::SendEvents: {
        MidiEventRecord note = freshMidiEvent(0, kNoteOn, static_cast<std::uint8_t>(value32), 100);
        EventListOf<1> list{};
        list.count = 1;
        list.events[0] = reinterpret_cast<Event*>(&note);
        return sendEvents(list) ? 1 : 0;
    }
    case ProbeAction::HostTempoAt:
        return hostTempoAt(value32);
    case ProbeAction::HostAutomatableCount:
        return hostAutomatableCount();
    case ProbeAction::HostParameterQuantization:
        return hostParameterQuantization();
    case ProbeAction::NotifyIoChanged:
        return notifyIoChanged() ? 1 : 0;
    case ProbeAction::RequestIdle:
        return requestIdle() ? 1 : 0;
    case ProbeAction::RequestWindowSize:
        return requestWindowSize(value32, truncateToInt32(opt)) ? 1 : 0;
    case ProbeAction::RefreshSampleRate:
        return truncateToInt32(refreshSampleRate());
    case ProbeAction::RefreshBlockSize:
        return refreshBlockSize();
    case ProbeAction::HostInputLatency:
        return hostInputLatency();
    case ProbeAction::HostOutputLatency:
        return hostOutputLatency();
    case ProbeAction::PreviousPlug:
        return address(previousPlug());
    case ProbeAction::NextPlug:
        return address(nextPlug());
    case ProbeAction::HostWillOverwrite:
        return hostWillOverwrite();
    case ProbeAction::HostProcessLevel:
        return hostProcessLevel();
    case ProbeAction::HostAutomationState:
        return hostAutomationState();
    case ProbeAction::SetOutputSampleRate:
        return setOutputSampleRate(opt);
    case ProbeAction::HostOutputArrangement:
        return address(hostOutputArrangement());
    case ProbeAction::HostInputArrangement:
        return address(hostInputArrangement());
    case ProbeAction::HostVendorText:
        return hostVendorText(text) ? 1 : 0;
    case ProbeAction::HostProductText:
        return hostProductText(text) ? 1 : 0;
    case ProbeAction::HostVendorVersion:
        return hostVendorVersion();
    case ProbeAction::HostVendorSpecific:
        return hostVendorSpecific(7, value, pointer, opt);
    case ProbeAction::HostSupports:
        return hostSupports(text) ? 1 : 0;
    case ProbeAction::HostLanguage:
        return hostLanguage();
    case ProbeAction::OpenHostWindow:
        return address(openHostWindow(pointer));
    case ProbeAction::CloseHostWindow:
        return closeHostWindow(pointer) ? 1 : 0;
    case ProbeAction::HostDirectory:
        return address(hostDirectory());
    case ProbeAction::RefreshHostDisplay:
        return refreshHostDisplay() ? 1 : 0;
    case ProbeAction::BeginParameterEdit:
        return beginParameterEdit(value32) ? 1 : 0;
    case ProbeAction::EndParameterEdit:
        return endParameterEdit(value32) ? 1 : 0;
    case ProbeAction::ApplyParameterAndNotify:
        applyParameterAndNotify(value32, opt);
        return 1;
    case ProbeAction::OpenFileSelector:
        return openFileSelector(pointer) ? 1 : 0;
    case ProbeAction::CloseFileSelector:
        return closeFileSelector(pointer) ? 1 : 0;
    case ProbeAction::HostChunkFile:
        return hostChunkFile(text) ? 1 : 0;
    case ProbeAction::OfflineStart:
        return offlineStart(pointer, value32, 2) ? 1 : 0;
    case ProbeAction::OfflineRead:
        return offlineRead(pointer, value32, true) ? 1 : 0;
    case ProbeAction::OfflineWrite:
        return offlineWrite(pointer, value32) ? 1 : 0;
    case ProbeAction::OfflineCurrentPass:
        return offlineCurrentPass() ? 1 : 0;
    case ProbeAction::OfflineCurrentMetaPass:
        return offlineCurrentMetaPass() ? 1 : 0;
    case ProbeAction::ModuleHandle:
        return address(platform::moduleHandle());
    }
    return 0;
}

} // namespace quorvel
