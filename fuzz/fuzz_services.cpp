#include "fuzz_services.h"

#include "common/orvane_settings.h"
#include "library/checks/check_catalogue.h"
#include "library/html/html_document.h"
#include "platform/bundle_strings.h"
#include "platform/paths.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace orvane::fuzz {

void InstallCheckServices()
{
    static const bool installed = [] {
        platform::InstallBundleStrings("OrvaneResources.rcc");
        COrvaneSettings::InstallCatalogue(&CCheckCatalogue::Instance());
        return true;
    }();
    (void)installed;
}

std::filesystem::path ScratchFolder(std::string_view target)
{
    // Fuzzing runs several processes side by side with -jobs; each needs its own files.
    return std::filesystem::path(platform::UserDataDirectory()) / "fuzz" /
           (std::string(target) + "-" + std::to_string(::getpid()));
}

bool WriteBytes(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void AddLineByLine(CHtmlDocument& document, std::string_view page)
{
    for (std::string_view rest = page; !rest.empty();) {
        std::size_t end = rest.find('\n');
        std::size_t length = end == std::string_view::npos ? rest.size() : end + 1;
        document.AddLine(rest.substr(0, length));
        rest.remove_prefix(length);
    }
}

CRunBudget::CRunBudget(int argc, char** argv) : m_limit(FromArguments(argc, argv)) {}

std::chrono::seconds CRunBudget::FromArguments(int argc, char** argv)
{
    constexpr std::string_view kFlag = "-max_total_time=";
    long seconds = 0;
    for (int i = 1; i < argc && argv && argv[i]; ++i) {
        const std::string_view argument(argv[i]);
        if (!argument.starts_with(kFlag))
            continue;
        // As libFuzzer reads it: the last one counts, and what is no number is none.
        const std::string value(argument.substr(kFlag.size()));
        char* end = nullptr;
        const long parsed = std::strtol(value.c_str(), &end, 10);
        seconds = !value.empty() && end && *end == '\0' && parsed > 0 ? parsed : 0;
    }
    return std::chrono::seconds(seconds);
}

bool CRunBudget::Spent() const
{
    return m_limit.count() > 0 && std::chrono::steady_clock::now() - m_start >= m_limit;
}

} // namespace orvane::fuzz
