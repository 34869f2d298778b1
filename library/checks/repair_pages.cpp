#include "repair_pages.h"

namespace orvane {

namespace {
IRepairPageFactory* g_factory = nullptr;
}

IRepairPageFactory* RepairPageFactory() { return g_factory; }
void SetRepairPageFactory(IRepairPageFactory* factory) { g_factory = factory; }

} // namespace orvane
