#include "library/ui/pages/objects/page_anchor_transcript.h"

#include "library/ui/pages/objects/alternative_content.h"
#include "library/ui/pages/objects/page_object_alt_rep.h"

#include "library/html/address_path.h"
#include "library/html/element.h"
#include "library/html/page_text.h"
#include "platform/file_system.h"
#include "platform/media_player.h"
#include "platform/services.h"

#include <algorithm>

namespace orvane {

namespace {
constexpr int kInstruction = 218;
constexpr int kTranscriptLink = 960;
constexpr int kFileTitle = 961;
constexpr int kPlaying = 962;
constexpr int kStopped = 963;
constexpr int kCannotPlay = 964;
constexpr int kFileMissing = 970;
constexpr char kHelpTopic[] = "1-1-6.html";

// The part of an address that names the file: without its query or fragment.
std::string_view FilePart(std::string_view address)
{
    return address.substr(0, std::min(address.find_first_of("?#"), address.size()));
}
} // namespace

std::string CPageAnchorTranscript::ProposedFileName(std::string_view recording)
{
    return NamedAfter(recording, "-transcript.html");
}

CPageAnchorTranscript::CPageAnchorTranscript(CElement& transcriptLink, CHtmlDocument& document, std::string href,
                                             std::string linkText, std::string_view lineEnd)
    : CPageDescriptionBase(kTemplate), m_link(transcriptLink), m_document(document), m_href(std::move(href)),
      m_linkText(std::move(linkText)), m_lineEnd(lineEnd)
{
    OfferAlternativeAnswer(false);
}

void CPageAnchorTranscript::Initialise()
{
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    // A transcript written for the same recording before is offered to link.
    if (!m_opened)
        OfferFileNamed(ProposedFileName(UserText(m_href)));
    InitialiseDescription();
    platform::IWindow& window = *Window();
    // Words are said in a recording as a rule; this page is for them.
    window.Show(kNotNeeded, false);
    m_opened = true;
    window.SetText(kRecording, UserText(m_href));
    ShowPlayerState();
}

std::string CPageAnchorTranscript::DescriptionTitle(std::string_view language) const
{
    return FileTitle(language, kFileTitle, {m_linkText.empty() ? UserText(m_href) : m_linkText});
}

void CPageAnchorTranscript::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    using platform::NotifyCode;
    if (notification.control == kPlay && notification.code == NotifyCode::Clicked) {
        Play();
        return;
    }
    if (notification.control == kStop && notification.code == NotifyCode::Clicked) {
        StopPlaying();
        return;
    }
    if (notification.control == kPlayer && notification.code == NotifyCode::PlayerStateChanged) {
        ShowPlayerState();
        return;
    }
    CPageDescriptionBase::OnNotify(window, notification);
}

void CPageAnchorTranscript::Play()
{
    platform::IWindow& window = *Window();
    platform::IMediaPlayer* player = window.MediaPlayer(kPlayer);
    if (!player)
        return;
    // A file of the site that is not there is named, rather than left to the
    // player's own words.
    if (!IsAbsoluteAddress(m_href)) {
        const std::string path = LocalPath(FilePart(m_href));
        if (!platform::FileExists(path)) {
            ShowPlayerState(platform::MediaState::Failed, platform::Strings().Format(kFileMissing, {path}));
            return;
        }
    }
    PreviewMedia(m_href, *player);
    ShowPlayerState();
}

void CPageAnchorTranscript::StopPlaying()
{
    if (platform::IMediaPlayer* player = Window() ? Window()->MediaPlayer(kPlayer) : nullptr)
        player->Stop();
    if (Window())
        ShowPlayerState();
}

void CPageAnchorTranscript::ShowPlayerState()
{
    platform::IMediaPlayer* player = Window()->MediaPlayer(kPlayer);
    if (!player)
        ShowPlayerState(platform::MediaState::Stopped, {});
    else
        ShowPlayerState(player->State(), player->ErrorText());
}

void CPageAnchorTranscript::ShowPlayerState(platform::MediaState state, std::string_view error)
{
    platform::IWindow& window = *Window();
    switch (state) {
    case platform::MediaState::Playing: window.SetText(kPlayerState, platform::Strings().Get(kPlaying)); break;
    case platform::MediaState::Stopped: window.SetText(kPlayerState, platform::Strings().Get(kStopped)); break;
    case platform::MediaState::Failed:
        window.SetText(kPlayerState, platform::Strings().Format(kCannotPlay, {error}));
        break;
    }
    const bool playing = state == platform::MediaState::Playing;
    window.Enable(kPlay, !playing);
    window.Enable(kStop, playing);
    // The key stays where the user can go on with it.
    if (playing && window.FocusedControl() == kPlay)
        window.Focus(kStop);
    else if (!playing && window.FocusedControl() == kStop)
        window.Focus(kPlay);
}

// The recording stops when the user moves on with the transcript (and when
// the user goes to another page any way).
bool CPageAnchorTranscript::Apply()
{
    if (!CPageDescriptionBase::Apply())
        return false;
    StopPlaying();
    return true;
}

bool CPageAnchorTranscript::ApplyDescription(const std::string& address, int)
{
    const std::string link = " " + alternative::Link(address, platform::Strings().Get(kTranscriptLink));
    m_link.SetText(MarkupToPage(link, Encoding()));
    m_link.SetDeleted(false);
    return true;
}

void CPageAnchorTranscript::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    m_link.SetDeleted(true);
}

} // namespace orvane
