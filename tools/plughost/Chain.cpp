#include "tools/plughost/Chain.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quorvel::plughost {

namespace {

// Host requests a third-party plug-in makes while it runs.
constexpr std::int32_t kWantsMidi = 6;
constexpr std::int32_t kSampleRateRequest = 16;
constexpr std::int32_t kBlockSizeRequest = 17;
constexpr std::int32_t kProcessLevelRequest = 23;
constexpr IntPtr kOfflineLevel = 4;

MidiEventRecord eventOf(const TimedMessage& message, std::int32_t deltaFrames) {
    MidiEventRecord event{};
    event.type = kMidiEventType;
    event.byteSize = kMidiEventByteSize;
    event.deltaFrames = deltaFrames;
    event.status = message.bytes[0];
    event.data1 = message.length > 1 ? message.bytes[1] : 0;
    event.data2 = message.length > 2 ? message.bytes[2] : 0;
    return event;
}

// The number of bytes a short message of this status carries.
int messageLength(std::uint8_t status) {
    if (status >= 0xF0) return status == 0xF2 ? 3 : (status == 0xF1 || status == 0xF3 ? 2 : 1);
    const std::uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 2 : 3;
}

TimedMessage messageOf(const MidiEventRecord& event, double seconds) {
    TimedMessage message;
    message.seconds = seconds;
    message.length = messageLength(event.status);
    message.bytes = {event.status, static_cast<std::uint8_t>(event.data1 & 0x7F),
                     static_cast<std::uint8_t>(event.data2 & 0x7F)};
    return message;
}

std::int32_t clampDelta(std::int32_t delta, std::int32_t frames) {
    return std::clamp(delta, 0, std::max(0, frames - 1));
}

void sortByDelta(std::vector<MidiEventRecord>& events) {
    std::stable_sort(events.begin(), events.end(),
                     [](const MidiEventRecord& a, const MidiEventRecord& b) {
                         return a.deltaFrames < b.deltaFrames;
                     });
}

// Audio buffers of one block, planar, with the pointer arrays a processing entry takes.
struct BlockBuffers {
    std::vector<std::vector<float>> channels;
    std::vector<float*> pointers;

    void resize(std::size_t count, std::size_t frames) {
        channels.assign(std::max<std::size_t>(count, 1), std::vector<float>(frames, 0.0f));
        pointers.clear();
        for (auto& channel : channels)
            pointers.push_back(channel.data());
    }
};

void processAudio(Stage& stage, std::vector<std::vector<float>>& current, std::int32_t frames) {
    EffectRecord& record = *stage.instance.record();
    const auto size = static_cast<std::size_t>(frames);
    BlockBuffers inputs, outputs;
    inputs.resize(static_cast<std::size_t>(std::max(record.inputCount, 0)), size);
    outputs.resize(static_cast<std::size_t>(std::max(record.outputCount, 0)), size);
    for (std::size_t c = 0; c < static_cast<std::size_t>(std::max(record.inputCount, 0)); ++c)
        std::copy_n(current[c % current.size()].begin(), size, inputs.channels[c].begin());
    if ((record.effectFlags & flags::kCanOverwrite) != 0)
        stage.instance.processOverwriting(inputs.pointers.data(), outputs.pointers.data(), frames);
    else
        stage.instance.processAccumulating(inputs.pointers.data(), outputs.pointers.data(), frames);
    // A plug-in without outputs leaves the audio as it was, as a host routes around it.
    if (record.outputCount > 0)
        for (std::size_t c = 0; c < current.size(); ++c)
            std::copy_n(outputs.channels[c % static_cast<std::size_t>(record.outputCount)].begin(),
                        size, current[c].begin());
}

} // namespace

std::unique_ptr<Stage> loadStage(const std::string& path, int rate, int block, std::string& error) {
    auto stage = std::make_unique<Stage>();
    stage->path = path;
    if (!stage->library.open(path, error)) {
        error = path + ": not a loadable plug-in: " + error;
        return nullptr;
    }
    testhost::HostRecorder& host = stage->instance.host();
    host.setAnswer(kWantsMidi, 1);
    host.setAnswer(kSampleRateRequest, rate);
    host.setAnswer(kBlockSizeRequest, block);
    host.setAnswer(kProcessLevelRequest, kOfflineLevel);
    if (!stage->instance.create(stage->library.mainEntry(), error)) {
        error = path + ": " + error;
        return nullptr;
    }
    stage->instance.dispatch(0);
    stage->instance.dispatch(10, 0, 0, nullptr, static_cast<float>(rate));
    stage->instance.dispatch(11, 0, block);
    return stage;
}

RenderResult render(std::vector<std::unique_ptr<Stage>>& chain, const MidiSong& song,
                    const AudioClip* audioIn, const RenderSettings& settings,
                    const std::function<void(double)>& progress) {
    const std::int64_t block = settings.block;
    std::vector<std::int64_t> frames;
    std::int64_t lastFrame = 0;
    for (const TimedMessage& message : song.messages) {
        frames.push_back(std::llround(message.seconds * settings.rate));
        lastFrame = std::max(lastFrame, frames.back());
    }
    // Each plug-in of the chain may defer its output by a block: a block per plug-in past the
    // last event, and one more so that the last deferred event still falls inside the song.
    const auto deferrals = static_cast<std::int64_t>(chain.size());
    std::int64_t total = song.messages.empty() ? 0 : lastFrame + (deferrals + 1) * block;
    if (audioIn != nullptr) total = std::max<std::int64_t>(total, audioIn->frames());
    total += std::llround(settings.tailSeconds * settings.rate);

    RenderResult result;
    result.logs.resize(chain.size());
    result.audio.rate = settings.rate;
    const std::size_t channelCount = audioIn != nullptr ? audioIn->channels.size() : 2;
    result.audio.channels.assign(channelCount, std::vector<float>(static_cast<std::size_t>(total)));

    for (auto& stage : chain)
        stage->instance.dispatch(12, 0, 1);

    std::vector<std::vector<MidiEventRecord>> carried(chain.size());
    std::vector<std::vector<float>> current(channelCount);
    std::size_t next = 0;
    for (std::int64_t start = 0; start < total; start += block) {
        const auto count = static_cast<std::int32_t>(std::min(block, total - start));
        std::vector<MidiEventRecord> events;
        for (; next < song.messages.size() && frames[next] < start + count; ++next)
            events.push_back(eventOf(
                song.messages[next],
                static_cast<std::int32_t>(std::max<std::int64_t>(frames[next] - start, 0))));

        for (std::size_t c = 0; c < channelCount; ++c) {
            current[c].assign(static_cast<std::size_t>(count), 0.0f);
            for (std::int32_t i = 0; i < count; ++i) {
                const std::int64_t frame = start + i;
                if (audioIn != nullptr) {
                    if (frame < static_cast<std::int64_t>(audioIn->frames()))
                        current[c][static_cast<std::size_t>(i)] =
                            audioIn->channels[c][static_cast<std::size_t>(frame)];
                } else if (settings.toneHz) {
                    current[c][static_cast<std::size_t>(i)] = static_cast<float>(
                        0.5 * std::sin(2.0 * std::numbers::pi * *settings.toneHz *
                                       static_cast<double>(frame) / settings.rate));
                }
            }
        }

        for (std::size_t s = 0; s < chain.size(); ++s) {
            testhost::PluginInstance& plugin = chain[s]->instance;
            sortByDelta(events);
            plugin.host().clear();
            if (!events.empty()) plugin.sendMidi(events);
            std::vector<MidiEventRecord> sent = std::move(carried[s]);
            for (const MidiEventRecord& event : plugin.receivedEvents())
                sent.push_back(event);
            plugin.host().clear();
            processAudio(*chain[s], current, count);
            carried[s] = plugin.receivedEvents();
            for (MidiEventRecord& event : sent)
                event.deltaFrames = clampDelta(event.deltaFrames, count);
            if (settings.logEvents) {
                for (const MidiEventRecord& event : events)
                    result.logs[s].received.push_back({start + event.deltaFrames, event});
                for (const MidiEventRecord& event : sent)
                    result.logs[s].sent.push_back({start + event.deltaFrames, event});
            }
            events = std::move(sent);
        }
        sortByDelta(events);
        for (const MidiEventRecord& event : events)
            // Without a status byte there is nothing a MIDI file can hold.
            if (event.status >= 0x80)
                result.messages.push_back(messageOf(
                    event, static_cast<double>(start + event.deltaFrames) / settings.rate));
        for (std::size_t c = 0; c < channelCount; ++c)
            std::copy(current[c].begin(), current[c].end(),
                      result.audio.channels[c].begin() + start);
        if (progress) progress(static_cast<double>(start + count) / static_cast<double>(total));
    }

    for (auto& stage : chain)
        stage->instance.dispatch(12, 0, 0);
    return result;
}

} // namespace quorvel::plughost
