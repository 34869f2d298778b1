#pragma once

#include "library/ui/page_validator_base.h"

#include <string>

namespace orvane {

class CAttribute;

// A frame that shows a picture or another file directly instead of a page:
// readers get the file without a title, a text alternative or a way on. The
// user points the frame at an HTML page that shows the file (an HTML page of
// the same name beside it is proposed), or judges that the file may stand in
// the frame as it is.
class CPageFrameSource final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 165;
    static constexpr int kFound = 1055;
    static constexpr int kName = 1015;
    static constexpr int kSource = 1013;
    static constexpr int kPreview = 1234;
    static constexpr int kPointAtPage = 1179;
    static constexpr int kKeep = 1180;
    static constexpr int kAddress = 1183;
    static constexpr int kChoose = 1291;

    explicit CPageFrameSource(CAttribute& src);
    std::string_view ClassName() const override { return "CPageFrameSource"; }

    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    bool Apply() override;
    // The source is the frame's again.
    void Undo() override;
    bool GivesVerdicts() const override { return true; }

protected:
    void Initialise() override;

private:
    // An HTML page beside the page or beside the file, named as the file.
    std::string ProposedPage() const;
    void Choose(int answer);
    void ChoosePage();

    CAttribute& m_src;
    std::string m_original;
    bool m_opened = false;
    int m_answer = kPointAtPage;
    std::string m_address;
};

} // namespace orvane
