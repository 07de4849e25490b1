#include "host/EffectBaseV2.h"

#include "host/Conversions.h"

namespace quorvel {

namespace {

constexpr std::int32_t kFirstV2Opcode = 25;
constexpr std::int32_t kLastV2Opcode = 76;

// Opcodes whose operation reads or writes through the pointer. A null pointer answers 0
// without calling, except for event lists, which answer 1 like an empty list.
bool needsPointer(std::int32_t opcode) {
    switch (opcode) {
    case 27:
    case 29:
    case 33:
    case 34:
    case 38:
    case 39:
    case 40:
    case 41:
    case 45:
    case 46:
    case 47:
    case 48:
    case 51:
    case 56:
    case 62:
    case 63:
    case 64:
    case 66:
    case 69:
    case 70:
    case 75:
    case 76:
        return true;
    default:
        return false;
    }
}

KeyRecord keyFrom(std::int32_t index, IntPtr value, float opt) {
    KeyRecord key{};
    key.character = index;
    key.virtualKey = static_cast<std::uint8_t>(value & 0xFF);
    key.modifiers = static_cast<std::uint8_t>(truncateToInt32(opt) & 0xFF);
    return key;
}

} // namespace

EffectBaseV2::EffectBaseV2(HostCallback host, std::int32_t programCount,
                           std::int32_t parameterCount)
    : EffectBase(host, programCount, parameterCount) {}

IntPtr EffectBaseV2::dispatch(std::int32_t opcode, std::int32_t index, IntPtr value, void* pointer,
                              float opt) {
    // Compared unsigned so that negative opcodes fall outside the range.
    const auto offset =
        static_cast<std::uint32_t>(opcode) - static_cast<std::uint32_t>(kFirstV2Opcode);
    if (offset > static_cast<std::uint32_t>(kLastV2Opcode - kFirstV2Opcode))
        return EffectBase::dispatch(opcode, index, value, pointer, opt);
    if (opcode == 25) {
        auto* list = static_cast<const EventList*>(pointer);
        return list == nullptr ? 1 : receiveEvents(*list);
    }
    if (needsPointer(opcode) && pointer == nullptr) return 0;
    auto* text = static_cast<char*>(pointer);
    const auto value32 = static_cast<std::int32_t>(value);
    switch (opcode) {
    case 26:
        return isParameterAutomatable(index) ? 1 : 0;
    case 27:
        return parameterFromText(index, text) ? 1 : 0;
    case 28:
        return categoryCount();
    case 29:
        return programNameAt(value32, index, text) ? 1 : 0;
    case 30:
        return copyProgramTo(index) ? 1 : 0;
    case 31:
        onInputConnected(index, value != 0);
        return 1;
    case 32:
        onOutputConnected(index, value != 0);
        return 1;
    case 33:
        return inputProperties(index, static_cast<PinProperties*>(pointer)) ? 1 : 0;
    case 34:
        return outputProperties(index, static_cast<PinProperties*>(pointer)) ? 1 : 0;
    case 35:
        return plugCategory();
    case 36:
        return currentPositionReport();
    case 37:
        return reinterpret_cast<IntPtr>(destinationBufferReport());
    case 38:
        return onOfflineNotify(pointer, value32, index != 0) ? 1 : 0;
    case 39:
        return offlinePrepare(pointer, value32) ? 1 : 0;
    case 40:
        return offlineRun(pointer, value32) ? 1 : 0;
    case 41:
        return processVariableIo(pointer) ? 1 : 0;
    case 42: {
        auto* input = reinterpret_cast<SpeakerArrangement*>(value);
        auto* output = static_cast<SpeakerArrangement*>(pointer);
        if (input == nullptr || output == nullptr) return 0;
        return setSpeakerArrangement(input, output) ? 1 : 0;
    }
    case 43:
        setBlockSizeAndRate(value32, opt);
        return 1;
    case 44:
        return setBypass(value != 0) ? 1 : 0;
    case 45:
        return effectName(text) ? 1 : 0;
    case 46:
        return errorText(text) ? 1 : 0;
    case 47:
        return vendorText(text) ? 1 : 0;
    case 48:
        return productText(text) ? 1 : 0;
    case 49:
        return vendorVersion();
    case 50:
        return vendorSpecific(index, value, pointer, opt);
    case 51:
        return supportsFeature(text);
    case 52:
        return tailSize();
    case 53:
        return idleTick();
    case 54:
        return reinterpret_cast<IntPtr>(iconObject());
    case 55:
        return setViewPosition(index, value32) ? 1 : 0;
    case 56:
        return parameterProperties(index, pointer) ? 1 : 0;
    case 57:
        return keysRequired() ? 0 : 1;
    case 58:
        return interfaceVersion();
    case 59:
    case 60: {
        if (editor == nullptr) return 0;
        KeyRecord key = keyFrom(index, value, opt);
        return opcode == 59 ? editor->keyDown(key) : editor->keyUp(key);
    }
    case 61:
        return editor ? editor->setDragMode(value) : 0;
    case 62:
        return midiProgramName(index, pointer);
    case 63:
        return currentMidiProgram(index, pointer);
    case 64:
        return midiProgramCategory(index, pointer);
    case 65:
        return midiProgramsChanged(index) ? 1 : 0;
    case 66:
        return midiKeyName(index, pointer) ? 1 : 0;
    case 67:
        return beginProgramChange() ? 1 : 0;
    case 68:
        return endProgramChange() ? 1 : 0;
    case 69: {
        auto* inputPlace = reinterpret_cast<SpeakerArrangement**>(value);
        if (inputPlace == nullptr) return 0;
        return speakerArrangement(inputPlace, static_cast<SpeakerArrangement**>(pointer)) ? 1 : 0;
    }
    case 70:
        return nextShellPlugin(text);
    case 71:
        return startProcessing();
    case 72:
        return stopProcessing();
    case 73:
        return setTotalSamples(value);
    case 74:
        return setPanLaw(value32, opt) ? 1 : 0;
    case 75:
        return beginLoadBank(pointer);
    case 76:
        return beginLoadProgram(pointer);
    default:
        return 0;
    }
}

std::int32_t EffectBaseV2::receiveEvents(const EventList&) {
    return 0;
}
bool EffectBaseV2::isParameterAutomatable(std::int32_t) {
    return true;
}
bool EffectBaseV2::parameterFromText(std::int32_t, char*) {
    return false;
}
float EffectBaseV2::channelParameter(std::int32_t, std::int32_t) {
    return 0.0f;
}
std::int32_t EffectBaseV2::categoryCount() {
    return 1;
}
bool EffectBaseV2::programNameAt(std::int32_t, std::int32_t, char*) {
    return false;
}
bool EffectBaseV2::copyProgramTo(std::int32_t) {
    return false;
}
void EffectBaseV2::onInputConnected(std::int32_t, bool) {}
void EffectBaseV2::onOutputConnected(std::int32_t, bool) {}
bool EffectBaseV2::inputProperties(std::int32_t, PinProperties*) {
    return false;
}
bool EffectBaseV2::outputProperties(std::int32_t, PinProperties*) {
    return false;
}
std::int32_t EffectBaseV2::plugCategory() {
    return (record().effectFlags & flags::kSynth) != 0 ? 2 : 0;
}
void EffectBaseV2::markAsyncExtension(bool on) {
    setFlag(flags::kAsyncExtension, on);
}
void EffectBaseV2::markBufferExtension(bool on) {
    setFlag(flags::kBufferExtension, on);
}
std::int32_t EffectBaseV2::currentPositionReport() {
    return 0;
}
void* EffectBaseV2::destinationBufferReport() {
    return nullptr;
}
bool EffectBaseV2::onOfflineNotify(void*, std::int32_t, bool) {
    return false;
}
bool EffectBaseV2::offlinePrepare(void*, std::int32_t) {
    return false;
}
bool EffectBaseV2::offlineRun(void*, std::int32_t) {
    return false;
}
void EffectBaseV2::markSynth(bool on) {
    setFlag(flags::kSynth, on);
}
void EffectBaseV2::markNoTail(bool on) {
    setFlag(flags::kNoTail, on);
}
bool EffectBaseV2::processVariableIo(void*) {
    return false;
}
bool EffectBaseV2::setSpeakerArrangement(SpeakerArrangement*, SpeakerArrangement*) {
    return false;
}
bool EffectBaseV2::speakerArrangement(SpeakerArrangement** input, SpeakerArrangement** output) {
    if (input != nullptr) *input = nullptr;
    if (output != nullptr) *output = nullptr;
    return false;
}
void EffectBaseV2::setBlockSizeAndRate(std::int32_t size, float rate) {
    blockSize.store(size, std::memory_order_relaxed);
    sampleRate.store(rate, std::memory_order_relaxed);
}
bool EffectBaseV2::setBypass(bool) {
    return false;
}
bool EffectBaseV2::effectName(char*) {
    return false;
}
bool EffectBaseV2::errorText(char*) {
    return false;
}
bool EffectBaseV2::vendorText(char*) {
    return false;
}
bool EffectBaseV2::productText(char*) {
    return false;
}
std::int32_t EffectBaseV2::vendorVersion() {
    return 0;
}
IntPtr EffectBaseV2::vendorSpecific(std::int32_t, IntPtr, void*, float) {
    return 0;
}
std::int32_t EffectBaseV2::supportsFeature(const char*) {
    return 0;
}
void* EffectBaseV2::iconObject() {
    return nullptr;
}
bool EffectBaseV2::setViewPosition(std::int32_t, std::int32_t) {
    return false;
}
std::int32_t EffectBaseV2::tailSize() {
    return 0;
}
std::int32_t EffectBaseV2::idleTick() {
    return 0;
}
bool EffectBaseV2::parameterProperties(std::int32_t, void*) {
    return false;
}
bool EffectBaseV2::keysRequired() {
    return false;
}
std::int32_t EffectBaseV2::interfaceVersion() {
    return kInterfaceVersion;
}
std::int32_t EffectBaseV2::midiProgramName(std::int32_t, void*) {
    return 0;
}
std::int32_t EffectBaseV2::currentMidiProgram(std::int32_t, void*) {
    return -1;
}
std::int32_t EffectBaseV2::midiProgramCategory(std::int32_t, void*) {
    return 0;
}
bool EffectBaseV2::midiProgramsChanged(std::int32_t) {
    return false;
}
bool EffectBaseV2::midiKeyName(std::int32_t, void*) {
    return false;
}
bool EffectBaseV2::beginProgramChange() {
    return false;
}
bool EffectBaseV2::endProgramChange() {
    return false;
}
IntPtr EffectBaseV2::setTotalSamples(IntPtr count) {
    return count;
}
std::int32_t EffectBaseV2::nextShellPlugin(char*) {
    return 0;
}
std::int32_t EffectBaseV2::startProcessing() {
    return 0;
}
std::int32_t EffectBaseV2::stopProcessing() {
    return 0;
}
bool EffectBaseV2::setPanLaw(std::int32_t, float) {
    return false;
}
std::int32_t EffectBaseV2::beginLoadBank(void*) {
    return 0;
}
std::int32_t EffectBaseV2::beginLoadProgram(void*) {
    return 0;
}

} // namespace quorvel
