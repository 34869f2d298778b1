#include "page_settings_autorepair.h"

#include "check_rows.h"
#include "library/html/lang_codes.h"
#include "library/html/language_names.h"
#include "library/settings/sheet_settings.h"
#include "platform/services.h"

#include <algorithm>
#include <strings.h>

namespace orvane {

using platform::Strings;
using namespace settingsui;

namespace {

constexpr int kStringUserLanguage = 9100;

constexpr int kFamilyHtml = 41;
constexpr std::uint32_t kBitMissingLanguage = 0x2;
constexpr int kFamilyBlink = 11;
constexpr std::uint32_t kBitBlink = 0x1;
constexpr int kFamilyDocument = -4;
constexpr std::uint32_t kBitDoctype = 0x1;

constexpr std::string_view kDefaultTag = "STRONG";
// Declarations as a style attribute takes them: in braces a browser drops them all.
constexpr std::string_view kDefaultStyle = "style=\"font-family: arial; font-size: larger;\"";
// The own declaration offered when nothing was chosen: the one the repair
// writes on a page without frames, which keeps the page in quirks mode.
constexpr std::string_view kDefaultDoctype = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">";
constexpr const char* kTags[] = {"em (emphasis)", "span", "strong", "h1", "h2", "h3", "h4", "h5", "h6"};

// "em (emphasis)" names the tag em.
std::string TagOf(std::string_view text)
{
    std::string tag(text.substr(0, text.find('(')));
    while (!tag.empty() && tag.back() == ' ')
        tag.pop_back();
    return tag;
}

bool SameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

} // namespace

void CPageSettingsAutoRepair::FirstShow(platform::IWindow& window)
{
    PrepareCheckList(window, kList);
    FillLanguages(window);
    for (const char* tag : kTags)
        window.AddItem(kTag, tag);
    FillOptions(window);
    m_filledLevel = m_sheet.ChosenLevel();
    FillList(window);
}

void CPageSettingsAutoRepair::ShowAgain(platform::IWindow& window)
{
    if (m_filledLevel == m_sheet.ChosenLevel() && !m_sheet.IsAdvancedConfirmed())
        return;
    m_filledLevel = m_sheet.ChosenLevel();
    FillList(window);
}

void CPageSettingsAutoRepair::FillLanguages(platform::IWindow& window)
{
    const auto choices = LanguageChoices(CLanguageCodeList::Library(), Strings().Get(kStringUserLanguage));
    for (const LanguageChoice& choice : choices)
        window.AddItem(kLanguage, choice.name, reinterpret_cast<platform::ItemData>(choice.record));
}

void CPageSettingsAutoRepair::FillOptions(platform::IWindow& window)
{
    // The language: the one remembered, found by code or by name. With none
    // remembered none is chosen: each page gets its own, as it declares it or
    // as its text is identified.
    const std::string language = m_record->GetText1(kFamilyHtml, kBitMissingLanguage);
    window.SetCurrentItem(kLanguage, -1);
    for (int row = 0; row < window.ItemCount(kLanguage) && !language.empty(); ++row) {
        const auto* record = reinterpret_cast<const CLanguageRecord*>(window.GetItemData(kLanguage, row));
        if (record->FirstCode() == language || record->SecondCode() == language ||
            record->DisplayName() == language || window.ItemText(kLanguage, row) == language) {
            window.SetCurrentItem(kLanguage, row);
            break;
        }
    }
    m_startLanguage = ChosenLanguageCode(window);

    // Blinking text: the remembered tag is chosen from the box when it is
    // there ("STRONG" is strong, "em" is "em (emphasis)"), else typed into it.
    std::string tag = m_record->GetText1(kFamilyBlink, kBitBlink);
    if (tag.empty())
        tag = kDefaultTag;
    const auto found = std::find_if(std::begin(kTags), std::end(kTags),
                                    [&](const char* entry) { return SameText(TagOf(entry), TagOf(tag)); });
    if (found != std::end(kTags)) {
        window.SetCurrentItem(kTag, static_cast<int>(found - std::begin(kTags)));
    } else {
        window.SetCurrentItem(kTag, -1);
        window.SetText(kTag, tag);
    }
    const std::string style = m_record->GetText2(kFamilyBlink, kBitBlink);
    window.SetText(kStyle, style.empty() ? kDefaultStyle : style);
    const bool replace = m_record->GetRememberedNumber(kFamilyBlink, kBitBlink) != 0;
    window.SetChecked(replace ? kRadioReplaceBlink : kRadioRemoveBlink, true);
    m_startBlink = ReadBlink(window);

    // The document type: one of the standard declarations, or the user's own.
    const std::string doctype = m_record->GetText1(kFamilyDocument, kBitDoctype);
    window.SetText(kOwnDoctype, doctype.empty() ? kDefaultDoctype : doctype);
    // With none remembered none is chosen: each page gets the declaration that
    // keeps how it is shown (Frameset for a frameset, Transitional otherwise).
    const int radio = m_record->GetRememberedNumber(kFamilyDocument, kBitDoctype);
    if (radio >= kRadioFrameset && radio <= kRadioOwn)
        window.SetChecked(radio, true);
    m_startDoctype = ReadDoctype(window);

    EnableOptionFields(window);
}

void CPageSettingsAutoRepair::FillList(platform::IWindow& window)
{
    window.ClearItems(kList);
    for (const auto& setting : m_record->CheckSettings()) {
        if (IsLongDescriptionCheck(*setting) || setting->AutoRepairMode() == autorepair::kNotOffered)
            continue;
        if (!COrvaneSettings::AppliesAtLevel(m_filledLevel, setting->Priority(), setting->IsSection508(),
                                             setting->AlwaysInclude()))
            continue;
        setting->BeginEdit();
        if (auto switched = m_switched.find(setting.get()); switched != m_switched.end())
            setting->SetPendingAutoRepairMode(switched->second);
        AddCheckRow(window, kList, *setting, setting->PendingAutoRepairMode() == autorepair::kOn,
                    std::to_string(setting->Priority()));
    }
    const bool any = window.ItemCount(kList) > 0;
    window.Show(kList, any);
    window.Show(kNoChecks, !any);
    m_sheet.SetAdvancedConfirmed(false);
    SelectFirstRow(window, kList);
    ShowOptionsOfSelection(window);
}

void CPageSettingsAutoRepair::ShowOptionsOfSelection(platform::IWindow& window)
{
    const CheckSetting* selected = nullptr;
    int count = 0;
    for (int row = 0; row < window.ItemCount(kList); ++row) {
        if (window.IsItemSelected(kList, row)) {
            selected = &SettingOfRow(window, kList, row);
            ++count;
        }
    }
    auto is = [&](int family, std::uint32_t bit) {
        return count == 1 && selected->Family() == family && selected->CheckBit() == bit;
    };
    const bool language = is(kFamilyHtml, kBitMissingLanguage);
    const bool blink = is(kFamilyBlink, kBitBlink);
    const bool doctype = is(kFamilyDocument, kBitDoctype);
    for (int id : {kLanguageGroup, kLanguage})
        window.Show(id, language);
    for (int id : {kBlinkGroup, kTag, kStyle, kRadioRemoveBlink, kRadioReplaceBlink})
        window.Show(id, blink);
    for (int id : {kDoctypeGroup, kOwnDoctype, kRadioFrameset, kRadioTransitional, kRadioStrict, kRadioOwn})
        window.Show(id, doctype);
}

// The style belongs to a span only; the own declaration to its radio button.
void CPageSettingsAutoRepair::EnableOptionFields(platform::IWindow& window)
{
    window.Enable(kStyle, SameText(TagOf(window.Text(kTag)), "span"));
    window.Enable(kOwnDoctype, window.IsChecked(kRadioOwn));
}

void CPageSettingsAutoRepair::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    if (!WasShown())
        return;
    if (IsToggleGesture(notification, kList)) {
        ToggleSelectedRows(window, kList, [&](CheckSetting& setting) {
            const int mode = setting.PendingAutoRepairMode() == autorepair::kOn ? autorepair::kOff : autorepair::kOn;
            setting.SetPendingAutoRepairMode(mode);
            m_switched[&setting] = mode;
            return mode == autorepair::kOn;
        });
        return;
    }
    switch (notification.control) {
    case kList:
        if (notification.code == platform::NotifyCode::ItemChanged ||
            notification.code == platform::NotifyCode::SelectionChanged)
            ShowOptionsOfSelection(window);
        break;
    case kTag:
    case kRadioFrameset:
    case kRadioTransitional:
    case kRadioStrict:
    case kRadioOwn:
        EnableOptionFields(window);
        break;
    default:
        break;
    }
}

std::string CPageSettingsAutoRepair::ChosenLanguageCode(const platform::IWindow& window) const
{
    const int row = window.CurrentItem(kLanguage);
    if (row < 0)
        return {};
    return reinterpret_cast<const CLanguageRecord*>(window.GetItemData(kLanguage, row))->FirstCode();
}

CPageSettingsAutoRepair::BlinkChoice CPageSettingsAutoRepair::ReadBlink(const platform::IWindow& window) const
{
    BlinkChoice choice;
    choice.tag = TagOf(window.Text(kTag));
    if (SameText(choice.tag, "span"))
        choice.style = window.Text(kStyle);
    choice.number = window.IsChecked(kRadioReplaceBlink) ? 1 : 0;
    return choice;
}

CPageSettingsAutoRepair::DoctypeChoice CPageSettingsAutoRepair::ReadDoctype(const platform::IWindow& window) const
{
    DoctypeChoice choice;
    choice.text = window.Text(kOwnDoctype);
    choice.number = 0;  // none chosen
    for (int radio : {kRadioFrameset, kRadioTransitional, kRadioStrict, kRadioOwn}) {
        if (window.IsChecked(radio))
            choice.number = static_cast<std::int16_t>(radio);
    }
    return choice;
}

void CPageSettingsAutoRepair::OkStep()
{
    const platform::IWindow& window = *m_window;
    if (const std::string language = ChosenLanguageCode(window); !language.empty() && language != m_startLanguage) {
        if (CheckSetting* setting = m_record->FindCheckSetting(kFamilyHtml, kBitMissingLanguage))
            setting->SetPendingText1(language);
    }
    if (const BlinkChoice blink = ReadBlink(window); !(blink == m_startBlink)) {
        if (CheckSetting* setting = m_record->FindCheckSetting(kFamilyBlink, kBitBlink)) {
            setting->SetPendingText1(blink.tag);
            setting->SetPendingText2(blink.style);
            setting->SetPendingRememberedNumber(blink.number);
        }
    }
    if (const DoctypeChoice doctype = ReadDoctype(window); !(doctype == m_startDoctype)) {
        if (CheckSetting* setting = m_record->FindCheckSetting(kFamilyDocument, kBitDoctype)) {
            setting->SetPendingText1(doctype.text);
            setting->SetPendingRememberedNumber(doctype.number);
        }
    }
    // The advanced dialog may have begun its own edit of a listed check since.
    for (CheckSetting* setting : ListedSettings(window, kList)) {
        if (auto switched = m_switched.find(setting); switched != m_switched.end())
            setting->SetPendingAutoRepairMode(switched->second);
        setting->CommitEdit();
    }
}

} // namespace orvane
