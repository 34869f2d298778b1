#pragma once

#include "platform/help.h"

#include <QPointer>
#include <QString>

class QWidget;

namespace orvane::platform::qt {

class CHelpWindow;

// The help window: a compiled Qt help collection (.qhc) with its contents,
// index and search beside the topic.
class CQtHelpViewer final : public IHelpViewer {
public:
    ~CQtHelpViewer() override;
    bool Open(const std::string& helpFile) override;
    std::string OpenFile() const override { return m_openFile; }
    bool ShowTopic(IWindow* owner, std::string_view topic) override;
    // The help window once a topic was shown (the screenshots grab it).
    QWidget* Window() const;

private:
    std::string m_openFile;
    QString m_collection;
    QString m_namespace;
    QPointer<CHelpWindow> m_window;
};

} // namespace orvane::platform::qt
