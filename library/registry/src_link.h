#pragma once

#include <string>

namespace orvane {

// A link of a document, known by its address, and whether the user was
// already warned about it (a link that opens a new window).
class CSrcLink {
public:
    CSrcLink() = default;
    explicit CSrcLink(std::string address) : m_address(std::move(address)) {}

    const std::string& Address() const { return m_address; }
    void SetAddress(std::string address);
    bool HasWarning() const { return m_hasWarning; }
    void SetHasWarning(bool hasWarning);

private:
    std::string m_address;
    bool m_hasWarning = false;
};

} // namespace orvane
