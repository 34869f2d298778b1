#include "library/ui/pages/structure/page_lang_missing.h"

#include "library/ui/validator_sheet.h"

#include "common/orvane_settings.h"
#include "library/html/attribute.h"
#include "library/html/lang_codes.h"
#include "library/html/language_names.h"
#include "library/html/text_util.h"
#include "platform/services.h"

namespace orvane {

namespace {
constexpr int kInstruction = 271;
constexpr int kStringUserLanguage = 9100;
constexpr char kHelpTopic[] = "4-3-1.html";
constexpr int kFamilyHtml = 41;
constexpr std::uint32_t kBitMissingLanguage = 0x2;
// Proposed and written when nothing is remembered.
constexpr std::string_view kDefaultLanguage = "de";

// The language code a lang value names with a region or script after it
// ("en-US", "zh_Hant"); empty when it names none the code list knows.
std::string LanguageGiven(std::string_view value)
{
    const std::string code = ToLower(Trim(value.substr(0, value.find_first_of("-_"))));
    return (code.size() == 2 || code.size() == 3) && CLanguageCodeList::Library().IsValidCode(code) ? code
                                                                                                    : std::string();
}

const CLanguageRecord* RecordAt(const platform::IWindow& window, int row)
{
    if (row < 0 || row >= window.ItemCount(CPageLangMissing::kLanguage))
        return nullptr;
    return reinterpret_cast<const CLanguageRecord*>(window.GetItemData(CPageLangMissing::kLanguage, row));
}

// The code a page's lang attribute takes: the two-letter code where the
// language has one, as language tags ask for the shortest code.
const std::string& WrittenCode(const CLanguageRecord& record)
{
    return record.FirstCode().empty() ? record.SecondCode() : record.FirstCode();
}
} // namespace


CPageLangMissing::CPageLangMissing(CAttribute& lang) : CPageValidatorBase(kTemplate), m_lang(lang) {}

void CPageLangMissing::FillLanguages(platform::IWindow& window)
{
    CLanguageCodeList& list = CLanguageCodeList::Library();
    list.Load();
    window.ClearItems(kLanguage);
    for (const LanguageChoice& choice : LanguageChoices(list, platform::Strings().Get(kStringUserLanguage)))
        window.AddItem(kLanguage, choice.name, reinterpret_cast<platform::ItemData>(choice.record));
}

void CPageLangMissing::Initialise()
{
    platform::IWindow& window = *Window();
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    FillLanguages(window);
    if (!m_opened) {
        m_opened = true;
        const COrvaneSettings* settings = Sheet() ? Sheet()->Settings() : nullptr;
        m_rememberedCode = settings ? ToLower(settings->GetText1(kFamilyHtml, kBitMissingLanguage)) : std::string();
        std::string_view proposal = m_rememberedCode;
        m_rememberOffered = m_rememberedCode.empty();
        m_rememberVisible = m_rememberOffered;
        m_rememberChecked = false;
        if (m_rememberOffered)
            proposal = kDefaultLanguage;
        m_selected = -1;
        for (int row = 0; row < window.ItemCount(kLanguage); ++row) {
            const CLanguageRecord* record = RecordAt(window, row);
            if (record->FirstCode() == proposal || record->SecondCode() == proposal) {
                m_selected = row;
                break;
            }
        }
    }
    window.SetChecked(kRemember, m_rememberChecked);
    window.Show(kRemember, m_rememberVisible);
    window.SetCurrentItem(kLanguage, m_selected);
}

void CPageLangMissing::RevertLang()
{
    m_lang.Revert();
}

bool CPageLangMissing::Apply()
{
    platform::IWindow* window = Window();
    if (!window)
        return true;
    m_selected = window->CurrentItem(kLanguage);
    m_rememberChecked = window->IsChecked(kRemember);
    m_rememberVisible = window->IsVisible(kRemember);
    const CLanguageRecord* record = RecordAt(*window, m_selected);
    if (!record) {
        SetStatus(pagestatus::kNotRepaired);
        RevertLang();
        m_chosenFirstCode.clear();
        return true;
    }
    m_lang.SetValue(WrittenCode(*record));
    m_lang.Hide(false);
    m_lang.SetChanged(true);
    m_chosenFirstCode = record->FirstCode();
    SetStatus(pagestatus::kRepaired);
    return true;
}

void CPageLangMissing::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    RevertLang();
    m_chosenFirstCode.clear();
}

void CPageLangMissing::Destroyed()
{
    if (IsCancelled() || !m_rememberOffered || !m_rememberChecked || m_chosenFirstCode.empty())
        return;
    COrvaneSettings* settings = Sheet() ? Sheet()->Settings() : nullptr;
    if (!settings)
        return;
    settings->SetText1(kFamilyHtml, kBitMissingLanguage, m_chosenFirstCode);
    settings->Save();
}

bool CPageLangMissing::RepairAutomatically()
{
    const COrvaneSettings* settings = Sheet() ? Sheet()->Settings() : nullptr;
    // A language the page gives already stays the page's: nobody chose to
    // have it replaced by another.
    std::string code = LanguageGiven(m_lang.Value());
    if (code.empty() && settings)
        code = std::string(Trim(settings->GetText1(kFamilyHtml, kBitMissingLanguage)));
    if (code.empty())
        code = kDefaultLanguage;
    m_lang.SetValue(code);
    m_lang.Hide(false);
    m_lang.SetChanged(true);
    SetStatus(pagestatus::kRepaired);
    return true;
}

} // namespace orvane
