#pragma once

#include <cstdint>
#include <string>

// Requests the site fails on purpose, to try a client's retries. Whether the attempt-th request
// (0-based, counted per path) fails is fixed by the seed, the fraction and the path, so a test
// predicts which pages a client with N retries cannot read.
namespace DemoSite {

enum class Failure {
    None,
    ServerError,        // 500 with a short page
    DroppedConnection,  // the header and part of the body, then the connection closes
};

Failure plannedFailure(std::uint32_t seed, double fraction, const std::string &path, int attempt);

} // namespace DemoSite
