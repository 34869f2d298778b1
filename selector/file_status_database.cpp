#include "file_status_database.h"

#include "platform/file_system.h"

#include <cstdio>
#include <ctime>
#include <sstream>

namespace orvane::selector {
namespace {

// A line's time: the broken-down local time, when it is a real one.
std::optional<std::int64_t> TimeOf(const int fields[6])
{
    const int year = fields[0], month = fields[1], day = fields[2], hour = fields[3], minute = fields[4],
              second = fields[5];
    if (year < 1970 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 60)
        return std::nullopt;
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    const std::time_t time = std::mktime(&local);
    if (time == static_cast<std::time_t>(-1))
        return std::nullopt;
    return static_cast<std::int64_t>(time);
}

// A file name may hold a tab or a line break, which would split its line.
// Such a path is written escaped (\t, \n, \r and \\), and its line says so
// in a field after the date, which readers of the plain format pass over;
// every other path is written as it is, as it always was.
constexpr std::string_view kEscapedMark = "escaped";

bool NeedsEscaping(const std::string& path) { return path.find_first_of("\t\n\r") != std::string::npos; }

std::string Escaped(const std::string& path)
{
    std::string out;
    for (char c : path) {
        switch (c) {
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\\': out += "\\\\"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::string Unescaped(const std::string& field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const char next = i + 1 < field.size() ? field[i + 1] : '\0';
        if (field[i] != '\\' || (next != 't' && next != 'n' && next != 'r' && next != '\\')) {
            out += field[i];
            continue;
        }
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : '\\';
        ++i;
    }
    return out;
}

int Number(const std::string& token)
{
    try {
        return std::stoi(token);
    } catch (...) {
        return 0;
    }
}

} // namespace

int MarkOfStatus(int status) { return status >= 0 && status <= 4 ? status + 1 : 1; }

int CFileStatusDatabase::Read()
{
    std::unique_ptr<std::istream> in = platform::OpenForReading(m_filePath);
    if (!in)
        return 0;
    std::string line;
    while (std::getline(*in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> tokens;
        std::istringstream fields(line);
        std::string token;
        while (std::getline(fields, token, '\t'))
            tokens.push_back(token);
        if (tokens.empty() || tokens[0].empty())
            continue;
        int numbers[7] = {};
        for (std::size_t i = 1; i < tokens.size() && i <= 7; ++i)
            numbers[i - 1] = Number(tokens[i]);
        const bool escaped = tokens.size() > 8 && tokens[8] == kEscapedMark;
        Update(escaped ? Unescaped(tokens[0]) : tokens[0], numbers[0], TimeOf(numbers + 1));
    }
    m_changed = false;
    return 1;
}

int CFileStatusDatabase::Write()
{
    if (!m_changed)
        return 1;
    const bool written = platform::WriteFileAtomically(m_filePath, [this](std::ostream& out) {
        for (const CFileStatusRecord& record : m_records) {
            int fields[6] = {};
            if (record.time) {
                const std::time_t time = static_cast<std::time_t>(*record.time);
                if (const std::tm* local = std::localtime(&time)) {
                    fields[0] = local->tm_year + 1900;
                    fields[1] = local->tm_mon + 1;
                    fields[2] = local->tm_mday;
                    fields[3] = local->tm_hour;
                    fields[4] = local->tm_min;
                    fields[5] = local->tm_sec;
                }
            }
            const bool escape = NeedsEscaping(record.path);
            out << (escape ? Escaped(record.path) : record.path) << '\t' << record.mark;
            for (int field : fields)
                out << '\t' << field;
            if (escape)
                out << '\t' << kEscapedMark;
            out << '\n';
        }
        return static_cast<bool>(out);
    });
    return written ? 1 : 0;
}

int CFileStatusDatabase::Update(const std::string& path, int mark, std::optional<std::int64_t> time)
{
    m_changed = true;
    if (auto it = m_index.find(path); it != m_index.end()) {
        m_records[it->second].mark = mark;
        m_records[it->second].time = time;
        return 1;
    }
    m_index.emplace(path, m_records.size());
    m_records.push_back({path, mark, time});
    return 1;
}

const CFileStatusRecord* CFileStatusDatabase::Find(const std::string& path) const
{
    auto it = m_index.find(path);
    return it == m_index.end() ? nullptr : &m_records[it->second];
}

std::optional<int> CFileStatusDatabase::MarkFor(const std::string& path, std::int64_t fileTime) const
{
    const CFileStatusRecord* record = Find(path);
    if (!record || !record->time || *record->time < fileTime || record->mark < 1 || record->mark > 5)
        return std::nullopt;
    return record->mark;
}

} // namespace orvane::selector
