#include "demo-site/server.h"

#include <signal.h>
#include <charconv>
#include <fstream>
#include <cstdint>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>

namespace {

constexpr int kDefaultPort = 8360; // where the program's compiled-in endpoints point
constexpr long long kHighestPort = 65535;
constexpr long long kLongestLatencyMs = 600000;
constexpr long long kMostNewEntries = 100000;
constexpr int kBadUsage = 2;

constexpr char kUsage[] =
    "Usage: vorlen360-demo-site [--port N] [--seed N] [--new-entries N] [--latency-ms N] [--announce-version TEXT]\n"
    "                           [--version-file entry|error|empty] [--fail-fraction F] [--fault NAME]\n"
    "                           [--layout standard|alt]\n"
    "                           [--robots FILE]\n"
    "Serves the demo share site, share pages, version file, probe, service page and forum on 127.0.0.1.\n"
    "  --port N                 port to listen on, 0 picks a free one (default 8360)\n"
    "  --seed N                 seed of the generated shares, 0 to 4294967295 (default 1)\n"
    "  --new-entries N          the site has gained N entries since the seed's catalogue: listed first on\n"
    "                           page 0, newest first, the others moved down (default 0)\n"
    "  --latency-ms N           delay before every answer in milliseconds (default 0)\n"
    "  --announce-version TEXT  version named by /version/main.txt (default: this build's)\n"
    "  --version-file WHAT      /version/main.txt serves the entry (default), the 404 error page,\n"
    "                           or an empty body\n"
    "  --fail-fraction F        fail this share of requests (0 to 1) with 500 or a dropped connection\n"
    "  --fault NAME             hostile answers: silent-detail, reset-listing, huge-listing,\n"
    "                           bad-gbk-titles, unknown-charset, redirect-loop, huge-login,\n"
    "                           fake-avatar, huge-version-file, formula-titles, control-names,\n"
    "                           login-redirect, endless-listing, endless-login, endless-avatar,\n"
    "                           link-message, throttled or robots-error\n"
    "  --robots FILE            serve FILE at /robots.txt (default: everything allowed)\n"
    "  --layout standard|alt    the share-search site's pages as the built-in site profile reads them\n"
    "                           (default), or redesigned: read with tools/demo-site/alt-profile.json\n"
    "  --help                   show this text\n"
    "Prints \"listening on http://127.0.0.1:PORT/\" first, then serves until SIGINT or SIGTERM.\n";

struct CommandLine
{
    DemoSite::Options options;
    int port = kDefaultPort;
    bool help = false;
    std::string error;
};

std::optional<long long> wholeNumber(std::string_view text, long long highest)
{
    long long value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (status != std::errc() || end != text.data() + text.size() || value < 0 || value > highest)
        return std::nullopt;
    return value;
}

struct NumberOption
{
    std::string_view name;
    long long highest;
    void (*set)(CommandLine &line, long long value);
};

constexpr NumberOption kNumberOptions[] = {
    {"--port", kHighestPort, [](CommandLine &line, long long value) { line.port = static_cast<int>(value); }},
    {"--seed", UINT32_MAX,
     [](CommandLine &line, long long value) { line.options.seed = static_cast<std::uint32_t>(value); }},
    {"--new-entries", kMostNewEntries,
     [](CommandLine &line, long long value) { line.options.newEntries = static_cast<int>(value); }},
    {"--latency-ms", kLongestLatencyMs,
     [](CommandLine &line, long long value) { line.options.latencyMs = static_cast<int>(value); }},
};

// Applies one "--name VALUE" pair; returns the error line, empty when it was accepted.
std::string apply(std::string_view name, std::string_view value, CommandLine &line)
{
    if (name == "--announce-version") {
        line.options.announcedVersion = std::string(value);
        return {};
    }
    if (name == "--version-file") {
        using DemoSite::VersionFileAnswer;
        constexpr std::pair<std::string_view, VersionFileAnswer> kAnswers[] = {
            {"entry", VersionFileAnswer::Entry}, {"error", VersionFileAnswer::ErrorPage}, {"empty", VersionFileAnswer::Empty}};
        for (const auto &[word, answer] : kAnswers) {
            if (word == value) {
                line.options.versionFileAnswer = answer;
                return {};
            }
        }
        return "bad value for --version-file: " + std::string(value);
    }
    if (name == "--fail-fraction") {
        double fraction = -1;
        const auto [end, status] = std::from_chars(value.data(), value.data() + value.size(), fraction);
        if (status != std::errc() || end != value.data() + value.size() || !(fraction >= 0 && fraction <= 1))
            return "bad value for --fail-fraction: " + std::string(value);
        line.options.failFraction = fraction;
        return {};
    }
    if (name == "--layout") {
        const std::optional<DemoSite::Layout> layout = DemoSite::layoutNamed(value);
        if (!layout)
            return "bad value for --layout: " + std::string(value);
        line.options.layout = *layout;
        return {};
    }
    if (name == "--robots") {
        std::ifstream file{std::string(value), std::ios::binary};
        if (!file.is_open())
            return "cannot read --robots " + std::string(value);
        std::ostringstream text;
        text << file.rdbuf();
        line.options.robotsTxt = text.str();
        return {};
    }
    if (name == "--fault") {
        const std::optional<DemoSite::Fault> fault = DemoSite::faultNamed(value);
        if (!fault)
            return "bad value for --fault: " + std::string(value);
        line.options.fault = *fault;
        return {};
    }
    for (const NumberOption &option : kNumberOptions) {
        if (option.name != name)
            continue;
        const std::optional<long long> number = wholeNumber(value, option.highest);
        if (!number)
            return "bad value for " + std::string(name) + ": " + std::string(value);
        option.set(line, *number);
        return {};
    }
    return "unknown option " + std::string(name);
}

CommandLine parse(int argc, char **argv)
{
    CommandLine line;
    for (int i = 1; i < argc && line.error.empty(); ++i) {
        const std::string_view argument(argv[i]);
        if (argument == "--help") {
            line.help = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        if (equals != std::string_view::npos) {
            line.error = apply(argument.substr(0, equals), argument.substr(equals + 1), line);
        } else if (i + 1 < argc) {
            line.error = apply(argument, argv[++i], line);
        } else {
            line.error = argument.starts_with("--") ? "missing value for " + std::string(argument)
                                                    : "unknown argument " + std::string(argument);
        }
    }
    return line;
}

} // namespace

int main(int argc, char **argv)
{
    const CommandLine line = parse(argc, argv);
    if (!line.error.empty()) {
        std::cerr << "vorlen360-demo-site: " << line.error << " (see --help)" << std::endl;
        return kBadUsage;
    }
    if (line.help) {
        std::cout << kUsage << std::flush;
        return 0;
    }

    // Blocked before the server's threads exist, so they inherit the mask and the signals
    // reach only the sigwait below, which then stops the server in an orderly way.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    DemoSite::Server server(line.options);
    if (!server.start(line.port)) {
        std::cerr << "vorlen360-demo-site: cannot listen on 127.0.0.1:" << line.port << std::endl;
        return 1;
    }
    std::cout << "listening on " << server.baseUrl() << std::endl;

    int received = 0;
    sigwait(&stopSignals, &received);
    server.stop();
    return 0;
}
