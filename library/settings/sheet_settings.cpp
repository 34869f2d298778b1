#include "sheet_settings.h"

#include "check_rows.h"
#include "library/dialogs/about_dialog.h"
#include "library/dialogs/help_topic.h"
#include "library/html/lang_codes.h"
#include "platform/services.h"

namespace orvane {

using platform::Strings;

namespace {

constexpr int kIconLibrary = 128;
constexpr int kStringAboutItem = 101;
constexpr int kStringReadFailed = 149;
constexpr int kStringHelpButton = 364;

} // namespace

// --- CSettingsPage

void CSettingsPage::OnActivate(platform::IWindow& window)
{
    if (WasShown()) {
        ShowAgain(window);
        return;
    }
    m_record = m_sheet.GetRecord();
    if (m_record)
        FirstShow(window);
}

void CSettingsPage::OnOk(platform::IWindow&)
{
    if (platform::IWindow* sheet = m_sheet.Window())
        m_sheet.OnOk(*sheet);
}

void CSettingsPage::OnCancel(platform::IWindow&)
{
    if (platform::IWindow* sheet = m_sheet.Window())
        m_sheet.OnCancel(*sheet);
}

// --- CSheetSettings

CSheetSettings::CSheetSettings()
    : m_pageLevel(*this), m_pageAutoRepair(*this), m_pageFileSaves(*this), m_pageLongdesc(*this)
{
}

CSheetSettings::~CSheetSettings() = default;

COrvaneSettings* CSheetSettings::GetRecord()
{
    if (!m_loaded) {
        m_loaded = true;
        if (m_record.Load() != 1) {
            platform::Prompt().Show(Strings().Get(settingsui::kStringCaption), Strings().Get(kStringReadFailed),
                                    platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
            return nullptr;
        }
        m_level = m_record.GetConformanceLevel();
    }
    return &m_record;
}

CSettingsPage& CSheetSettings::PageAt(int index)
{
    std::array<CSettingsPage*, 4> pages = {&m_pageLevel, &m_pageAutoRepair, &m_pageFileSaves, &m_pageLongdesc};
    return *pages.at(static_cast<std::size_t>(index));
}

CSettingsPage* CSheetSettings::CurrentPage()
{
    if (!m_window || m_window->CurrentPage() < 0)
        return nullptr;
    return &PageAt(m_window->CurrentPage());
}

void CSheetSettings::ShowPageOf(const CSettingsPage& page)
{
    for (int index = 0; m_window && index < m_window->PageCount(); ++index) {
        if (&PageAt(index) == &page && m_window->CurrentPage() != index)
            m_window->ShowPage(index);
    }
}

void CSheetSettings::OnInit(platform::IWindow& window)
{
    m_window = &window;
    window.SetTitle(Strings().Get(settingsui::kStringCaption));
    window.SetIcon(kIconLibrary);
    if (const std::string about = Strings().Get(kStringAboutItem); !about.empty())
        window.AddSystemCommand(platform::kCommandAbout, about);
    if (const std::string help = Strings().Get(kStringHelpButton); !help.empty())
        window.SetText(platform::kIdHelp, help);

    // The language box of the automatic-repair page needs the code list; a
    // list that a running session loaded stays as it is.
    CLanguageCodeList& languages = CLanguageCodeList::Library();
    m_freeLanguages = !languages.IsLoaded();
    languages.Load();

    // The pages' tab texts are their templates' titles.
    window.AddPage(CPageSettingsLevel::kTemplate, m_pageLevel);
    window.AddPage(CPageSettingsAutoRepair::kTemplate, m_pageAutoRepair);
    window.AddPage(CPageSettingsFileSaves::kTemplate, m_pageFileSaves);
    window.AddPage(CPageSettingsLongdesc::kTemplate, m_pageLongdesc);
    window.ShowPage(0);
}

void CSheetSettings::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    if (notification.control == platform::kIdPageArea &&
        notification.code == platform::NotifyCode::SelectionChanged) {
        if (notification.item == window.CurrentPage() || notification.item < 0 ||
            notification.item >= window.PageCount())
            return;
        CSettingsPage* current = CurrentPage();
        if (current && !current->CanLeave())
            return;
        window.ShowPage(notification.item);
    } else if (notification.control == platform::kIdOk && notification.code == platform::NotifyCode::Clicked) {
        OnOk(window);
    }
}

void CSheetSettings::OnOk(platform::IWindow& window)
{
    m_accept = true;
    for (int index = 0; index < window.PageCount(); ++index) {
        if (PageAt(index).WasShown())
            PageAt(index).OkStep();
    }
    // Nothing is saved while the sheet stays open: a Cancel after a refused
    // OK must still leave the stored settings as they were.
    if (!m_accept)
        return;
    if (m_loaded)
        m_record.Save();
    window.End(platform::kIdOk);
}

void CSheetSettings::OnCancel(platform::IWindow& window) { window.End(platform::kIdCancel); }

void CSheetSettings::OnHelp(platform::IWindow& window)
{
    if (CSettingsPage* page = CurrentPage())
        ShowHelpTopic(&window, page->HelpTopic());
}

void CSheetSettings::OnSystemCommand(platform::IWindow& window, int command)
{
    if (command == platform::kCommandAbout)
        ShowAboutDialog(&window);
}

void CSheetSettings::OnDestroy(platform::IWindow&)
{
    if (m_freeLanguages)
        CLanguageCodeList::Library().Free();
    m_freeLanguages = false;
    m_window = nullptr;
}

int RunSettingsSheet(platform::IWindow* owner)
{
    CSheetSettings sheet;
    const int result = platform::Windows().RunModal(CSheetSettings::kTemplate, sheet, owner);
    return result == platform::kIdOk ? platform::kIdOk : platform::kIdCancel;
}

} // namespace orvane
