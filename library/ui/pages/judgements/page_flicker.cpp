#include "library/ui/pages/judgements/page_flicker.h"

#include "library/ui/quoted_value.h"

#include "library/checks/element_blink.h"
#include "library/html/attribute.h"
#include "library/html/attribute_table.h"
#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "platform/services.h"

namespace orvane {

namespace {
constexpr int kInstruction = 388;
constexpr char kHelpTopic[] = "7-1-1.html";
constexpr int kCaption = 111;
constexpr int kAnswerNeeded = 993;
constexpr int kAnimatedImage = 994;
constexpr int kScript = 995;
constexpr int kApplet = 996;
constexpr int kEmbedded = 997;
constexpr int kMovingText = 998;
constexpr int kInThePage = 999;
constexpr int kNoFlickerVerdict = 1000;
constexpr int kFlickersVerdict = 1001;
constexpr int kEmbed = 27;
constexpr int kMovingTextLength = 40;

std::string_view ValueOf(const CElement& element, int id)
{
    const CAttribute* attribute = element.FindAttribute(id);
    return attribute && !attribute->IsHidden() ? Trim(attribute->Value()) : std::string_view();
}

// The first of the attributes that has a value.
std::string FirstValue(const CElement& element, std::initializer_list<int> ids)
{
    for (int id : ids) {
        if (std::string_view value = ValueOf(element, id); !value.empty())
            return std::string(value);
    }
    return platform::Strings().Get(kInThePage);
}

// Whether a source names a GIF, whatever the case of its letters: an image
// that may be animated.
bool NamesAGif(std::string_view source)
{
    constexpr std::string_view kGif = ".gif";
    for (std::size_t at = 0; at + kGif.size() <= source.size(); ++at) {
        if (EqualsIgnoreCase(source.substr(at, kGif.size()), kGif))
            return true;
    }
    return false;
}

} // namespace

CPageFlicker::CPageFlicker(const CHtmlDocument& document) : CPageValidatorBase(kTemplate), m_document(document) {}

std::string_view CPageFlicker::ImageSourceOf(const CElement& element) { return ValueOf(element, attr::kSrc); }

CPageFlicker::Flickering CPageFlicker::FlickeringOf(const CElement& element)
{
    if (element.IsDeleted())
        return Flickering::Nothing;
    switch (const int kind = element.Kind(); kind) {
    case tag::kImg: return NamesAGif(ImageSourceOf(element)) ? Flickering::AnimatedImage : Flickering::Nothing;
    case tag::kScript: return Flickering::Script;
    case tag::kApplet: return Flickering::Applet;
    case tag::kObject:
    case kEmbed: return Flickering::Embedded;
    default:
        // Blinking and moving text are one family, made for their one kind.
        return kind == tag::kBlink && dynamic_cast<const CElementBlink*>(&element) ? Flickering::MovingText
                                                                                  : Flickering::Nothing;
    }
}

std::vector<CPageFlicker::Item> CPageFlicker::ItemsOf(const CHtmlDocument& document)
{
    std::vector<Item> items;
    auto say = [](int id, std::string_view what) { return platform::Strings().Format(id, {what}); };
    for (const CElement* element : document.Elements()) {
        switch (FlickeringOf(*element)) {
        case Flickering::Nothing: break;
        case Flickering::AnimatedImage: {
            const std::string_view src = ImageSourceOf(*element);
            items.push_back({say(kAnimatedImage, src), std::string(src), {}});
            break;
        }
        case Flickering::Script:
            items.push_back({say(kScript, FirstValue(*element, {attr::kSrc})), {}, element->MarkupText()});
            break;
        case Flickering::Applet:
            items.push_back({say(kApplet, FirstValue(*element, {attr::kCode})), {}, element->MarkupText()});
            break;
        case Flickering::Embedded:
            items.push_back({say(kEmbedded, FirstValue(*element, {attr::kData, attr::kSrc, attr::kClassid})), {},
                             element->MarkupText()});
            break;
        case Flickering::MovingText:
            items.push_back({say(kMovingText, document.InnerText(*element, kMovingTextLength)), {},
                             element->MarkupText() + document.InnerText(*element, -1)});
            break;
        }
    }
    return items;
}

void CPageFlicker::Initialise()
{
    platform::IWindow& window = *Window();
    m_items = ItemsOf(m_document);
    SetHelpTopic(kHelpTopic);
    SetInstruction(kInstruction);
    window.ClearItems(kItems);
    for (std::size_t n = 0; n < m_items.size(); ++n)
        window.AddItem(kItems, m_items[n].text, static_cast<platform::ItemData>(n));
    if (!m_items.empty()) {
        m_row = std::min<int>(m_row, static_cast<int>(m_items.size()) - 1);
        window.SetCurrentItem(kItems, m_row);
        ShowItem(m_row);
    }
    Choose(m_answer);
}

void CPageFlicker::ShowItem(int row)
{
    if (row < 0 || row >= static_cast<int>(m_items.size()))
        return;
    m_row = row;
    const Item& item = m_items[static_cast<std::size_t>(row)];
    if (!item.image.empty())
        PreviewImage(item.image, kPreview);
    else
        PreviewText("<pre style=\"white-space: pre-wrap\">" + QuotedValue(item.markup) + "</pre>", kPreview);
}

void CPageFlicker::Choose(int answer)
{
    platform::IWindow& window = *Window();
    m_answer = answer;
    window.SetChecked(kNoFlicker, answer == kNoFlicker);
    window.SetChecked(kFlickers, answer == kFlickers);
    window.SetText(kVerdict, answer == kNoFlicker  ? platform::Strings().Get(kNoFlickerVerdict)
                             : answer == kFlickers ? platform::Strings().Get(kFlickersVerdict)
                                                   : std::string());
}

void CPageFlicker::OnNotify(platform::IWindow& window, const platform::Notification& notification)
{
    using platform::NotifyCode;
    switch (notification.control) {
    case kNoFlicker:
    case kFlickers:
        if (notification.code == NotifyCode::Clicked)
            Choose(notification.control);
        break;
    case kItems:
        if (notification.code == NotifyCode::SelectionChanged)
            ShowItem(window.CurrentItem(kItems));
        break;
    case kMoreHelp:
        if (notification.code == NotifyCode::Clicked)
            ShowHelp();
        break;
    default: break;
    }
}

bool CPageFlicker::Apply()
{
    if (!Window())
        return true;
    if (m_answer == 0) {
        platform::Prompt().Show(platform::Strings().Get(kCaption), platform::Strings().Get(kAnswerNeeded),
                                platform::PromptIcon::Exclamation, platform::PromptButtons::Ok);
        return false;
    }
    // Flicker the author must take out is a problem that stays.
    SetStatus(m_answer == kNoFlicker ? pagestatus::kRepaired : pagestatus::kNotRepaired);
    SetVerdict(m_answer == kNoFlicker ? "nothing flickers" : "");
    return true;
}

void CPageFlicker::Undo()
{
    SetStatus(pagestatus::kNotRepaired);
    SetVerdict({});
    if (Window())
        Choose(0);
    else
        m_answer = 0;
}

} // namespace orvane
