#include "library/ui/page_validator_base.h"

#include "library/ui/validator_sheet.h"

#include "library/dialogs/help_topic.h"
#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/text_util.h"
#include "platform/services.h"

#include <algorithm>
#include <cstdio>
#include <typeinfo>

namespace orvane {

namespace {
// The caption of the messages that keep the user on a page.
constexpr int kMessageCaption = 111;
} // namespace

CPageValidatorBase::CPageValidatorBase(int templateId) : m_templateId(templateId) {}

// Pages that never got a window still clean up what their previews wrote.
CPageValidatorBase::~CPageValidatorBase()
{
    for (const std::string& path : m_writtenFiles)
        std::remove(path.c_str());
}

void CPageValidatorBase::Attach(CElement& element, std::uint32_t bit)
{
    m_element = &element;
    m_bit = bit;
    m_priority = element.GetPriority(bit);
    m_repairedAtAttach = element.IsRepaired(bit, 1) || element.IsPartlyRepaired(bit);
    m_alsoMended = 0;
    m_skip = false;
}

void CPageValidatorBase::AlsoMends(std::uint32_t bit)
{
    if (!m_element || (MendedBits() & bit))
        return;
    m_alsoMended |= bit;
    m_repairedAtAttach = m_repairedAtAttach && (m_element->IsRepaired(bit, 1) || m_element->IsPartlyRepaired(bit));
}

void CPageValidatorBase::SetStatus(int status)
{
    m_status = status;
    if (!m_element)
        return;
    // Only a whole repair clears a problem; one repaired in part is still open.
    for (std::uint32_t bits = MendedBits(); bits != 0; bits &= bits - 1) {
        m_element->SetRepaired(bits & (~bits + 1), status == pagestatus::kRepaired);
        m_element->SetPartlyRepaired(bits & (~bits + 1), status == pagestatus::kPartlyRepaired);
    }
}

void CPageValidatorBase::ForEachJudged(const std::function<void(CElement&, std::uint32_t)>& visit) const
{
    if (!m_element)
        return;
    for (std::uint32_t bits = MendedBits(); bits != 0; bits &= bits - 1)
        visit(*m_element, bits & (~bits + 1));
}

int CPageValidatorBase::Status() const { return m_skip ? pagestatus::kRepaired : m_status; }

bool CPageValidatorBase::IsSmallImage() const
{
    return m_imageWidth != -1 && m_imageHeight != -1 && m_imageWidth < 40 && m_imageHeight < 40;
}

bool CPageValidatorBase::IsBannerImage() const
{
    return m_imageWidth != -1 && m_imageWidth >= 151 && m_imageHeight != -1 && m_imageHeight < 30;
}

bool CPageValidatorBase::IsSameKind(const CPageValidatorBase& other) const { return typeid(other) == typeid(*this); }

void CPageValidatorBase::SetKey(std::string_view key)
{
    m_key = key;
    if (m_sheet)
        m_sheet->KeyChanged();
}

int CPageValidatorBase::Merge(bool state)
{
    if (!m_mergeable || !m_sheet)
        return 0;
    const int index = m_sheet->IndexOf(*this);
    if (index < 0)
        return 0;
    bool found = false;
    for (CPageValidatorBase* other : m_sheet->PagesWithKey(m_key)) {
        if (m_sheet->IndexOf(*other) > index && IsSameKind(*other)) {
            other->SetSkip(state);
            found = true;
        }
    }
    if (!found)
        return 0;
    m_sheet->RefreshTitle();
    RefreshWizardButtons();
    return 1;
}

void CPageValidatorBase::EnableControls(bool enable, std::initializer_list<int> ids, bool keep)
{
    int taken = 0;
    for (int id : ids) {
        if (id == 0 || taken++ == kMaxDisabledControls)
            break;
        const auto slot = std::find(m_disabledControls.begin(), m_disabledControls.end(), id);
        const bool recorded = slot != m_disabledControls.end();
        if (enable && keep && recorded)
            continue;
        if (m_window)
            m_window->Enable(id, enable);
        if (keep)
            continue;
        if (enable && recorded)
            m_disabledControls.erase(slot);
        else if (!enable && !recorded && m_disabledControls.size() < kMaxDisabledControls)
            m_disabledControls.push_back(id);
    }
}

bool CPageValidatorBase::WizardNext()
{
    if (m_window)
        m_window->StopTimer(kRefreshTimer);
    return Apply();
}

bool CPageValidatorBase::WizardFinish() { return Apply(); }

void CPageValidatorBase::OptionToggled(bool state)
{
    m_optionState = state;
    if (m_mergeable)
        Merge(state);
    RefreshWizardButtons();
}

void CPageValidatorBase::ShowHelp()
{
    if (!m_helpTopic.empty())
        ShowHelpTopic(m_window, m_helpTopic);
}

void CPageValidatorBase::SetShowOption(bool show, bool state)
{
    m_showOption = show;
    m_optionState = state;
}

void CPageValidatorBase::SetInstruction(int stringId)
{
    m_instructionId = stringId;
    if (m_window && m_window->HasControl(kInstructionControl))
        m_window->SetText(kInstructionControl, stringId == -1 ? std::string() : platform::Strings().Get(stringId));
}

void CPageValidatorBase::RefreshWizardButtons()
{
    if (m_sheet && m_window)
        m_sheet->RefreshWizardButtons(*this);
}

// --- the page window

void CPageValidatorBase::OnInit(platform::IWindow& window)
{
    m_window = &window;
    Initialise();
}

void CPageValidatorBase::OnActivate(platform::IWindow&)
{
    m_activated = true;
    if (m_sheet)
        m_sheet->PageActivated(*this);
}

void CPageValidatorBase::OnTimer(platform::IWindow& window, int timer)
{
    if (timer != kRefreshTimer)
        return;
    window.StopTimer(kRefreshTimer);
    if (m_browserToRefresh)
        m_browserToRefresh->Refresh();
}

void CPageValidatorBase::OnDestroy(platform::IWindow&)
{
    if (!m_window)
        return;
    for (const std::string& path : m_writtenFiles)
        std::remove(path.c_str());
    m_writtenFiles.clear();
    m_browserToRefresh = nullptr;
    m_window = nullptr;
    Destroyed();
}

void CPageValidatorBase::OnOk(platform::IWindow&)
{
    if (m_sheet && m_sheet->Window())
        m_sheet->OnOk(*m_sheet->Window());
}

void CPageValidatorBase::OnCancel(platform::IWindow&)
{
    if (m_sheet && m_sheet->Window())
        m_sheet->OnCancel(*m_sheet->Window());
}

void CPageValidatorBase::OnHelp(platform::IWindow&) { ShowHelp(); }

const PageEncoding& CPageValidatorBase::Encoding() const
{
    static const PageEncoding kUtf8;
    return m_sheet ? m_sheet->PageTextEncoding() : kUtf8;
}

bool CPageValidatorBase::ApplyTypedText(CAttribute& attribute, int control, BlankText blanks, int messageId)
{
    const std::string text = Window() ? Window()->Text(control) : std::string();
    if (blanks == BlankText::IsEmpty ? TrimLeft(text).empty() : text.empty()) {
        SetStatus(pagestatus::kNotRepaired);
        attribute.Revert();
        platform::Prompt().Show(platform::Strings().Get(kMessageCaption), platform::Strings().Get(messageId),
                                platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
        return false;
    }
    attribute.SetFromText(text, Encoding());
    SetStatus(pagestatus::kRepaired);
    return true;
}

void CPageValidatorBase::UndoTypedText(CAttribute& attribute, int control)
{
    SetStatus(pagestatus::kNotRepaired);
    attribute.Revert();
    if (Window())
        Window()->SetText(control, attribute.IsHidden() ? std::string() : UserText(attribute.Value()));
}

} // namespace orvane
