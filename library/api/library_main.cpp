// The checker library's entry: its exported functions are added with the
// session driver. For now it only identifies itself to hosts that load it.
#define ORVANE_EXPORT extern "C" __attribute__((visibility("default")))

ORVANE_EXPORT const char* OrvaneLibraryVersion() { return "0.1.0"; }
