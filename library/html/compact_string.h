#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <string_view>

namespace orvane {

// A string that either borrows bytes kept alive elsewhere (the page text of a
// document lives in its arena until the document is reset) or owns a heap copy.
// Parsed pages borrow, so taking a page in copies its bytes once; anything a
// repair writes is owned.
class CompactString {
public:
    CompactString() = default;
    ~CompactString() { Release(); }
    CompactString(const CompactString&) = delete;
    CompactString& operator=(const CompactString&) = delete;

    std::string_view View() const { return {m_data, m_size}; }
    std::string Str() const { return std::string(m_data, m_size); }
    std::size_t Size() const { return m_size; }
    bool Empty() const { return m_size == 0; }
    bool Owned() const { return m_owned; }

    // Points at bytes the caller keeps alive for as long as this string;
    // false (and unchanged) for a text beyond the 4 GiB a string may hold.
    bool Borrow(std::string_view text)
    {
        if (text.size() > kMaxSize)
            return false;
        Release();
        m_data = text.data();
        m_size = static_cast<std::uint32_t>(text.size());
        return true;
    }

    // Copies the text; false when memory ran out, leaving the old value in place.
    bool Assign(std::string_view text)
    {
        if (text.empty()) {
            Release();
            return true;
        }
        if (text.size() > kMaxSize)
            return false;
        char* copy = new (std::nothrow) char[text.size()];
        if (!copy)
            return false;
        std::memcpy(copy, text.data(), text.size());
        Release();
        m_data = copy;
        m_size = static_cast<std::uint32_t>(text.size());
        m_owned = true;
        return true;
    }

    // Turns a borrowed string into an owned copy, so the borrowed bytes may go.
    bool Materialize() { return m_owned || Assign(View()); }

    static constexpr std::size_t kMaxSize = std::numeric_limits<std::uint32_t>::max();

private:
    void Release()
    {
        if (m_owned)
            delete[] m_data;
        m_data = "";
        m_size = 0;
        m_owned = false;
    }

    // Kept to 16 bytes: a page has an element for every few bytes of markup.
    const char* m_data = "";
    std::uint32_t m_size = 0;
    bool m_owned = false;
};

} // namespace orvane
