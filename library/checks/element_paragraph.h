#pragma once

#include "library/html/element.h"

namespace orvane {

// A paragraph (p). It carries no checks of its own; the page-wide checks mark
// the paragraphs that look like headings and those that stand in quotation
// marks.
class CElementParagraph : public CElement {
public:
    bool IsPotentialHeading() const { return m_potentialHeading; }
    void SetPotentialHeading(bool mark) { m_potentialHeading = mark; }

    bool IsPotentialQuote() const { return m_potentialQuote; }
    void SetPotentialQuote(bool mark) { m_potentialQuote = mark; }
    // The elements made, deleted until used, before the paragraph and after
    // its end tag, that take a blockquote's tags; null until made.
    CElement* QuoteOpen() const { return m_quoteOpen; }
    CElement* QuoteClose() const { return m_quoteClose; }
    void SetQuoteTags(CElement* open, CElement* close)
    {
        m_quoteOpen = open;
        m_quoteClose = close;
    }

private:
    bool m_potentialHeading = false;
    bool m_potentialQuote = false;
    CElement* m_quoteOpen = nullptr;
    CElement* m_quoteClose = nullptr;
};

} // namespace orvane
