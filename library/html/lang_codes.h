#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace orvane {

// One language of the code list: its two-letter and three-letter codes and
// the name shown to the user.
class CLanguageRecord {
public:
    CLanguageRecord() = default;
    CLanguageRecord(std::string firstCode, std::string secondCode, std::string displayName)
        : m_firstCode(std::move(firstCode)), m_secondCode(std::move(secondCode)), m_displayName(std::move(displayName))
    {
    }

    const std::string& FirstCode() const { return m_firstCode; }
    const std::string& SecondCode() const { return m_secondCode; }
    const std::string& DisplayName() const { return m_displayName; }

private:
    std::string m_firstCode;
    std::string m_secondCode;
    std::string m_displayName;
};

// The valid language codes, read from "LangCodes.txt" beside the library for
// the length of a checking session or of the settings sheet.
//
// One record a line: first code, second code, display name, separated by
// commas. Lines are taken 199 characters at a time and lose their last
// character (the line feed). Commas in a row count as one; the codes lose
// their leading white space, the name is kept as it stands; missing fields
// are empty and a fourth field is ignored.
class CLanguageCodeList {
public:
    static constexpr std::string_view kFileName = "LangCodes.txt";
    static constexpr std::size_t kLineLimit = 199;

    // The list the library's checks and pages share.
    static CLanguageCodeList& Library();

    // The file shipped beside the library. 1 when the list is loaded (or was
    // already), 0 when the file cannot be opened; the list is empty then.
    int Load();
    int Load(const std::string& path);
    int Load(std::istream& in);
    // Destroys every record and clears the loaded flag.
    void Free();
    bool IsLoaded() const { return m_loaded; }

    // The code is the first or second code of a record (exact comparison).
    bool IsValidCode(std::string_view code) const;
    // The records in file order.
    const std::vector<CLanguageRecord>& Codes() const { return m_codes; }

private:
    struct CodeHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view code) const { return std::hash<std::string_view>{}(code); }
    };

    std::vector<CLanguageRecord> m_codes;
    // Every first and second code, so a page of many lang attributes costs one
    // lookup each however long the list.
    std::unordered_set<std::string, CodeHash, std::equal_to<>> m_validCodes;
    bool m_loaded = false;
};

} // namespace orvane
