#include "library/ui/checking_session.h"

#include "common/orvane_settings.h"
#include "library/html/conformance_icon.h"
#include "library/html/html_document.h"
#include "library/registry/object_database.h"
#include "library/ui/overview_dialog.h"
#include "library/ui/problem_list.h"
#include "library/ui/repair_run.h"
#include "library/ui/validator_sheet.h"
#include "platform/services.h"
#include "platform/window.h"

namespace orvane {

namespace {

constexpr int kCaption = 111;
constexpr int kOverviewNotShown = 495;

// The window system that could not make the overview (a template missing
// from the bundle, or one that does not load): it would fail the same way
// each time, so its later sessions run unattended at once, without a message.
const platform::IWindowSystem* g_failedWindows = nullptr;

// Without its window the overview never groups its problems, and its result
// would say "nothing counts" of a page full of them: the page is checked
// unattended instead, and the user is told so once.
int CheckWithoutTheOverview(CHtmlDocument& document, COrvaneSettings& settings, const std::string& fileName)
{
    g_failedWindows = &platform::Windows();
    const platform::IStringTable& strings = platform::Strings();
    std::string text = strings.Get(kOverviewNotShown);
    if (text.empty())
        text = "The overview window could not be opened, so pages are checked without windows.";
    platform::Prompt().Show(strings.Get(kCaption), text, platform::PromptIcon::Exclamation,
                            platform::PromptButtons::Ok);
    return RunUnattendedSession(document, settings, fileName);
}

} // namespace

int RunCheckingSession(CHtmlDocument& document, COrvaneSettings& settings, const std::string& fileName)
{
    if (&platform::Windows() == g_failedWindows || !platform::Windows().CanShowWindows())
        return RunUnattendedSession(document, settings, fileName);
    {
        COverviewDialog overview;
        overview.Prepare(document, settings, fileName);
        const bool shown = overview.RunModal() >= 0;
        document.SetObjectRegistry(nullptr);
        if (shown)
            return overview.ResultCode();
    }
    return CheckWithoutTheOverview(document, settings, fileName);
}

void RepairAutomatically(CProblemList& problems, CHtmlDocument& document, COrvaneSettings& settings,
                         CSrcObjectDatabase& registry, const std::string& fileName,
                         std::vector<CValidatorSheet::NotRepairedNote>* notes)
{
    CValidatorSheet sheet;
    sheet.SetObjectRegistry(&registry);
    sheet.SetSettings(&settings);
    sheet.SetDocumentPath(fileName);
    for (const auto& entry : problems.AllEntries()) {
        if (problems.IsAtLevel(*entry) && !entry->IsRepaired() && entry->HasAutoRepair() &&
            entry->AutoRepairSetting(settings) == 1)
            AddRepairPagesOf(sheet, document, *entry);
    }
    if (notes)
        notes->insert(notes->end(), sheet.NotRepaired().begin(), sheet.NotRepaired().end());
}

int RunUnattendedSession(CHtmlDocument& document, COrvaneSettings& settings, const std::string& fileName)
{
    CSrcObjectDatabase registry;
    registry.UseSiteOf(document.Name().empty() ? fileName : document.Name());
    registry.LoadForSession();
    CProblemList problems;
    problems.Prepare(document, settings, &registry);
    problems.Group(settings);
    RepairAutomatically(problems, document, settings, registry, fileName);
    problems.RecheckRules(document, settings);
    const int result = problems.SessionResult();
    CloseSession(document, settings, registry, problems.Summarize(settings.GetConformanceLevel()).achievedLevel);
    document.SetObjectRegistry(nullptr);
    return result;
}

void CloseSession(CHtmlDocument& document, COrvaneSettings& settings, CSrcObjectDatabase& registry,
                  int achievedLevel)
{
    // Saved even when there was no file to load yet: the first session makes it.
    registry.UpdateFromDocument(document);
    registry.Save();
    if (settings.GetInsertIcon())
        InsertConformanceIcon(document, achievedLevel, settings.GetIconsLocation());
    settings.Save();
}

} // namespace orvane
