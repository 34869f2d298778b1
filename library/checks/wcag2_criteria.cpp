#include "wcag2_criteria.h"

namespace orvane {

namespace {

using enum Wcag2Level;

constexpr SuccessCriterion kCriteria[] = {
    {"1.1.1", "Non-text Content", kA},
    {"1.2.1", "Audio-only and Video-only (Prerecorded)", kA},
    {"1.2.2", "Captions (Prerecorded)", kA},
    {"1.2.3", "Audio Description or Media Alternative (Prerecorded)", kA},
    {"1.2.4", "Captions (Live)", kAA},
    {"1.2.5", "Audio Description (Prerecorded)", kAA},
    {"1.2.6", "Sign Language (Prerecorded)", kAAA},
    {"1.2.7", "Extended Audio Description (Prerecorded)", kAAA},
    {"1.2.8", "Media Alternative (Prerecorded)", kAAA},
    {"1.2.9", "Audio-only (Live)", kAAA},
    {"1.3.1", "Info and Relationships", kA},
    {"1.3.2", "Meaningful Sequence", kA},
    {"1.3.3", "Sensory Characteristics", kA},
    {"1.3.4", "Orientation", kAA},
    {"1.3.5", "Identify Input Purpose", kAA},
    {"1.3.6", "Identify Purpose", kAAA},
    {"1.4.1", "Use of Color", kA},
    {"1.4.2", "Audio Control", kA},
    {"1.4.3", "Contrast (Minimum)", kAA},
    {"1.4.4", "Resize Text", kAA},
    {"1.4.5", "Images of Text", kAA},
    {"1.4.6", "Contrast (Enhanced)", kAAA},
    {"1.4.7", "Low or No Background Audio", kAAA},
    {"1.4.8", "Visual Presentation", kAAA},
    {"1.4.9", "Images of Text (No Exception)", kAAA},
    {"1.4.10", "Reflow", kAA},
    {"1.4.11", "Non-text Contrast", kAA},
    {"1.4.12", "Text Spacing", kAA},
    {"1.4.13", "Content on Hover or Focus", kAA},
    {"2.1.1", "Keyboard", kA},
    {"2.1.2", "No Keyboard Trap", kA},
    {"2.1.3", "Keyboard (No Exception)", kAAA},
    {"2.1.4", "Character Key Shortcuts", kA},
    {"2.2.1", "Timing Adjustable", kA},
    {"2.2.2", "Pause, Stop, Hide", kA},
    {"2.2.3", "No Timing", kAAA},
    {"2.2.4", "Interruptions", kAAA},
    {"2.2.5", "Re-authenticating", kAAA},
    {"2.2.6", "Timeouts", kAAA},
    {"2.3.1", "Three Flashes or Below Threshold", kA},
    {"2.3.2", "Three Flashes", kAAA},
    {"2.3.3", "Animation from Interactions", kAAA},
    {"2.4.1", "Bypass Blocks", kA},
    {"2.4.2", "Page Titled", kA},
    {"2.4.3", "Focus Order", kA},
    {"2.4.4", "Link Purpose (In Context)", kA},
    {"2.4.5", "Multiple Ways", kAA},
    {"2.4.6", "Headings and Labels", kAA},
    {"2.4.7", "Focus Visible", kAA},
    {"2.4.8", "Location", kAAA},
    {"2.4.9", "Link Purpose (Link Only)", kAAA},
    {"2.4.10", "Section Headings", kAAA},
    {"2.4.11", "Focus Not Obscured (Minimum)", kAA},
    {"2.4.12", "Focus Not Obscured (Enhanced)", kAAA},
    {"2.4.13", "Focus Appearance", kAAA},
    {"2.5.1", "Pointer Gestures", kA},
    {"2.5.2", "Pointer Cancellation", kA},
    {"2.5.3", "Label in Name", kA},
    {"2.5.4", "Motion Actuation", kA},
    {"2.5.5", "Target Size (Enhanced)", kAAA},
    {"2.5.6", "Concurrent Input Mechanisms", kAAA},
    {"2.5.7", "Dragging Movements", kAA},
    {"2.5.8", "Target Size (Minimum)", kAA},
    {"3.1.1", "Language of Page", kA},
    {"3.1.2", "Language of Parts", kAA},
    {"3.1.3", "Unusual Words", kAAA},
    {"3.1.4", "Abbreviations", kAAA},
    {"3.1.5", "Reading Level", kAAA},
    {"3.1.6", "Pronunciation", kAAA},
    {"3.2.1", "On Focus", kA},
    {"3.2.2", "On Input", kA},
    {"3.2.3", "Consistent Navigation", kAA},
    {"3.2.4", "Consistent Identification", kAA},
    {"3.2.5", "Change on Request", kAAA},
    {"3.2.6", "Consistent Help", kA},
    {"3.3.1", "Error Identification", kA},
    {"3.3.2", "Labels or Instructions", kA},
    {"3.3.3", "Error Suggestion", kAA},
    {"3.3.4", "Error Prevention (Legal, Financial, Data)", kAA},
    {"3.3.5", "Help", kAAA},
    {"3.3.6", "Error Prevention (All)", kAAA},
    {"3.3.7", "Redundant Entry", kA},
    {"3.3.8", "Accessible Authentication (Minimum)", kAA},
    {"3.3.9", "Accessible Authentication (Enhanced)", kAAA},
    {"4.1.1", "Parsing", kA, true},
    {"4.1.2", "Name, Role, Value", kA},
    {"4.1.3", "Status Messages", kAA},
};

// Check -> criteria, after W3C's comparison of the WCAG 1.0 checkpoints with
// WCAG 2.0, read for 2.2. The checkpoint is the one the check's help topic
// belongs to. A note starting "closest" marks a row where WCAG 2 does not
// require the check as such and the nearest criterion stands in; reports and
// help say so, so that nobody files a failure of that criterion on the
// check's word. A row stays empty, with a note starting "no counterpart",
// where WCAG 2 does not ask for what the check asks for: naming a criterion
// there would report failures WCAG 2 does not have.
constexpr Wcag2CheckRow kRows[] = {
    {"AnchorTranscript", "1.2.1", "1.2.1 rather than 1.1.1: the transcript is the alternative of prerecorded audio"},
    {"AnchorNewWindow", "3.2.5"},
    {"AppletAltText", "1.1.1"},
    {"BlinkMarquee", "2.2.2"},
    {"BodyLanguageChange", "3.1.2"},
    {"BodyColorContrst", "1.4.3 1.4.6"},
    {"AbbrevAcronym", "3.1.4", "no help topic; its title names checkpoint 4.2"},
    {"DeprecatedHtml", "", "no counterpart: WCAG 2 does not forbid deprecated markup, and border, hspace or bgcolor carry no structure"},
    {"LinksSkipover", "2.4.1"},
    {"DoctypeMissing", "", "no counterpart: checkpoint 3.2 maps to 4.1.1 Parsing, which WCAG 2.2 removed as obsolete"},
    {"NoStylesheets", "1.3.1"},
    {"UsingStyle", "1.3.1 1.3.2"},
    {"TextLinks", "2.4.4 2.4.9"},
    {"DynamicEquivalents", "1.1.1 4.1.2", "closest: equivalents of dynamic content are its text alternatives and names"},
    {"UsableWithoutProgram", "", "no counterpart: WCAG 2 lets a page rely on accessibility-supported scripts"},
    {"ProgramAccessible", "2.1.1 4.1.2"},
    {"DeviceDependent", "2.1.1"},
    {"MultiMedia", "1.2.2 1.2.3 1.2.5", "checkpoint 1.4: captions and descriptions in step with the presentation"},
    {"Metadata", "2.4.2", "the page's title is the metadata WCAG 2 asks for"},
    {"FrameTitle", "2.4.1 4.1.2"},
    {"FrameLongdesc", "", "no counterpart: no criterion asks for a description of how frames relate"},
    {"FrameSource", "1.1.1", "closest: a frame showing an image has no text alternative"},
    {"FramesetNoframes", "", "no counterpart: checkpoint 6.5 is not required by WCAG 2, as every browser shows frames"},
    {"FramesetAbsoluteUnits", "1.4.4 1.4.10", "its topic names no checkpoint; absolute units belong to checkpoint 3.4"},
    {"HeaderFormatting", "1.3.1"},
    {"UsingColor", "1.4.1"},
    {"MissingLanguage", "3.1.1"},
    {"NestedHeaders", "1.3.1"},
    {"PotentialHeaders", "1.3.1"},
    {"PotentialQuote", "1.3.1", "no help topic; quotations belong to checkpoint 3.7"},
    {"QuoteFormat", "1.3.1", "its topic names no checkpoint; quotations belong to checkpoint 3.7"},
    {"CheckFlicker", "2.3.1 2.3.2"},
    {"ImgAltText", "1.1.1 2.4.4", "2.4.4 as well: a linked image without a name leaves the link without purpose (F89)"},
    {"ImgAltTextLong", "1.1.1"},
    {"ImgAltTextSuspicious", "1.1.1"},
    {"ImgLongdesc", "1.1.1"},
    {"ImageMapTextLinks", "", "no counterpart: checkpoint 1.5 was an interim measure for client-side maps"},
    {"ImageMapIsmapTextLinks", "1.1.1 2.1.1"},
    {"ImageMap", "1.1.1 2.1.1"},
    {"ImageDLink", "1.1.1", "its topic names no checkpoint; a d-link is a long text alternative (checkpoint 1.1)"},
    {"InputAltText", "1.1.1 4.1.2"},
    {"InputAltTextLong", "1.1.1"},
    {"InputAltTextSuspicious", "1.1.1"},
    {"InputMissingDefault", "", "no counterpart: checkpoint 10.4 was an interim measure that browsers made needless"},
    {"InputMissingLabel", "1.3.1 3.3.2 4.1.2"},
    {"InputFarLabel", "1.3.1 3.3.2", "closest: checkpoint 10.2 was an interim measure for implicit labels"},
    {"ListForFormat", "1.3.1"},
    {"MapAltText", "1.1.1 2.4.4"},
    {"MapRefresh", "2.2.1 2.2.4 3.2.5"},
    {"MapRedirect", "2.2.1 2.2.4 3.2.5"},
    {"ObjectAudio", "1.1.1 1.2.1", "no help topic; its title names checkpoint 1.1, for prerecorded audio"},
    {"ObjectAltRep", "1.1.1"},
    {"ObjectTitle", "1.1.1 4.1.2", "its topic names no checkpoint; the title is the object's name"},
    {"AsciiArtDescription", "1.1.1"},
    {"AsciiArtSkipover", "", "no counterpart: 2.4.1 is about blocks repeated across pages, and H86 calls this link not required"},
    {"ScriptNoscript", "", "no counterpart: WCAG 2 lets a page rely on accessibility-supported scripts"},
    {"ScriptSpawnNewWindow", "3.2.5", "its topic names no checkpoint; new windows belong to checkpoint 10.1"},
    {"SelectNoLabel", "1.3.1 3.3.2 4.1.2"},
    {"TableSummary", "", "no counterpart: WCAG 2 asks for no summary, and one on a layout table is a failure (F46)"},
    {"TableHeaders", "1.3.1"},
    {"TableAbbreviations", "", "no counterpart: abbreviated header labels are advisory in WCAG 2"},
    {"TableMultipleTH", "1.3.1"},
    {"TableLinearize", "1.3.2"},
    {"TableStructMarkup", "1.3.1"},
    {"TableCaption", "1.3.1", "closest: a caption is one way to tell the table's relationships"},
    {"TableAbsoluteUnits", "1.4.4 1.4.10", "its topic names no checkpoint; absolute units belong to checkpoint 3.4"},
    {"TextareaText", "", "no counterpart: checkpoint 10.4 was an interim measure that browsers made needless"},
    {"TextareaLabel", "1.3.1 3.3.2 4.1.2"},
};

} // namespace

std::span<const SuccessCriterion> Wcag2SuccessCriteria() { return kCriteria; }

const SuccessCriterion* FindSuccessCriterion(std::string_view number)
{
    for (const SuccessCriterion& criterion : kCriteria) {
        if (criterion.number == number)
            return &criterion;
    }
    return nullptr;
}

std::string_view Wcag2LevelText(Wcag2Level level)
{
    switch (level) {
    case kAA: return "AA";
    case kAAA: return "AAA";
    default: return "A";
    }
}

std::string Wcag2CriterionLabel(const SuccessCriterion& criterion)
{
    std::string label(criterion.number);
    label += ' ';
    label += criterion.name;
    label += " (";
    label += Wcag2LevelText(criterion.level);
    label += ')';
    return label;
}

std::span<const Wcag2CheckRow> Wcag2CheckRows() { return kRows; }

const Wcag2CheckRow* FindWcag2Row(std::string_view check)
{
    for (const Wcag2CheckRow& row : kRows) {
        if (row.check == check)
            return &row;
    }
    return nullptr;
}

Wcag2Match Wcag2MatchOf(std::string_view check)
{
    const Wcag2CheckRow* row = FindWcag2Row(check);
    if (!row || Wcag2Numbers(*row).empty())
        return Wcag2Match::kNone;
    return row->note.starts_with("closest") ? Wcag2Match::kClosest : Wcag2Match::kCounterpart;
}

std::vector<std::string_view> Wcag2Numbers(const Wcag2CheckRow& row)
{
    std::vector<std::string_view> numbers;
    std::string_view rest = row.criteria;
    while (!rest.empty()) {
        const std::size_t blank = rest.find(' ');
        std::string_view number = rest.substr(0, blank);
        if (!number.empty())
            numbers.push_back(number);
        rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    }
    return numbers;
}

std::vector<const SuccessCriterion*> Wcag2CriteriaOf(std::string_view check)
{
    std::vector<const SuccessCriterion*> criteria;
    if (const Wcag2CheckRow* row = FindWcag2Row(check)) {
        for (std::string_view number : Wcag2Numbers(*row)) {
            const SuccessCriterion* criterion = FindSuccessCriterion(number);
            if (criterion && !criterion->obsolete)
                criteria.push_back(criterion);
        }
    }
    return criteria;
}

} // namespace orvane
