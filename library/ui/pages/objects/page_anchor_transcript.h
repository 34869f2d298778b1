#pragma once

#include "library/ui/pages/text_alternatives/page_description_base.h"

#include "platform/media_player.h"

#include <string>

namespace orvane {

class CHtmlDocument;

// Gives a link to a recording a transcript: the user plays the recording on
// the page (Play and Stop, with what the player is doing in words) and links
// a transcript file that exists or writes one here; a link to it follows the
// link to the recording. The file proposed for a new transcript is named
// after the recording; once written it is offered again by every later check
// of a page that links the same recording.
class CPageAnchorTranscript final : public CPageDescriptionBase {
public:
    static constexpr int kTemplate = 206;
    static constexpr int kRecording = 1013;
    static constexpr int kPlay = 1292;
    static constexpr int kStop = 1293;
    static constexpr int kPlayerState = 1294;
    static constexpr int kPlayer = 1295;

    // transcriptLink: the text run the link family put after the link's end
    // tag (deleted until used).
    CPageAnchorTranscript(CElement& transcriptLink, CHtmlDocument& document, std::string href, std::string linkText,
                          std::string_view lineEnd);
    std::string_view ClassName() const override { return "CPageAnchorTranscript"; }

    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    bool Apply() override;
    void Undo() override;
    void Left() override { StopPlaying(); }
    // The transcript file proposed for the recording: its name without
    // folder and extension, followed by "-transcript.html".
    static std::string ProposedFileName(std::string_view recording);

protected:
    void Initialise() override;
    std::string DescriptionTitle(std::string_view language) const override;
    bool ApplyDescription(const std::string& address, int answer) override;
    bool ApplyNotNeeded() override { return false; }

private:
    void Play();
    void StopPlaying();
    // The player's state in words, and the buttons that make sense in it.
    void ShowPlayerState();
    void ShowPlayerState(platform::MediaState state, std::string_view error);

    CElement& m_link;
    CHtmlDocument& m_document;
    std::string m_href;
    std::string m_linkText;
    std::string m_lineEnd;
    bool m_opened = false;
};

} // namespace orvane
