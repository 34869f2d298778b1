#pragma once

#include <string>
#include <string_view>

namespace orvane::platform {

// What a media player is doing; a change reaches the window's logic as
// NotifyCode::PlayerStateChanged on the player's control.
enum class MediaState { Stopped, Playing, Failed };

// A player of sound and video files, as a repair page embeds it.
class IMediaPlayer {
public:
    virtual ~IMediaPlayer() = default;
    // The folder or web address that relative file names are taken from.
    virtual void SetBaseAddress(std::string_view base) = 0;
    // Opens the file (a local path, or a name relative to the base) and plays it.
    virtual void Play(std::string_view fileName) = 0;
    virtual void Stop() = 0;
    virtual MediaState State() const = 0;
    // Why the last file could not be played, in words; empty unless Failed.
    virtual std::string ErrorText() const = 0;
};

} // namespace orvane::platform
