#pragma once

#include "library/ui/page_validator_base.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class CHtmlDocument;

// Flicker cannot be found in the markup: it comes from what the page runs
// and shows. The page lists what may flicker (images that may be animated,
// blinking or moving text, scripts, applets and embedded programs), shows
// each, explains the rule of three flashes a second, and takes the user's
// judgement: nothing flickers (repaired), or something does and the author
// must change it (the problem stays open).
class CPageFlicker final : public CPageValidatorBase {
public:
    static constexpr int kTemplate = 1309;
    static constexpr int kItems = 1040;
    static constexpr int kPreview = 1234;
    static constexpr int kNoFlicker = 1179;
    static constexpr int kFlickers = 1180;
    static constexpr int kVerdict = 1056;
    static constexpr int kMoreHelp = 1292;

    explicit CPageFlicker(const CHtmlDocument& document);
    std::string_view ClassName() const override { return "CPageFlicker"; }

    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    bool Apply() override;
    // The judgement is taken back: the page is to be judged again.
    void Undo() override;
    bool GivesVerdicts() const override { return true; }

    struct Item {
        std::string text;     // what the list shows
        std::string image;    // an image's source, shown as the image
        std::string markup;   // anything else, shown as the page writes it
    };
    // What on the page may flicker, in page order.
    static std::vector<Item> ItemsOf(const CHtmlDocument& document);

    // Which kind of thing that may flicker an element is, if any: for the
    // judgement's key, which reads the page's items without their list texts.
    enum class Flickering { Nothing, AnimatedImage, Script, Applet, Embedded, MovingText };
    static Flickering FlickeringOf(const CElement& element);
    // An animated image's source, as the item shows it.
    static std::string_view ImageSourceOf(const CElement& element);

protected:
    void Initialise() override;

private:
    void Choose(int answer);
    void ShowItem(int row);

    const CHtmlDocument& m_document;
    std::vector<Item> m_items;
    int m_answer = 0;
    int m_row = 0;
};

} // namespace orvane
