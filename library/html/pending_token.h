#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvane {

// The token the tokenizer is putting together, piece by piece. Its bytes
// follow each other in the page, so while they come from the page text the
// document keeps, the token is only a view of that text and nothing is
// copied; bytes of a piece that is not kept are gathered here.
class CPendingToken {
public:
    bool Empty() const { return m_size == 0; }
    std::size_t Size() const { return m_size; }
    std::string_view View() const { return {m_viewing ? m_begin : m_gathered.data(), m_size}; }

    // bytes: what follows the token in the page; kept: they lie in the page
    // text the document keeps.
    void Append(std::string_view bytes, bool kept)
    {
        if (kept && (m_size == 0 || (m_viewing && m_begin + m_size == bytes.data()))) {
            if (m_size == 0)
                m_begin = bytes.data();
            m_size += bytes.size();
            m_viewing = true;
            return;
        }
        if (m_viewing) {
            m_gathered.assign(m_begin, m_size);
            m_viewing = false;
        }
        m_gathered.append(bytes);
        m_size = m_gathered.size();
    }

    void DropLast()
    {
        if (!m_viewing)
            m_gathered.pop_back();
        --m_size;
    }

    void Clear()
    {
        m_gathered.clear();
        m_size = 0;
        m_viewing = false;
    }

private:
    std::string m_gathered;
    const char* m_begin = nullptr;
    std::size_t m_size = 0;
    bool m_viewing = false;
};

} // namespace orvane
