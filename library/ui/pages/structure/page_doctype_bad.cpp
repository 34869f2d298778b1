#include "library/ui/pages/structure/page_doctype_bad.h"

#include "library/ui/validator_sheet.h"

#include "common/orvane_settings.h"
#include "library/html/element.h"
#include "library/html/text_util.h"
#include "platform/prompt.h"
#include "platform/services.h"

namespace orvane {

namespace {
constexpr int kInstruction = 396;
constexpr int kCaption = 111;
constexpr int kOwnTextNeeded = 397;
constexpr int kOwnTextNotKept = 841;
constexpr int kOwnTextNoDeclaration = 842;
constexpr char kHelpTopic[] = "3-2-1.html";
constexpr int kFamilyDocument = -4;
constexpr std::uint32_t kBitDoctype = 0x1;
// The settings keep a check's text up to this length; a longer one would not
// read back in the next session.
constexpr std::size_t kRememberableLength = 98;

constexpr std::string_view kFramesetDeclaration =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Frameset//EN\" \"http://www.w3.org/TR/html4/frameset.dtd\">";
constexpr std::string_view kTransitionalDeclaration =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" \"http://www.w3.org/TR/html4/loose.dtd\">";
constexpr std::string_view kQuirksTransitional = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">";
constexpr std::string_view kQuirksFrameset = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Frameset//EN\">";
constexpr std::string_view kStrictDeclaration =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">";

bool IsChoice(int id) { return id >= CPageDoctypeBad::kFrameset && id <= CPageDoctypeBad::kOwn; }

// Written at the top of the page, anything but one declaration would end up
// as text before the page or as a tag of its own.
bool IsOneDeclaration(std::string_view text)
{
    constexpr std::string_view kStart = "<!DOCTYPE";
    if (text.size() <= kStart.size() || !EqualsIgnoreCase(text.substr(0, kStart.size()), kStart) ||
        text.back() != '>')
        return false;
    const std::string_view inside = text.substr(1, text.size() - 2);
    return inside.find_first_of("<>") == std::string_view::npos;
}

void Say(int id)
{
    platform::Prompt().Show(platform::Strings().Get(kCaption), platform::Strings().Get(id),
                            platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
}
} // namespace


CPageDoctypeBad::CPageDoctypeBad(CElement& preparedDeclaration, CElement* misplaced, std::string_view lineEnd,
                                 bool frameset)
    : CPageValidatorBase(kTemplate), m_prepared(preparedDeclaration), m_misplaced(misplaced), m_lineEnd(lineEnd),
      m_frameset(frameset)
{
}

std::string_view CPageDoctypeBad::QuirksDeclaration(bool frameset)
{
    return frameset ? kQuirksFrameset : kQuirksTransitional;
}

std::string_view CPageDoctypeBad::Declaration(int choice)
{
    switch (choice) {
    case kFrameset: return kFramesetDeclaration;
    case kTransitional: return kTransitionalDeclaration;
    case kStrict: return kStrictDeclaration;
    default: return {};
    }
}

void CPageDoctypeBad::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    if (!m_opened) {
        m_opened = true;
        const COrvaneSettings* settings = Sheet() ? Sheet()->Settings() : nullptr;
        const int remembered = settings ? settings->GetRememberedNumber(kFamilyDocument, kBitDoctype) : 0;
        m_proposed = !IsChoice(remembered);
        m_choice = m_proposed ? kOwn : remembered;
        m_ownText = settings ? settings->GetText1(kFamilyDocument, kBitDoctype) : std::string();
        if (m_proposed || m_ownText.empty())
            m_ownText = QuirksDeclaration(m_frameset);
    }
    window.SetChecked(m_choice, true);
    window.SetText(kOwnText, m_ownText);
    ShowChoice(window);
}

void CPageDoctypeBad::ShowChoice(platform::IWindow& window)
{
    const bool own = window.IsChecked(kOwn);
    window.Enable(kOwnText, own);
    for (int id = kFrameset; id < kOwn; ++id) {
        if (window.IsChecked(id))
            window.SetText(kPreview, Declaration(id));
    }
    if (own)
        window.SetText(kPreview, window.Text(kOwnText));
}

void CPageDoctypeBad::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    if ((notification.code == platform::NotifyCode::Clicked && IsChoice(notification.control)) ||
        (notification.code == platform::NotifyCode::TextChanged && notification.control == kOwnText))
        ShowChoice(window);
}

void CPageDoctypeBad::Write(std::string_view declaration)
{
    m_prepared.SetText(std::string(declaration) + m_lineEnd);
    m_prepared.SetDeleted(false);
    if (m_misplaced)
        m_misplaced->SetDeleted(true);
    SetStatus(pagestatus::kRepaired);
}

bool CPageDoctypeBad::Apply()
{
    platform::IWindow* window = Window();
    if (!window)
        return true;
    m_choice = kFrameset;
    for (int id = kFrameset; id <= kOwn; ++id) {
        if (window->IsChecked(id))
            m_choice = id;
    }
    m_ownText = window->Text(kOwnText);
    COrvaneSettings* settings = Sheet() ? Sheet()->Settings() : nullptr;
    if (m_choice != kOwn) {
        if (settings)
            settings->SetRememberedNumber(kFamilyDocument, kBitDoctype, static_cast<std::int16_t>(m_choice));
        Write(Declaration(m_choice));
        return true;
    }
    const std::string_view own = Trim(m_ownText);
    if (m_proposed && own == QuirksDeclaration(m_frameset)) {
        // The proposal taken as it is: right for this page, no rule for the next.
        Write(own);
        return true;
    }
    if (own.empty()) {
        Undo();
        Say(kOwnTextNeeded);
        return false;
    }
    if (!IsOneDeclaration(own)) {
        Undo();
        Say(kOwnTextNoDeclaration);
        return false;
    }
    if (own.size() > kRememberableLength) {
        Say(kOwnTextNotKept);
    } else if (settings) {
        settings->SetRememberedNumber(kFamilyDocument, kBitDoctype, kOwn);
        settings->SetText1(kFamilyDocument, kBitDoctype, own);
    }
    Write(own);
    return true;
}

void CPageDoctypeBad::Undo()
{
    m_prepared.SetDeleted(true);
    if (m_misplaced)
        m_misplaced->SetDeleted(false);
    SetStatus(pagestatus::kNotRepaired);
}

// As the page would repair with what it proposes: the remembered choice, or
// the declaration that keeps the page in quirks mode.
bool CPageDoctypeBad::RepairAutomatically()
{
    const COrvaneSettings* settings = Sheet() ? Sheet()->Settings() : nullptr;
    const int remembered = settings ? settings->GetRememberedNumber(kFamilyDocument, kBitDoctype) : 0;
    if (!IsChoice(remembered)) {
        Write(QuirksDeclaration(m_frameset));
        return true;
    }
    if (remembered != kOwn) {
        Write(Declaration(remembered));
        return true;
    }
    const std::string own = settings ? std::string(Trim(settings->GetText1(kFamilyDocument, kBitDoctype))) : std::string();
    // A remembered text that is no declaration (the store edited by hand) is not written.
    Write(IsOneDeclaration(own) ? std::string_view(own) : QuirksDeclaration(m_frameset));
    return true;
}

} // namespace orvane
