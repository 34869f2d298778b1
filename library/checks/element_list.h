#pragma once

#include "check_info.h"

namespace orvane {

// The element family of a list (dl, ol, ul).
class CElementList : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    void SetOrdinal(int number) override { m_number = number; }
    // 1 for the page's first list, 2 for the second, ...
    int ListNumber() const { return m_number; }

private:
    int m_number = 0;
};

} // namespace orvane
