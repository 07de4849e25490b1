#include "plugins/pellix/ControllerMapperEffect.h"

#include "host/Conversions.h"
#include "host/Text.h"

#include <cstring>
#include <new>

namespace quorvel {

namespace {

constexpr const char* kFeatures[] = {"sendVstMidiEvent", "sendVstEvents", "receiveVstEvents",
                                     "receiveVstMidiEvent", "receiveVstTimeInfo"};

constexpr const char* kControllerNames[kNoteCount] = {"0 Banksel",
                                                      "1 Modulation",
                                                      "2 Breath",
                                                      "3",
                                                      "4 Foot",
                                                      "5 Portamento",
                                                      "6 DataEntry",
                                                      "7 Volume",
                                                      "8 Balance",
                                                      "9",
                                                      "10 Pan",
                                                      "11 Expression",
                                                      "12 GenPurp1",
                                                      "13 GenPurp2",
                                                      "14 GenPurp3",
                                                      "15 GenPurp4",
                                                      "16",
                                                      "17",
                                                      "18",
                                                      "19",
                                                      "20",
                                                      "21",
                                                      "22",
                                                      "23",
                                                      "24",
                                                      "25",
                                                      "26",
                                                      "27",
                                                      "28",
                                                      "29",
                                                      "30",
                                                      "31",
                                                      "32 BankSelLSB",
                                                      "33 Mod LSB",
                                                      "34 BreathLSB",
                                                      "35 FootLSB",
                                                      "36 PortaLSB",
                                                      "37 DataEntLSB",
                                                      "38 VolumeLSB",
                                                      "39 BalanceLSB",
                                                      "40",
                                                      "41 Pan LSB",
                                                      "42 Expr LSB",
                                                      "43",
                                                      "44",
                                                      "45",
                                                      "46",
                                                      "47",
                                                      "48",
                                                      "49",
                                                      "50",
                                                      "51",
                                                      "52",
                                                      "53",
                                                      "54",
                                                      "55",
                                                      "56",
                                                      "57",
                                                      "58",
                                                      "59",
                                                      "60",
                                                      "61",
                                                      "62",
                                                      "63",
                                                      "64 Sustain",
                                                      "65 Porta On/Off",
                                                      "66 Sostenuto",
                                                      "67 Soft pedal",
                                                      "68 Legato fs",
                                                      "69 Hold 2",
                                                      "70 Sound var",
                                                      "71 Harmonique",
                                                      "72 Release time",
                                                      "73 Attack time",
                                                      "74 Cut-off",
                                                      "75",
                                                      "76",
                                                      "77",
                                                      "78",
                                                      "79",
                                                      "80 GenPurp5",
                                                      "81 GenPurp6",
                                                      "82 GenPurp7",
                                                      "83 GenPurp8",
                                                      "84 Porta ",
                                                      "85",
                                                      "86",
                                                      "87",
                                                      "88",
                                                      "89",
                                                      "90",
                                                      "91 ExtFx1 Depth",
                                                      "92 ExtFx2 Depth",
                                                      "93 ExtFx3 Depth",
                                                      "94 ExtFx4 Depth",
                                                      "95 ExtFx5 Depth",
                                                      "96 Data inc",
                                                      "97 Data dec",
                                                      "98 Nrpn LSB",
                                                      "99 Nrpn MSB",
                                                      "100 Rpn LSB",
                                                      "101 Rpn MSB",
                                                      "102",
                                                      "103",
                                                      "104",
                                                      "105",
                                                      "106",
                                                      "107",
                                                      "108",
                                                      "109",
                                                      "110",
                                                      "111",
                                                      "112",
                                                      "113",
                                                      "114",
                                                      "115",
                                                      "116",
                                                      "117",
                                                      "118",
                                                      "119",
                                                      "120 AllSound off",
                                                      "121 Reset ",
                                                      "122 Local ",
                                                      "123 AllNotes off",
                                                      "124 Omni ON",
                                                      "125 Omni OFF",
                                                      "126 Mono ON",
                                                      "127 Poly ON"};

} // namespace

ControllerMapperEffect::ControllerMapperEffect(HostCallback host) : EffectBaseV2(host, 1, 2) {
    assignInputCount(0);
    assignOutputCount(0);
    markCanOverwrite(true);
    markHasMeter(false);
    markHasClip(false);
    markSynth(true);
    assignUniqueId(fourCharacters("Qz10"));
    ccOut.store(controllerOf(ccOutValue.load(std::memory_order_relaxed)),
                std::memory_order_relaxed);
    try {
        inputQueue.reserve(kReservedEvents);
        outputQueue.reserve(kReservedEvents);
        outputList = std::make_unique<EventListOf<kListCapacity + 1>>();
        outputEvents = std::make_unique<MidiEventRecord[]>(kListCapacity + 1);
    } catch (const std::bad_alloc&) {
        // Without its buffers the plug-in still loads; it then queues and sends nothing.
        outputEvents.reset();
    }
}

std::int32_t ControllerMapperEffect::controllerOf(float value) {
    return truncateInRange(static_cast<double>(value) * 127.0, 0, kNoteCount - 1, 0);
}

const char* ControllerMapperEffect::controllerName(std::int32_t number) {
    return kControllerNames[number];
}

void ControllerMapperEffect::applyParameter(std::int32_t index, float value) {
    if (index == 0) {
        ccInValue.store(value, std::memory_order_relaxed);
        ccIn.store(controllerOf(value), std::memory_order_relaxed);
    } else if (index == 1) {
        ccOutValue.store(value, std::memory_order_relaxed);
        ccOut.store(controllerOf(value), std::memory_order_relaxed);
    }
}

float ControllerMapperEffect::parameterValue(std::int32_t index) {
    if (index == 0) return ccInValue.load(std::memory_order_relaxed);
    if (index == 1) return ccOutValue.load(std::memory_order_relaxed);
    return 0.0f;
}

void ControllerMapperEffect::parameterTitle(std::int32_t index, char* text) {
    if (index == 0 || index == 1) copyText(text, index == 0 ? "CC in" : "CC out", kNameCapacity);
}

void ControllerMapperEffect::parameterUnit(std::int32_t index, char* text) {
    if (index == 0 || index == 1) copyText(text, "controler", kNameCapacity);
}

void ControllerMapperEffect::parameterText(std::int32_t index, char* text) {
    if (index == 0 || index == 1)
        copyText(text, controllerName(controllerOf(parameterValue(index))), kNameCapacity);
}

std::int32_t ControllerMapperEffect::receiveEvents(const EventList& list) {
    if (!buffersReady()) return 1;
    forEachMidiEvent(list, [this](const MidiEventRecord& event) {
        // Within the reserved capacity this does not allocate; beyond it the queue grows, and
        // an event that finds no memory is lost rather than taking the host down.
        try {
            inputQueue.push_back(event);
        } catch (const std::bad_alloc&) {
        }
    });
    return 1;
}

void ControllerMapperEffect::processAccumulating(float**, float**, std::int32_t) {
    runBlock();
}

void ControllerMapperEffect::processOverwriting(float**, float**, std::int32_t) {
    runBlock();
}

void ControllerMapperEffect::runBlock() {
    if (!buffersReady()) return;
    beginBlock();
    mapEvents(inputQueue, outputQueue);
    flushEvents();
}

void ControllerMapperEffect::beginBlock() {
    outputQueue.clear();
}

void ControllerMapperEffect::mapEvents(const std::vector<MidiEventRecord>& input,
                                       std::vector<MidiEventRecord>& output) {
    for (const MidiEventRecord& event : input) {
        try {
            output.push_back(event);
        } catch (const std::bad_alloc&) {
            continue;
        }
        // Renumbered in the queue after the copy, so the copy never waits for a byte just
        // written.
        if (messageKind(event) == kControlChange &&
            (event.data1 & 0x7F) == ccIn.load(std::memory_order_relaxed))
            output.back().data1 = static_cast<std::uint8_t>(ccOut.load(std::memory_order_relaxed));
    }
}

void ControllerMapperEffect::flushEvents() {
    for (std::size_t first = 0; first < outputQueue.size(); first += kListCapacity)
        sendChunk(first, std::min(kListCapacity, outputQueue.size() - first));
    inputQueue.clear();
}

void ControllerMapperEffect::sendChunk(std::size_t first, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        // The queued record whole, then every field the host is not meant to see cleared: the
        // same event as one built from scratch with the time, message and detune.
        MidiEventRecord& event = outputEvents[i];
        event = outputQueue[first + i];
        event.type = kMidiEventType;
        event.byteSize = kMidiEventByteSize;
        event.flags = 0;
        event.noteLength = 0;
        event.noteOffset = 0;
        event.data3 = 0;
        event.noteOffVelocity = 0;
        event.reserved[0] = 0;
        event.reserved[1] = 0;
        outputList->events[i] = reinterpret_cast<Event*>(&event);
    }
    outputList->count = static_cast<std::int32_t>(count);
    outputList->reserved = 0;
    sendEvents(*outputList);
}

void ControllerMapperEffect::onResume() {
    requestEvents(1);
}

bool ControllerMapperEffect::effectName(char* text) {
    copyText(text, "Pellix", kNameCapacity);
    return true;
}

bool ControllerMapperEffect::productText(char* text) {
    copyText(text, "Pellix", kNameCapacity);
    return true;
}

bool ControllerMapperEffect::vendorText(char* text) {
    copyText(text, "Nimrath", kNameCapacity);
    return true;
}

std::int32_t ControllerMapperEffect::supportsFeature(const char* feature) {
    for (const char* known : kFeatures)
        if (std::strcmp(feature, known) == 0) return 1;
    return -1;
}

} // namespace quorvel
