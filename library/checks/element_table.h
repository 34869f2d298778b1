#pragma once

#include "check_info.h"

namespace orvane {

// The element family of a table.
class CElementTable : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
};

} // namespace orvane
