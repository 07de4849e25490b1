#include "tools/testhost/EventListBuilder.h"

#include <cstddef>
#include <cstring>

namespace quorvel::testhost {

// The list is built as pointer-sized words: the count in the first, the reserved field in the
// second, then the references.
static_assert(offsetof(EventList, events) == 2 * sizeof(IntPtr));
static_assert(sizeof(Event*) == sizeof(IntPtr));

EventListBuilder::EventListBuilder(const std::vector<MidiEventRecord>& events) {
    for (const MidiEventRecord& event : events)
        add(event);
}

EventListBuilder& EventListBuilder::add(const MidiEventRecord& event) {
    static_assert(sizeof(Event) == sizeof(MidiEventRecord));
    Event copy;
    std::memcpy(&copy, &event, sizeof copy);
    return addEvent(copy);
}

EventListBuilder& EventListBuilder::addEvent(const Event& event) {
    slots.emplace_back(storage.size());
    storage.push_back(event);
    return *this;
}

EventListBuilder& EventListBuilder::addNull() {
    slots.emplace_back(std::nullopt);
    return *this;
}

EventListBuilder& EventListBuilder::overrideCount(std::int32_t count) {
    countOverride = count;
    return *this;
}

EventList* EventListBuilder::list() {
    // At least two references, so the head type's own array is always backed by storage.
    words.assign(2 + (slots.size() < 2 ? 2 : slots.size()), 0);
    const std::int32_t count = countOverride.value_or(static_cast<std::int32_t>(slots.size()));
    std::memcpy(words.data(), &count, sizeof count);
    for (std::size_t i = 0; i < slots.size(); ++i) {
        Event* event = slots[i] ? &storage[*slots[i]] : nullptr;
        std::memcpy(&words[2 + i], &event, sizeof event);
    }
    return reinterpret_cast<EventList*>(words.data());
}

} // namespace quorvel::testhost
