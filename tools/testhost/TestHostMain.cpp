// testhost PLUGIN_PATH [--param N=V]...
// Loads a plug-in like a host, plays a short built-in phrase through it and prints the events
// that went in and the events that came out. A plug-in with stereo audio also gets one held
// note over a second of constant input, and the gain it applied is printed over time.
#include "host/EventLists.h"
#include "tools/testhost/EventText.h"
#include "tools/testhost/PluginInstance.h"
#include "tools/testhost/PluginLibrary.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using quorvel::freshMidiEvent;
using quorvel::MidiEventRecord;
using quorvel::testhost::PluginInstance;
using quorvel::testhost::PluginLibrary;

// Overlapping notes on channel 1, one note on channel 2 and one of every other message kind
// the suite handles, ending with a note-on of velocity 0.
std::vector<MidiEventRecord> builtInPhrase() {
    return {
        freshMidiEvent(0, 0x90, 60, 100), freshMidiEvent(0, 0x90, 64, 90),
        freshMidiEvent(12, 0x91, 67, 80), freshMidiEvent(24, 0xB0, 1, 64),
        freshMidiEvent(36, 0x80, 60, 0),  freshMidiEvent(36, 0x90, 72, 100),
        freshMidiEvent(48, 0xE0, 0, 80),  freshMidiEvent(60, 0xD0, 70, 0),
        freshMidiEvent(72, 0xC0, 0, 0),   freshMidiEvent(84, 0x90, 64, 0),
        freshMidiEvent(96, 0x80, 72, 0),  freshMidiEvent(108, 0x81, 67, 0),
    };
}

void printTable(const char* title, const std::vector<MidiEventRecord>& events) {
    std::printf("%s (%zu)\n", title, events.size());
    std::printf("  %6s  %7s  %-13s  %5s  %5s\n", "time", "channel", "kind", "data1", "data2");
    for (const MidiEventRecord& event : events)
        std::printf("  %6d  %7d  %-13s  %5d  %5d\n", static_cast<int>(event.deltaFrames),
                    quorvel::messageChannel(event) + 1, quorvel::testhost::eventKindName(event),
                    static_cast<int>(event.data1), static_cast<int>(event.data2));
}

bool parseParameter(const char* text, std::pair<int, float>& parameter) {
    char* end = nullptr;
    const long index = std::strtol(text, &end, 10);
    if (end == text || *end != '=') return false;
    const char* valueText = end + 1;
    const float value = std::strtof(valueText, &end);
    if (end == valueText || *end != '\0') return false;
    parameter = {static_cast<int>(index), value};
    return true;
}

// One note held for 0.6 s over a second of input 1.0 in blocks of 512 frames at 44100 Hz, so
// the output shows the gain the plug-in applies.
void playHeldNote(PluginInstance& plugin) {
    constexpr std::int32_t kRate = 44100;
    constexpr std::int32_t kBlock = 512;
    constexpr std::int32_t kReleaseAt = kRate * 6 / 10;
    constexpr std::int32_t kPrintEvery = kRate / 20;
    std::vector<float> input(kBlock, 1.0f);
    std::vector<float> left(kBlock), right(kBlock);
    float* inputs[] = {input.data(), input.data()};
    float* outputs[] = {left.data(), right.data()};

    std::printf("\naudio: a note-on at 0 s and its note-off at 0.6 s, input 1.0\n");
    std::printf("  %6s  %8s  %8s\n", "time", "left", "right");
    plugin.sendMidi({freshMidiEvent(0, 0x90, 60, 127)});
    bool released = false;
    for (std::int32_t start = 0; start < kRate; start += kBlock) {
        if (!released && start >= kReleaseAt) {
            plugin.sendMidi({freshMidiEvent(0, 0x80, 60, 0)});
            released = true;
        }
        plugin.processOverwriting(inputs, outputs, kBlock);
        for (std::int32_t frame = start; frame < start + kBlock; ++frame)
            if (frame % kPrintEvery == 0)
                std::printf("  %5.2fs  %8.5f  %8.5f\n", frame / static_cast<double>(kRate),
                            static_cast<double>(left[frame - start]),
                            static_cast<double>(right[frame - start]));
    }
}

int usage() {
    std::fprintf(stderr, "usage: testhost PLUGIN_PATH [--param N=V]...\n");
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    std::vector<std::pair<int, float>> parameters;
    // Options come in pairs: --param N=V.
    for (int i = 2; i < argc; i += 2) {
        std::pair<int, float> parameter;
        if (std::strcmp(argv[i], "--param") != 0 || i + 1 >= argc ||
            !parseParameter(argv[i + 1], parameter))
            return usage();
        parameters.push_back(parameter);
    }

    std::string error;
    PluginLibrary library;
    if (!library.open(argv[1], error)) {
        std::fprintf(stderr, "testhost: cannot load the plug-in: %s\n", error.c_str());
        return 2;
    }
    PluginInstance plugin;
    if (!plugin.create(library.mainEntry(), error)) {
        std::fprintf(stderr, "testhost: %s: %s\n", argv[1], error.c_str());
        return 3;
    }

    const std::int32_t id = plugin.record()->uniqueId;
    std::printf("name      %s\n", plugin.readText(45).text.c_str());
    std::printf("vendor    %s\n", plugin.readText(47).text.c_str());
    std::printf("product   %s\n", plugin.readText(48).text.c_str());
    std::printf("uniqueId  '%c%c%c%c' (0x%08X)\n", static_cast<char>((id >> 24) & 0xFF),
                static_cast<char>((id >> 16) & 0xFF), static_cast<char>((id >> 8) & 0xFF),
                static_cast<char>(id & 0xFF), static_cast<unsigned>(id));

    plugin.dispatch(0);
    plugin.dispatch(10, 0, 0, nullptr, 44100.0f);
    plugin.dispatch(11, 0, 512);
    plugin.dispatch(12, 0, 1);
    for (const auto& [index, value] : parameters) {
        plugin.setParameter(index, value);
        std::printf("parameter %d %s = %s %s\n", index, plugin.readText(8, index).text.c_str(),
                    plugin.readText(7, index).text.c_str(), plugin.readText(6, index).text.c_str());
    }

    const std::vector<MidiEventRecord> phrase = builtInPhrase();
    plugin.host().clear();
    plugin.sendMidi(phrase);
    // One processing call, as a host makes after each block's events: plug-ins that queue
    // events send them from there.
    const bool stereo = plugin.record()->inputCount == 2 && plugin.record()->outputCount == 2;
    std::vector<float> silence(512, 0.0f), left(512), right(512);
    float* inputs[] = {silence.data(), silence.data()};
    float* outputs[] = {left.data(), right.data()};
    plugin.processOverwriting(stereo ? inputs : nullptr, stereo ? outputs : nullptr, 512);
    std::printf("\n");
    printTable("events in", phrase);
    printTable("events out", plugin.receivedEvents());
    if (stereo) playHeldNote(plugin);

    plugin.dispatch(12, 0, 0);
    plugin.close();
    return 0;
}
