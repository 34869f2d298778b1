#pragma once

// The settings record, shared by the checker library and the selector program.
// The selector reads the first five fields of the library's record through the
// pointer GetSettings returns, with the inline getters below: their order and
// types must not change.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class CElement;

// Conformance targets.
namespace level {
constexpr int kA = 1, kAA = 2, kAAA = 3, kSection508 = 4;
// WCAG 2.2: the page is judged by the rule set of library/rules instead of
// the WCAG 1.0 checks, which apply there only when always included.
constexpr int kWcag22A = 5, kWcag22AA = 6, kWcag22AAA = 7;
constexpr bool IsWcag22(int conformance) { return conformance >= kWcag22A && conformance <= kWcag22AAA; }
}

// How the selector writes a repaired page.
namespace filesaves {
constexpr int kReplace = 0;              // over the original, no backup
constexpr int kReplaceKeepOriginal = 1;  // over the original, kept under the original extension
constexpr int kBeside = 2;               // beside the original, under the validated extension
constexpr int kAsk = 3;                  // the user names the file each time
} // namespace filesaves

// Auto-repair modes of a check.
namespace autorepair {
constexpr int kOff = 0, kOn = 1, kNotOffered = 2;
}

inline constexpr std::string_view kDefaultOriginalExtension = ".htmlold";
inline constexpr std::string_view kDefaultValidateExtension = ".htmlvalid";

// The element families the check list is built from. The checks module
// provides it; the settings only ask the families the catalogue questions.
class ICheckCatalogue {
public:
    virtual ~ICheckCatalogue() = default;
    // Calls visit with one instance of each family, in catalogue order. The
    // instances live only for the call.
    virtual void ForEachFamily(const std::function<void(const CElement& family)>& visit) const = 0;
};

// The remembered choices of one check: the current values, the pending copies
// a dialog edits, and which values changed since the last load or save.
class CheckSetting {
public:
    // Takes name, title, priority, grouping, remembered default and Section 508
    // membership of the check from its family.
    void FillFromCatalogue(const CElement& family, std::uint32_t bit);

    int Family() const { return m_family; }
    std::uint32_t CheckBit() const { return m_checkBit; }
    const std::string& Name() const { return m_name; }
    const std::string& Title() const { return m_title; }
    int Priority() const { return m_priority; }
    bool IsGrouped() const { return m_grouped != 0; }
    bool IsSection508() const { return m_section508; }

    bool AlwaysInclude() const { return m_alwaysInclude; }
    int AutoRepairMode() const { return m_autoRepairMode; }
    std::int16_t RememberedNumber() const { return m_rememberedNumber; }
    const std::string& Text1() const { return m_text1; }
    const std::string& Text2() const { return m_text2; }

    // Each setter marks its value changed only when the value differs.
    void SetAlwaysInclude(bool on);
    // Changes nothing for a check without automatic repair, nor to "not offered".
    void SetAutoRepairMode(int mode);
    void SetRememberedNumber(std::int16_t number);
    void SetText1(std::string_view text);
    void SetText2(std::string_view text);

    // Editing in a dialog: BeginEdit copies the values into the pending ones,
    // the dialog changes those, CommitEdit applies them through the setters.
    void BeginEdit();
    void CommitEdit();
    bool PendingAlwaysInclude() const { return m_pendingAlwaysInclude; }
    int PendingAutoRepairMode() const { return m_pendingAutoRepairMode; }
    std::int16_t PendingRememberedNumber() const { return m_pendingRememberedNumber; }
    const std::string& PendingText1() const { return m_pendingText1; }
    const std::string& PendingText2() const { return m_pendingText2; }
    void SetPendingAlwaysInclude(bool on) { m_pendingAlwaysInclude = on; }
    void SetPendingAutoRepairMode(int mode) { m_pendingAutoRepairMode = mode; }
    void SetPendingRememberedNumber(std::int16_t number) { m_pendingRememberedNumber = number; }
    void SetPendingText1(std::string_view text) { m_pendingText1 = text; }
    void SetPendingText2(std::string_view text) { m_pendingText2 = text; }

    // Always include, auto-repair mode and remembered number share one flag.
    bool IsNumberBlockChanged() const { return m_numberBlockChanged; }
    bool IsText1Changed() const { return m_text1Changed; }
    bool IsText2Changed() const { return m_text2Changed; }
    void ClearChanged();

private:
    std::int32_t m_family = -3;
    std::uint32_t m_checkBit = 0;
    std::string m_name;
    std::string m_title;
    bool m_alwaysInclude = false;
    bool m_numberBlockChanged = false;
    bool m_text1Changed = false;
    bool m_text2Changed = false;
    std::int16_t m_rememberedNumber = 1;
    std::int16_t m_pendingRememberedNumber = 1;
    std::int32_t m_priority = 0;
    std::int32_t m_grouped = 1;
    std::int32_t m_autoRepairMode = autorepair::kNotOffered;
    bool m_pendingAlwaysInclude = false;
    std::int32_t m_pendingAutoRepairMode = autorepair::kNotOffered;
    std::string m_text1;
    std::string m_pendingText1;
    std::string m_text2;
    std::string m_pendingText2;
    bool m_section508 = false;
};

// The user's configuration of the checker, kept in the current user's
// registry under "Accessibility\Orvane", with one entry per check of the
// check catalogue.
class COrvaneSettings {
public:
    using CheckSettingList = std::vector<std::unique_ptr<CheckSetting>>;

    COrvaneSettings();
    ~COrvaneSettings();
    COrvaneSettings(const COrvaneSettings&) = delete;
    COrvaneSettings& operator=(const COrvaneSettings&) = delete;

    // The catalogue the check list is built from, for every record of the
    // process (the caller keeps ownership). Without one the list stays empty.
    static void InstallCatalogue(const ICheckCatalogue* catalogue);
    static const ICheckCatalogue* InstalledCatalogue();

    // Builds the check list when it is empty, then reads the registry. A
    // missing key or value leaves its default; returns 1.
    int Load();
    // Writes the changed values; 0 when the key can be neither opened nor
    // created or the values did not reach the store.
    int Save();

    // --- Read by the selector -------------------------------------------------
    int GetFileSaves() const { return m_fileSaves; }
    bool IsFileSavesChanged() const { return m_fileSavesChanged; }
    const std::string& GetOriginalExtension() const { return m_originalExtension; }
    bool IsOriginalExtensionChanged() const { return m_originalExtensionChanged; }
    const std::string& GetValidateExtension() const { return m_validateExtension; }
    bool IsValidateExtensionChanged() const { return m_validateExtensionChanged; }

    int GetConformanceLevel() const { return m_conformanceLevel; }
    bool IsConformanceLevelChanged() const { return m_conformanceLevelChanged; }
    bool GetInsertIcon() const { return m_insertIcon; }
    bool IsInsertIconChanged() const { return m_insertIconChanged; }
    const std::string& GetIconsLocation() const { return m_iconsLocation; }
    bool GetIgnoreRepaired() const { return m_ignoreRepaired; }
    // Whether the wizard opens pages for problems a remembered verdict settled.
    bool GetShowSettled() const { return m_showSettled; }
    void SetShowSettled(bool on);
    bool IsIgnoreRepairedChanged() const { return m_ignoreRepairedChanged; }
    // Whether the text-alternative and label checks take the names ARIA
    // gives (aria-labelledby, aria-label, role="presentation") into account.
    // Off unless chosen, so the plain checks' results stay the default.
    bool GetAriaNames() const { return m_ariaNames; }
    bool IsAriaNamesChanged() const { return m_ariaNamesChanged; }

    // Each setter marks its field changed only when the value differs (texts
    // compared exactly). The icons location has no flag: it is always saved.
    void SetFileSaves(int mode);
    void SetOriginalExtension(std::string_view extension);
    void SetValidateExtension(std::string_view extension);
    void SetConformanceLevel(int level);
    void SetInsertIcon(bool on);
    void SetIconsLocation(std::string_view location);
    void SetIgnoreRepaired(bool on);
    void SetAriaNames(bool on);

    // --- Per check, by family and bit ------------------------------------------
    // The heading families h2 to h6 share the entries of h1. Without an entry
    // the getters give always include 1, auto-repair mode 2, number 0 and empty
    // texts, and the setters do nothing.
    CheckSetting* FindCheckSetting(int family, std::uint32_t bit) const;
    bool GetAlwaysInclude(int family, std::uint32_t bit) const;
    int GetAutoRepairMode(int family, std::uint32_t bit) const;
    int GetRememberedNumber(int family, std::uint32_t bit) const;
    std::string GetText1(int family, std::uint32_t bit) const;
    std::string GetText2(int family, std::uint32_t bit) const;
    void SetAlwaysInclude(int family, std::uint32_t bit, bool on);
    void SetAutoRepairMode(int family, std::uint32_t bit, int mode);
    // 1 when the entry was found, else 0.
    int SetRememberedNumber(int family, std::uint32_t bit, std::int16_t number);
    void SetText1(int family, std::uint32_t bit, std::string_view text);
    void SetText2(int family, std::uint32_t bit, std::string_view text);

    const CheckSettingList& CheckSettings() const { return m_checkSettings; }

    // Whether a check of this priority and Section 508 membership counts at the
    // record's conformance level, with the entry's always-include flag.
    bool CheckApplies(int family, std::uint32_t bit, int priority, bool section508) const;
    // The same test for a level and an always-include flag given by the caller
    // (the settings dialogs test the pending flag).
    static bool AppliesAtLevel(int level, int priority, bool section508, bool alwaysInclude);

private:
    void BuildCheckList();

    // The interface with the selector: these five first, in this order.
    std::int32_t m_fileSaves = filesaves::kAsk;
    bool m_fileSavesChanged = false;
    std::string m_originalExtension;
    bool m_originalExtensionChanged = false;
    std::string m_validateExtension;
    bool m_validateExtensionChanged = false;

    std::int32_t m_conformanceLevel = level::kAAA;
    bool m_conformanceLevelChanged = false;
    bool m_insertIcon = false;
    bool m_insertIconChanged = false;
    std::string m_iconsLocation;
    bool m_ignoreRepaired = true;
    bool m_showSettled = false;
    bool m_showSettledChanged = false;
    bool m_ignoreRepairedChanged = false;
    bool m_ariaNames = false;
    bool m_ariaNamesChanged = false;
    CheckSettingList m_checkSettings;
};

} // namespace orvane
