#include "progress.h"

#include "platform/terminal.h"

#include <ostream>

namespace orvane::cli {
namespace {

// Long paths keep their end, the file's name: a line wider than the terminal
// would wrap, and "\r" would then write over its last part only.
constexpr std::size_t kPathWidth = 60;

} // namespace

bool ShowsProgress(bool quiet, bool standardErrorIsTerminal) { return !quiet && standardErrorIsTerminal; }

bool ShowsProgress(bool quiet) { return ShowsProgress(quiet, platform::StandardErrorIsTerminal()); }

ProgressLine::ProgressLine(std::ostream& out, std::size_t total, bool shown)
    : m_out(out), m_total(total), m_shown(shown && total > 1)
{
}

ProgressLine::~ProgressLine() { End(); }

void ProgressLine::Starting(std::string_view path)
{
    if (!m_shown)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    Write(path);
}

void ProgressLine::Finished()
{
    if (!m_shown)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_done;
}

void ProgressLine::End()
{
    if (!m_shown)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_width > 0)
        m_out << '\r' << std::string(m_width, ' ') << '\r' << std::flush;
    m_width = 0;
    m_shown = false;
}

void ProgressLine::Write(std::string_view path)
{
    const bool cut = path.size() > kPathWidth;
    if (cut) {
        path.remove_prefix(path.size() - (kPathWidth - 3));
        // Not in the middle of a UTF-8 sequence.
        while (!path.empty() && (static_cast<unsigned char>(path.front()) & 0xC0) == 0x80)
            path.remove_prefix(1);
    }
    std::string line = "[" + std::to_string(m_done) + "/" + std::to_string(m_total) + "] ";
    if (cut)
        line += "...";
    line += path;
    const std::size_t width = line.size();
    // Spaces over what is left of a longer line before.
    if (width < m_width)
        line.append(m_width - width, ' ');
    m_out << '\r' << line << std::flush;
    m_width = width;
}

} // namespace orvane::cli
