#pragma once

#include <string>

namespace orvane {

// What became of the user's request for a site registry.
enum class SiteRegistryOffer { AlreadyThere, Declined, Created, Failed };

// Offers the user a site registry for the page's site: where the page's
// folder or one above it keeps one already, says where, and changes nothing;
// otherwise asks whether to start one in the page's folder, creates it
// empty (never over a file that is there) and says where it was made.
SiteRegistryOffer OfferSiteRegistry(const std::string& pagePath);

} // namespace orvane
