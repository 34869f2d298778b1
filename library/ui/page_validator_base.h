#pragma once

#include "library/html/page_text.h"
#include "platform/window.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class CAttribute;
class CElement;
class CHtmlDocument;
class CTableRecord;
class CValidatorSheet;

namespace platform {
class IMediaPlayer;
}

// Status of a repair page.
namespace pagestatus {
constexpr int kRepaired = 1, kNotRepaired = 2, kPartlyRepaired = 3;
}

// One page of the repair wizard: the problem of one element (and one check
// bit), shown in a page template of its own. A page reads the element,
// proposes a repair, and applies it when the user moves on; the sheet owns it.
class CPageValidatorBase : public platform::IDialogLogic {
public:
    static constexpr int kInstructionControl = 1001;
    static constexpr int kRefreshTimer = 123;
    static constexpr int kMaxDisabledControls = 15;

    explicit CPageValidatorBase(int templateId);
    ~CPageValidatorBase() override;
    CPageValidatorBase(const CPageValidatorBase&) = delete;
    CPageValidatorBase& operator=(const CPageValidatorBase&) = delete;

    int TemplateId() const { return m_templateId; }
    // The page's class name, as the check catalogue names the page of a problem.
    virtual std::string_view ClassName() const { return "CPageValidatorBase"; }

    // --- The problem -----------------------------------------------------------
    void Attach(CElement& element, std::uint32_t bit);
    // Another problem of the element that this page's repair mends too (an
    // image's text alternative missing, too long or suspicious): the page's
    // status marks each of them, and undo unmarks each.
    void AlsoMends(std::uint32_t bit);
    CElement* Element() const { return m_element; }
    std::uint32_t CheckBit() const { return m_bit; }
    // Every check bit the page's repair marks.
    std::uint32_t MendedBits() const { return m_bit | m_alsoMended; }
    int Priority() const { return m_priority; }
    bool RepairedAtAttach() const { return m_repairedAtAttach; }
    // Also sets (repaired, partly) or clears (not repaired) the element's repaired bits.
    void SetStatus(int status);
    // A skipped page counts as repaired.
    int Status() const;
    bool IsSkipped() const { return m_skip; }
    void SetSkip(bool skip) { m_skip = skip; }

    // --- Verdicts ------------------------------------------------------------------
    // Pages whose answer is a person's judgement rather than a change (nothing
    // flickers, not a quotation, the label is close enough) give it in words,
    // so that it is remembered and nobody is asked again. Empty: no verdict,
    // and any remembered one for the page's problems is forgotten.
    virtual bool GivesVerdicts() const { return false; }
    const std::string& Verdict() const { return m_verdict; }
    void SetVerdict(std::string verdict)
    {
        m_verdict = std::move(verdict);
        m_verdictAnswered = true;
    }
    // Whether the user answered the page (a verdict, a change, or undo); a
    // page passed over leaves what is remembered as it is.
    bool VerdictAnswered() const { return m_verdictAnswered; }
    // The problems the verdict is about: the page's element with each bit it mends.
    virtual void ForEachJudged(const std::function<void(CElement&, std::uint32_t)>& visit) const;
    // The judgements of findings that are no check's bit (the WCAG 2.2 rules'),
    // by the check name and key they are kept under.
    virtual void ForEachJudgedKey(const std::function<void(const std::string&, const std::string&)>&) const {}
    const std::string& Key() const { return m_key; }
    bool IsMergeable() const { return m_mergeable; }
    bool IsCancelled() const { return m_cancelled; }
    void SetCancelled() { m_cancelled = true; }
    bool WasActivated() const { return m_activated; }
    bool ShowsOption() const { return m_showOption; }
    bool OptionState() const { return m_optionState; }
    void SetImageSize(int width, int height) { m_imageWidth = width; m_imageHeight = height; }
    bool IsSmallImage() const;
    bool IsBannerImage() const;
    const std::string& HelpTopic() const { return m_helpTopic; }
    int InstructionId() const { return m_instructionId; }

    // --- The sheet --------------------------------------------------------------
    CValidatorSheet* Sheet() const { return m_sheet; }
    // The encoding of the page repaired (UTF-8 outside a sheet), and the one
    // way text crosses between it and the controls.
    const PageEncoding& Encoding() const;
    std::string UserText(std::string_view bytes, TextPlace place = TextPlace::AttributeValue) const
    {
        return PageTextToUser(bytes, Encoding(), place);
    }
    std::string PageBytes(std::string_view text, TextPlace place = TextPlace::AttributeValue) const
    {
        return UserTextToPage(text, Encoding(), place);
    }
    void SetSheet(CValidatorSheet* sheet) { m_sheet = sheet; }
    // The page's window; null before the sheet shows it and after it went.
    platform::IWindow* Window() const { return m_window; }

    // Skips (or brings back) the later pages of this kind with the same key;
    // 1 when there was one.
    int Merge(bool state);
    // Whether the other page is of this page's class (or one derived from it),
    // the pages a merge reaches. The frame alone can only compare the classes
    // themselves: every mergeable page class answers with
    // IsOfClass<ItsOwnClass>(other), those derived from another one too.
    virtual bool IsSameKind(const CPageValidatorBase& other) const;

    // Controls enabled or disabled together; ids as in the disabled-controls
    // slots (at most 15 are taken). keep: leave the slots as they are, and on
    // enabling keep the recorded ones disabled.
    void EnableControls(bool enable, std::initializer_list<int> ids, bool keep);

    // --- What the sheet calls ----------------------------------------------------
    // Next: false keeps the user on the page.
    bool WizardNext();
    bool WizardFinish();
    virtual void Undo() {}
    virtual void OptionToggled(bool state);
    // Another page is shown now; the page's window stays.
    virtual void Left() {}
    // Applies the repair; false keeps the user on the page (after saying why).
    virtual bool Apply() { return true; }
    // The answer given is a person's judgement that the check cannot see in
    // the markup (a paragraph judged no heading, a control named by its title
    // where no label fits): the problem is settled by the user, not mended,
    // and a check of the page written asks about it again. A page whose
    // answer mends the markup the check reads says false.
    virtual bool AnswerIsJudgement() const { return false; }
    // Applies the remembered or default repair without showing the page (the
    // page is attached and in no sheet's window); false when it has none.
    virtual bool RepairAutomatically() { return false; }
    // The page's help topic, with the page as owner.
    void ShowHelp();
    void SetShowOption(bool show, bool state);

    // --- Previews: each writes its temporary page and shows it in the browser
    // control; false when the page could not be written.
    bool PreviewTable(const CTableRecord& table, int browserId, unsigned flags);
    bool PreviewText(std::string_view text, int browserId);
    bool PreviewImage(std::string_view source, int browserId);
    bool PreviewParagraph(std::string_view text, int browserId);
    // The whole document, scrolled to the fragment ("#name"); refreshOnly
    // rewrites the page and refreshes the browser without navigating.
    bool PreviewDocument(std::string_view fragment, const CHtmlDocument& document, int browserId, bool refreshOnly);
    // The control within its form, marked out.
    bool PreviewFormControl(const CElement& element, const CHtmlDocument& document, int browserId);
    bool PreviewAddress(std::string_view address, int browserId);
    bool PreviewMedia(std::string_view address, platform::IMediaPlayer& player);
    const std::string& PreviewWidth() const { return m_previewWidth; }
    // Where the previews are written, and this page's files there.
    static std::string PreviewFolder();
    std::string PreviewPagePath() const;
    std::string PreviewTextPath() const;

    // --- platform::IDialogLogic, for the page window
    void OnInit(platform::IWindow& window) final;
    void OnActivate(platform::IWindow& window) override;
    void OnTimer(platform::IWindow& window, int timer) override;
    void OnDestroy(platform::IWindow& window) final;
    // Pages are left by the sheet's buttons; Enter and Escape reach the sheet.
    void OnOk(platform::IWindow& window) override;
    void OnCancel(platform::IWindow& window) override;
    void OnHelp(platform::IWindow& window) override;

protected:
    template <class Page>
    static bool IsOfClass(const CPageValidatorBase& other)
    {
        return dynamic_cast<const Page*>(&other) != nullptr;
    }

    // For pages whose repair is one text typed into one attribute: whether a
    // text of blanks says as little as none.
    enum class BlankText { IsEmpty, IsText };
    // The control's text into the attribute, status 1; a text that says
    // nothing takes the attribute back to the page as found, says why with
    // the message and keeps the user on the page.
    bool ApplyTypedText(CAttribute& attribute, int control, BlankText blanks, int messageId);
    // Status 2, the attribute as the page found it, and the control showing it.
    void UndoTypedText(CAttribute& attribute, int control);

    // Fills the page's controls; the window exists.
    virtual void Initialise() {}
    // After the window went.
    virtual void Destroyed() {}

    void SetHelpTopic(std::string_view topic) { m_helpTopic = topic; }
    void SetInstruction(int stringId);
    void SetKey(std::string_view key);
    void SetMergeable(bool mergeable) { m_mergeable = mergeable; }
    // Refreshes the sheet's buttons for this page.
    void RefreshWizardButtons();

private:
    static int NextPreviewNumber();
    bool WritePreview(const std::string& path, std::string_view content);
    // Kept to be removed with the page.
    void Remember(const std::string& path);
    // Shows a preview, with the page's own folder as the place of what it names.
    void ShowPreview(platform::IBrowser& browser, const std::string& address);
    std::string ResolveAgainstDocument(std::string_view address) const;
    platform::IBrowser* BrowserOf(int browserId);

    int m_templateId;
    int m_previewNumber = NextPreviewNumber();
    CElement* m_element = nullptr;
    std::uint32_t m_bit = 0;
    std::uint32_t m_alsoMended = 0;
    std::string m_verdict;
    bool m_verdictAnswered = false;
    bool m_cancelled = false;
    std::string m_helpTopic;
    int m_instructionId = -1;
    bool m_skip = false;
    std::string m_key;
    bool m_mergeable = false;
    int m_imageHeight = -1;
    int m_imageWidth = -1;
    std::string m_previewWidth;
    int m_priority = -1;
    std::vector<int> m_disabledControls;
    int m_status = pagestatus::kNotRepaired;
    bool m_repairedAtAttach = false;
    bool m_showOption = false;
    bool m_optionState = false;
    bool m_activated = false;
    platform::IBrowser* m_browserToRefresh = nullptr;
    std::vector<std::string> m_writtenFiles;
    CValidatorSheet* m_sheet = nullptr;
    platform::IWindow* m_window = nullptr;
};

} // namespace orvane
