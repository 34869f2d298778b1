#include "library/ui/site_registry_offer.h"

#include "library/registry/object_database.h"
#include "platform/file_system.h"
#include "platform/services.h"

#include <filesystem>
#include <memory>
#include <system_error>
#include <initializer_list>
#include <string_view>

namespace orvane {
namespace {

enum String : int {
    kCaption = 111,
    kAlreadyThere = 1264,
    kStartQuestion = 1265,
    kCreated = 1266,
    kNotCreated = 1267,
    kCreatedForSession = 1284,
};

int Tell(int textId, std::initializer_list<std::string_view> arguments, platform::PromptIcon icon,
         platform::PromptButtons buttons = platform::PromptButtons::Ok)
{
    return platform::Prompt().Show(platform::Strings().Get(kCaption), platform::Strings().Format(textId, arguments),
                                   icon, buttons);
}

std::size_t RecordsOf(const CSrcDocument& page)
{
    return page.Tables().size() + page.Images().size() + page.ImageMaps().size() + page.AsciiArts().size() +
           page.Applets().size() + page.Links().size() + page.JudgementCount();
}

// The session goes on with the site registry at file; how many of the page's
// records were copied into it.
std::size_t SwitchSession(CSrcObjectDatabase& session, const std::string& pagePath, const std::string& file)
{
    // What the session decided so far stays where it was decided as well.
    session.Save();
    std::unique_ptr<CSrcDocument> page = session.TakeDocument(pagePath);
    session.Clear();
    session.UseSiteRegistry(file);
    session.LoadForSession();
    if (!page)
        return 0;
    const std::size_t records = RecordsOf(*page);
    if (CSrcDocument* entry = session.DocumentFor(pagePath))
        entry->MergeFrom(std::move(*page));
    return records;
}

} // namespace

SiteRegistryOffer OfferSiteRegistry(const std::string& pagePath, CSrcObjectDatabase* session)
{
    namespace fs = std::filesystem;
    const std::string existing = CSrcObjectDatabase::FindSiteRegistry(pagePath);
    if (!existing.empty()) {
        Tell(kAlreadyThere, {existing}, platform::PromptIcon::Information);
        return SiteRegistryOffer::AlreadyThere;
    }
    std::error_code error;
    const fs::path folder = fs::absolute(fs::path(pagePath), error).parent_path();
    const fs::path file = folder / fs::path(CSrcObjectDatabase::kSiteFile);
    if (Tell(kStartQuestion, {folder.string(), file.string()}, platform::PromptIcon::Question,
             platform::PromptButtons::YesNo) != platform::kAnswerYes)
        return SiteRegistryOffer::Declined;
    // Made by someone else while the question stood: theirs is kept.
    if (platform::FileExists(file.string())) {
        Tell(kAlreadyThere, {file.string()}, platform::PromptIcon::Information);
        return SiteRegistryOffer::AlreadyThere;
    }
    fs::create_directories(file.parent_path(), error);
    CSrcObjectDatabase site;
    site.UseSiteRegistry(file.string());
    // The changed flag is the whole process's: the session's own registry
    // still has to be saved after this one.
    const bool sessionChanged = CSrcObjectDatabase::IsChanged();
    CSrcObjectDatabase::SetChanged(true);
    const bool saved = site.Save() == 1;
    CSrcObjectDatabase::SetChanged(sessionChanged);
    if (!saved) {
        Tell(kNotCreated, {file.string()}, platform::PromptIcon::Exclamation);
        return SiteRegistryOffer::Failed;
    }
    if (!session) {
        Tell(kCreated, {file.string(), folder.string()}, platform::PromptIcon::Information);
        return SiteRegistryOffer::Created;
    }
    const std::size_t copied = SwitchSession(*session, pagePath, file.string());
    Tell(kCreatedForSession, {file.string(), folder.string(), std::to_string(copied)},
         platform::PromptIcon::Information);
    return SiteRegistryOffer::Created;
}

} // namespace orvane
