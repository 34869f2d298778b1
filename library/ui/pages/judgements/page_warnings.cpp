#include "library/ui/pages/judgements/page_warnings.h"

#include "library/html/element.h"
#include "platform/services.h"

#include <algorithm>

namespace orvane {

namespace {
constexpr char kHelpTopic[] = "WarningsHelp.html";
constexpr int kInstruction = 325;
constexpr int kCaption = 111;
constexpr int kNotConfirmed = 347;
} // namespace

CPageWarnings::CPageWarnings() : CPageValidatorBase(kTemplate) {}

void CPageWarnings::AddWarning(CElement& element, std::uint32_t bit)
{
    auto listed = std::find_if(m_items.begin(), m_items.end(), [&](const Warning& item) {
        return item.rule.empty() && item.element->Kind() == element.Kind() && item.bit == bit;
    });
    if (listed == m_items.end())
        m_items.push_back({&element, bit, {}});
    else if (listed->element != &element &&
             std::find(listed->alike.begin(), listed->alike.end(), &element) == listed->alike.end())
        listed->alike.push_back(&element);
    Attach(element, bit);
}

void CPageWarnings::AddRuleWarning(CElement& element, const std::string& rule, const std::string& title,
                                   const std::string& explanation, const std::string& helpTopic,
                                   const std::string& key)
{
    auto listed = std::find_if(m_items.begin(), m_items.end(), [&](const Warning& item) { return item.rule == rule; });
    if (listed == m_items.end()) {
        m_items.push_back({&element, 0, {}, rule, title, explanation, helpTopic, {}});
        listed = m_items.end() - 1;
    }
    if (std::find(listed->keys.begin(), listed->keys.end(), key) == listed->keys.end())
        listed->keys.push_back(key);
    // The frame wants an element to stand for the page; no bit of it is marked.
    if (!Element())
        Attach(element, 0);
}

void CPageWarnings::Initialise()
{
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    platform::IWindow& window = *Window();
    window.ClearItems(kWarningList);
    bool allRepaired = true;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const Warning& item = m_items[i];
        const bool ofRule = !item.rule.empty();
        window.AddItem(kWarningList, ofRule ? item.title : item.element->GetCheckTitle(item.bit),
                       static_cast<platform::ItemData>(i));
        allRepaired = allRepaired && (ofRule ? m_rulesConfirmed : item.element->IsRepaired(item.bit, 1));
    }
    if (!m_items.empty()) {
        window.SetCurrentItem(kWarningList, 0);
        ShowExplanation(0);
    }
    window.SetChecked(kConfirmBox, !m_items.empty() && allRepaired);
}

void CPageWarnings::ShowExplanation(int row)
{
    platform::IWindow* window = Window();
    if (!window || row < 0 || row >= window->ItemCount(kWarningList))
        return;
    const Warning& item = m_items.at(static_cast<std::size_t>(window->GetItemData(kWarningList, row)));
    if (!item.rule.empty()) {
        window->SetText(kExplanation, item.explanation);
        SetHelpTopic(item.helpTopic);
        return;
    }
    const int textId = item.element->GetWarningTextId(item.bit);
    window->SetText(kExplanation, textId == 0 ? std::string() : platform::Strings().Get(textId));
    SetHelpTopic(item.element->GetWarningHelpTopic(item.bit));
}

void CPageWarnings::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    if (notification.control == kWarningList && notification.code == platform::NotifyCode::SelectionChanged)
        ShowExplanation(window.CurrentItem(kWarningList));
}

void CPageWarnings::MarkAll(bool repaired)
{
    m_rulesConfirmed = repaired;
    for (const Warning& item : m_items) {
        if (!item.rule.empty())
            continue;
        item.element->SetRepaired(item.bit, repaired);
        for (CElement* alike : item.alike)
            alike->SetRepaired(item.bit, repaired);
    }
    SetStatus(repaired ? pagestatus::kRepaired : pagestatus::kNotRepaired);
    SetVerdict(repaired ? "warnings considered" : "");
}

void CPageWarnings::ForEachJudged(const std::function<void(CElement&, std::uint32_t)>& visit) const
{
    for (const Warning& item : m_items) {
        if (!item.rule.empty())
            continue;
        visit(*item.element, item.bit);
        for (CElement* alike : item.alike)
            visit(*alike, item.bit);
    }
}

void CPageWarnings::ForEachJudgedKey(
    const std::function<void(const std::string&, const std::string&)>& visit) const
{
    for (const Warning& item : m_items) {
        for (const std::string& key : item.keys)
            visit(item.rule, key);
    }
}

bool CPageWarnings::Apply()
{
    const bool confirmed = Window() && Window()->IsChecked(kConfirmBox);
    MarkAll(confirmed);
    if (!confirmed) {
        platform::Prompt().Show(platform::Strings().Get(kCaption), platform::Strings().Get(kNotConfirmed),
                                platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
        return false;
    }
    return true;
}

void CPageWarnings::Undo()
{
    MarkAll(false);
    if (Window())
        Window()->SetChecked(kConfirmBox, false);
}

} // namespace orvane
