// Audio files read into and written from planar float buffers, through libsndfile.
#pragma once

#include <string>
#include <vector>

namespace quorvel::plughost {

struct AudioClip {
    int rate = 44100;
    // One buffer per channel, all of the same length.
    std::vector<std::vector<float>> channels;

    std::size_t frames() const { return channels.empty() ? 0 : channels.front().size(); }
};

// False with a one-line reason when the file cannot be read or holds no audio.
bool readAudioFile(const std::string& path, AudioClip& clip, std::string& error);
// Writes a 32-bit float WAV file.
bool writeAudioFile(const std::string& path, const AudioClip& clip, std::string& error);

} // namespace quorvel::plughost
