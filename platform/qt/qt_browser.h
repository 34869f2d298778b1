#pragma once

#include "platform/window.h"

#include <QPointer>
#include <QTextBrowser>

namespace orvane::platform::qt {

// A page preview on a text browser: a local page with its local images; an
// address on the network is not fetched, only offered as a link that opens
// in the user's own browser.
class CQtBrowser final : public IBrowser {
public:
    explicit CQtBrowser(QTextBrowser* view);
    void Navigate(std::string_view address) override;
    void Refresh() override;
    std::string Address() const override { return m_address; }
    int Width() const override;
    void SetResourceFolder(std::string_view folder) override;

private:
    void UseSearchPaths();

    QPointer<QTextBrowser> m_view;
    std::string m_address;
    QString m_shownFolder;
    QString m_resourceFolder;
};

} // namespace orvane::platform::qt
