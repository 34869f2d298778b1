#pragma once

#include <cstddef>

namespace orvane::bench {

// The benchmark program replaces the global operator new and delete with
// versions that count live bytes, so a benchmark can tell how much memory its
// work needed at most. Everything the document model allocates (its arena
// blocks too) goes through operator new.
std::size_t LiveBytes();
std::size_t PeakBytes();
// Starts a new peak from what is live now.
void ResetPeak();

// Peak bytes above the level at construction, for one piece of work.
class CPeakScope {
public:
    CPeakScope();
    std::size_t Extra() const;

private:
    std::size_t m_base;
};

} // namespace orvane::bench
