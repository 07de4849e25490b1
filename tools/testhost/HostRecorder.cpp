#include "tools/testhost/HostRecorder.h"

#include "host/EventLists.h"

#include <cstring>

namespace quorvel::testhost {

namespace {

constexpr IntPtr kHostVersion = 2400;

// Tests and the command line drive plug-ins from one thread, so plain globals suffice.
HostRecorder* creatingRecorder = nullptr;
std::map<EffectRecord*, HostRecorder*>& bindings() {
    static std::map<EffectRecord*, HostRecorder*> byRecord;
    return byRecord;
}

std::vector<MidiEventRecord> copyEvents(const void* pointer) {
    std::vector<MidiEventRecord> copies;
    if (pointer == nullptr) return copies;
    const auto& list = *static_cast<const EventList*>(pointer);
    for (std::int32_t i = 0; i < list.count; ++i) {
        const Event* event = eventAt(list, i);
        if (event == nullptr) continue;
        MidiEventRecord copy;
        std::memcpy(&copy, event, sizeof copy);
        copies.push_back(copy);
    }
    return copies;
}

} // namespace

HostRecorder::HostRecorder() : answers{{1, kHostVersion}, {8, 1}} {}

IntPtr HostRecorder::answerFor(std::int32_t opcode) const {
    const auto found = answers.find(opcode);
    return found == answers.end() ? 0 : found->second;
}

IntPtr HostRecorder::receive(std::int32_t opcode, std::int32_t index, IntPtr value, void* pointer,
                             float opt) {
    HostCall call{opcode, index, value, pointer, opt, {}};
    if (opcode == 8) call.events = copyEvents(pointer);
    recorded.push_back(std::move(call));
    return answerFor(opcode);
}

std::vector<HostCall> HostRecorder::callsOf(std::int32_t opcode) const {
    std::vector<HostCall> matching;
    for (const HostCall& call : recorded)
        if (call.opcode == opcode) matching.push_back(call);
    return matching;
}

std::vector<MidiEventRecord> HostRecorder::events() const {
    std::vector<MidiEventRecord> all;
    for (const HostCall& call : recorded)
        all.insert(all.end(), call.events.begin(), call.events.end());
    return all;
}

IntPtr QUORVEL_CALL recordingHostCallback(EffectRecord* effect, std::int32_t opcode,
                                          std::int32_t index, IntPtr value, void* pointer,
                                          float opt) {
    HostRecorder* recorder = creatingRecorder;
    const auto found = bindings().find(effect);
    if (effect != nullptr && found != bindings().end()) recorder = found->second;
    return recorder != nullptr ? recorder->receive(opcode, index, value, pointer, opt) : 0;
}

void bindRecorder(EffectRecord* effect, HostRecorder* recorder) {
    if (effect != nullptr) bindings()[effect] = recorder;
}

void unbindRecorder(EffectRecord* effect) {
    bindings().erase(effect);
}

CreationScope::CreationScope(HostRecorder* recorder) : previous(creatingRecorder) {
    creatingRecorder = recorder;
}

CreationScope::~CreationScope() {
    creatingRecorder = previous;
}

} // namespace quorvel::testhost
