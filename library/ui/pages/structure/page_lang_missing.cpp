#include "library/ui/pages/structure/page_lang_missing.h"

#include "library/ui/validator_sheet.h"

#include "common/orvane_settings.h"
#include "library/html/attribute.h"
#include "library/html/lang_codes.h"
#include "library/html/language_names.h"
#include "library/html/page_language.h"
#include "library/html/text_util.h"
#include "platform/services.h"

namespace orvane {

namespace {
constexpr int kInstruction = 271;
constexpr int kStringUserLanguage = 9100;
constexpr char kHelpTopic[] = "4-3-1.html";
constexpr int kFamilyHtml = 41;
constexpr std::uint32_t kBitMissingLanguage = 0x2;
constexpr int kNotRepaired = 1004;
constexpr int kTooLittleText = 1005;
constexpr int kUnsure = 1006;
constexpr int kNoIdentifier = 1007;

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


CPageLangMissing::CPageLangMissing(CAttribute& lang, const CHtmlDocument& document)
    : CPageValidatorBase(kTemplate), m_lang(lang), m_document(document)
{
}

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
        std::string proposal = m_rememberedCode;
        m_rememberOffered = m_rememberedCode.empty();
        m_rememberVisible = m_rememberOffered;
        m_rememberChecked = false;
        // Nothing remembered: the page's own language, when it can be told; else no proposal.
        if (m_rememberOffered)
            proposal = FindPageLanguage(m_document).code;
        m_selected = -1;
        for (int row = 0; row < window.ItemCount(kLanguage); ++row) {
            const CLanguageRecord* record = RecordAt(window, row);
            if (!proposal.empty() && (record->FirstCode() == proposal || record->SecondCode() == proposal)) {
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

// The page's own word first (a lang it gives with a region, xml:lang,
// Content-Language), then the language the user chose for such pages, then
// the language the text is identified as; a language nobody can tell with
// confidence is not guessed at: the problem stays, with the reason.
bool CPageLangMissing::RepairAutomatically()
{
    const COrvaneSettings* settings = Sheet() ? Sheet()->Settings() : nullptr;
    std::string code = KnownLanguageCode(m_lang.Value());
    PageLanguage page;
    if (code.empty()) {
        page = FindPageLanguage(m_document);
        const bool declared =
            page.source == PageLanguage::Source::XmlLang || page.source == PageLanguage::Source::ContentLanguage;
        if (!declared && settings)
            code = std::string(Trim(settings->GetText1(kFamilyHtml, kBitMissingLanguage)));
        if (code.empty())
            code = page.code;
    }
    if (code.empty()) {
        if (Sheet()) {
            const int why = page.why == platform::LanguageGuessOutcome::TooLittleText ? kTooLittleText
                            : page.why == platform::LanguageGuessOutcome::Unavailable ? kNoIdentifier
                                                                                      : kUnsure;
            Sheet()->NoteNotRepaired(Element(), CheckBit(),
                                     platform::Strings().Format(kNotRepaired, {platform::Strings().Get(why)}));
        }
        SetStatus(pagestatus::kNotRepaired);
        return false;
    }
    m_lang.SetValue(code);
    m_lang.Hide(false);
    m_lang.SetChanged(true);
    SetStatus(pagestatus::kRepaired);
    return true;
}

} // namespace orvane
