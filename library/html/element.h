#pragma once

#include "attribute.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

namespace orvane {

class CHtmlDocument;
class CElementArena;
class CValidatorSheet;
class COrvaneSettings;

// One piece of a page: a start or end tag, a text run, a comment piece, an
// unknown tag or the document element. Families of tags derive from it and
// answer the check catalogue through the virtual operations below.
class CElement {
public:
    static constexpr std::uint64_t kNoSource = std::numeric_limits<std::uint64_t>::max();

    CElement() = default;
    virtual ~CElement();
    CElement(const CElement&) = delete;
    CElement& operator=(const CElement&) = delete;

    // Family operations, with the defaults of the base. A problem text is what
    // the user reads: page text in it decoded from the page's encoding, with
    // its character references resolved.
    virtual int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel);
    virtual int AddRepairPages(CValidatorSheet& sheet, CHtmlDocument& document, std::uint32_t bits);
    virtual std::uint32_t GetCheckMask() const;
    virtual std::string GetCheckName(std::uint32_t bit) const;
    virtual std::string GetCheckTitle(std::uint32_t bit) const;
    virtual std::string GetProblemText(std::uint32_t bit, const PageEncoding& encoding) const;
    virtual std::string GetWarningHelpTopic(std::uint32_t bit) const;
    virtual int GetWarningTextId(std::uint32_t bit) const;
    virtual int GetPriority(std::uint32_t bit) const;
    virtual bool IsSection508(std::uint32_t bit) const;
    virtual bool IsGrouped(std::uint32_t bit) const;
    virtual bool HasAutoRepair(std::uint32_t bit) const;
    virtual int GetRememberedDefault(std::uint32_t bit) const;
    virtual bool UsesColour() const;
    virtual void PrepareRepair();

    // Hooks the tokenizer calls while the page is taken in; families that
    // collect what lies inside them override the ones they need.
    virtual void AttachInner(CElement& inner);          // a, script, style
    virtual void CollectText(std::string_view trimmed); // blink, marquee, textarea
    virtual void SetOrdinal(int number);                // lists, frames, framesets
    virtual void SetEnclosingAnchor(CElement& anchor);  // img

    int Kind() const { return m_kind; }
    void SetKind(int kind) { m_kind = static_cast<std::int16_t>(kind); }

    std::uint32_t ProblemMask() const { return m_problemMask; }
    void SetProblemMask(std::uint32_t mask) { m_problemMask = mask; }
    int ProblemCount() const;
    int ProblemFlag() const { return m_problemFlag; }
    void SetProblemFlag(int flag) { m_problemFlag = static_cast<std::int8_t>(flag); }

    bool IsHeadingStart() const { return m_kind >= 33 && m_kind <= 38; }
    bool IsHeadingEnd() const { return m_kind >= 1033 && m_kind <= 1038; }

    bool IsDeleted() const { return m_deleted; }
    void SetDeleted(bool deleted) { m_deleted = deleted; }
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }

    std::uint32_t RepairedMask() const { return m_repaired ? KeptRepairedMask() : 0; }
    void SetRepaired(std::uint32_t bit, bool on);
    // Mode 1: an element without problems counts as repaired. Bit 0 asks for any bit.
    bool IsRepaired(std::uint32_t bit, int mode) const;
    // A problem repaired in part is still open: it claims no level, yet the
    // overview tells it from one nobody touched.
    std::uint32_t PartlyRepairedMask() const;
    void SetPartlyRepaired(std::uint32_t bit, bool on);
    bool IsPartlyRepaired(std::uint32_t bit) const { return (PartlyRepairedMask() & bit) != 0; }

    std::string_view Text() const { return {m_textData, m_textSize}; }
    std::string GetText() const { return std::string(Text()); }
    // False when memory ran out; the element is unchanged then.
    bool SetText(std::string_view text);
    // Used by the tokenizer: the text lives in the document's arena. False
    // (and unchanged) for a text beyond the 4 GiB an element may hold.
    bool BorrowText(std::string_view text);

    // Gives the tag another name, written where the old one stands in its
    // text, in the old one's letter case; its attributes keep their text as
    // written, and the kind follows the name. False when the text is no tag
    // or memory ran out; the element is unchanged then.
    bool RenameTag(std::string_view name, int kind);
    // The name as the tag's text writes it ("H3" of "</H3 >"); empty for no tag.
    std::string_view WrittenTagName() const;

    CElement* Partner() const { return m_partner; }
    void SetPartner(CElement* partner) { m_partner = partner; }

    // The whole list, the element name first. A name the parser left in the
    // text is made into its record here, on first asking.
    CAttribute* FirstAttribute() const;
    // The attributes after the element name: what walks over a tag's
    // attributes want, without making the name's record.
    CAttribute* AttributesAfterName() const
    {
        return m_implicitName || !m_firstAttribute ? m_firstAttribute : m_firstAttribute->Next();
    }
    CAttribute* FindAttribute(int id) const;
    int AttributeCount() const;
    // Places the attribute by the insertion rules and takes ownership; returns 1.
    int InsertAttribute(std::unique_ptr<CAttribute> attribute);
    void DestroyAttributes();

    // What the element writes back: its source text, or the tag rebuilt from
    // its attributes once it or one of its visible attributes was changed.
    bool NeedsRebuild() const;
    std::string MarkupText() const;
    void AppendMarkupText(std::string& out) const;

    bool InArena() const { return m_inArena; }

    // Frees an element made by `new` or destroys one placed in an arena.
    static void Destroy(CElement* element);
    static void Destroy(CAttribute* attribute);

private:
    friend class CHtmlDocument;
    friend class CAttributeParser;
    friend class CElementArena;
    template <class T>
    friend T* MakeElement(CElementArena* arena);

    static constexpr std::size_t kMaxTextSize = std::numeric_limits<std::uint32_t>::max();

    void ReleaseText();
    std::uint32_t KeptRepairedMask() const;
    void SplitClosingSlash();
    // Gives the name the parser left in the text a record of its own at the
    // head of the list; false when memory ran out.
    bool MakeNameRecord() const noexcept;

    // Laid out to keep the element to 48 bytes: a page has one for every few
    // bytes. The text is owned only once a repair set it; the repaired marks,
    // which only repairs set, are kept in a table beside the elements; where
    // the element stood in the source the document tells (SourceOffsetOf).
    const char* m_textData = "";
    CElement* m_partner = nullptr;
    mutable CAttribute* m_firstAttribute = nullptr;
    std::uint32_t m_textSize = 0;
    std::uint32_t m_problemMask = 0;
    std::uint32_t m_index = 0;  // position in the owning document's list
    std::int16_t m_kind = -3;   // kinds run from -4 to the end tags, below 1100
    std::int8_t m_problemFlag = 0;
    bool m_modified : 1 = false;
    bool m_deleted : 1 = false;
    bool m_inArena : 1 = false;
    bool m_textOwned : 1 = false;
    bool m_repaired : 1 = false;  // the table beside holds repaired marks (whole or in part) of this element
    // The element name is read from the text, with no record in the list yet.
    mutable bool m_implicitName : 1 = false;
    bool m_plain : 1 = false;  // made in an arena as a CElement, of no family
};

static_assert(sizeof(void*) != 8 || sizeof(CElement) == 48, "a page has an element for every few bytes");

struct ElementDeleter {
    void operator()(CElement* element) const { CElement::Destroy(element); }
};
using ElementPtr = std::unique_ptr<CElement, ElementDeleter>;

} // namespace orvane
