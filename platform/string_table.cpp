#include "string_table.h"

#include <charconv>
#include <vector>

namespace orvane::platform {

std::string IStringTable::Format(int id, std::initializer_list<std::string_view> args) const
{
    return FormatMessage(Get(id), args);
}

std::string IStringTable::GetIn(int id, std::string_view language) const
{
    return !language.empty() && language == Language() ? Get(id) : std::string();
}

std::string FormatMessage(std::string_view pattern, std::initializer_list<std::string_view> args)
{
    std::vector<std::string_view> values(args);
    std::string result;
    result.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            std::size_t index = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (index < values.size())
                result.append(values[index]);
            ++i;
        } else {
            result.push_back(c);
        }
    }
    return result;
}

int CStringTable::Parse(std::string_view text, int* badLine)
{
    if (badLine)
        *badLine = 0;
    int lineNumber = 0;
    int count = 0;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        std::size_t tab = line.find('\t');
        int id = 0;
        auto [after, error] = std::from_chars(line.data(), line.data() + (tab == std::string_view::npos ? line.size() : tab), id);
        if (tab == std::string_view::npos || error != std::errc() || after != line.data() + tab) {
            if (badLine && *badLine == 0)
                *badLine = lineNumber;
            continue;
        }
        std::string value;
        std::string_view raw = line.substr(tab + 1);
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '\\' && i + 1 < raw.size()) {
                char next = raw[++i];
                value.push_back(next == 'n' ? '\n' : next == 't' ? '\t' : next);
            } else {
                value.push_back(raw[i]);
            }
        }
        m_strings[id] = std::move(value);
        ++count;
    }
    return count;
}

std::string CStringTable::Get(int id) const
{
    auto it = m_strings.find(id);
    return it == m_strings.end() ? std::string() : it->second;
}

} // namespace orvane::platform
