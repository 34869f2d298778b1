#pragma once

#include "library/html/address_path.h"
#include "library/html/page_encoding.h"
#include "platform/window.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvane {

class CElement;
class CHtmlDocument;
class COrvaneSettings;
class CPageValidatorBase;
class CPageWarnings;
class CSrcObjectDatabase;

// Resolves the addresses of a page against the folder of the page's file.
class CDocumentFolder {
public:
    // The folder is the path up to and including its last separator.
    void SetPath(std::string_view documentPath);
    // What follows the folder: the page's file name (the whole path without one).
    static std::string FileName(std::string_view documentPath);
    const std::string& Folder() const { return m_folder; }
    // The local file an address of the page names; empty when there is none.
    std::string AbsolutePath(std::string_view address) const;
    // The address to write into the page for a local file.
    std::string RelativeAddress(std::string_view filePath) const;

private:
    std::string m_folder;
};

// The repair wizard: one page per chosen problem, walked through with Back,
// Next and Finish, a Skip/Undo button, an option box some pages use, and Help.
// The elements add their pages; the sheet owns them.
class CValidatorSheet : public platform::IDialogLogic {
public:
    static constexpr int kTemplate = 9000;
    static constexpr int kSkipUndoButton = 1286;
    static constexpr int kOptionBox = 1287;

    CValidatorSheet();
    ~CValidatorSheet() override;
    CValidatorSheet(const CValidatorSheet&) = delete;
    CValidatorSheet& operator=(const CValidatorSheet&) = delete;

    // --- Set up by the overview ---------------------------------------------------
    void SetObjectRegistry(CSrcObjectDatabase* registry) { m_registry = registry; }
    void SetSettings(COrvaneSettings* settings) { m_settings = settings; }
    CSrcObjectDatabase* ObjectRegistry() const { return m_registry; }
    COrvaneSettings* Settings() const { return m_settings; }
    void SetDocumentPath(std::string_view path);
    const std::string& DocumentPath() const { return m_documentPath; }
    const std::string& DocumentName() const { return m_documentName; }
    // Why an automatic repair left its problem open, for a run without windows to report.
    struct NotRepairedNote {
        const CElement* element;
        std::uint32_t bit;
        std::string why;
    };
    void NoteNotRepaired(const CElement* element, std::uint32_t bit, std::string why)
    {
        m_notRepaired.push_back({element, bit, std::move(why)});
    }
    const std::vector<NotRepairedNote>& NotRepaired() const { return m_notRepaired; }
    // The encoding of the page the sheet repairs: what its pages show is
    // decoded from it, and what they write is encoded in it.
    void SetPageEncoding(const PageEncoding& encoding) { m_pageEncoding = encoding; }
    const PageEncoding& PageTextEncoding() const { return m_pageEncoding; }
    // The page the sheet repairs, as the files written for it ask after its
    // language; the page outlives the sheet's pages.
    void SetRepairedPage(const CHtmlDocument& document) { m_repairedPage = &document; }
    // The page's language as far as it can be told when asked (a file
    // written for it is in it); empty when it cannot be told.
    std::string RepairedPageLanguage() const;
    // Whether Skip moves to the next page.
    void SetSkipAdvances(bool advances) { m_skipAdvances = advances; }
    // Whether the last page stays out of the count in the title.
    void SetTrailingPage(bool trailing) { m_trailingPage = trailing; }
    // Shows the sheet modally; the window's result (Finish 12325, Cancel 2,
    // 0 when Skip on the last page closed it).
    int DoModal(platform::IWindow* owner);

    // --- Pages ----------------------------------------------------------------------
    CPageValidatorBase& AddPage(std::unique_ptr<CPageValidatorBase> page);
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    CPageValidatorBase& Page(int index) const { return *m_pages.at(index); }
    // -1 when the page is not in this sheet.
    int IndexOf(const CPageValidatorBase& page) const;
    // The page of that class the element has in this sheet (attached before
    // it was added), or null. Both in constant time: a run over thousands of
    // problems asks them for every page.
    CPageValidatorBase* FindPage(const CElement& element, std::string_view className) const;
    // The pages whose key is that one, in page order: what a merge looks at,
    // so merging every page of a large run stays linear.
    const std::vector<CPageValidatorBase*>& PagesWithKey(const std::string& key) const;
    // A page's key changed: the pages are grouped by key anew when next asked.
    void KeyChanged() { m_pagesByKey.clear(); }
    CPageValidatorBase* ActivePage() const;
    int ActiveIndex() const { return m_active; }
    void SetActivePage(int index);
    CPageWarnings* FindWarningsPage() const;
    // The problems of the run that got no page, in the order they came.
    struct ProblemWithoutPage {
        CElement* element;
        std::uint32_t bit;
    };
    void AddProblemWithoutPage(CElement& element, std::uint32_t bit) { m_withoutPage.push_back({&element, bit}); }
    const std::vector<ProblemWithoutPage>& ProblemsWithoutPage() const { return m_withoutPage; }

    // --- For the pages -----------------------------------------------------------------
    std::string AbsolutePath(std::string_view address) const { return m_folder.AbsolutePath(address); }
    std::string RelativeAddress(std::string_view filePath) const { return m_folder.RelativeAddress(filePath); }
    const CDocumentFolder& DocumentFolder() const { return m_folder; }
    // Writes a description page: the head with the title, the text in one
    // paragraph (line breaks as <br>). Through a temporary file, so a failed
    // write leaves what stood there; false with the reason in *error.
    // In UTF-8, declared, with the language (lang) of its text; a title in
    // another language says so.
    static bool WriteDescriptionFile(const std::string& path, std::string_view text, std::string_view title,
                                     std::string_view language, std::string_view titleLanguage = {},
                                     std::string* error = nullptr);
    // The description a file holds: a text file as it is; of an HTML page the
    // markup of its body, without the paragraph a page written by
    // WriteDescriptionFile has around it, line breaks for its <br>. Nothing
    // (with the reason in *error) when it cannot be read.
    static std::optional<std::string> LoadDescriptionFile(const std::string& path, std::string* error = nullptr);
    void RefreshTitle();
    // Position of the page as the title counts it (1-based), and the count.
    int PositionOf(int index) const;
    int CountedPages() const;
    void RefreshWizardButtons(const CPageValidatorBase& page);
    void PageActivated(CPageValidatorBase& page);
    // The frame's window while it is shown.
    platform::IWindow* Window() const { return m_window; }

    // --- platform::IDialogLogic
    void OnInit(platform::IWindow& window) override;
    void OnNotify(platform::IWindow& window, const platform::Notification& notification) override;
    void OnOk(platform::IWindow& window) override;
    void OnCancel(platform::IWindow& window) override;
    void OnHelp(platform::IWindow& window) override;
    void OnSystemCommand(platform::IWindow& window, int command) override;
    void OnDestroy(platform::IWindow& window) override;

private:
    void Next();
    void Back();
    void Finish();
    void SkipOrUndo();
    // The first page after (step 1) or before (step -1) index that is not skipped; -1 when none.
    int NextCounted(int index, int step) const;
    void SetButtonMode(bool skip);

    CSrcObjectDatabase* m_registry = nullptr;
    COrvaneSettings* m_settings = nullptr;
    std::vector<NotRepairedNote> m_notRepaired;
    PageEncoding m_pageEncoding;
    const CHtmlDocument* m_repairedPage = nullptr;
    bool m_skipAdvances = true;
    std::string m_documentPath;
    std::string m_documentName;
    bool m_skipMode = true;
    bool m_trailingPage = true;
    CDocumentFolder m_folder;
    std::vector<std::unique_ptr<CPageValidatorBase>> m_pages;
    std::unordered_map<const CPageValidatorBase*, int> m_indexOf;
    std::unordered_map<const CElement*, std::vector<CPageValidatorBase*>> m_pagesOf;
    // Built when first asked for; emptied when a page is added or changes its key.
    mutable std::unordered_map<std::string, std::vector<CPageValidatorBase*>> m_pagesByKey;
    std::vector<ProblemWithoutPage> m_withoutPage;
    // For each page, the index of its window in the frame; -1 until it is first shown.
    std::vector<int> m_windowOf;
    int m_active = -1;
    platform::IWindow* m_window = nullptr;
};

} // namespace orvane
