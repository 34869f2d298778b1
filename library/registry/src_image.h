#pragma once

#include "src_long_desc.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// What is known about one image file: the alternative texts and long
// descriptions given to it on any page, and whether it needs a long
// description at all.
class CSrcImage {
public:
    CSrcImage() = default;
    explicit CSrcImage(std::string_view fileName);

    // Images are known by file name alone, so images/logo.gif and logo.gif
    // are one image: the name keeps only what follows its last '/'.
    static std::string_view ReducedFileName(std::string_view fileName);

    const std::string& FileName() const { return m_fileName; }
    void SetFileName(std::string_view fileName);

    const std::vector<std::string>& AltTexts() const { return m_altTexts; }
    // Compared ignoring letter case.
    bool HasAltText(std::string_view text) const;
    // Appends the text unless it is known already; true when it was appended.
    bool AddAltText(std::string_view text);

    const SrcLongDescList& LongDescs() const { return m_longDescs; }
    CSrcLongDesc* FindLongDesc(std::string_view value) const;
    // Appends and returns the long description.
    CSrcLongDesc* AddLongDesc(std::unique_ptr<CSrcLongDesc> longDesc);
    // Forgets the long description with that address (letter case aside), as
    // when the repair that gave it is undone; true when there was one.
    bool RemoveLongDesc(std::string_view value);

    // Set until the user decides otherwise: an image no one has judged counts
    // as needing a long description, as it does where no registry is kept.
    bool NeedsLongDesc() const { return m_needsLongDesc; }
    void SetNeedsLongDesc(bool needs);

    // Takes over the alternative texts and long descriptions of another record
    // of the same image that this one lacks; the other keeps the rest. The
    // needs-long-description decision stays this record's. True when anything
    // was taken over.
    bool MergeFrom(CSrcImage& other);

private:
    std::string m_fileName;
    std::vector<std::string> m_altTexts;
    SrcLongDescList m_longDescs;
    bool m_needsLongDesc = true;
};

} // namespace orvane
