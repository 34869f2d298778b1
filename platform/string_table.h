#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace orvane::platform {

// Texts by number, as the resource bundle holds them.
class IStringTable {
public:
    virtual ~IStringTable() = default;
    // The text of a string resource; empty when there is none.
    virtual std::string Get(int id) const = 0;
    // The text with %1, %2, ... replaced by the arguments.
    std::string Format(int id, std::initializer_list<std::string_view> args) const;
    // The language the texts are shown in ("en", "de"); empty when the table
    // does not say.
    virtual std::string Language() const { return {}; }
    // The text of a string resource in another language of the bundle
    // ("en", "de"), for what is written for a reader of that language;
    // empty when the bundle has no text in it.
    virtual std::string GetIn(int id, std::string_view language) const;
};

std::string FormatMessage(std::string_view pattern, std::initializer_list<std::string_view> args);

// A string table read from its data file: one "number<TAB>text" per line, with
// \n, \t and \\ escapes; blank lines and lines starting with '#' are skipped.
class CStringTable final : public IStringTable {
public:
    // Reads the data file's text; returns the number of strings read, and the
    // 1-based number of the first bad line in *badLine (0 when none).
    int Parse(std::string_view text, int* badLine = nullptr);
    std::string Get(int id) const override;
    std::string Language() const override { return m_language; }
    // The language its texts are in, when it is to say so.
    void SetLanguage(std::string language) { m_language = std::move(language); }
    std::size_t Size() const { return m_strings.size(); }
    const std::map<int, std::string>& Strings() const { return m_strings; }

private:
    std::map<int, std::string> m_strings;
    std::string m_language;
};

} // namespace orvane::platform
