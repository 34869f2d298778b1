#pragma once

#include "check_info.h"

namespace orvane {

// The element family of a form input.
class CElementInput : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    std::string GetProblemText(std::uint32_t bit) const override;
};

} // namespace orvane
