#pragma once

#include "library/ui/page_validator_base.h"

#include <string>
#include <vector>

namespace orvane {

class CAttribute;

// What the pages that give a picture its alt text share, for an image and for
// an image button alike: the texts remembered for the picture's file are
// offered, a small or banner picture gets a proposal of its own, a long or
// file-name-like text is questioned, and the pages of one picture file merge
// so one text can serve every place it stands. Pages of the two kinds never
// merge with each other: an image and a button of the same file do different
// things and need different words.
class CPageAltTextBase : public CPageValidatorBase {
public:
    static constexpr int kText = 1010;
    static constexpr int kLongExplanation = 1252;
    static constexpr int kLongSubExplanation = 1253;
    static constexpr int kSuspiciousExplanation = 1254;
    static constexpr int kNote = 1055;
    static constexpr int kSource = 1013;
    static constexpr int kPreview = 1233;

    // The variant is that of the page's first problem: the text is too long
    // (subVariant: shown with the second explanation), or looks like a file
    // name or placeholder; neither: the text is missing.
    struct Variant {
        bool longText = false;
        bool subVariant = false;
        bool suspicious = false;
    };

    // The help topic, instruction and explanation each variant shows.
    struct Look {
        const char* helpMissing;
        int instructionMissing;
        const char* helpLong;
        int instructionLong;
        int longExplanation;
        int longSubExplanation;
        const char* helpSuspicious;
        int instructionSuspicious;
    };

    void Undo() override;
    bool Apply() override;

    bool ForbidsBlankText() const { return m_forbidsBlankText; }

protected:
    CPageAltTextBase(int templateId, CAttribute& alt, std::string_view source, Variant variant, const Look& look);
    void Initialise() override;
    // A text of blanks names nothing, which a picture that is a link or a
    // button must not do.
    void SetForbidsBlankText(bool forbids) { m_forbidsBlankText = forbids; }

private:
    // Writes the text into the alt attribute, shown and marked changed.
    void SetAlt(std::string_view text);
    // Back to the attribute the page had before any repair.
    void RevertAlt();
    // The later pages of this kind and picture file that this page repairs
    // too: those it merged, while its option is ticked.
    std::vector<CPageAltTextBase*> MergedPages() const;
    // Asks about a text that looks like a file name or a placeholder; false
    // when the user wants to change it.
    bool AcceptsSuspiciousText(std::string_view text) const;

    CAttribute& m_alt;
    Variant m_variant;
    Look m_look;
    bool m_forbidsBlankText = false;
};

} // namespace orvane
