#pragma once

#include "check_info.h"

namespace orvane {

// The element family of a meta element.
class CElementMeta : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
};

} // namespace orvane
