#include "tools/plughost/AudioFile.h"

#include <sndfile.h>

namespace quorvel::plughost {

bool readAudioFile(const std::string& path, AudioClip& clip, std::string& error) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        error = "cannot read audio file " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    if (info.channels < 1 || info.samplerate < 1) {
        sf_close(file);
        error = "audio file " + path + " holds no audio";
        return false;
    }
    const auto channels = static_cast<std::size_t>(info.channels);
    std::vector<float> interleaved(static_cast<std::size_t>(info.frames) * channels);
    const sf_count_t read = sf_readf_float(file, interleaved.data(), info.frames);
    sf_close(file);
    clip.rate = info.samplerate;
    clip.channels.assign(channels, std::vector<float>(static_cast<std::size_t>(read)));
    for (std::size_t frame = 0; frame < static_cast<std::size_t>(read); ++frame)
        for (std::size_t channel = 0; channel < channels; ++channel)
            clip.channels[channel][frame] = interleaved[frame * channels + channel];
    return true;
}

bool writeAudioFile(const std::string& path, const AudioClip& clip, std::string& error) {
    SF_INFO info{};
    info.samplerate = clip.rate;
    info.channels = static_cast<int>(clip.channels.size());
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        error = "cannot write audio file " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    const std::size_t channels = clip.channels.size();
    std::vector<float> interleaved(clip.frames() * channels);
    for (std::size_t frame = 0; frame < clip.frames(); ++frame)
        for (std::size_t channel = 0; channel < channels; ++channel)
            interleaved[frame * channels + channel] = clip.channels[channel][frame];
    const auto frames = static_cast<sf_count_t>(clip.frames());
    const bool complete = sf_writef_float(file, interleaved.data(), frames) == frames;
    if (sf_close(file) != 0 || !complete) {
        error = "cannot write audio file " + path;
        return false;
    }
    return true;
}

} // namespace quorvel::plughost
