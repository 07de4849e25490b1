// plughost: a command-line VST 2 host. "info" tells what a plug-in is; "run" renders a MIDI
// file (and audio) offline through a chain of plug-ins and writes what comes out.
#include "host/EventLists.h"
#include "platform/Process.h"
#include "tools/plughost/Chain.h"
#include "tools/plughost/Info.h"
#include "tools/plughost/Options.h"
#include "tools/testhost/EventText.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace quorvel;
using namespace quorvel::plughost;

int fail(const std::string& message) {
    std::fprintf(stderr, "plughost: %s\n", message.c_str());
    return 1;
}

// Writes to a file beside the target and renames it into place, so a failure never leaves a
// half-written output behind.
template <class Write> bool writeInPlace(const std::string& path, Write write, std::string& error) {
    const std::string partial = path + ".partial-" + std::to_string(platform::processId());
    platform::removeOnCrash(partial.c_str());
    const bool written = write(partial, error);
    platform::removeOnCrash(nullptr);
    if (!written) {
        std::remove(partial.c_str());
        // The reason names the file the user asked for, not the temporary one.
        for (auto at = error.find(partial); at != std::string::npos; at = error.find(partial))
            error.replace(at, partial.size(), path);
        return false;
    }
    if (std::rename(partial.c_str(), path.c_str()) != 0) {
        std::remove(partial.c_str());
        error = "cannot write " + path;
        return false;
    }
    return true;
}

// A bar on standard error, shown only on a terminal and only once rendering takes a while.
class ProgressBar {
public:
    void update(double fraction) {
        const auto now = std::chrono::steady_clock::now();
        if (!enabled || now - started < std::chrono::seconds(1)) return;
        if (drawn && now - lastDrawn < std::chrono::milliseconds(100) && fraction < 1.0) return;
        constexpr int kWidth = 40;
        const int filled = static_cast<int>(fraction * kWidth);
        std::fprintf(stderr, "\rrendering [%s%s] %3d%%", std::string(filled, '#').c_str(),
                     std::string(kWidth - filled, '.').c_str(), static_cast<int>(fraction * 100));
        drawn = true;
        lastDrawn = now;
    }
    ~ProgressBar() {
        if (drawn) std::fprintf(stderr, "\n");
    }

private:
    bool enabled = platform::standardErrorIsTerminal();
    bool drawn = false;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point lastDrawn;
};

void printEvents(const char* title, const std::vector<LoggedEvent>& events, int rate) {
    std::printf("  %s (%zu)\n", title, events.size());
    std::printf("    %9s  %9s  %7s  %-13s  %5s  %5s\n", "frame", "seconds", "channel", "kind",
                "data1", "data2");
    for (const LoggedEvent& logged : events) {
        const MidiEventRecord& event = logged.event;
        std::printf("    %9lld  %9.4f  %7d  %-13s  %5d  %5d\n",
                    static_cast<long long>(logged.frame), static_cast<double>(logged.frame) / rate,
                    messageChannel(event) + 1, testhost::eventKindName(event),
                    static_cast<int>(event.data1), static_cast<int>(event.data2));
    }
}

int runInfo(const Options& options) {
    std::vector<PluginReport> reports;
    for (const std::string& path : options.plugins) {
        std::string error;
        auto stage = loadStage(path, 44100, 512, error);
        if (!stage) return fail(error);
        reports.push_back(inspect(stage->instance, path));
    }
    if (options.json) {
        std::fputs(reportJson(reports).c_str(), stdout);
    } else {
        for (const PluginReport& report : reports)
            std::fputs(reportText(report).c_str(), stdout);
    }
    return 0;
}

std::string stageName(const std::vector<std::unique_ptr<Stage>>& chain, int stage) {
    return "plug-in " + std::to_string(stage + 1) + " (" + chain[stage]->path + ")";
}

// Checks every setting against the loaded plug-ins before anything is rendered.
bool applySettings(std::vector<std::unique_ptr<Stage>>& chain, const Options& options,
                   std::string& error) {
    const int stages = static_cast<int>(chain.size());
    for (const ProgramSetting& setting : options.programs) {
        if (setting.stage >= stages) {
            error = "--program names plug-in " + std::to_string(setting.stage + 1) +
                    " of a chain of " + std::to_string(stages);
            return false;
        }
        const int count = chain[setting.stage]->instance.record()->programCount;
        if (setting.program >= count) {
            error = "program " + std::to_string(setting.program) +
                    " is out of range: " + stageName(chain, setting.stage) + " has " +
                    std::to_string(count) + " program(s)";
            return false;
        }
        chain[setting.stage]->instance.dispatch(2, 0, setting.program);
    }
    for (const ParameterSetting& setting : options.parameters) {
        if (setting.stage >= stages) {
            error = "--param names plug-in " + std::to_string(setting.stage + 1) +
                    " of a chain of " + std::to_string(stages);
            return false;
        }
        const int count = chain[setting.stage]->instance.record()->parameterCount;
        if (setting.index >= count) {
            error = "parameter " + std::to_string(setting.index) +
                    " is out of range: " + stageName(chain, setting.stage) + " has " +
                    std::to_string(count) + " parameter(s)";
            return false;
        }
        chain[setting.stage]->instance.setParameter(setting.index, setting.value);
    }
    return true;
}

int runChain(const Options& options) {
    std::string error;
    MidiSong song;
    if (!readMidiFile(options.midiIn, song, error)) return fail(error);
    AudioClip audioIn;
    const bool hasAudioIn = !options.audioIn.empty();
    if (hasAudioIn && !readAudioFile(options.audioIn, audioIn, error)) return fail(error);
    if (hasAudioIn && options.rate && *options.rate != audioIn.rate)
        return fail("--rate " + std::to_string(*options.rate) + " differs from the " +
                    std::to_string(audioIn.rate) + " Hz of " + options.audioIn +
                    "; plughost does not resample");

    RenderSettings settings;
    settings.rate = hasAudioIn ? audioIn.rate : options.rate.value_or(44100);
    settings.block = options.block;
    settings.toneHz = options.toneHz;
    // Without input audio, a second after the last event lets envelopes and synths ring out.
    settings.tailSeconds =
        options.tailSeconds.value_or(!options.audioOut.empty() && !hasAudioIn ? 1.0 : 0.0);
    settings.logEvents = options.print;

    std::vector<std::unique_ptr<Stage>> chain;
    for (const std::string& path : options.plugins) {
        auto stage = loadStage(path, settings.rate, settings.block, error);
        if (!stage) return fail(error);
        chain.push_back(std::move(stage));
    }
    if (!applySettings(chain, options, error)) return fail(error);

    RenderResult result;
    {
        ProgressBar bar;
        result = render(chain, song, hasAudioIn ? &audioIn : nullptr, settings,
                        [&bar](double fraction) { bar.update(fraction); });
    }
    if (options.print) {
        for (std::size_t s = 0; s < chain.size(); ++s) {
            std::printf("%s: %s\n", stageName(chain, static_cast<int>(s)).c_str(),
                        chain[s]->instance.readText(45).text.c_str());
            printEvents("events in", result.logs[s].received, settings.rate);
            printEvents("events out", result.logs[s].sent, settings.rate);
        }
    }
    // Every plug-in is closed before anything is written.
    chain.clear();

    if (!options.midiOut.empty() && !writeInPlace(
                                        options.midiOut,
                                        [&](const std::string& path, std::string& reason) {
                                            return writeMidiFile(path, song, result.messages,
                                                                 reason);
                                        },
                                        error))
        return fail(error);
    if (!options.audioOut.empty() && !writeInPlace(
                                         options.audioOut,
                                         [&](const std::string& path, std::string& reason) {
                                             return writeAudioFile(path, result.audio, reason);
                                         },
                                         error)) {
        if (!options.midiOut.empty()) std::remove(options.midiOut.c_str());
        return fail(error);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        // One line, like every other failure, so scripts can show it as it stands.
        std::fprintf(stderr, "plughost: %s (plughost --help shows the usage)\n", error.c_str());
        return 2;
    }
    // Plug-ins run inside this process: one that crashes ends it with a message, and since
    // output files are written only after rendering, nothing is left half-written.
    platform::reportCrashes("plughost: a plug-in crashed; no output file was written");
    switch (options.command) {
    case Options::Command::help:
        std::fputs(kUsage, stdout);
        return 0;
    case Options::Command::info:
        return runInfo(options);
    case Options::Command::run:
        return runChain(options);
    }
    return 1;
}
