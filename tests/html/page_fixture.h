#pragma once

#include "library/checks/family_factory.h"
#include "library/html/html_document.h"

#include <sstream>
#include <string>
#include <vector>

namespace orvane::test {

// A document parsed with the element families, as a checked page is.
class CParsedPage {
public:
    CParsedPage() : document(CFamilyElementFactory::Instance()) {}

    // The whole text in one piece, as a host hands a text over.
    CHtmlDocument& FromText(std::string_view text)
    {
        document.Start(0, false);
        document.AddLine(text);
        document.Finish();
        return document;
    }

    // The text as a file is read.
    int FromFile(const std::string& bytes)
    {
        document.Start(1, false);
        std::istringstream in(bytes);
        return document.Load(in);
    }

    // One piece per line, each with its line feed, as a host adds lines.
    CHtmlDocument& FromLines(std::string_view text)
    {
        document.Start(1, false);
        while (!text.empty()) {
            std::size_t end = text.find('\n');
            std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
            document.AddLine(text.substr(0, length));
            text.remove_prefix(length);
        }
        document.Finish();
        return document;
    }

    std::vector<int> Kinds() const
    {
        std::vector<int> kinds;
        for (const CElement* e : document.Elements())
            kinds.push_back(e->Kind());
        return kinds;
    }

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const CElement* e : document.Elements())
            texts.push_back(e->GetText());
        return texts;
    }

    CElement& At(std::size_t index) const { return *document.At(index); }

    std::string Written() const
    {
        std::ostringstream out;
        document.Write(out);
        return out.str();
    }

    CHtmlDocument document;
};

} // namespace orvane::test
