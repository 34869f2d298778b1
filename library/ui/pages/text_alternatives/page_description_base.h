#pragma once

#include "library/ui/page_validator_base.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane {

// What the pages that give an object a description of its own share: the
// description is either a file that exists already, linked by its address,
// or a text the user writes (or imports) that goes into a new file beside the
// page; some pages offer a third answer of their own (1180), and a check box
// (1178) says that no description is needed at all.
//
// A derived page sets its help and instruction, says whether it offers the
// third answer, and calls InitialiseDescription() from its Initialise(). The
// base's Apply() checks the answer, writes a new file, and hands the address
// to ApplyDescription(), where the page writes it (and whatever else it
// writes, such as the text itself for the third answer) into its element;
// ApplyNotNeeded() is the repair when no description is needed.
class CPageDescriptionBase : public CPageValidatorBase {
public:
    static constexpr int kKnownFiles = 1200;   // drop-down of known description files
    static constexpr int kAddress = 1183;      // address typed by hand
    static constexpr int kFileName = 1185;     // name of a new description file
    static constexpr int kText = 1162;         // the description text
    static constexpr int kNotNeeded = 1178;
    static constexpr int kLinkExisting = 1179;
    static constexpr int kAlternative = 1180;
    static constexpr int kWriteNew = 1181;
    static constexpr int kImport = 1290;
    static constexpr int kChooseName = 1291;
    static constexpr int kTextLabel = 1187;
    static constexpr int kAddressLabel = 1188;
    static constexpr int kFileNameLabel = 1190;

    explicit CPageDescriptionBase(int templateId);

    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    bool Apply() override;

    // The radio button chosen: kLinkExisting, kAlternative or kWriteNew.
    int ChosenAnswer() const;
    bool IsNotNeededTicked() const;
    // The address the page writes into its element for the chosen answer:
    // the link, nothing for the third answer, or the new file's name (with
    // ".html" when it has no extension), relative to the page's folder.
    std::string ChosenAddress() const;
    const std::string& LastWrittenName() const { return m_lastWrittenName; }
    bool IsDescriptionDirty() const { return m_dirty; }
    // The description as the user wrote or imported it.
    std::string DescriptionText() const;

protected:
    // Whether the third answer (1180) is offered; set before the window opens.
    void OfferAlternativeAnswer(bool offer) { m_offerAlternative = offer; }
    // Addresses known for the object, listed in the drop-down (which then
    // replaces the address field); set before the window opens.
    void SetKnownFiles(std::vector<std::string> files) { m_knownFiles = std::move(files); }
    // Ticks "no description needed" when the page first opens.
    void SetNotNeededAtOpening(bool ticked) { m_state.notNeeded = ticked; }
    // What the page proposes for a new file when it first opens: its name
    // and a text for the user to complete.
    void ProposeNewFile(std::string fileName, std::string text)
    {
        m_state.fileName = std::move(fileName);
        m_state.text = std::move(text);
    }
    // A file named after what the page describes, for its first opening:
    // listed as known when it is there already (written for the same thing
    // before), and proposed as the name of a new one.
    void OfferFileNamed(const std::string& name);
    // The answer chosen when the page first opens, and the address of the
    // file it links to.
    void ProposeAnswer(int answer, std::string link = {})
    {
        m_state.answer = answer;
        m_state.link = std::move(link);
    }
    // Fills and arranges the controls; called by the derived page's Initialise().
    void InitialiseDescription();
    // The title of a file the page writes, what the description describes, in
    // a language of the string tables ("de"), through FileTitle; empty when
    // the tables have no text in it. An empty language asks for the
    // interface's.
    virtual std::string DescriptionTitle(std::string_view language) const = 0;
    // A string of the tables in the language, with its arguments; empty when
    // there is none in it.
    static std::string FileTitle(std::string_view language, int id, std::initializer_list<std::string_view> args);
    // The user ticked or unticked "no description needed".
    virtual void NotNeededToggled(bool /*ticked*/) {}
    // Writes the chosen answer into the element: the address (empty for the
    // third answer); false (after saying why) keeps the user on the page.
    virtual bool ApplyDescription(const std::string& address, int answer) = 0;
    // The repair when no description is needed.
    virtual bool ApplyNotNeeded() = 0;

    // Tells the user what is missing for the chosen answer; false keeps them
    // on the page.
    bool CheckBeforeApply();
    // Writes the new description file when the new-file answer is chosen and
    // the text or the name changed since the last write. Asks before
    // replacing a file the user did not choose in the save dialog; false
    // (after saying why) when the file was not written.
    bool WriteDescription();
    // The local path of a name or address relative to the page's folder.
    std::string LocalPath(std::string_view name) const;

private:
    struct State {
        bool notNeeded = false;
        int answer = 0;  // 0: the default answer
        std::string link;
        std::string fileName;
        std::string text;
    };

    std::string LinkText() const;
    void SetLinkText(std::string_view text);
    int LinkControl() const { return m_dropDownMode ? kKnownFiles : kAddress; }
    void Choose(int answer);
    void EnableDescription(bool ticked);
    // The link's file read into the description text, when it names another one than before.
    void LinkLeft();
    void ImportFile();
    void ChooseFileName();
    // The file name of 1185 with ".html" when it has none.
    std::string NewFileName() const;
    void Remember();
    void Tell(int stringId, std::initializer_list<std::string_view> args = {}) const;

    bool m_dirty = false;
    std::string m_lastLoadedName;
    bool m_dropDownMode = false;
    std::string m_lastWrittenName;
    bool m_offerAlternative = true;
    // A file the save dialog already asked about replacing.
    std::string m_confirmedPath;
    std::vector<std::string> m_knownFiles;
    // What the controls showed, for a window made again.
    State m_state;
    bool m_linkHasFocus = false;
    bool m_filling = false;
};

} // namespace orvane
