#pragma once

#include "library/ui/pages/text_alternatives/image_map_converter.h"
#include "library/ui/page_validator_base.h"

#include <string>
#include <vector>

namespace orvane {

class CHtmlDocument;
class CPageMapAreaAlt;

// Replaces an image's server-side map by a client-side one: the map file
// the image's link names is read, its areas written as a map element after
// the image, and the image pointed at it. The page after it (the family's
// follow-up) then gives the new areas their texts.
class CPageImgIsmap final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 106;
    static constexpr int kSource = 1013;
    static constexpr int kMapAddress = 1016;
    static constexpr int kConvert = 1293;
    static constexpr int kState = 1055;
    static constexpr int kMarkup = 1011;
    static constexpr int kPreview = 1233;

    CPageImgIsmap(CHtmlDocument& document, std::string_view imageSource);
    std::string_view ClassName() const override { return "CPageImgIsmap"; }

    void Undo() override;
    bool Apply() override { return true; }
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

    // The address of the server-side map: the link the image stands in; empty when none.
    std::string MapAddress() const;
    // The files of the page's folders the map address may name, likeliest
    // first: the address itself relative to the page, then with its leading
    // folders dropped one by one (a map program's own path, as
    // /cgi-bin/imagemap/, is not where the page's files lie).
    std::vector<std::string> MapFileCandidates() const;
    bool IsConverted() const { return m_converted; }

protected:
    void Initialise() override;

private:
    void Convert();
    bool ReadMapFile();
    // Tells the user why the converter failed; nothing for a cancelled dialog.
    void SayFailure() const;
    CPageMapAreaAlt* FollowUp() const;
    void ShowState();

    CHtmlDocument& m_document;
    std::string m_imageSource;
    ImageMapConverter m_converter;
    bool m_converted = false;
};

} // namespace orvane
