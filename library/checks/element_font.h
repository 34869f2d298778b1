#pragma once

#include "check_info.h"

namespace orvane {

// The element family of a font element.
class CElementFont : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
};

} // namespace orvane
