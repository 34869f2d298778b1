#include "media_player_view.h"

#include "platform/services.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>
#include <QVBoxLayout>
#include <QVideoWidget>

namespace orvane::platform::qt {

namespace {
constexpr int kNoSoundOutput = 965;
constexpr int kVideoHeight = 180;

QUrl AddressOf(const QString& base, const QString& name)
{
    const QUrl named(name);
    if (named.isValid() && !named.isRelative() && named.scheme().size() > 1)
        return named;
    if (!base.isEmpty() && !QFileInfo(name).isAbsolute())
        return QUrl(base).resolved(QUrl(name));
    return QUrl::fromLocalFile(QFileInfo(name).absoluteFilePath());
}
} // namespace

CMediaPlayerView::CMediaPlayerView(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    ShowVideoArea(false);
}

// A sound takes no room on the page; a video the room it needs.
void CMediaPlayerView::ShowVideoArea(bool show)
{
    setMinimumHeight(show ? kVideoHeight : 0);
    setMaximumHeight(show ? QWIDGETSIZE_MAX : 0);
    if (m_video)
        m_video->setVisible(show);
    updateGeometry();
}

CMediaPlayerView::~CMediaPlayerView()
{
    // Sound that goes on after its window went would be heard from nowhere.
    m_listener = {};
    if (m_player)
        m_player->stop();
}

QSize CMediaPlayerView::sizeHint() const { return {240, minimumHeight()}; }
QSize CMediaPlayerView::minimumSizeHint() const { return {0, minimumHeight()}; }

void CMediaPlayerView::SetState(MediaState state, std::string error)
{
    if (state == m_state && error == m_error)
        return;
    m_state = state;
    m_error = std::move(error);
    if (m_listener)
        m_listener();
}

bool CMediaPlayerView::MakePlayer()
{
    if (m_player)
        return true;
    if (QMediaDevices::audioOutputs().isEmpty()) {
        SetState(MediaState::Failed, Strings().Get(kNoSoundOutput));
        return false;
    }
    m_player = new QMediaPlayer(this);
    m_audio = new QAudioOutput(m_player);
    m_player->setAudioOutput(m_audio);
    m_video = new QVideoWidget(this);
    m_video->hide();
    layout()->addWidget(m_video);
    m_player->setVideoOutput(m_video);
    connect(m_player, &QMediaPlayer::hasVideoChanged, this, [this](bool video) { ShowVideoArea(video); });
    connect(m_player, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState state) {
        if (m_state == MediaState::Failed && state != QMediaPlayer::PlayingState)
            return;
        SetState(state == QMediaPlayer::PlayingState ? MediaState::Playing : MediaState::Stopped);
    });
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error, const QString& text) {
        SetState(MediaState::Failed, text.toStdString());
    });
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::InvalidMedia && m_state != MediaState::Failed)
            SetState(MediaState::Failed, m_player->errorString().toStdString());
    });
    return true;
}

void CMediaPlayerView::Play(std::string_view fileName)
{
    if (!MakePlayer())
        return;
    m_error.clear();
    if (m_state == MediaState::Failed)
        m_state = MediaState::Stopped;
    m_player->setSource(AddressOf(m_base, QString::fromStdString(std::string(fileName))));
    m_player->play();
}

void CMediaPlayerView::Stop()
{
    if (m_player)
        m_player->stop();
    SetState(MediaState::Stopped);
}

} // namespace orvane::platform::qt
