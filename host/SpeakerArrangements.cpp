// Speaker arrangements are variable-length records: a head and one speaker per channel.
#include "host/EffectBaseV2.h"

#include "host/Text.h"

#include <cstdlib>
#include <cstring>

namespace quorvel {

namespace {

std::size_t arrangementBytes(std::int32_t channelCount) {
    return offsetof(SpeakerArrangement, speakers) +
           sizeof(SpeakerRecord) * static_cast<std::size_t>(channelCount);
}

// Speakers are reached through the record's address: an arrangement holds channelCount of them.
SpeakerRecord* speakerAt(SpeakerArrangement* arrangement, std::int32_t index) {
    return reinterpret_cast<SpeakerRecord*>(reinterpret_cast<unsigned char*>(arrangement) +
                                            offsetof(SpeakerArrangement, speakers)) +
           index;
}

// A channel count no host uses; it keeps the allocation size far from overflow.
constexpr std::int32_t kMostSpeakers = 1 << 16;

} // namespace

bool EffectBaseV2::allocateArrangement(SpeakerArrangement** place, std::int32_t channelCount) {
    if (place == nullptr || channelCount < 0 || channelCount > kMostSpeakers) return false;
    freeArrangement(place);
    auto* arrangement =
        static_cast<SpeakerArrangement*>(std::calloc(1, arrangementBytes(channelCount)));
    if (arrangement == nullptr) return false;
    arrangement->channelCount = channelCount;
    *place = arrangement;
    return true;
}

bool EffectBaseV2::freeArrangement(SpeakerArrangement** place) {
    if (place == nullptr) return true;
    std::free(*place);
    *place = nullptr;
    return true;
}

bool EffectBaseV2::copySpeaker(SpeakerRecord* to, const SpeakerRecord* from) {
    if (to == nullptr || from == nullptr) return false;
    copyText(to->name, from->name, sizeof to->name);
    to->type = from->type;
    std::memcpy(to->position, from->position, sizeof to->position);
    std::memcpy(to->reserved, from->reserved, sizeof to->reserved);
    return true;
}

bool EffectBaseV2::matchArrangement(SpeakerArrangement** place, const SpeakerArrangement* from) {
    if (from == nullptr || place == nullptr) return false;
    freeArrangement(place);
    if (!allocateArrangement(place, from->channelCount)) return false;
    (*place)->type = from->type;
    auto* source = const_cast<SpeakerArrangement*>(from);
    for (std::int32_t c = 0; c < from->channelCount; ++c) {
        if (!copySpeaker(speakerAt(*place, c), speakerAt(source, c))) return false;
    }
    return true;
}

} // namespace quorvel
