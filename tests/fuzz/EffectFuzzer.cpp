// Drives one plug-in instance through the entry functions of its record, as a host does, with
// the arguments read from the fuzzer's input (encodings in FuzzInput.h):
//   byte 0      the plug-in, mod 10 in the order of kFactories (QUORVEL_FUZZ_PLUGIN overrides)
//   then, until the input ends, an operation byte (mod 5) and its arguments:
//   0 dispatch  opcode, index (number), value (wide), opt (real), a pointer byte whose bit 0
//               passes null, then what the opcode's buffer is made from
//   1 set       index (number), value (real)
//   2 get       index (number)
//   3 events    an event list (HostBuffers.h), handed over through opcode 25
//   4 process   mode bits, frames (number), sample (real)
// and last opcode 1, which closes the effect and frees it.
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/HostBuffers.h"

#include "host/EventLists.h"
#include "host/PluginMain.h"
#include "plugins/brenlit/ControllerRangeFilterEffect.h"
#include "plugins/gavorn/VelocityAmpEffect.h"
#include "plugins/kelvost/VelocityRangeFilterEffect.h"
#include "plugins/lunfeth/NoteFilterEffect.h"
#include "plugins/marquil/ChanneliserEffect.h"
#include "plugins/pellix/ControllerMapperEffect.h"
#include "plugins/scalomir/ForceToKeyEffect.h"
#include "plugins/sorvane/EnvelopeEffect.h"
#include "plugins/tavrune/TransposerEffect.h"
#include "plugins/valdrin/NoteRangeFilterEffect.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace quorvel::fuzz {
namespace {

template <class Effect> EffectBase* create(HostCallback host) {
    return new (std::nothrow) Effect(host);
}

constexpr EffectFactory kFactories[] = {
    create<ForceToKeyEffect>,          create<ControllerRangeFilterEffect>,
    create<NoteRangeFilterEffect>,     create<EnvelopeEffect>,
    create<VelocityRangeFilterEffect>, create<ChanneliserEffect>,
    create<TransposerEffect>,          create<NoteFilterEffect>,
    create<VelocityAmpEffect>,         create<ControllerMapperEffect>};
constexpr int kPluginCount = sizeof kFactories / sizeof kFactories[0];

// Frame counts beyond this are taken modulo; negative ones are passed as they are.
constexpr std::int32_t kMostFrames = 4096;
// A record declaring more channels than this is not processed: no host would allocate them.
constexpr std::int32_t kMostChannels = 64;
// What hosts give for names and other texts, and at least what they give for parameter texts.
constexpr std::size_t kTextBytes = 256;
constexpr std::size_t kParameterTextBytes = 64;

// The plug-in named by QUORVEL_FUZZ_PLUGIN (0 to 9), or -1 to let the input choose.
int forcedPlugin() {
    static const int forced = [] {
        const char* text = std::getenv("QUORVEL_FUZZ_PLUGIN");
        if (text == nullptr || *text == '\0') return -1;
        return (std::atoi(text) % kPluginCount + kPluginCount) % kPluginCount;
    }();
    return forced;
}

// Reads every event of a list the plug-in sends, as a host forwarding them would.
void readSentList(const void* pointer) {
    if (pointer == nullptr) fault("a null event list sent to the host");
    const auto& list = *static_cast<const EventList*>(pointer);
    for (std::int32_t i = 0; i < list.count; ++i) {
        const Event* event = eventAt(list, i);
        if (event == nullptr) fault("a null event sent to the host");
        Event copy;
        std::memcpy(&copy, event, sizeof copy);
        hostReads += static_cast<std::uint32_t>(copy.type) + copy.data[8] + copy.data[9];
    }
}

// Accepts every request and answers 0, except for its version and for the events it is sent.
IntPtr QUORVEL_CALL hostCallback(EffectRecord*, std::int32_t opcode, std::int32_t, IntPtr,
                                 void* pointer, float) {
    if (opcode == 1) return 2400;
    if (opcode == 8) {
        readSentList(pointer);
        return 1;
    }
    return 0;
}

// What the pointer of each dispatcher opcode refers to.
enum class Pointee {
    opaque,
    textIn,
    textOut,
    parameterTextOut,
    pinProperties,
    pointerSlot,
    stateBlock,
    eventList,
    speakerPair,
    speakerSlots
};

Pointee pointeeOf(std::int32_t opcode) {
    switch (opcode) {
    case 4:
    case 27:
    case 51:
        return Pointee::textIn;
    case 5:
    case 29:
    case 45:
    case 46:
    case 47:
    case 48:
    case 70:
        return Pointee::textOut;
    case 6:
    case 7:
    case 8:
        return Pointee::parameterTextOut;
    case 13:
    case 23:
        return Pointee::pointerSlot;
    case 24:
        return Pointee::stateBlock;
    case 25:
        return Pointee::eventList;
    case 33:
    case 34:
        return Pointee::pinProperties;
    case 42:
        return Pointee::speakerPair;
    case 69:
        return Pointee::speakerSlots;
    default:
        return Pointee::opaque;
    }
}

std::int32_t readOpcode(FuzzInput& input) {
    const std::uint8_t code = input.byte();
    if (code < 0x80) return code;
    if (code == 0xFF) return input.int32();
    return static_cast<std::int32_t>(code) - 256;
}

struct Dispatch {
    EffectRecord* record;
    std::int32_t opcode;
    std::int32_t index;
    IntPtr value;
    float opt;

    IntPtr operator()(void* pointer) const {
        return record->dispatchEntry(record, opcode, index, value, pointer, opt);
    }
};

void dispatchWithBuffer(Dispatch call, FuzzInput& input) {
    switch (pointeeOf(call.opcode)) {
    case Pointee::textIn:
        call(textFrom(input).get());
        return;
    case Pointee::textOut:
    case Pointee::parameterTextOut: {
        const std::size_t size =
            pointeeOf(call.opcode) == Pointee::textOut ? kTextBytes : kParameterTextBytes;
        auto text = textBuffer(size);
        call(text.get());
        readText(text.get(), size);
        return;
    }
    case Pointee::pinProperties: {
        auto properties = std::make_unique<PinProperties>();
        if (call(properties.get()) != 0) readText(properties->label, sizeof properties->label);
        return;
    }
    case Pointee::pointerSlot: {
        auto slot = heapArray<void*>(1);
        const IntPtr answer = call(slot.get());
        const auto* data = static_cast<const std::uint8_t*>(slot[0]);
        if (answer <= 0 || data == nullptr) return;
        // Opcode 13 answers the editor's rectangle, opcode 23 a state block of answer bytes.
        const std::size_t size =
            call.opcode == 13 ? sizeof(EditorSize) : static_cast<std::size_t>(answer);
        for (std::size_t i = 0; i < size; ++i)
            hostReads += data[i];
        return;
    }
    case Pointee::stateBlock: {
        std::size_t size = 0;
        auto block = blockFrom(input, size);
        call.value = static_cast<IntPtr>(size);
        call(block.get());
        return;
    }
    case Pointee::eventList: {
        HostEventList list(input);
        call(list.get());
        return;
    }
    case Pointee::speakerPair: {
        auto in = arrangementFrom(input);
        auto out = arrangementFrom(input);
        call.value = reinterpret_cast<IntPtr>(in.get());
        call(out.get());
        return;
    }
    case Pointee::speakerSlots: {
        auto in = heapArray<SpeakerArrangement*>(1);
        auto out = heapArray<SpeakerArrangement*>(1);
        call.value = reinterpret_cast<IntPtr>(in.get());
        call(out.get());
        for (const SpeakerArrangement* answered : {in[0], out[0]})
            if (answered != nullptr) readArrangement(answered);
        return;
    }
    case Pointee::opaque:
        call(heapArray<std::uint8_t>(kTextBytes).get());
        return;
    }
}

void dispatchOperation(EffectRecord* record, FuzzInput& input) {
    Dispatch call{record, readOpcode(input), input.number(), input.wide(), input.real()};
    const bool nullPointer = (input.byte() & 1) != 0;
    // Closing frees the effect, so it is the last step of every run and never one before.
    if (call.opcode == 1) return;
    // A pointer-sized value of these opcodes is a pointer; a host passes none or a valid one.
    if (call.opcode == 42 || call.opcode == 69) call.value = 0;
    if (nullPointer) {
        call(nullptr);
        return;
    }
    dispatchWithBuffer(call, input);
}

// Mode bits: 1 accumulating (else overwriting), 2 no input array, 4 no output array, 8 one
// channel pointer null (a byte follows: bit 7 output side, the rest the channel), 16 outputs
// in place over the inputs, 32 noise rather than a constant sample.
void processOperation(EffectRecord* record, FuzzInput& input) {
    const std::uint8_t mode = input.byte();
    std::int32_t frames = input.number();
    if (frames > kMostFrames) frames %= kMostFrames + 1;
    const float sample = input.real();
    const std::uint8_t nulled = (mode & 8) != 0 ? input.byte() : 0;
    if (record->inputCount > kMostChannels || record->outputCount > kMostChannels) return;

    const std::size_t length = frames > 0 ? static_cast<std::size_t>(frames) : 0;
    const bool noise = (mode & 32) != 0;
    AudioChannels inputs(record->inputCount, length, sample, noise);
    AudioChannels outputs(record->outputCount, length, 0.25f, false);
    if ((mode & 16) != 0)
        for (std::int32_t c = 0; c < inputs.count() && c < outputs.count(); ++c)
            outputs.get()[c] = inputs.get()[c];
    if ((mode & 8) != 0) {
        AudioChannels& side = (nulled & 0x80) != 0 ? outputs : inputs;
        if (side.count() > 0) side.get()[(nulled & 0x7F) % side.count()] = nullptr;
    }
    ProcessEntry entry =
        (mode & 1) != 0 ? record->processAccumulatingEntry : record->processOverwritingEntry;
    entry(record, (mode & 2) != 0 ? nullptr : inputs.get(),
          (mode & 4) != 0 ? nullptr : outputs.get(), frames);
}

} // namespace
} // namespace quorvel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    using namespace quorvel::fuzz;
    FuzzInput input(data, size);
    const std::uint8_t selector = input.byte();
    const int plugin = forcedPlugin() >= 0 ? forcedPlugin() : selector % kPluginCount;
    EffectRecord* record = runMain(hostCallback, kFactories[plugin]);
    if (record == nullptr) return 0;
    while (!input.exhausted()) {
        switch (input.byte() % 5) {
        case 0:
            dispatchOperation(record, input);
            break;
        case 1: {
            const std::int32_t index = input.number();
            record->setParameterEntry(record, index, input.real());
            break;
        }
        case 2: {
            const float value = record->getParameterEntry(record, input.number());
            std::uint32_t bits;
            std::memcpy(&bits, &value, sizeof bits);
            hostReads += bits;
            break;
        }
        case 3: {
            HostEventList list(input);
            record->dispatchEntry(record, 25, 0, 0, list.get(), 0.0f);
            break;
        }
        default:
            processOperation(record, input);
            break;
        }
    }
    record->dispatchEntry(record, 1, 0, 0, nullptr, 0.0f);
    return 0;
}

#if defined(QUORVEL_LIBFUZZER)
extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

// Keeps byte 0 on the plug-in being fuzzed, so that a crash input replays as it is.
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t maxSize, unsigned int) {
    size = LLVMFuzzerMutate(data, size, maxSize);
    const int forced = quorvel::fuzz::forcedPlugin();
    if (forced >= 0 && maxSize > 0) {
        if (size == 0) size = 1;
        data[0] = static_cast<std::uint8_t>(forced);
    }
    return size;
}
#endif
