#pragma once

#include "check_info.h"

namespace orvane {

// The element family of preformatted text.
class CElementPre : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
};

} // namespace orvane
