#include "library/ui/validator_sheet.h"

#include "library/ui/page_validator_base.h"
#include "library/ui/pages/judgements/page_warnings.h"
#include "library/ui/repair_page_factory.h"

#include "library/dialogs/about_dialog.h"
#include "library/html/element.h"
#include "platform/services.h"

#include <filesystem>

namespace orvane {

namespace {

constexpr int kAboutText = 101;
constexpr int kCaption = 111;
constexpr int kKeepRepairsQuestion = 167;
constexpr int kTitle = 345;
constexpr int kSkipText = 348;
constexpr int kUndoText = 349;
constexpr int kSheetIcon = 128;

std::size_t LastSeparator(std::string_view path) { return path.find_last_of("/\\"); }

} // namespace

// --- the document folder

void CDocumentFolder::SetPath(std::string_view documentPath)
{
    const std::size_t cut = LastSeparator(documentPath);
    m_folder = cut == std::string_view::npos ? std::string() : std::string(documentPath.substr(0, cut + 1));
}

std::string CDocumentFolder::FileName(std::string_view documentPath)
{
    const std::size_t cut = LastSeparator(documentPath);
    return std::string(cut == std::string_view::npos ? documentPath : documentPath.substr(cut + 1));
}

std::string CDocumentFolder::AbsolutePath(std::string_view address) const { return AddressToPath(m_folder, address); }

std::string CDocumentFolder::RelativeAddress(std::string_view filePath) const
{
    return PathToAddress(m_folder, filePath);
}

// --- the sheet

CValidatorSheet::CValidatorSheet() { CRepairPageFactory::Install(); }

CValidatorSheet::~CValidatorSheet() = default;

void CValidatorSheet::SetDocumentPath(std::string_view path)
{
    m_documentPath = path;
    m_documentName = CDocumentFolder::FileName(path);
    m_folder.SetPath(m_documentPath);
}

int CValidatorSheet::DoModal(platform::IWindow* owner) { return platform::Windows().RunModal(kTemplate, *this, owner); }

CPageValidatorBase& CValidatorSheet::AddPage(std::unique_ptr<CPageValidatorBase> page)
{
    page->SetSheet(this);
    m_indexOf[page.get()] = PageCount();
    if (const CElement* element = page->Element())
        m_pagesOf[element].push_back(page.get());
    m_pages.push_back(std::move(page));
    m_pagesByKey.clear();
    return *m_pages.back();
}

const std::vector<CPageValidatorBase*>& CValidatorSheet::PagesWithKey(const std::string& key) const
{
    if (m_pagesByKey.empty()) {
        for (const auto& page : m_pages)
            m_pagesByKey[page->Key()].push_back(page.get());
    }
    static const std::vector<CPageValidatorBase*> kNone;
    const auto found = m_pagesByKey.find(key);
    return found == m_pagesByKey.end() ? kNone : found->second;
}

int CValidatorSheet::IndexOf(const CPageValidatorBase& page) const
{
    const auto found = m_indexOf.find(&page);
    return found == m_indexOf.end() ? -1 : found->second;
}

CPageValidatorBase* CValidatorSheet::FindPage(const CElement& element, std::string_view className) const
{
    const auto found = m_pagesOf.find(&element);
    if (found == m_pagesOf.end())
        return nullptr;
    for (CPageValidatorBase* page : found->second) {
        if (page->ClassName() == className)
            return page;
    }
    return nullptr;
}

CPageValidatorBase* CValidatorSheet::ActivePage() const
{
    return m_active >= 0 && m_active < PageCount() ? m_pages[m_active].get() : nullptr;
}

void CValidatorSheet::SetActivePage(int index)
{
    if (!m_window || index < 0 || index >= PageCount())
        return;
    if (m_active >= 0 && m_active != index && m_active < PageCount())
        m_pages[m_active]->Left();
    m_active = index;
    // A page's window is made when the page is first shown: a form preview
    // then shows what the user typed on the pages before, a preview's width
    // is read from a laid-out page, and a run over thousands of problems
    // holds windows only for the pages the user reached.
    if (m_windowOf[index] < 0) {
        m_windowOf[index] = m_window->PageCount();
        m_window->AddPage(m_pages[index]->TemplateId(), *m_pages[index]);
    }
    m_window->ShowPage(m_windowOf[index]);
}

CPageWarnings* CValidatorSheet::FindWarningsPage() const
{
    for (const auto& page : m_pages) {
        if (auto* warnings = dynamic_cast<CPageWarnings*>(page.get()))
            return warnings;
    }
    return nullptr;
}

int CValidatorSheet::NextCounted(int index, int step) const
{
    for (int i = index + step; i >= 0 && i < PageCount(); i += step) {
        if (!m_pages[i]->IsSkipped())
            return i;
    }
    return -1;
}

int CValidatorSheet::PositionOf(int index) const
{
    int position = 1;
    for (int i = 0; i < index && i < PageCount(); ++i)
        position += m_pages[i]->IsSkipped() ? 0 : 1;
    return position;
}

int CValidatorSheet::CountedPages() const
{
    int count = 0;
    for (const auto& page : m_pages)
        count += page->IsSkipped() ? 0 : 1;
    return m_trailingPage ? count - 1 : count;
}

void CValidatorSheet::RefreshTitle()
{
    if (!m_window || m_active < 0)
        return;
    m_window->SetTitle(platform::Strings().Format(
        kTitle, {m_documentName, std::to_string(PositionOf(m_active)), std::to_string(CountedPages())}));
}

void CValidatorSheet::RefreshWizardButtons(const CPageValidatorBase& page)
{
    const int index = IndexOf(page);
    if (!m_window || index < 0 || !page.Window())
        return;
    const bool more = NextCounted(index, 1) >= 0;
    m_window->Enable(platform::kIdBack, index != 0);
    m_window->Show(platform::kIdNext, more);
    m_window->Enable(platform::kIdNext, more);
    m_window->Show(platform::kIdFinish, !more);
    m_window->Enable(platform::kIdFinish, !more);
}

void CValidatorSheet::SetButtonMode(bool skip)
{
    m_skipMode = skip;
    if (!m_window)
        return;
    m_window->SetText(kSkipUndoButton, platform::Strings().Get(skip ? kSkipText : kUndoText));
    // Without advancing, Skip would do nothing: the button is offered for Undo only.
    m_window->Enable(kSkipUndoButton, !skip || m_skipAdvances);
}

void CValidatorSheet::PageActivated(CPageValidatorBase& page)
{
    if (!m_window)
        return;
    const int index = IndexOf(page);
    if (index >= 0)
        m_active = index;
    RefreshWizardButtons(page);
    RefreshTitle();
    const CElement* element = page.Element();
    // A verdict that leaves the problem open (the frame's file kept) is still
    // an answer the user may take back.
    const bool judged = page.GivesVerdicts() && !page.Verdict().empty();
    SetButtonMode(!(judged || (element && (element->IsRepaired(page.CheckBit(), 1) ||
                                           element->IsPartlyRepaired(page.CheckBit())))));
    m_window->Show(kOptionBox, page.ShowsOption());
    m_window->SetChecked(kOptionBox, page.OptionState());
}

// --- the window

void CValidatorSheet::OnInit(platform::IWindow& window)
{
    m_window = &window;
    if (m_documentPath.empty()) {
        std::error_code error;
        std::string current = std::filesystem::current_path(error).string();
        if (!current.empty() && current.back() != '/')
            current.push_back('/');
        m_documentPath = current;
        m_documentName = current;
    }
    m_folder.SetPath(m_documentPath);
    window.Show(kOptionBox, false);
    window.SetText(kSkipUndoButton, {});
    window.SetIcon(kSheetIcon);
    window.AddSystemCommand(platform::kCommandAbout, platform::Strings().Get(kAboutText));
    m_windowOf.assign(m_pages.size(), -1);
    // A page that merged later ones offers the ticked option box to undo it.
    for (auto& page : m_pages) {
        if (!page->IsSkipped() && page->Merge(true))
            page->SetShowOption(true, true);
    }
    if (m_pages.empty())
        window.End(0);
    else
        SetActivePage(0);
}

void CValidatorSheet::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    if (notification.code != platform::NotifyCode::Clicked)
        return;
    switch (notification.control) {
    case platform::kIdNext: Next(); break;
    case platform::kIdBack: Back(); break;
    case platform::kIdFinish: Finish(); break;
    case kSkipUndoButton: SkipOrUndo(); break;
    case kOptionBox:
        if (CPageValidatorBase* page = ActivePage())
            page->OptionToggled(window.IsChecked(kOptionBox));
        break;
    default: break;
    }
}

void CValidatorSheet::OnOk(platform::IWindow& window)
{
    if (window.IsVisible(platform::kIdNext) && window.IsEnabled(platform::kIdNext))
        Next();
    else
        Finish();
}

void CValidatorSheet::Next()
{
    CPageValidatorBase* page = ActivePage();
    if (!page || !page->WizardNext())
        return;
    const int target = NextCounted(m_active, 1);
    if (target >= 0)
        SetActivePage(target);
}

void CValidatorSheet::Back()
{
    RefreshTitle();
    const int target = NextCounted(m_active, -1);
    if (target >= 0)
        SetActivePage(target);
}

void CValidatorSheet::Finish()
{
    CPageValidatorBase* page = ActivePage();
    if (!m_window || !page || !page->WizardFinish())
        return;
    m_window->End(platform::kIdFinish);
}

void CValidatorSheet::SkipOrUndo()
{
    CPageValidatorBase* page = ActivePage();
    if (!page || !m_window)
        return;
    if (!m_skipMode) {
        page->Undo();
        SetButtonMode(true);
        return;
    }
    if (!m_skipAdvances)
        return;
    const int target = NextCounted(m_active, 1);
    if (PositionOf(m_active) == CountedPages() || target < 0)
        m_window->End(0);
    else
        SetActivePage(target);
}

void CValidatorSheet::OnCancel(platform::IWindow& window)
{
    std::vector<CPageValidatorBase*> repairedNow;
    // A page passed over repairs nothing of itself (a merged page waits for
    // the page it merged with, a follow-up for the page before it): only
    // repairs the user made are worth the question, and No takes back all,
    // those made in part too: they changed the page as much as the others.
    bool userRepaired = false;
    for (auto& page : m_pages) {
        // A verdict given changes nothing in the page but is remembered: it is
        // taken back with the repairs.
        const bool judged = page->GivesVerdicts() && !page->Verdict().empty();
        const bool changed =
            judged || page->Status() == pagestatus::kRepaired || page->Status() == pagestatus::kPartlyRepaired;
        if (!page->RepairedAtAttach() && changed) {
            repairedNow.push_back(page.get());
            userRepaired = userRepaired || !page->IsSkipped();
        }
    }
    if (userRepaired) {
        const int answer = platform::Prompt().Show(platform::Strings().Get(kCaption),
                                                   platform::Strings().Get(kKeepRepairsQuestion),
                                                   platform::PromptIcon::Exclamation,
                                                   platform::PromptButtons::YesNoCancel);
        if (answer == platform::kAnswerCancel)
            return;
        if (answer == platform::kAnswerNo) {
            for (CPageValidatorBase* page : repairedNow)
                page->Undo();
        }
    }
    for (auto& page : m_pages)
        page->SetCancelled();
    window.End(platform::kIdCancel);
}

void CValidatorSheet::OnHelp(platform::IWindow&)
{
    if (CPageValidatorBase* page = ActivePage())
        page->ShowHelp();
}

void CValidatorSheet::OnSystemCommand(platform::IWindow& window, int command)
{
    if (command == platform::kCommandAbout)
        ShowAboutDialog(&window);
}

void CValidatorSheet::OnDestroy(platform::IWindow&)
{
    for (auto& page : m_pages) {
        if (platform::IWindow* pageWindow = page->Window())
            page->OnDestroy(*pageWindow);
    }
    m_window = nullptr;
    m_active = -1;
    m_windowOf.clear();
}

} // namespace orvane
