#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

namespace orvane {
class CHtmlDocument;
}

namespace orvane::fuzz {

// What a host installs before it checks pages: the string table of the
// resource bundle (when one lies beside the program) and the check catalogue
// the settings are built from. Safe to call more than once.
void InstallCheckServices();

// A folder of this process for the files a target writes, below the per-user
// data folder (ORVANE_HOME when it is set), named after the target.
std::filesystem::path ScratchFolder(std::string_view target);

// Files as bytes: a failed write says false, a missing file reads as empty.
bool WriteBytes(const std::filesystem::path& path, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& path);

// Hands the page to the document one line at a time, each with its line feed,
// as a host adding lines does (the document is started and finished by the caller).
void AddLineByLine(CHtmlDocument& document, std::string_view page);

// The time a run may take, as libFuzzer's -max_total_time=N among the
// program's arguments gives it; none (or 0) when they set no limit, as when
// one input is run alone. libFuzzer runs every seed before it first looks at
// its clock: a target whose inputs cost a good part of a second each stops
// its work once the time is spent, so that the rest of its seeds pass at no
// cost and the run ends about when it was asked to.
class CRunBudget {
public:
    CRunBudget() = default;
    CRunBudget(int argc, char** argv);
    static std::chrono::seconds FromArguments(int argc, char** argv);
    std::chrono::seconds Limit() const { return m_limit; }
    bool Spent() const;

private:
    std::chrono::seconds m_limit{0};
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

} // namespace orvane::fuzz
