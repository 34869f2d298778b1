#pragma once

#include "platform/media_player.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <string>

class QAudioOutput;
class QMediaPlayer;
class QVideoWidget;

namespace orvane::platform::qt {

// Plays a sound or video file with Qt Multimedia, a video shown in the
// widget itself. The player and its sound output are made only when the
// user first plays a file, so a window that shows the widget never opens an
// audio device; where there is none, playing fails with a text that says
// so. Templates name it by its class, kClassName.
class CMediaPlayerView final : public QWidget, public IMediaPlayer {
public:
    static constexpr const char* kClassName = "OrvaneMediaView";

    explicit CMediaPlayerView(QWidget* parent = nullptr);
    ~CMediaPlayerView() override;

    // Called whenever the state changes.
    void SetStateListener(std::function<void()> listener) { m_listener = std::move(listener); }

    // --- IMediaPlayer
    void SetBaseAddress(std::string_view base) override { m_base = QString::fromStdString(std::string(base)); }
    void Play(std::string_view fileName) override;
    void Stop() override;
    MediaState State() const override { return m_state; }
    std::string ErrorText() const override { return m_error; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    void SetState(MediaState state, std::string error = {});
    bool MakePlayer();
    void ShowVideoArea(bool show);

    QString m_base;
    QMediaPlayer* m_player = nullptr;
    QAudioOutput* m_audio = nullptr;
    QPointer<QVideoWidget> m_video;
    MediaState m_state = MediaState::Stopped;
    std::string m_error;
    std::function<void()> m_listener;
};

} // namespace orvane::platform::qt
