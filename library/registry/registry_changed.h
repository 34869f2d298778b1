#pragma once

namespace orvane {

// Whether any object registry record was added or changed since the last
// successful load or save. One flag for the whole process: records change
// through their own setters, away from the registry that holds them.
bool RegistryChanged();
void SetRegistryChanged(bool changed);
inline void MarkRegistryChanged() { SetRegistryChanged(true); }

} // namespace orvane
