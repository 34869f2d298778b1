#include "common/orvane_settings.h"

#include "library/html/element.h"
#include "platform/registry.h"

#include <cstdint>

namespace orvane {
namespace {

// Value names and read buffers of the registry layout.
constexpr std::string_view kFileSaves = "FileSaves";
constexpr std::string_view kOriginalExtension = "OriginalExtension";
constexpr std::string_view kValidateExtension = "ValidateExtension";
constexpr std::string_view kWaiConformance = "WaiConformance";
constexpr std::string_view kInsertIcon = "InsertIcon";
constexpr std::string_view kIconsLocation = "IconsLocation";
constexpr std::string_view kIgnoreRepaired = "IgnoreRepaired";
constexpr std::string_view kShowSettled = "ShowSettled";
constexpr std::string_view kAriaNames = "AriaNames";
constexpr std::size_t kExtensionBuffer = 30;
constexpr std::size_t kConformanceBuffer = 10;
constexpr std::size_t kIconsLocationBuffer = 299;
constexpr std::size_t kCheckTextBuffer = 99;

// The long-description check of images is always included from the start.
constexpr int kImageFamily = 44;
constexpr std::uint32_t kImageDLinkBit = 0x80;

const ICheckCatalogue* g_catalogue = nullptr;

int FoldHeadingFamily(int family) { return family >= 34 && family <= 38 ? 33 : family; }

int LevelOfText(std::string_view text)
{
    if (text == "A")
        return level::kA;
    if (text == "AA")
        return level::kAA;
    if (text == "AAA")
        return level::kAAA;
    if (text == "2.2-A")
        return level::kWcag22A;
    if (text == "2.2-AA")
        return level::kWcag22AA;
    if (text == "2.2-AAA")
        return level::kWcag22AAA;
    return level::kSection508;
}

std::string_view TextOfLevel(int conformance)
{
    switch (conformance) {
    case level::kAAA: return "AAA";
    case level::kAA: return "AA";
    case level::kA: return "A";
    case level::kWcag22A: return "2.2-A";
    case level::kWcag22AA: return "2.2-AA";
    case level::kWcag22AAA: return "2.2-AAA";
    default: return "508";
    }
}

// Byte 0 always include, byte 1 auto-repair mode, bytes 2 and 3 the number.
std::uint32_t PackNumbers(const CheckSetting& entry)
{
    return (entry.AlwaysInclude() ? 1u : 0u) | (static_cast<std::uint32_t>(entry.AutoRepairMode() & 0xff) << 8) |
           (static_cast<std::uint32_t>(static_cast<std::uint16_t>(entry.RememberedNumber())) << 16);
}

void UnpackNumbers(std::uint32_t packed, CheckSetting& entry)
{
    entry.SetAlwaysInclude((packed & 0xff) != 0);
    entry.SetAutoRepairMode(static_cast<int>((packed >> 8) & 0xff));
    entry.SetRememberedNumber(static_cast<std::int16_t>(static_cast<std::uint16_t>(packed >> 16)));
}

std::string SuffixedName(const std::string& name, std::string_view suffix) { return name + std::string(suffix); }

} // namespace

// --- CheckSetting ---------------------------------------------------------------------

void CheckSetting::FillFromCatalogue(const CElement& family, std::uint32_t bit)
{
    m_name = family.GetCheckName(bit);
    m_title = family.GetCheckTitle(bit);
    m_family = family.Kind();
    m_priority = family.GetPriority(bit);
    m_grouped = family.IsGrouped(bit) ? 1 : 0;
    m_rememberedNumber = static_cast<std::int16_t>(family.GetRememberedDefault(bit));
    m_section508 = family.IsSection508(bit);
    if (family.HasAutoRepair(bit))
        m_autoRepairMode = autorepair::kOff;
    if (m_family == kImageFamily && bit == kImageDLinkBit)
        m_alwaysInclude = true;
    m_checkBit = bit;
}

void CheckSetting::SetAlwaysInclude(bool on)
{
    if (m_alwaysInclude != on) {
        m_alwaysInclude = on;
        m_numberBlockChanged = true;
    }
}

void CheckSetting::SetAutoRepairMode(int mode)
{
    if (m_autoRepairMode == autorepair::kNotOffered || mode == autorepair::kNotOffered)
        return;
    if (m_autoRepairMode != mode) {
        m_autoRepairMode = mode;
        m_numberBlockChanged = true;
    }
}

void CheckSetting::SetRememberedNumber(std::int16_t number)
{
    if (m_rememberedNumber != number) {
        m_rememberedNumber = number;
        m_numberBlockChanged = true;
    }
}

void CheckSetting::SetText1(std::string_view text)
{
    if (m_text1 != text) {
        m_text1 = text;
        m_text1Changed = true;
    }
}

void CheckSetting::SetText2(std::string_view text)
{
    if (m_text2 != text) {
        m_text2 = text;
        m_text2Changed = true;
    }
}

void CheckSetting::BeginEdit()
{
    m_pendingAlwaysInclude = m_alwaysInclude;
    m_pendingAutoRepairMode = m_autoRepairMode;
    m_pendingText1 = m_text1;
    m_pendingText2 = m_text2;
    m_pendingRememberedNumber = m_rememberedNumber;
}

void CheckSetting::CommitEdit()
{
    SetAlwaysInclude(m_pendingAlwaysInclude);
    SetAutoRepairMode(m_pendingAutoRepairMode);
    SetText1(m_pendingText1);
    SetText2(m_pendingText2);
    SetRememberedNumber(m_pendingRememberedNumber);
}

void CheckSetting::ClearChanged()
{
    m_numberBlockChanged = false;
    m_text1Changed = false;
    m_text2Changed = false;
}

// --- COrvaneSettings ------------------------------------------------------------------

COrvaneSettings::COrvaneSettings() = default;
COrvaneSettings::~COrvaneSettings() = default;

void COrvaneSettings::InstallCatalogue(const ICheckCatalogue* catalogue) { g_catalogue = catalogue; }
const ICheckCatalogue* COrvaneSettings::InstalledCatalogue() { return g_catalogue; }

void COrvaneSettings::BuildCheckList()
{
    if (!g_catalogue)
        return;
    g_catalogue->ForEachFamily([this](const CElement& family) {
        std::uint32_t mask = family.GetCheckMask();
        for (int i = 0; i < 32; ++i) {
            std::uint32_t bit = 1u << i;
            if ((mask & bit) == 0 || family.GetCheckName(bit).empty())
                continue;
            auto entry = std::make_unique<CheckSetting>();
            entry->FillFromCatalogue(family, bit);
            m_checkSettings.push_back(std::move(entry));
        }
    });
}

int COrvaneSettings::Load()
{
    if (m_checkSettings.empty())
        BuildCheckList();

    int fileSaves = filesaves::kAsk;
    std::string originalExtension(kDefaultOriginalExtension);
    std::string validateExtension(kDefaultValidateExtension);

    if (std::unique_ptr<platform::IRegistryKey> key =
            platform::Registry().OpenKey(platform::kOrvaneRegistryKey, platform::RegistryAccess::Read)) {
        if (std::optional<std::uint32_t> value = key->QueryDword(kFileSaves))
            fileSaves = static_cast<int>(*value & 0xff);
        if (std::optional<std::string> value = key->QueryString(kOriginalExtension, kExtensionBuffer))
            originalExtension = std::move(*value);
        if (std::optional<std::string> value = key->QueryString(kValidateExtension, kExtensionBuffer))
            validateExtension = std::move(*value);

        std::optional<std::string> conformance = key->QueryString(kWaiConformance, kConformanceBuffer);
        m_conformanceLevel = conformance ? LevelOfText(*conformance) : level::kAAA;
        if (std::optional<std::uint32_t> value = key->QueryDword(kInsertIcon))
            m_insertIcon = (*value & 0xff) != 0;
        if (std::optional<std::string> value = key->QueryString(kIconsLocation, kIconsLocationBuffer))
            m_iconsLocation = std::move(*value);
        if (std::optional<std::uint32_t> value = key->QueryDword(kIgnoreRepaired))
            m_ignoreRepaired = (*value & 0xff) != 0;
        if (std::optional<std::uint32_t> value = key->QueryDword(kShowSettled))
            m_showSettled = (*value & 0xff) != 0;
        if (std::optional<std::uint32_t> value = key->QueryDword(kAriaNames))
            m_ariaNames = (*value & 0xff) != 0;

        for (const std::unique_ptr<CheckSetting>& entry : m_checkSettings) {
            if (std::optional<std::uint32_t> packed = key->QueryDword(entry->Name()))
                UnpackNumbers(*packed, *entry);
            if (std::optional<std::string> text = key->QueryString(SuffixedName(entry->Name(), "-1"), kCheckTextBuffer))
                entry->SetText1(*text);
            if (std::optional<std::string> text = key->QueryString(SuffixedName(entry->Name(), "-2"), kCheckTextBuffer))
                entry->SetText2(*text);
            entry->ClearChanged();
        }
    }

    m_fileSaves = fileSaves;
    m_originalExtension = std::move(originalExtension);
    m_validateExtension = std::move(validateExtension);
    return 1;
}

int COrvaneSettings::Save()
{
    platform::IRegistry& registry = platform::Registry();
    std::unique_ptr<platform::IRegistryKey> key =
        registry.OpenKey(platform::kOrvaneRegistryKey, platform::RegistryAccess::Full);
    if (!key)
        key = registry.CreateKey(platform::kOrvaneRegistryKey);
    if (!key)
        return 0;

    if (m_fileSavesChanged)
        key->SetDword(kFileSaves, static_cast<std::uint32_t>(m_fileSaves));
    if (m_originalExtensionChanged)
        key->SetString(kOriginalExtension, m_originalExtension);
    if (m_validateExtensionChanged)
        key->SetString(kValidateExtension, m_validateExtension);
    if (m_conformanceLevelChanged)
        key->SetString(kWaiConformance, TextOfLevel(m_conformanceLevel));
    if (m_insertIconChanged)
        key->SetDword(kInsertIcon, m_insertIcon ? 1u : 0u);
    key->SetString(kIconsLocation, m_iconsLocation);
    if (m_ignoreRepairedChanged)
        key->SetDword(kIgnoreRepaired, m_ignoreRepaired ? 1u : 0u);
    if (m_showSettledChanged)
        key->SetDword(kShowSettled, m_showSettled ? 1u : 0u);
    if (m_ariaNamesChanged)
        key->SetDword(kAriaNames, m_ariaNames ? 1u : 0u);

    for (const std::unique_ptr<CheckSetting>& entry : m_checkSettings) {
        if (entry->IsNumberBlockChanged())
            key->SetDword(entry->Name(), PackNumbers(*entry));
        if (entry->IsText1Changed())
            key->SetString(SuffixedName(entry->Name(), "-1"), entry->Text1());
        if (entry->IsText2Changed())
            key->SetString(SuffixedName(entry->Name(), "-2"), entry->Text2());
    }

    // The entries count as saved only once their values reached the store;
    // otherwise a later Save writes them again.
    if (!key->Flush())
        return 0;
    for (const std::unique_ptr<CheckSetting>& entry : m_checkSettings)
        entry->ClearChanged();
    return 1;
}

void COrvaneSettings::SetFileSaves(int mode)
{
    if (m_fileSaves != mode) {
        m_fileSaves = mode;
        m_fileSavesChanged = true;
    }
}

void COrvaneSettings::SetOriginalExtension(std::string_view extension)
{
    if (m_originalExtension != extension) {
        m_originalExtension = extension;
        m_originalExtensionChanged = true;
    }
}

void COrvaneSettings::SetValidateExtension(std::string_view extension)
{
    if (m_validateExtension != extension) {
        m_validateExtension = extension;
        m_validateExtensionChanged = true;
    }
}

void COrvaneSettings::SetConformanceLevel(int conformance)
{
    if (m_conformanceLevel != conformance) {
        m_conformanceLevel = conformance;
        m_conformanceLevelChanged = true;
    }
}

void COrvaneSettings::SetInsertIcon(bool on)
{
    if (m_insertIcon != on) {
        m_insertIcon = on;
        m_insertIconChanged = true;
    }
}

void COrvaneSettings::SetIconsLocation(std::string_view location) { m_iconsLocation = location; }

void COrvaneSettings::SetIgnoreRepaired(bool on)
{
    if (m_ignoreRepaired != on) {
        m_ignoreRepaired = on;
        m_ignoreRepairedChanged = true;
    }
}

void COrvaneSettings::SetShowSettled(bool on)
{
    if (m_showSettled != on) {
        m_showSettled = on;
        m_showSettledChanged = true;
    }
}

void COrvaneSettings::SetAriaNames(bool on)
{
    if (m_ariaNames != on) {
        m_ariaNames = on;
        m_ariaNamesChanged = true;
    }
}

CheckSetting* COrvaneSettings::FindCheckSetting(int family, std::uint32_t bit) const
{
    family = FoldHeadingFamily(family);
    for (const std::unique_ptr<CheckSetting>& entry : m_checkSettings) {
        if (entry->Family() == family && entry->CheckBit() == bit)
            return entry.get();
    }
    return nullptr;
}

bool COrvaneSettings::GetAlwaysInclude(int family, std::uint32_t bit) const
{
    const CheckSetting* entry = FindCheckSetting(family, bit);
    return entry ? entry->AlwaysInclude() : true;
}

int COrvaneSettings::GetAutoRepairMode(int family, std::uint32_t bit) const
{
    const CheckSetting* entry = FindCheckSetting(family, bit);
    return entry ? entry->AutoRepairMode() : autorepair::kNotOffered;
}

int COrvaneSettings::GetRememberedNumber(int family, std::uint32_t bit) const
{
    const CheckSetting* entry = FindCheckSetting(family, bit);
    return entry ? entry->RememberedNumber() : 0;
}

std::string COrvaneSettings::GetText1(int family, std::uint32_t bit) const
{
    const CheckSetting* entry = FindCheckSetting(family, bit);
    return entry ? entry->Text1() : std::string();
}

std::string COrvaneSettings::GetText2(int family, std::uint32_t bit) const
{
    const CheckSetting* entry = FindCheckSetting(family, bit);
    return entry ? entry->Text2() : std::string();
}

void COrvaneSettings::SetAlwaysInclude(int family, std::uint32_t bit, bool on)
{
    if (CheckSetting* entry = FindCheckSetting(family, bit))
        entry->SetAlwaysInclude(on);
}

void COrvaneSettings::SetAutoRepairMode(int family, std::uint32_t bit, int mode)
{
    if (CheckSetting* entry = FindCheckSetting(family, bit))
        entry->SetAutoRepairMode(mode);
}

int COrvaneSettings::SetRememberedNumber(int family, std::uint32_t bit, std::int16_t number)
{
    CheckSetting* entry = FindCheckSetting(family, bit);
    if (!entry)
        return 0;
    entry->SetRememberedNumber(number);
    return 1;
}

void COrvaneSettings::SetText1(int family, std::uint32_t bit, std::string_view text)
{
    if (CheckSetting* entry = FindCheckSetting(family, bit))
        entry->SetText1(text);
}

void COrvaneSettings::SetText2(int family, std::uint32_t bit, std::string_view text)
{
    if (CheckSetting* entry = FindCheckSetting(family, bit))
        entry->SetText2(text);
}

bool COrvaneSettings::CheckApplies(int family, std::uint32_t bit, int priority, bool section508) const
{
    return AppliesAtLevel(m_conformanceLevel, priority, section508, GetAlwaysInclude(family, bit));
}

bool COrvaneSettings::AppliesAtLevel(int conformance, int priority, bool section508, bool alwaysInclude)
{
    if (conformance == level::kSection508)
        return section508 || alwaysInclude;
    if (level::IsWcag22(conformance))
        return alwaysInclude;
    if (priority == 1 || alwaysInclude)
        return true;
    if (priority == 2)
        return conformance == level::kAA || conformance == level::kAAA;
    return conformance == level::kAAA;
}

} // namespace orvane
