#pragma once

#include <string_view>

namespace orvane::platform {

// A player of sound and video files, as a repair page embeds it.
class IMediaPlayer {
public:
    virtual ~IMediaPlayer() = default;
    // The folder or web address that relative file names are taken from.
    virtual void SetBaseAddress(std::string_view base) = 0;
    // Opens the file (a local path, or a name relative to the base) and plays it.
    virtual void Play(std::string_view fileName) = 0;
};

} // namespace orvane::platform
