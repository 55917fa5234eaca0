#pragma once

#include <QString>

#include <vector>

namespace Config {

// Where a setting's effective value came from, strongest first.
enum class Source { Option, Environment, File, Default };

struct Origin
{
    Source source = Source::Default;
    QString name; // the option, the variable, or "FILE:LINE"; empty for the default

    // "option --forum", "environment VORLEN_FORUM", "file /path/vorlen360.ini:3", "default".
    QString describe() const
    {
        switch (source) {
        case Source::Option: return QStringLiteral("option ") + name;
        case Source::Environment: return QStringLiteral("environment ") + name;
        case Source::File: return QStringLiteral("file ") + name;
        case Source::Default: break;
        }
        return QStringLiteral("default");
    }
};

// The settings file in use and where each setting's value came from.
struct Provenance
{
    QString file;                // the settings file read, and written by "config set" and the dialog
    std::vector<Origin> origins; // one per settings() row, in its order
};

} // namespace Config
