#pragma once

#include <cstdint>
#include <string>

// Whether a share still lives on the cloud disk. Decided by the seed and the share code alone,
// apart from the catalogue's random stream, so adding it changed no generated entry.
namespace DemoSite {

enum class ShareState {
    Live,      // the share page
    Gone,      // 404
    Cancelled, // 200 with a page that says the share is dead (one of the usual wordings)
};

ShareState shareStateOf(std::uint32_t seed, const std::string &shareCode);

// The page of a share that is no more: 200, its body holds one dead-share wording picked by the
// seed and the code.
std::string cancelledSharePage(std::uint32_t seed, const std::string &shareCode);

} // namespace DemoSite
