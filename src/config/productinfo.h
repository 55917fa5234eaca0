#pragma once

#include <QString>
#include <QStringView>

// What the program says about itself, the same from every front end: its version and the frame
// of its --help text.
namespace Config {

// "1.0.5": the version of the build (project()), as the status bar shows it.
QString productVersion();

// "Vorlen360云盘资源获取器 V1.0【VIP】": the main window's caption and the title of the cipher
// classes' message boxes.
QString productTitle();

// The answer to --version: the product name and productVersion().
QString versionLine();

// The --help text of a front end: "usage: program arguments", the --version/--help line, then
// the front end's own commands (when not empty) and the endpoint options every front end takes.
QString usageText(QStringView program, QStringView arguments, QStringView commands);

} // namespace Config
