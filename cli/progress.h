#pragma once

#include <cstddef>
#include <iosfwd>
#include <mutex>
#include <string>
#include <string_view>

namespace orvane::cli {

// Whether a run over many files shows its progress: only to a person
// watching a terminal, and not when asked to be quiet. Logs of CI runs and
// pipes get none of it.
bool ShowsProgress(bool quiet, bool standardErrorIsTerminal);
// The same for this process's standard error.
bool ShowsProgress(bool quiet);

// One line on the terminal, written over as the files go: "[12/340] path",
// the files finished of all, and the file being worked on. Workers of several
// threads may call it at once. Nothing is written when it is not shown, or
// for a single file.
class ProgressLine {
public:
    ProgressLine(std::ostream& out, std::size_t total, bool shown);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void Starting(std::string_view path);
    void Finished();
    // Clears the line, so the report that follows starts on a clean line.
    void End();

private:
    void Write(std::string_view path);

    std::ostream& m_out;
    std::size_t m_total;
    bool m_shown;
    std::size_t m_done = 0;
    std::size_t m_width = 0;  // of the line last written
    std::mutex m_mutex;
};

} // namespace orvane::cli
