#pragma once

#include <string>

namespace orvane {

class CSrcObjectDatabase;

// What became of the user's request for a site registry.
enum class SiteRegistryOffer { AlreadyThere, Declined, Created, Failed };

// Offers the user a site registry for the page's site: where the page's
// folder or one above it keeps one already, says where, and changes nothing;
// otherwise asks whether to start one in the page's folder, creates it
// empty (never over a file that is there) and says where it was made.
//
// Given the registry of the session the user asked from, the session keeps
// what it decides next in the new site registry: what the session's registry
// holds is saved there first, and the page's records are copied into the
// site registry (the user's own keeps them too); the user is told so.
SiteRegistryOffer OfferSiteRegistry(const std::string& pagePath, CSrcObjectDatabase* session = nullptr);

} // namespace orvane
