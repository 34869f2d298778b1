#include "rule_table.h"

namespace orvane::rules {

// Each row: the ACT rule's name and id, the WCAG 2.2 success criteria of its
// file and the lowest level among them, the file of its help topic (one for
// each rule, so that a rule of its own level has an example of its own), what
// it looks at, and what must hold (all / any / none of the named checks).
const std::vector<RuleDefinition>& RuleTable()
{
    static const std::vector<RuleDefinition> table = {
        {"aria-attr-defined", "5f99a7", "1.3.1 4.1.2", "A", "act-aria-attr-defined.html",
         {"has-aria-attribute"}, {"aria-attributes-defined"}, {}, {}},
        {"aria-hidden-no-focusable-content", "6cfa84", "4.1.2", "A", "act-aria-hidden-no-focusable-content.html",
         {"attribute-value=aria-hidden:true"}, {"no-focusable-in-tab-order-inside"}, {}, {}},
        {"aria-required-context-role", "ff89c9", "1.3.1", "A", "act-aria-required-context-role.html",
         {"required-context-target"}, {"required-context-present"}, {}, {}},
        {"aria-required-id-references", "in6db8", "1.3.1 4.1.2", "A", "act-aria-required-id-references.html",
         {"has-attribute=aria-controls", "expanded-combobox-or-scrollbar"}, {"aria-controls-target-exists"}, {}, {}},
        {"aria-required-owned-element", "bc4a75", "1.3.1", "A", "act-aria-required-owned-element.html",
         {"included", "explicit-role-has-required-owned", "not-busy"}, {"owns-only-required-elements"}, {}, {}},
        {"aria-state-or-property-permitted", "5c01ea", "1.3.1 4.1.2", "A", "act-aria-state-or-property-permitted.html",
         {"has-aria-attribute", "included"}, {"aria-attributes-permitted"}, {}, {}},
        {"aria-state-or-property-valid-value", "6a7281", "1.3.1 4.1.2", "A", "act-aria-state-or-property-valid-value.html",
         {"has-aria-attribute"}, {"aria-values-valid"}, {}, {}},
        {"attr-not-duplicated", "e6952f", "4.1.1", "A", "act-attr-not-duplicated.html",
         {"html-content-type"}, {"no-duplicate-attributes"}, {}, {}},
        {"autocomplete-valid-value", "73f2c2", "1.3.5", "AA", "act-autocomplete-valid-value.html",
         {"autocomplete-applicable"}, {"autocomplete-tokens-valid"}, {}, {}},
        {"button-non-empty-accessible-name", "97a4e1", "4.1.2", "A", "act-button-non-empty-accessible-name.html",
         {"role=button", "included", "not-image-input"}, {"non-empty-name"}, {}, {}},
        {"html-page-lang", "b5c3f8", "3.1.1", "A", "act-html-page-lang.html",
         {"document-element"}, {"has-lang"}, {}, {}},
        {"html-page-lang-valid", "bf051a", "3.1.1", "A", "act-html-page-lang-valid.html",
         {"document-element", "lang-not-blank"}, {"lang-known=lang"}, {}, {}},
        {"html-page-lang-xml-lang-match", "5b7ae0", "3.1.1", "A", "act-html-page-lang-xml-lang-match.html",
         {"document-element", "lang-known-and-xml-lang"}, {"lang-matches-xml-lang"}, {}, {}},
        {"html-page-non-empty-title", "2779a5", "2.4.2", "A", "act-html-page-non-empty-title.html",
         {"document-element"}, {"title-non-empty"}, {}, {}},
        {"element-lang-valid", "de46e4", "3.1.2", "AA", "act-element-lang-valid.html",
         {"html-content-type", "lang-applicable-in-body"}, {"lang-known=lang"}, {}, {}},
        {"explicit-SVG-image-non-empty-accessible-name", "7d6734", "1.1.1", "A", "act-svg-image-name.html",
         {"foreign", "explicit-role-in=img graphics-document graphics-symbol", "included"}, {"non-empty-name"}, {}, {}},
        {"form-field-non-empty-accessible-name", "e086e5", "4.1.2", "A", "act-form-field-name.html",
         {"role-in=checkbox combobox listbox menuitemcheckbox menuitemradio radio searchbox slider spinbutton switch textbox",
          "included"}, {"non-empty-name"}, {}, {}},
        {"heading-non-empty-accessible-name", "ffd0e9", "", "A", "act-heading-name.html",
         {"not-foreign", "role=heading", "included"}, {"non-empty-name"}, {}, {}},
        {"id-value-unique", "3ea0c8", "4.1.1", "A", "act-id-value-unique.html",
         {"has-non-empty-attribute=id"}, {"id-unique"}, {}, {}},
        {"iframe-non-empty-accessible-name", "cae760", "4.1.2", "A", "act-iframe-name.html",
         {"tag=iframe", "included", "not-negative-tabindex", "not-marked-decorative"}, {"non-empty-name"}, {}, {}},
        {"image-button-non-empty-accessible-name", "59796f", "1.1.1 4.1.2", "A", "act-image-button-name.html",
         {"image-input", "included"}, {"non-empty-name"}, {}, {}},
        {"image-non-empty-accessible-name", "23a2a8", "1.1.1", "A", "act-image-name.html",
         {"img-or-role-img", "not-programmatically-hidden"}, {}, {"non-empty-name", "role-in=none presentation"}, {}},
        {"link-non-empty-accessible-name", "c487ae", "2.4.4 4.1.2", "A", "act-link-name.html",
         {"not-foreign", "role-is-a=link", "included"}, {"non-empty-name"}, {}, {}},
        {"menuitem-non-empty-name", "m6b1q3", "4.1.2", "A", "act-menuitem-name.html",
         {"not-foreign", "role=menuitem", "included"}, {"non-empty-name"}, {}, {}},
        {"meta-refresh-no-delay", "bc659a", "2.2.1 2.2.4 3.2.5", "A", "act-meta-refresh-no-delay.html",
         {"first-valid-meta-refresh"}, {"refresh-delay-allowed=72000"}, {}, {}},
        {"meta-refresh-no-delay-no-exception", "bisz58", "2.2.1 2.2.4 3.2.5", "AAA",
         "act-meta-refresh-no-exception.html",
         {"first-valid-meta-refresh"}, {"refresh-delay-allowed=0"}, {}, {}},
        {"meta-viewport", "b4f0c3", "1.4.4 1.4.10", "AA", "act-meta-viewport.html",
         {"viewport-with-zoom-keys"}, {"viewport-allows-zoom"}, {}, {}},
        {"presentational-children-no-focusable-content", "307n5z", "4.1.2", "A",
         "act-presentational-children-no-focusable-content.html",
         {"role-has-presentational-children"}, {"no-focusable-in-tab-order-below"}, {}, {}},
        {"role-attribute-valid-value", "674b10", "1.3.1 4.1.2", "A", "act-role-attribute-valid-value.html",
         {"has-non-blank-attribute=role", "not-programmatically-hidden"}, {"role-token-valid"}, {}, {}},
        {"role-required-states-and-properties", "4e8ab6", "1.3.1 4.1.2", "A", "act-role-required-states.html",
         {"included", "explicit-role-differs-from-implicit"}, {"required-states-set"}, {}, {}},
        {"summary-non-empty-accessible-name", "2t702h", "4.1.2", "A", "act-summary-name.html",
         {"summary-button", "included"}, {"non-empty-name"}, {}, {}},
        {"element-marked-decorative-is-not-exposed", "46ca7f", "", "A", "act-decorative-not-exposed.html",
         {"marked-decorative"}, {}, {"not-included", "role-in=none presentation"}, {}},
        {"iframe-with-interactive-content-in-tab-order", "akn7bn", "2.1.1", "A", "act-iframe-interactive-tab-order.html",
         {"tag=iframe", "iframe-has-focusable-content"}, {"not-negative-tabindex-check"}, {}, {}},
        {"object-has-accessible-name", "8fc3b6", "1.1.1", "A", "act-object-name.html",
         {"tag=object", "included", "no-explicit-role", "object-embeds-media"}, {"non-empty-name"}, {}, {}},
        {"table-headers-attribute-refer-to-data-cells", "a25f45", "1.3.1", "A", "act-table-headers-attribute.html",
         {"has-attribute=headers", "cell-in-exposed-table"}, {"headers-refer-to-cells"}, {}, {}},
        {"table-header-cell-has-assigned-cells", "d0f69e", "1.3.1", "A", "act-table-header-assigned-cells.html",
         {"role-in=rowheader columnheader", "included", "header-in-exposed-table"}, {"header-has-cells"}, {}, {}},
        {"important-letter-spacing-wide-enough", "24afc2", "1.4.12", "AA", "act-letter-spacing.html",
         {"important-inline-spacing=letter-spacing"}, {"spacing-wide-enough=letter-spacing"}, {}, {}},
        {"important-word-spacing-wide-enough", "9e45ec", "1.4.12", "AA", "act-word-spacing.html",
         {"important-inline-spacing=word-spacing"}, {"spacing-wide-enough=word-spacing"}, {}, {}},
        {"important-line-height-wide-enough", "78fd32", "1.4.12", "AA", "act-line-height.html",
         {"important-inline-spacing=line-height"}, {"spacing-wide-enough=line-height"}, {}, {}},
        {"visible-label-in-accessible-name", "2ee8b8", "2.5.3", "A", "act-visible-label-in-name.html",
         {"widget-from-content-with-aria-name"}, {"visible-text-in-name"}, {}, {}},
        {"css-restrict-orientation", "b33eff", "1.3.4", "AA", "act-css-restrict-orientation.html",
         {"orientation-media", "rotated-by-orientation"}, {"not-locked-to-orientation"}, {}, {}},
        {"bypass-blocks", "cf77f2", "2.4.1", "A", "act-bypass-blocks.html",
         {"document-element"}, {}, {"has-main-landmark", "content-reached-otherwise", "has-skip-link"}, {}},
    };
    return table;
}

const RuleDefinition* FindRule(std::string_view id)
{
    for (const RuleDefinition& rule : RuleTable())
        if (rule.id == id)
            return &rule;
    return nullptr;
}

} // namespace orvane::rules
