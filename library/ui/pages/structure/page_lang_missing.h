#pragma once

#include "library/ui/page_validator_base.h"

#include <string>

namespace orvane {

class CAttribute;
class CHtmlDocument;

// Gives the html element the language of the page: the code of the language
// chosen goes into its lang attribute, which the html family made (hidden)
// when it was missing. The first time, the user may have the choice
// remembered as the language of pages that do not give one. Where nothing is
// remembered, the page proposes (and the automatic repair writes) what the
// page says elsewhere (xml:lang, Content-Language) or what its text is
// identified as; a language nobody can tell is left to the user.
class CPageLangMissing final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 216;
    static constexpr int kLanguage = 1210;
    static constexpr int kRemember = 1211;

    CPageLangMissing(CAttribute& lang, const CHtmlDocument& document);
    std::string_view ClassName() const override { return "CPageLangMissing"; }

    void Undo() override;
    bool Apply() override;
    bool RepairAutomatically() override;

protected:
    void Initialise() override;
    void Destroyed() override;

private:
    void FillLanguages(platform::IWindow& window);
    // Back to the attribute the page had before any repair.
    void RevertLang();

    CAttribute& m_lang;
    const CHtmlDocument& m_document;
    bool m_opened = false;
    // The language remembered for pages without one, lower-cased; empty when none is.
    std::string m_rememberedCode;
    // Offered to remember the choice (nothing was remembered when the page first opened).
    bool m_rememberOffered = false;
    bool m_rememberChecked = false;
    bool m_rememberVisible = false;
    int m_selected = -1;
    // The code of the language applied, for remembering when the page goes.
    std::string m_chosenFirstCode;
};

} // namespace orvane
