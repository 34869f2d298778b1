#pragma once

#include <string>

namespace orvane {

// An applet of a document (known by its code or object value) and whether
// the user said it is described.
class CSrcApplet {
public:
    CSrcApplet() = default;
    explicit CSrcApplet(std::string id) : m_id(std::move(id)) {}

    const std::string& Id() const { return m_id; }
    void SetId(std::string id);
    bool IsDescribed() const { return m_described; }
    void SetDescribed(bool described);

private:
    bool m_described = false;
    std::string m_id;
};

} // namespace orvane
