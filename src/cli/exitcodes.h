#pragma once

namespace Cli {

// The exit codes of vorlen360-cli: one meaning each, whichever command returns it.
enum ExitCode : int {
    Success = 0,       // done (rows found, file written, logged in)
    Failure = 1,       // nothing found, a file not written, a cipher message, the forum said no
    BadUsage = 2,      // the command line is wrong; nothing was done
    Unreachable = 3,   // the page or the forum did not answer; a crawl read no page
    Partial = 4,       // rows written, but some pages or detail pages failed
    NotUnderstood = 5, // an answer came but could not be read (the forum's login answer)
    Stopped = 130,     // a signal stopped the command; what was done is kept
};

} // namespace Cli
