// A chain of plug-ins run offline the way a host runs them: block by block, each block's
// events handed to the first plug-in before its processing call, what a plug-in sends passed
// on to the next one, and audio carried through the processing entries.
#pragma once

#include "tools/plughost/AudioFile.h"
#include "tools/plughost/MidiFile.h"
#include "tools/testhost/PluginInstance.h"
#include "tools/testhost/PluginLibrary.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::plughost {

// One plug-in of the chain, loaded and created with answers for its host requests.
struct Stage {
    std::string path;
    testhost::PluginLibrary library;
    // Declared after the library, so the effect is closed before its code is unloaded.
    testhost::PluginInstance instance;
};

// Loads the library and creates its effect; the host answers rate and block size.
std::unique_ptr<Stage> loadStage(const std::string& path, int rate, int block, std::string& error);

struct RenderSettings {
    int rate = 44100;
    int block = 512;
    // The input audio when there is no audio file: a sine of this frequency, else silence.
    std::optional<double> toneHz;
    double tailSeconds = 0.0;
    bool logEvents = false;
};

// An event as one plug-in received or sent it, at its frame from the start.
struct LoggedEvent {
    std::int64_t frame;
    MidiEventRecord event;
};

struct StageLog {
    std::vector<LoggedEvent> received;
    std::vector<LoggedEvent> sent;
};

struct RenderResult {
    std::vector<TimedMessage> messages;
    AudioClip audio;
    std::vector<StageLog> logs;
};

// Runs the song (and the audio, when given) through the chain. Events a plug-in sends while
// it receives events go on within the block; events it sends from its processing call reach
// the next plug-in, and the output, with the following block, as hosts route plug-in output
// into the next cycle. progress is called after each block with the fraction done.
RenderResult render(std::vector<std::unique_ptr<Stage>>& chain, const MidiSong& song,
                    const AudioClip* audioIn, const RenderSettings& settings,
                    const std::function<void(double)>& progress);

} // namespace quorvel::plughost
