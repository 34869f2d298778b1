#pragma once

#include "library/ui/page_validator_base.h"

#include <string>
#include <unordered_set>
#include <vector>

namespace orvane {

class CAttribute;
class CElement;

// Presentational markup HTML deprecated (font, center, u, s, strike,
// basefont, and attributes such as align, bgcolor or border): each item
// becomes the markup that says the same through a style, so the page looks
// as before while users' own styles and assistive technology can reach it.
// Struck-out text may instead be marked as removed (del). Tags are renamed
// and attributes changed, so every other byte of the page stays.
class CPageDeprecatedHtml final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 1326;
    static constexpr int kItems = 1010;
    static constexpr int kPreview = 1011;
    static constexpr int kModernMarkup = 1012;
    static constexpr int kReplace = 1140;
    static constexpr int kRemovedText = 1141;
    static constexpr int kLeave = 1142;
    static constexpr int kChoiceForAll = 1150;
    static constexpr int kWhatColumn = 0, kLineColumn = 1, kTextColumn = 2, kChoiceColumn = 3;
    // The choice for struck-out text the settings remember.
    static constexpr int kRememberedRemoved = 1, kRememberedStruck = 2;

    struct Item {
        CElement* element = nullptr;      // the start tag
        CAttribute* attribute = nullptr;  // the attribute; null for a deprecated element
        int kind = 0;                     // the element's kind, and its name, as found
        std::string name;
        std::string original;             // its start tag as found
        std::string what;                 // "font element", "align attribute of p"
        unsigned long long line = 0;      // 0 where the page gives none
        std::string text;                 // the text it stands for, as a reader sees it
        std::string declarations;         // the style that says the same
        int choice = kReplace;
    };
    // The deprecated markup of the body, in page order.
    static std::vector<Item> FindItems(const CHtmlDocument& document, const CElement& body);

    // bodyStyle: the body's style attribute, readied for a basefont's font.
    CPageDeprecatedHtml(std::vector<Item> items, CHtmlDocument& document, CElement& body, CAttribute* bodyStyle);
    std::string_view ClassName() const override { return "CPageDeprecatedHtml"; }

    void Undo() override;
    bool Apply() override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;

    const std::vector<Item>& Items() const { return m_items; }
    // The start tag the item's choice writes.
    std::string ProposedTag(const Item& item) const;

protected:
    void Initialise() override;

private:
    // An element as the page found it.
    struct ElementState {
        CElement* element;
        std::string text;
        std::string name;
        int kind;
        bool modified;
        bool deleted;
    };
    // An attribute as the page found it.
    struct AttributeState {
        CAttribute* attribute;
        std::string value;
        bool hidden;
        bool hideable;
        bool changed;
    };
    // What the chosen items write into one element.
    struct Rewrite {
        std::string name;   // the new tag name; empty to keep it
        int kind = 0;
        std::string declarations;
        std::vector<CAttribute*> dropped;
        bool remove = false;
    };

    bool IsStruck(const Item& item) const;
    Rewrite RewriteOf(std::size_t first, std::size_t end) const;
    bool Write(CElement& element, const Rewrite& rewrite, CAttribute* style);
    CAttribute* StyleOf(CElement& element);
    void Keep(CElement& element);
    void Keep(CAttribute& attribute);
    void WriteBack();
    void ShowItem(int row);
    void ShowChoice(int row);
    void ReadChoice();
    void RememberChoice() const;

    std::vector<Item> m_items;
    CHtmlDocument& m_document;
    CElement& m_body;
    CAttribute* m_bodyStyle;
    int m_row = 0;
    bool m_rememberedRead = false;
    std::vector<ElementState> m_elements;
    std::vector<AttributeState> m_attributes;
    std::unordered_set<const void*> m_kept;  // what the two lists hold
};

} // namespace orvane
