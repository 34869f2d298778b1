// The previews of the repair pages: small temporary pages shown in a browser
// control. They lie in the per-user data folder (never beside the installed
// library, which the user may not be able to write, nor in the user's site),
// each page's files its own so one page's refresh never shows another's
// preview, and go with the page. The browser looks up what a preview names
// in the page's own folder, where the page's images lie.

#include "library/ui/page_validator_base.h"

#include "library/ui/quoted_value.h"
#include "library/ui/unknown_table_dialog.h"
#include "library/ui/validator_sheet.h"

#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "library/tables/table_record.h"
#include "platform/file_system.h"
#include "platform/media_player.h"
#include "platform/paths.h"
#include "platform/services.h"

#include <algorithm>
#include <random>
#include <sstream>

namespace orvane {

namespace {

constexpr int kFormControlHeading = 279;
constexpr int kFormTag = 30;
constexpr int kPreviewRefreshMs = 500;
// Pages made so far in this process: each page's previews are numbered by it.
int g_pagesMade = 0;

// Tells this process's previews from those of another one of the same user
// (two programs, or tests run side by side), which share the folder.
const std::string& ProcessMark()
{
    static const std::string mark = [] {
        std::random_device random;
        std::ostringstream text;
        text << std::hex << random();
        return text.str();
    }();
    return mark;
}

bool IsWebAddress(std::string_view address)
{
    return address.size() >= 5 && EqualsIgnoreCase(address.substr(0, 5), "http:");
}

} // namespace

std::string CPageValidatorBase::PreviewFolder() { return platform::UserDataDirectory() + "/"; }

int CPageValidatorBase::NextPreviewNumber() { return ++g_pagesMade; }

std::string CPageValidatorBase::PreviewPagePath() const
{
    return PreviewFolder() + "TempPage-" + ProcessMark() + "-" + std::to_string(m_previewNumber) + ".html";
}

std::string CPageValidatorBase::PreviewTextPath() const
{
    return PreviewFolder() + "OrvaneTempFile-" + ProcessMark() + "-" + std::to_string(m_previewNumber) + ".html";
}

void CPageValidatorBase::ShowPreview(platform::IBrowser& browser, const std::string& address)
{
    if (m_sheet)
        browser.SetResourceFolder(m_sheet->DocumentFolder().Folder());
    browser.Navigate(address);
}

platform::IBrowser* CPageValidatorBase::BrowserOf(int browserId)
{
    return m_window && m_window->HasControl(browserId) ? m_window->Browser(browserId) : nullptr;
}

std::string CPageValidatorBase::ResolveAgainstDocument(std::string_view address) const
{
    if (IsWebAddress(address) || !m_sheet)
        return std::string(address);
    std::string path = m_sheet->AbsolutePath(address);
    return path.empty() ? std::string(address) : path;
}

bool CPageValidatorBase::WritePreview(const std::string& path, std::string_view content)
{
    const bool written = platform::WriteFileAtomically(path, [&](std::ostream& out) {
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        return static_cast<bool>(out);
    });
    if (written)
        Remember(path);
    return written;
}

void CPageValidatorBase::Remember(const std::string& path)
{
    if (std::find(m_writtenFiles.begin(), m_writtenFiles.end(), path) == m_writtenFiles.end())
        m_writtenFiles.push_back(path);
}

bool CPageValidatorBase::PreviewTable(const CTableRecord& table, int browserId, unsigned flags)
{
    platform::IBrowser* browser = BrowserOf(browserId);
    if (!browser)
        return false;
    const std::string path = WriteTablePreviewPage(table, flags, PreviewPagePath());
    if (path.empty())
        return false;
    Remember(path);
    ShowPreview(*browser, path);
    return true;
}

bool CPageValidatorBase::PreviewText(std::string_view text, int browserId)
{
    platform::IBrowser* browser = BrowserOf(browserId);
    if (!browser)
        return false;
    const std::string path = PreviewTextPath();
    if (!WritePreview(path, "<HTML><HEAD></HEAD><BODY>" + std::string(text) + "</BODY></HTML>"))
        return false;
    ShowPreview(*browser, path);
    return true;
}

bool CPageValidatorBase::PreviewImage(std::string_view source, int browserId)
{
    platform::IBrowser* browser = BrowserOf(browserId);
    if (!browser)
        return false;
    int width = browser->Width() - 40;
    if (m_imageWidth != -1 && m_imageWidth < width)
        width = m_imageWidth;
    m_previewWidth = std::to_string(width);
    const std::string path = PreviewPagePath();
    if (!WritePreview(path, "<HTML><HEAD></HEAD><BODY><IMG SRC=\"" + QuotedValue(ResolveAgainstDocument(source)) +
                                "\" WIDTH=\"" + m_previewWidth + "\"></BODY></HTML>"))
        return false;
    ShowPreview(*browser, path);
    return true;
}

bool CPageValidatorBase::PreviewParagraph(std::string_view text, int browserId)
{
    platform::IBrowser* browser = BrowserOf(browserId);
    if (!browser)
        return false;
    const std::string path = PreviewPagePath();
    // The paragraph is the page's bytes: the preview reads them in the page's encoding.
    if (!WritePreview(path, "<html><head><meta charset=\"" + Encoding().name + "\"></head><body><p>" +
                                std::string(text) + "</p></body></html>"))
        return false;
    ShowPreview(*browser, path);
    return true;
}

bool CPageValidatorBase::PreviewDocument(std::string_view fragment, const CHtmlDocument& document, int browserId,
                                         bool refreshOnly)
{
    platform::IBrowser* browser = BrowserOf(browserId);
    if (!browser)
        return false;
    const std::string path = PreviewPagePath();
    if (!WritePreview(path, document.Text()))
        return false;
    if (refreshOnly) {
        browser->Refresh();
        return true;
    }
    ShowPreview(*browser, path + std::string(fragment));
    // The browser may still show the old page from its cache; one refresh shortly after settles it.
    m_window->StartTimer(kRefreshTimer, kPreviewRefreshMs);
    m_browserToRefresh = browser;
    return true;
}

bool CPageValidatorBase::PreviewFormControl(const CElement& element, const CHtmlDocument& document, int browserId)
{
    platform::IBrowser* browser = BrowserOf(browserId);
    if (!browser)
        return false;
    std::string page = "<html><head></head><body><p>\n";
    const CElement* form = nullptr;
    const std::size_t at = document.IndexOf(element);
    for (std::size_t i = at; i-- > 0;) {
        if (document.At(i)->Kind() == kFormTag) {
            form = document.At(i);
            break;
        }
    }
    // Only the form the control stands in: a form closed before it shows nothing.
    const CElement* formEnd = form ? form->Partner() : nullptr;
    if (formEnd && document.IndexOf(*formEnd) > at) {
        page += "<form>\n";
        const CElement* markEnd = element.Partner() && document.IndexOf(*element.Partner()) > at
                                      ? element.Partner()
                                      : &element;
        for (std::size_t i = document.IndexOf(*form) + 1; i < document.IndexOf(*formEnd); ++i) {
            const CElement* piece = document.At(i);
            if (piece == &element)
                page += "<hr><h2>" + platform::Strings().Get(kFormControlHeading) +
                        "</h2><span style=\"{border-width: 4; color: red; border: solid;}\">";
            if (!piece->IsDeleted())
                piece->AppendMarkupText(page);
            if (piece == markEnd)
                page += "</span><hr>";
        }
    }
    page += "\n</p></body></html>";
    const std::string path = PreviewPagePath();
    if (!WritePreview(path, page))
        return false;
    ShowPreview(*browser, path);
    return true;
}

bool CPageValidatorBase::PreviewAddress(std::string_view address, int browserId)
{
    platform::IBrowser* browser = BrowserOf(browserId);
    if (!browser)
        return false;
    browser->Navigate(ResolveAgainstDocument(address));
    return true;
}

bool CPageValidatorBase::PreviewMedia(std::string_view address, platform::IMediaPlayer& player)
{
    if (!IsWebAddress(address)) {
        player.Play(ResolveAgainstDocument(address));
        return true;
    }
    const std::size_t slash = address.rfind('/');
    player.SetBaseAddress(address.substr(0, slash + 1));
    player.Play(address.substr(slash + 1));
    return true;
}

} // namespace orvane
