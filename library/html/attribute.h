#pragma once

#include "attribute_table.h"
#include "page_encoding.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace orvane {

class CElementArena;

// One attribute of a tag; the first attribute of a tag is the element name.
class CAttribute {
public:
    CAttribute() = default;
    ~CAttribute()
    {
        if (m_owned || m_hasSnapshot)
            ReleaseStorage();
    }
    CAttribute(const CAttribute&) = delete;
    CAttribute& operator=(const CAttribute&) = delete;

    int Id() const { return m_id; }
    std::string_view Name() const { return {m_text, m_nameSize}; }
    std::string_view Value() const { return {m_text + m_valueOffset, m_valueSize}; }
    std::string GetValue() const { return std::string(Value()); }

    // Names the attribute; the first name of a tag is the element name (id 0).
    void NameByText(std::string_view name, bool isFirst);
    // Takes the table's name for the id; a name outside the table is left as it was.
    void NameById(int id);

    bool SetValue(std::string_view value);
    // What a repair writes: the user's text, escaped for an attribute and in
    // the page's encoding, shown and marked changed. A text that reads as the
    // value does (a proposal taken unchanged) keeps the value's bytes, and one
    // that reads as the value before the repair gets those back; of a text
    // changed only in part, the parts before and after the change keep the
    // bytes the value had before the repair.
    void SetFromText(std::string_view text, const PageEncoding& encoding);
    // The value as the user reads it.
    std::string UserText(const PageEncoding& encoding) const;
    // A repair taken back: the saved value and hidden flag, not changed.
    void Revert();
    bool IsEmpty() const { return m_valueSize == 0; }
    // Not empty and made only of blanks.
    bool IsBlank() const;
    bool HasValue() const { return m_hasValue; }

    long long NumericValue() const;
    // Stores the number in decimal and marks the attribute changed when it differs.
    void SetNumericValue(long long number);
    bool ColourValue(Rgb& colour) const;

    bool IsHidden() const { return m_hidden; }
    bool IsHideable() const { return m_hideable; }
    void SetHideable(bool hideable) { m_hideable = hideable; }
    // Showing always works; only an attribute a repair created can be hidden.
    void Hide(bool hide);

    bool IsChanged() const { return m_changed; }
    void SetChanged(bool changed) { m_changed = changed; }

    void Save();
    void Restore();
    std::string_view SavedValue() const;
    bool SavedHidden() const { return m_savedHidden; }
    // Kept for the repair pages; the document model does not use it.
    std::string_view SecondSaved() const;
    void SetSecondSaved(std::string_view text);

    // Takes id, name, value, hidden flag and the saved snapshot of another attribute.
    void CopyFrom(const CAttribute& other);

    // name="value", or the bare name when the value is empty.
    std::string AttributeText() const;
    void AppendAttributeText(std::string& out) const;

    // Copies borrowed name and value, so the text they point into may go.
    bool Materialize();

    CAttribute* Next() const { return m_next; }

private:
    friend class CElement;
    friend class CAttributeParser;

    static constexpr std::size_t kMaxSize = std::numeric_limits<std::uint32_t>::max();

    // Keeps one copy of both (the parser sets borrowed ones up itself). False
    // (and unchanged) when memory ran out or a text is beyond the 4 GiB an
    // attribute may hold.
    bool Store(std::string_view name, std::string_view value);
    void ReleaseStorage();

    // A page has an attribute for every few bytes of markup, so this is kept
    // to 32 bytes: name and value are one text (the value at an offset from
    // the name, as both lie in the tag's text a parsed attribute borrows, or
    // in one owned copy), and the rarely used snapshot of the repair pages
    // lives in a table beside the attributes.
    const char* m_text = "";
    CAttribute* m_next = nullptr;
    std::uint32_t m_nameSize = 0;
    std::uint32_t m_valueOffset = 0;
    std::uint32_t m_valueSize = 0;
    std::int16_t m_id = attr::kUnnamed;  // ids are small: the table's run up to 66
    bool m_hidden : 1 = false;
    bool m_hideable : 1 = false;
    bool m_changed : 1 = false;
    bool m_savedHidden : 1 = false;
    bool m_hasValue : 1 = false;
    bool m_inArena : 1 = false;
    bool m_owned : 1 = false;        // m_text is a copy of name and value, this attribute's own
    bool m_hasSnapshot : 1 = false;  // the table beside holds a snapshot of this attribute
};

} // namespace orvane
