#include "tools/plughost/MidiFile.h"

#include <smf.h>

#include <algorithm>
#include <memory>
#include <string>

namespace quorvel::plughost {

namespace {

struct SmfDeleter {
    void operator()(smf_t* smf) const { smf_delete(smf); }
};
using SmfPointer = std::unique_ptr<smf_t, SmfDeleter>;

constexpr std::uint8_t kMetaStatus = 0xFF;
constexpr std::uint8_t kTempoMeta = 0x51;
constexpr std::uint8_t kTimeSignatureMeta = 0x58;
// Output timing finer than this many pulses per quarter note keeps frames apart at any rate.
constexpr int kFinestPpqn = 960;

// libsmf reports its failures through GLib's log, which would print them on standard error
// beside plughost's own message; while one of these lives, the last warning is kept instead.
class SmfLogCapture {
public:
    SmfLogCapture()
        : handler(g_log_set_handler("libsmf",
                                    static_cast<GLogLevelFlags>(
                                        G_LOG_LEVEL_MASK | G_LOG_FLAG_FATAL | G_LOG_FLAG_RECURSION),
                                    &SmfLogCapture::keep, this)) {}
    ~SmfLogCapture() { g_log_remove_handler("libsmf", handler); }
    SmfLogCapture(const SmfLogCapture&) = delete;
    SmfLogCapture& operator=(const SmfLogCapture&) = delete;

    // ": reason" for the last warning, or the fallback when libsmf gave none.
    std::string reason(const std::string& fallback) const {
        return message.empty() ? fallback : ": " + message;
    }

private:
    static void keep(const gchar*, GLogLevelFlags level, const gchar* text, gpointer self) {
        if ((level & (G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING)) == 0 ||
            text == nullptr)
            return;
        std::string& kept = static_cast<SmfLogCapture*>(self)->message;
        kept = text;
        // The reason ends up inside one line of plughost's output.
        std::replace(kept.begin(), kept.end(), '\n', ' ');
    }

    guint handler;
    std::string message;
};

bool isShortMessage(const smf_event_t& event) {
    const int length = event.midi_buffer_length;
    if (length < 1 || length > 3) return false;
    const std::uint8_t status = event.midi_buffer[0];
    return status >= 0x80 && status != 0xF0 && status != 0xF7 && status != kMetaStatus;
}

bool isKeptMark(const smf_event_t& event) {
    return event.midi_buffer_length >= 2 && event.midi_buffer[0] == kMetaStatus &&
           (event.midi_buffer[1] == kTempoMeta || event.midi_buffer[1] == kTimeSignatureMeta);
}

} // namespace

bool readMidiFile(const std::string& path, MidiSong& song, std::string& error) {
    SmfLogCapture log;
    SmfPointer smf(smf_load(path.c_str()));
    if (!smf) {
        error = "cannot read MIDI file " + path +
                log.reason(" (missing, unreadable or not a MIDI file)");
        return false;
    }
    song = MidiSong{};
    song.ppqn = smf->ppqn > 0 ? smf->ppqn : 480;
    smf_rewind(smf.get());
    while (smf_event_t* event = smf_get_next_event(smf.get())) {
        if (isKeptMark(*event)) {
            song.marks.push_back(
                {event->time_pulses,
                 std::vector<std::uint8_t>(event->midi_buffer,
                                           event->midi_buffer + event->midi_buffer_length)});
            continue;
        }
        if (smf_event_is_metadata(event)) continue;
        if (!isShortMessage(*event)) {
            ++song.skipped;
            continue;
        }
        TimedMessage message;
        message.seconds = event->time_seconds;
        message.length = event->midi_buffer_length;
        std::copy_n(event->midi_buffer, message.length, message.bytes.begin());
        song.messages.push_back(message);
    }
    return true;
}

bool writeMidiFile(const std::string& path, const MidiSong& timing,
                   const std::vector<TimedMessage>& messages, std::string& error) {
    SmfLogCapture log;
    SmfPointer smf(smf_new());
    if (!smf) {
        error = "out of memory";
        return false;
    }
    // A whole multiple of the input's resolution, so its marks stay on their pulses.
    const int factor = std::max(1, (kFinestPpqn + timing.ppqn - 1) / timing.ppqn);
    if (smf_set_ppqn(smf.get(), timing.ppqn * factor) != 0) {
        error = "cannot set the MIDI file's resolution";
        return false;
    }
    smf_track_t* track = smf_track_new();
    if (track == nullptr) {
        error = "out of memory";
        return false;
    }
    smf_add_track(smf.get(), track);
    // Marks first: libsmf converts the seconds of the messages through the tempo map.
    for (const MetaMark& mark : timing.marks) {
        std::vector<std::uint8_t> bytes = mark.bytes;
        smf_event_t* event =
            smf_event_new_from_pointer(bytes.data(), static_cast<int>(bytes.size()));
        if (event == nullptr) continue;
        smf_track_add_event_pulses(track, event, mark.pulses * factor);
    }
    for (const TimedMessage& message : messages) {
        std::array<std::uint8_t, 3> bytes = message.bytes;
        smf_event_t* event = smf_event_new_from_pointer(bytes.data(), message.length);
        if (event == nullptr) {
            error = "cannot store a MIDI message";
            return false;
        }
        smf_track_add_event_seconds(track, event, std::max(0.0, message.seconds));
    }
    if (smf_save(smf.get(), path.c_str()) != 0) {
        error = "cannot write MIDI file " + path + log.reason("");
        return false;
    }
    return true;
}

} // namespace quorvel::plughost
