#pragma once

#include "check_info.h"

namespace orvane {

// The element family of a client-side image map.
class CElementMap : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    std::string GetProblemText(std::uint32_t bit) const override;
};

} // namespace orvane
