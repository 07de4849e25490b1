// Event lists in the layout a host hands to opcode 25: a count, a pointer-sized reserved
// field, then one reference per event. Also builds the malformed lists hosts have been seen
// to send (null references, other event kinds, a wrong count).
#pragma once

#include "host/Abi.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace quorvel::testhost {

class EventListBuilder {
public:
    EventListBuilder() = default;
    explicit EventListBuilder(const std::vector<MidiEventRecord>& events);

    EventListBuilder& add(const MidiEventRecord& event);
    // Any event kind, for lists mixing MIDI with other events.
    EventListBuilder& addEvent(const Event& event);
    EventListBuilder& addNull();
    // Replaces the count written into the list (for example a negative one).
    EventListBuilder& overrideCount(std::int32_t count);

    // The list in the host layout; valid until the builder changes or goes away.
    EventList* list();

private:
    std::vector<Event> storage;
    std::vector<std::optional<std::size_t>> slots;
    std::optional<std::int32_t> countOverride;
    std::vector<IntPtr> words;
};

} // namespace quorvel::testhost
