#pragma once

#include <string>
#include <string_view>

namespace orvane::platform {

class IWindow;

// Shows topics of a compiled help file (contents, index and search beside
// the topic).
class IHelpViewer {
public:
    virtual ~IHelpViewer() = default;
    // Opens the help file; false when it cannot be shown (missing file, no viewer).
    virtual bool Open(const std::string& helpFile) = 0;
    // The help file Open last opened; empty before.
    virtual std::string OpenFile() const = 0;
    // Shows a topic ("1-1-1.html") of the open file; false when it is not there.
    virtual bool ShowTopic(IWindow* owner, std::string_view topic) = 0;
};

// The help collection of a language ("de", "en") among the data files:
// "Orvane_de.qhc" for German, "Orvane.qhc" for English and for a language
// whose help is not installed. Empty when there is none at all.
std::string HelpFileFor(const std::string& language);

// The viewer a host installed; null when help cannot be shown at all.
IHelpViewer* HelpViewer();
void SetHelpViewer(IHelpViewer* viewer);

} // namespace orvane::platform
