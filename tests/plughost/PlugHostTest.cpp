// plughost run as a user runs it: each test writes its input files into a folder of its own,
// starts the program and reads what it wrote back with libsmf and libsndfile.
#include <gtest/gtest.h>
#include <smf.h>
#include <sndfile.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string pluginPath(const std::string& name) {
    return std::string(PLUGIN_DIR) + "/" + name + ".so";
}

// A fresh folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "plughost-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        root = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string operator/(const std::string& name) const { return (root / name).string(); }
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(root))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

private:
    fs::path root;
};

std::string readText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct Outcome {
    int exitCode;
    std::string out;
    std::string err;
};

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

Outcome runPlugHost(const std::vector<std::string>& arguments) {
    const TempDir streams;
    std::string command = shellQuoted(PLUGHOST_PATH);
    for (const std::string& argument : arguments)
        command += " " + shellQuoted(argument);
    command += " >" + shellQuoted(streams / "out") + " 2>" + shellQuoted(streams / "err");
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readText(streams / "out"),
            readText(streams / "err")};
}

// Times in beats, so a tempo change moves everything after it.
struct SongEvent {
    double beat;
    std::vector<int> bytes;
};

struct Song {
    int ppqn = 480;
    // Beat and beats per minute; a file without any plays at 120.
    std::vector<std::pair<double, int>> tempos;
    std::vector<SongEvent> events;
};

void writeMidi(const std::string& path, const Song& song) {
    smf_t* smf = smf_new();
    ASSERT_NE(smf, nullptr);
    ASSERT_EQ(smf_set_ppqn(smf, song.ppqn), 0);
    smf_track_t* track = smf_track_new();
    smf_add_track(smf, track);
    const auto pulses = [&](double beat) {
        return static_cast<int>(std::lround(beat * song.ppqn));
    };
    for (const auto& [beat, bpm] : song.tempos) {
        const int micros = 60000000 / bpm;
        unsigned char tempo[] = {0xFF,
                                 0x51,
                                 0x03,
                                 static_cast<unsigned char>(micros >> 16),
                                 static_cast<unsigned char>(micros >> 8),
                                 static_cast<unsigned char>(micros)};
        smf_track_add_event_pulses(track, smf_event_new_from_pointer(tempo, sizeof tempo),
                                   pulses(beat));
    }
    for (const SongEvent& event : song.events) {
        const auto byte = [&](std::size_t i) {
            return i < event.bytes.size() ? event.bytes[i] : -1;
        };
        smf_event_t* made = smf_event_new_from_bytes(byte(0), byte(1), byte(2));
        ASSERT_NE(made, nullptr);
        smf_track_add_event_pulses(track, made, pulses(event.beat));
    }
    ASSERT_EQ(smf_save(smf, path.c_str()), 0);
    smf_delete(smf);
}

struct Message {
    double seconds;
    double beats;
    std::vector<int> bytes;
};

// The channel and system messages of every track, in time order.
std::vector<Message> readMidi(const std::string& path) {
    smf_t* smf = smf_load(path.c_str());
    if (smf == nullptr) {
        ADD_FAILURE() << "cannot read " << path;
        return {};
    }
    std::vector<Message> messages;
    while (smf_event_t* event = smf_get_next_event(smf))
        if (!smf_event_is_metadata(event))
            messages.push_back(
                {event->time_seconds,
                 static_cast<double>(event->time_pulses) / smf->ppqn,
                 {event->midi_buffer, event->midi_buffer + event->midi_buffer_length}});
    smf_delete(smf);
    return messages;
}

struct Audio {
    int rate = 0;
    std::vector<std::vector<float>> channels;
};

void writeWav(const std::string& path, const Audio& audio) {
    SF_INFO info{};
    info.samplerate = audio.rate;
    info.channels = static_cast<int>(audio.channels.size());
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    const std::size_t frames = audio.channels.front().size();
    std::vector<float> interleaved;
    for (std::size_t frame = 0; frame < frames; ++frame)
        for (const auto& channel : audio.channels)
            interleaved.push_back(channel[frame]);
    EXPECT_EQ(sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(frames)),
              static_cast<sf_count_t>(frames));
    sf_close(file);
}

Audio readWav(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        ADD_FAILURE() << "cannot read " << path << ": " << sf_strerror(nullptr);
        return {};
    }
    const auto channels = static_cast<std::size_t>(info.channels);
    std::vector<float> interleaved(static_cast<std::size_t>(info.frames) * channels);
    sf_readf_float(file, interleaved.data(), info.frames);
    sf_close(file);
    Audio audio{info.samplerate, std::vector<std::vector<float>>(channels)};
    for (std::size_t i = 0; i < interleaved.size(); ++i)
        audio.channels[i % channels].push_back(interleaved[i]);
    return audio;
}

// The frame column of one table ("events in" or "events out") that --print shows for the
// plug-in at this place of the chain, counted from 1.
std::vector<std::int64_t> printedFrames(const std::string& printed, int stage,
                                        const std::string& table) {
    std::istringstream lines(printed);
    const std::string stageTitle = "plug-in " + std::to_string(stage) + " (";
    const std::string tableTitle = "  " + table + " (";
    bool inStage = false;
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("plug-in ", 0) == 0) inStage = line.rfind(stageTitle, 0) == 0;
        if (!inStage || line.rfind(tableTitle, 0) != 0) continue;
        const int count = std::stoi(line.substr(tableTitle.size()));
        std::getline(lines, line); // column titles
        std::vector<std::int64_t> frames;
        for (int i = 0; i < count && std::getline(lines, line); ++i)
            frames.push_back(std::stoll(line));
        return frames;
    }
    ADD_FAILURE() << "no '" << table << "' of plug-in " << stage << " in:\n" << printed;
    return {};
}

std::vector<std::int64_t> framesAt(const std::vector<double>& seconds, int rate) {
    std::vector<std::int64_t> frames;
    for (double time : seconds)
        frames.push_back(std::llround(time * rate));
    return frames;
}

TEST(PlugHostRun, TransposerShiftsTheNotesOfAFileAndKeepsTheirTimes) {
    TempDir dir;
    // A coarse resolution and a tempo change: the output is written at finer pulses and must
    // still land on the same beats and seconds.
    writeMidi(dir / "in.mid", {96,
                               {{0.0, 120}, {2.0, 90}},
                               {{0.0, {0x90, 60, 100}},
                                {0.5, {0xB0, 1, 64}},
                                {1.0, {0x80, 60, 0}},
                                {1.25, {0x91, 0, 90}},
                                {2.5, {0xE1, 0, 80}},
                                {3.0, {0x91, 0, 0}},
                                {3.125, {0x92, 120, 70}},
                                {4.0, {0x82, 120, 64}}}});
    const Outcome run = runPlugHost({"run", pluginPath("tavrune"), "--midi", dir / "in.mid",
                                     "--out", dir / "out.mid", "--param", "0=0.55"});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const std::vector<Message> input = readMidi(dir / "in.mid");
    const std::vector<Message> output = readMidi(dir / "out.mid");
    ASSERT_EQ(output.size(), input.size());
    for (std::size_t i = 0; i < input.size(); ++i) {
        SCOPED_TRACE(i);
        std::vector<int> expected = input[i].bytes;
        const int kind = expected[0] & 0xF0;
        // Notes move up an octave, the top ones stop at 127.
        if (kind == 0x80 || kind == 0x90) expected[1] = std::min(expected[1] + 12, 127);
        EXPECT_EQ(output[i].bytes, expected);
        EXPECT_NEAR(output[i].seconds, input[i].seconds, 0.001);
        EXPECT_NEAR(output[i].beats, input[i].beats, 0.002);
    }
}

struct BlockCase {
    int rate;
    int block;
};

void PrintTo(const BlockCase& setting, std::ostream* out) {
    *out << setting.rate << " Hz, blocks of " << setting.block;
}

class PlugHostBlocks : public testing::TestWithParam<BlockCase> {};

// The first plug-in sees each event at the frame of its time in seconds, whatever the block
// size: the block's start plus the event's deltaFrames.
TEST_P(PlugHostBlocks, EventsReachTheFirstPlugInAtTheFrameOfTheirTime) {
    const BlockCase& setting = GetParam();
    const auto controller = [](int value) { return std::vector<int>{0xB0, 7, value}; };
    const struct {
        Song song;
        std::vector<double> seconds;
    } songs[] = {
        {{480, {}, {{0.0, controller(1)}, {0.6, controller(2)}, {2.0, controller(3)}}},
         {0.0, 0.3, 1.0}},
        // From 120 to 60 bpm at beat 1: beat 1.5 falls on 1 s only through the tempo map.
        {{480,
          {{0.0, 120}, {1.0, 60}},
          {{0.5, controller(1)}, {1.5, controller(2)}, {2.0, controller(3)}}},
         {0.25, 1.0, 1.5}},
    };
    for (const auto& [song, seconds] : songs) {
        TempDir dir;
        writeMidi(dir / "in.mid", song);
        const Outcome run = runPlugHost({"run", pluginPath("tavrune"), "--midi", dir / "in.mid",
                                         "--rate", std::to_string(setting.rate), "--block",
                                         std::to_string(setting.block), "--print"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(printedFrames(run.out, 1, "events in"), framesAt(seconds, setting.rate));
    }
}

INSTANTIATE_TEST_SUITE_P(RatesAndBlocks, PlugHostBlocks,
                         testing::Values(BlockCase{44100, 64}, BlockCase{44100, 512},
                                         BlockCase{48000, 64}, BlockCase{48000, 512}),
                         [](const testing::TestParamInfo<BlockCase>& info) {
                             return std::to_string(info.param.rate) + "Hz" +
                                    std::to_string(info.param.block) + "Frames";
                         });

TEST(PlugHostRun, ChainAppliesEveryPlugInInTurn) {
    TempDir dir;
    writeMidi(dir / "in.mid", {480,
                               {},
                               {{0.0, {0x90, 60, 100}},
                                {0.5, {0xC1, 5}},
                                {1.0, {0xBF, 7, 90}},
                                {1.5, {0x80, 60, 0}},
                                {2.0, {0x9F, 64, 80}},
                                {2.5, {0x8F, 64, 0}}}});
    const Outcome run =
        runPlugHost({"run", pluginPath("tavrune"), pluginPath("marquil"), "--midi", dir / "in.mid",
                     "--out", dir / "out.mid", "--param", "0=0.55", "--param", "2:0=0.5"});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    // Up an octave from the first, onto channel 9 from the second.
    const std::vector<std::vector<int>> expected = {{0x98, 72, 100}, {0xC8, 5},      {0xB8, 7, 90},
                                                    {0x88, 72, 0},   {0x98, 76, 80}, {0x88, 76, 0}};
    const std::vector<Message> output = readMidi(dir / "out.mid");
    ASSERT_EQ(output.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(output[i].bytes, expected[i]) << i;
        EXPECT_NEAR(output[i].seconds, 0.25 * static_cast<double>(i), 0.001) << i;
    }
}

struct DeferCase {
    const char* name;
    std::vector<std::string> chain;
    std::vector<std::string> options;
    int rate;
    // How late the last plug-in's output comes out, in frames.
    int delay;
};

void PrintTo(const DeferCase& setting, std::ostream* out) {
    *out << setting.name;
}

class PlugHostDeferred : public testing::TestWithParam<DeferCase> {};

// Pellix sends from its processing call, so its output reaches the file a block late; each
// such plug-in of a chain adds a block. The last event of the song must still come out.
TEST_P(PlugHostDeferred, OutputFromTheProcessingCallComesOutABlockLater) {
    const DeferCase& setting = GetParam();
    TempDir dir;
    writeMidi(dir / "in.mid", {480,
                               {},
                               {{0.0, {0x90, 60, 100}},
                                {0.1, {0xB0, 1, 10}},
                                {1.0, {0x80, 60, 0}},
                                {1.37, {0xB0, 1, 20}}}});
    std::vector<std::string> arguments = {"run"};
    for (const std::string& name : setting.chain)
        arguments.push_back(pluginPath(name));
    for (const std::string& option : {std::string("--midi"), dir / "in.mid", std::string("--out"),
                                      dir / "out.mid", std::string("--print")})
        arguments.push_back(option);
    arguments.insert(arguments.end(), setting.options.begin(), setting.options.end());
    const Outcome run = runPlugHost(arguments);
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const std::vector<Message> input = readMidi(dir / "in.mid");
    const std::vector<Message> output = readMidi(dir / "out.mid");
    ASSERT_EQ(output.size(), input.size());
    for (std::size_t i = 0; i < input.size(); ++i) {
        EXPECT_EQ(output[i].bytes, input[i].bytes) << i;
        EXPECT_NEAR(output[i].seconds, input[i].seconds + double(setting.delay) / setting.rate,
                    0.0005)
            << i;
    }
    std::vector<std::int64_t> expected = printedFrames(run.out, 1, "events in");
    for (std::int64_t& frame : expected)
        frame += setting.delay;
    EXPECT_EQ(printedFrames(run.out, static_cast<int>(setting.chain.size()), "events out"),
              expected);
}

INSTANTIATE_TEST_SUITE_P(
    Chains, PlugHostDeferred,
    testing::Values(DeferCase{"DefaultBlock", {"pellix"}, {}, 44100, 512},
                    DeferCase{
                        "SetBlock", {"pellix"}, {"--rate", "48000", "--block", "128"}, 48000, 128},
                    DeferCase{"TwoDeferringPlugIns", {"pellix", "pellix"}, {}, 44100, 1024},
                    DeferCase{"AfterAnImmediatePlugIn", {"tavrune", "pellix"}, {}, 44100, 512}),
    [](const testing::TestParamInfo<DeferCase>& info) { return std::string(info.param.name); });

// The loudest sample magnitude of a channel between two times.
float peak(const std::vector<float>& channel, int rate, double from, double to) {
    const auto first = static_cast<std::size_t>(from * rate);
    const auto last = std::min(channel.size(), static_cast<std::size_t>(to * rate));
    float loudest = 0.0f;
    for (std::size_t i = first; i < last; ++i)
        loudest = std::max(loudest, std::fabs(channel[i]));
    return loudest;
}

// Sorvane shapes its input with an envelope of 0.1 s attack, 0.1 s decay to a sustain of 0.5 and
// 0.2 s release, for a note held from 0.5 s to 1.5 s. Both inputs have a peak of 0.5.
TEST(PlugHostRun, EnvelopeShapesTheInputAudio) {
    constexpr int kRate = 44100;
    const std::vector<std::string> settings = {"--param", "4=0",   "--param", "0=0.1",
                                               "--param", "1=0.1", "--param", "3=0.2"};
    const struct {
        const char* name;
        bool fromFile;
    } sources[] = {{"constant WAV", true}, {"tone", false}};
    for (const auto& source : sources) {
        SCOPED_TRACE(source.name);
        TempDir dir;
        writeMidi(dir / "in.mid", {480, {}, {{1.0, {0x90, 60, 127}}, {3.0, {0x80, 60, 0}}}});
        std::vector<std::string> arguments = {
            "run", pluginPath("sorvane"), "--midi", dir / "in.mid", "--audio-out", dir / "out.wav"};
        if (source.fromFile) {
            writeWav(dir / "in.wav", {kRate, std::vector<std::vector<float>>(
                                                 2, std::vector<float>(kRate * 5 / 2, 0.5f))});
            arguments.insert(arguments.end(), {"--audio", dir / "in.wav"});
        } else {
            arguments.insert(arguments.end(), {"--tone", "220"});
        }
        arguments.insert(arguments.end(), settings.begin(), settings.end());
        const Outcome run = runPlugHost(arguments);
        ASSERT_EQ(run.exitCode, 0) << run.err;

        const Audio output = readWav(dir / "out.wav");
        ASSERT_EQ(output.rate, kRate);
        ASSERT_EQ(output.channels.size(), 2u);
        ASSERT_GT(output.channels[0].size(), std::size_t{kRate * 2});
        for (const std::vector<float>& channel : output.channels) {
            const auto at = [&](double time) { return peak(channel, kRate, time, time + 0.01); };
            // A note-on may act from the start of its block, never earlier.
            EXPECT_EQ(peak(channel, kRate, 0.0, 0.49), 0.0f);
            EXPECT_GT(at(0.52), 0.0f);
            EXPECT_LT(at(0.52), at(0.55));
            EXPECT_LT(at(0.55), at(0.58));
            for (double time = 0.75; time < 1.45; time += 0.05)
                EXPECT_NEAR(at(time), 0.25f, 0.01f) << time;
            EXPECT_GT(at(1.55), at(1.6));
            EXPECT_GT(at(1.6), at(1.65));
            EXPECT_GT(at(1.65), 0.0f);
            EXPECT_EQ(peak(channel, kRate, 1.75, 10.0), 0.0f);
        }
    }
}

struct ErrorCase {
    const char* name;
    // "{dir}/" at the start of an argument stands for the test's folder.
    std::vector<std::string> arguments;
};

void PrintTo(const ErrorCase& setting, std::ostream* out) {
    *out << setting.name;
}

class PlugHostErrors : public testing::TestWithParam<ErrorCase> {};

// A failing run says why in one line and leaves none of its output files behind.
TEST_P(PlugHostErrors, FailureExplainsItselfInOneLineAndWritesNothing) {
    TempDir dir;
    writeMidi(dir / "good.mid", {480, {}, {{0.0, {0x90, 60, 100}}, {1.0, {0x80, 60, 0}}}});
    writeText(dir / "text.so", "not a plug-in\n");
    writeText(dir / "garbage.mid", "MThx\x01\x02 these bytes are no MIDI file");
    writeText(dir / "garbage.wav", "RIFX\x05 these bytes are no WAV file");
    const std::vector<std::string> inputs = dir.names();

    std::vector<std::string> arguments;
    for (const std::string& argument : GetParam().arguments)
        arguments.push_back(argument.rfind("{dir}/", 0) == 0 ? dir / argument.substr(6) : argument);
    const Outcome run = runPlugHost(arguments);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.err.rfind("plughost: ", 0), 0u) << run.err;
    EXPECT_EQ(run.err.back(), '\n');
    EXPECT_EQ(dir.names(), inputs);
}

std::vector<std::string> runWith(const std::string& plugin, const std::string& midi,
                                 std::vector<std::string> more = {}) {
    std::vector<std::string> arguments = {"run",   plugin,          "--midi",      midi,
                                          "--out", "{dir}/OUT.mid", "--audio-out", "{dir}/OUT.wav"};
    // Given after the defaults, so a case can replace an output.
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

const std::string kGood = "{dir}/good.mid";

INSTANTIATE_TEST_SUITE_P(
    Cases, PlugHostErrors,
    testing::Values(
        ErrorCase{"NotAPlugIn", runWith("{dir}/text.so", kGood)},
        ErrorCase{"EntryAnswersNone", runWith(NULL_ENTRY_PATH, kGood)},
        ErrorCase{"PlugInCrashesWhileProcessing", runWith(CRASHING_PATH, kGood)},
        ErrorCase{"MissingMidiFile", runWith(pluginPath("tavrune"), "{dir}/missing.mid")},
        ErrorCase{"MalformedMidiFile", runWith(pluginPath("tavrune"), "{dir}/garbage.mid")},
        ErrorCase{"MalformedWavFile",
                  runWith(pluginPath("sorvane"), kGood, {"--audio", "{dir}/garbage.wav"})},
        ErrorCase{"ParameterIndexOutOfRange",
                  runWith(pluginPath("tavrune"), kGood, {"--param", "1=0.5"})},
        ErrorCase{"ParameterOfAMissingPlugIn",
                  runWith(pluginPath("tavrune"), kGood, {"--param", "2:0=0.5"})},
        ErrorCase{"ValueAboveOne", runWith(pluginPath("tavrune"), kGood, {"--param", "0=1.5"})},
        ErrorCase{"ValueBelowZero", runWith(pluginPath("tavrune"), kGood, {"--param", "0=-0.1"})},
        // The MIDI file is written first and must go again when the audio cannot be written.
        ErrorCase{"AudioOutputFolderMissing",
                  runWith(pluginPath("tavrune"), kGood, {"--audio-out", "{dir}/none/OUT.wav"})},
        ErrorCase{"MidiOutputFolderMissing",
                  runWith(pluginPath("tavrune"), kGood, {"--out", "{dir}/none/OUT.mid"})}),
    [](const testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

// Plug-ins installed on this machine by others, in the folders Linux hosts search.
std::vector<std::string> installedPlugins() {
    std::vector<fs::path> folders = {"/usr/lib/vst", "/usr/local/lib/vst"};
    if (const char* home = std::getenv("HOME")) folders.push_back(fs::path(home) / ".vst");
    std::vector<std::string> found;
    for (const fs::path& folder : folders) {
        std::error_code error;
        for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error))
            if (it->path().extension() == ".so") found.push_back(it->path().string());
    }
    return found;
}

TEST(PlugHostInfo, ReportsTheIdentityOfAThirdPartyPlugIn) {
    const std::vector<std::string> plugins = installedPlugins();
    if (plugins.empty()) GTEST_SKIP() << "no third-party plug-in installed";
    const std::regex uniqueId(R"(\n  unique id +'.{4}' \(-?[0-9]+, 0x[0-9A-F]{8}\)\n)");
    // What a third-party plug-in leaks is not ours to report in a sanitizer build.
    const char* leakOptions = std::getenv("LSAN_OPTIONS");
    const std::string kept = leakOptions != nullptr ? leakOptions : "";
    setenv("LSAN_OPTIONS", "detect_leaks=0", 1);
    for (const std::string& plugin : plugins) {
        const Outcome run = runPlugHost({"info", plugin});
        EXPECT_EQ(run.exitCode, 0) << plugin << ": " << run.err;
        EXPECT_TRUE(std::regex_search(run.out, uniqueId)) << run.out;
    }
    if (leakOptions != nullptr)
        setenv("LSAN_OPTIONS", kept.c_str(), 1);
    else
        unsetenv("LSAN_OPTIONS");
}

TEST(PlugHostInfo, JsonListsEveryPlugInWithItsParameters) {
    const Outcome run =
        runPlugHost({"info", "--json", pluginPath("tavrune"), pluginPath("pellix")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* expected : {"\"uniqueId\": \"Qz07\"", "\"title\": \"Semitone\"",
                                 "\"uniqueId\": \"Qz10\"", "\"title\": \"CC in\""})
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << " in\n" << run.out;
}

} // namespace
