// The previews of the repair pages: small temporary pages shown in a browser
// control. They lie in the per-user data folder (never beside the installed
// library, which the user may not be able to write) and go with the page.

#include "page_validator_base.h"

#include "quoted_value.h"
#include "validator_sheet.h"

#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "library/tables/table_record.h"
#include "platform/file_system.h"
#include "platform/media_player.h"
#include "platform/paths.h"
#include "platform/services.h"

#include <algorithm>
#include <sstream>

namespace orvane {

namespace {

constexpr int kFormControlHeading = 279;
constexpr int kFormTag = 30;
constexpr int kPreviewRefreshMs = 500;
constexpr std::string_view kTempPage = "TempPage.html";
constexpr std::string_view kTempFile = "OrvaneTempFile.html";

bool IsWebAddress(std::string_view address)
{
    return address.size() >= 5 && EqualsIgnoreCase(address.substr(0, 5), "http:");
}

} // namespace

std::string CPageValidatorBase::PreviewFolder() { return platform::UserDataDirectory() + "/"; }

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
    if (written && std::find(m_writtenFiles.begin(), m_writtenFiles.end(), path) == m_writtenFiles.end())
        m_writtenFiles.push_back(path);
    return written;
}

bool CPageValidatorBase::PreviewTable(const CTableRecord& table, int browserId, unsigned flags)
{
    platform::IBrowser* browser = BrowserOf(browserId);
    if (!browser)
        return false;
    std::ostringstream page;
    page << "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\n"
         << "<html lang=\"en\"><head><title>Unknown Table</title></head><body><p align=\"center\">";
    table.WriteMarkup(page, flags | CTableRecord::kMarkupShowGrid);
    page << "</p></body></html>";
    const std::string path = PreviewFolder() + std::string(kTempPage);
    if (!WritePreview(path, page.str()))
        return false;
    browser->Navigate(path);
    return true;
}

bool CPageValidatorBase::PreviewText(std::string_view text, int browserId)
{
    platform::IBrowser* browser = BrowserOf(browserId);
    if (!browser)
        return false;
    const std::string path = PreviewFolder() + std::string(kTempFile);
    if (!WritePreview(path, "<HTML><HEAD></HEAD><BODY>" + std::string(text) + "</BODY></HTML>"))
        return false;
    browser->Navigate(path);
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
    const std::string path = PreviewFolder() + std::string(kTempPage);
    if (!WritePreview(path, "<HTML><HEAD></HEAD><BODY><IMG SRC=\"" + QuotedValue(ResolveAgainstDocument(source)) +
                                "\" WIDTH=\"" + m_previewWidth + "\"></BODY></HTML>"))
        return false;
    browser->Navigate(path);
    return true;
}

bool CPageValidatorBase::PreviewParagraph(std::string_view text, int browserId)
{
    platform::IBrowser* browser = BrowserOf(browserId);
    if (!browser)
        return false;
    const std::string path = PreviewFolder() + std::string(kTempPage);
    if (!WritePreview(path, "<html><head></head><body><p>" + std::string(text) + "</p></body></html>"))
        return false;
    browser->Navigate(path);
    return true;
}

bool CPageValidatorBase::PreviewDocument(std::string_view fragment, const CHtmlDocument& document, int browserId,
                                         bool refreshOnly)
{
    platform::IBrowser* browser = BrowserOf(browserId);
    if (!browser)
        return false;
    const std::string path = PreviewFolder() + std::string(kTempPage);
    if (!WritePreview(path, document.Text()))
        return false;
    if (refreshOnly) {
        browser->Refresh();
        return true;
    }
    browser->Navigate(path + std::string(fragment));
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
    const std::string path = PreviewFolder() + std::string(kTempPage);
    if (!WritePreview(path, page))
        return false;
    browser->Navigate(path);
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
