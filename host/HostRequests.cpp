// The wrappers of the host's requests. Each answers its default without a host; otherwise it
// passes this effect's record and converts the host's answer.
#include "host/EffectBaseV2.h"

namespace quorvel {

namespace {

template <class Pointer> Pointer* asPointer(IntPtr answer) {
    return reinterpret_cast<Pointer*>(answer);
}

} // namespace

std::int32_t EffectBaseV2::requestEvents(std::int32_t filter) {
    return static_cast<std::int32_t>(callHost(6, 0, filter, nullptr, 0.0f, 0));
}
void* EffectBaseV2::hostTimeInfo(std::int32_t filter) {
    return asPointer<void>(callHost(7, 0, filter, nullptr, 0.0f, 0));
}
bool EffectBaseV2::sendEventList(void* list) {
    return callHost(8, 0, 0, list, 0.0f, 0) == 1;
}
std::int32_t EffectBaseV2::hostTempoAt(std::int32_t samplePosition) {
    return static_cast<std::int32_t>(callHost(10, 0, samplePosition, nullptr, 0.0f, 0));
}
std::int32_t EffectBaseV2::hostAutomatableCount() {
    return static_cast<std::int32_t>(callHost(11, 0, 0, nullptr, 0.0f, 0));
}
std::int32_t EffectBaseV2::hostParameterQuantization() {
    return static_cast<std::int32_t>(callHost(12, 0, 0, nullptr, 0.0f, 0));
}
bool EffectBaseV2::notifyIoChanged() {
    return callHost(13, 0, 0, nullptr, 0.0f, 0) != 0;
}
bool EffectBaseV2::requestIdle() {
    return callHost(14, 0, 0, nullptr, 0.0f, 0) != 0;
}
bool EffectBaseV2::requestWindowSize(std::int32_t width, std::int32_t height) {
    return callHost(15, width, height, nullptr, 0.0f, 0) != 0;
}
float EffectBaseV2::refreshSampleRate() {
    const IntPtr answer = callHost(16, 0, 0, nullptr, 0.0f, 0);
    if (answer > 0) sampleRate.store(static_cast<float>(answer), std::memory_order_relaxed);
    return sampleRate.load(std::memory_order_relaxed);
}
std::int32_t EffectBaseV2::refreshBlockSize() {
    const IntPtr answer = callHost(17, 0, 0, nullptr, 0.0f, 0);
    if (answer > 0 && answer <= INT32_MAX)
        blockSize.store(static_cast<std::int32_t>(answer), std::memory_order_relaxed);
    return blockSize.load(std::memory_order_relaxed);
}
std::int32_t EffectBaseV2::hostInputLatency() {
    return static_cast<std::int32_t>(callHost(18, 0, 0, nullptr, 0.0f, 0));
}
std::int32_t EffectBaseV2::hostOutputLatency() {
    return static_cast<std::int32_t>(callHost(19, 0, 0, nullptr, 0.0f, 0));
}
EffectRecord* EffectBaseV2::previousPlug() {
    return asPointer<EffectRecord>(callHost(20, 0, 0, nullptr, 0.0f, 0));
}
EffectRecord* EffectBaseV2::nextPlug() {
    return asPointer<EffectRecord>(callHost(21, 0, 0, nullptr, 0.0f, 0));
}
std::int32_t EffectBaseV2::hostWillOverwrite() {
    return static_cast<std::int32_t>(callHost(22, 0, 0, nullptr, 0.0f, 0));
}
std::int32_t EffectBaseV2::hostProcessLevel() {
    return static_cast<std::int32_t>(callHost(23, 0, 0, nullptr, 0.0f, 0));
}
std::int32_t EffectBaseV2::hostAutomationState() {
    return static_cast<std::int32_t>(callHost(24, 0, 0, nullptr, 0.0f, 0));
}
bool EffectBaseV2::offlineStart(void* audioFiles, std::int32_t fileCount,
                                std::int32_t newFileCount) {
    return callHost(25, newFileCount, fileCount, audioFiles, 0.0f, 0) != 0;
}
bool EffectBaseV2::offlineRead(void* offline, std::int32_t option, bool readSource) {
    return callHost(26, readSource ? 1 : 0, option, offline, 0.0f, 0) != 0;
}
bool EffectBaseV2::offlineWrite(void* offline, std::int32_t option) {
    return callHost(27, 0, option, offline, 0.0f, 0) != 0;
}
bool EffectBaseV2::offlineCurrentPass() {
    return callHost(28, 0, 0, nullptr, 0.0f, 0) != 0;
}
bool EffectBaseV2::offlineCurrentMetaPass() {
    return callHost(29, 0, 0, nullptr, 0.0f, 0) != 0;
}
std::int32_t EffectBaseV2::setOutputSampleRate(float rate) {
    return static_cast<std::int32_t>(callHost(30, 0, 0, nullptr, rate, 0));
}
SpeakerArrangement* EffectBaseV2::hostOutputArrangement() {
    return asPointer<SpeakerArrangement>(callHost(31, 0, 0, nullptr, 0.0f, 0));
}
bool EffectBaseV2::hostVendorText(char* text) {
    return callHost(32, 0, 0, text, 0.0f, 0) != 0;
}
bool EffectBaseV2::hostProductText(char* text) {
    return callHost(33, 0, 0, text, 0.0f, 0) != 0;
}
std::int32_t EffectBaseV2::hostVendorVersion() {
    return static_cast<std::int32_t>(callHost(34, 0, 0, nullptr, 0.0f, 0));
}
IntPtr EffectBaseV2::hostVendorSpecific(std::int32_t index, IntPtr value, void* pointer,
                                        float opt) {
    return callHost(35, index, value, pointer, opt, 0);
}
bool EffectBaseV2::hostSupports(const char* feature) {
    return callHost(37, 0, 0, const_cast<char*>(feature), 0.0f, 0) != 0;
}
std::int32_t EffectBaseV2::hostLanguage() {
    return static_cast<std::int32_t>(callHost(38, 0, 0, nullptr, 0.0f, 0));
}
void* EffectBaseV2::openHostWindow(void* window) {
    return asPointer<void>(callHost(39, 0, 0, window, 0.0f, 0));
}
bool EffectBaseV2::closeHostWindow(void* window) {
    return callHost(40, 0, 0, window, 0.0f, 0) != 0;
}
void* EffectBaseV2::hostDirectory() {
    return asPointer<void>(callHost(41, 0, 0, nullptr, 0.0f, 0));
}
bool EffectBaseV2::refreshHostDisplay() {
    return callHost(42, 0, 0, nullptr, 0.0f, 0) != 0;
}
bool EffectBaseV2::beginParameterEdit(std::int32_t index) {
    return callHost(43, index, 0, nullptr, 0.0f, 0) != 0;
}
bool EffectBaseV2::endParameterEdit(std::int32_t index) {
    return callHost(44, index, 0, nullptr, 0.0f, 0) != 0;
}
bool EffectBaseV2::openFileSelector(void* selector) {
    return selector != nullptr && callHost(45, 0, 0, selector, 0.0f, 0) != 0;
}
bool EffectBaseV2::closeFileSelector(void* selector) {
    return selector != nullptr && callHost(46, 0, 0, selector, 0.0f, 0) != 0;
}
bool EffectBaseV2::hostChunkFile(char* path) {
    return path != nullptr && callHost(48, 0, 0, path, 0.0f, 0) != 0;
}
SpeakerArrangement* EffectBaseV2::hostInputArrangement() {
    return asPointer<SpeakerArrangement>(callHost(49, 0, 0, nullptr, 0.0f, 0));
}

} // namespace quorvel
