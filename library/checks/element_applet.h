#pragma once

#include "check_info.h"

namespace orvane {

// The element family of an applet.
class CElementApplet : public CCatalogueElement {
public:
    std::span<const CheckInfo> CheckTable() const override;
    int Check(COrvaneSettings& settings, CHtmlDocument& document, int applyLevel) override;
    // What the object registry knows the applet by: its code, else its object.
    std::string AppletKey() const;

protected:
    bool PrepareRepairPage(RepairPageRequest& request) override;

private:
    // Made once: a later repair run fills the same run again.
    CElement* m_alternative = nullptr;
};

} // namespace orvane
