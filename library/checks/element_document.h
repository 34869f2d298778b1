#pragma once

#include "check_info.h"

namespace orvane {

// The element family of the page as a whole: the document-level checks.
class CElementDocument : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
};

} // namespace orvane
