// The host side of the test host: one callback for every loaded instance, which records each
// request and answers what the test configured for its opcode.
#pragma once

#include "host/Abi.h"

#include <cstdint>
#include <map>
#include <vector>

namespace quorvel::testhost {

struct HostCall {
    std::int32_t opcode;
    std::int32_t index;
    IntPtr value;
    void* pointer;
    float opt;
    // Opcode 8 only: a copy of every event of the list, null references left out.
    std::vector<MidiEventRecord> events;
};

class HostRecorder {
public:
    // The version query answers 2400 and sent events are accepted (1); everything else 0.
    HostRecorder();

    void setAnswer(std::int32_t opcode, IntPtr answer) { answers[opcode] = answer; }
    IntPtr answerFor(std::int32_t opcode) const;

    // Called by the host callback: records the request and answers it.
    IntPtr receive(std::int32_t opcode, std::int32_t index, IntPtr value, void* pointer, float opt);

    const std::vector<HostCall>& calls() const { return recorded; }
    std::vector<HostCall> callsOf(std::int32_t opcode) const;
    // Every event handed over through opcode 8 since the last clear, in order.
    std::vector<MidiEventRecord> events() const;
    void clear() { recorded.clear(); }

private:
    std::map<std::int32_t, IntPtr> answers;
    std::vector<HostCall> recorded;
};

// The callback every instance is created with. It carries no user data, so it finds the
// recorder by the record; requests without a known record go to the instance being created.
IntPtr QUORVEL_CALL recordingHostCallback(EffectRecord* effect, std::int32_t opcode,
                                          std::int32_t index, IntPtr value, void* pointer,
                                          float opt);

// Binds a record to its recorder until unbound; one binding per record.
void bindRecorder(EffectRecord* effect, HostRecorder* recorder);
void unbindRecorder(EffectRecord* effect);

// While alive, requests without a known record (the version query of main passes none) are
// recorded by recorder. Creation is single-threaded, so one scope at a time.
class CreationScope {
public:
    explicit CreationScope(HostRecorder* recorder);
    ~CreationScope();
    CreationScope(const CreationScope&) = delete;
    CreationScope& operator=(const CreationScope&) = delete;

private:
    HostRecorder* previous;
};

} // namespace quorvel::testhost
