#include "library/ui/site_registry_offer.h"

#include "library/registry/object_database.h"
#include "platform/file_system.h"
#include "platform/services.h"

#include <filesystem>
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
};

int Tell(int textId, std::initializer_list<std::string_view> arguments, platform::PromptIcon icon,
         platform::PromptButtons buttons = platform::PromptButtons::Ok)
{
    return platform::Prompt().Show(platform::Strings().Get(kCaption), platform::Strings().Format(textId, arguments),
                                   icon, buttons);
}

} // namespace

SiteRegistryOffer OfferSiteRegistry(const std::string& pagePath)
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
    Tell(kCreated, {file.string(), folder.string()}, platform::PromptIcon::Information);
    return SiteRegistryOffer::Created;
}

} // namespace orvane
