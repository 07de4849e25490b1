// Counts the allocations made through operator new while a scope is active. Linking
// AllocationCounter.cpp into a test executable replaces the global allocation functions.
#pragma once

#include <atomic>
#include <cstddef>

namespace quorvel::testing {

class AllocationScope {
public:
    AllocationScope();
    ~AllocationScope();
    AllocationScope(const AllocationScope&) = delete;
    AllocationScope& operator=(const AllocationScope&) = delete;
    // Allocations made on any thread since the scope began.
    std::size_t count() const;

private:
    std::size_t start;
};

} // namespace quorvel::testing
