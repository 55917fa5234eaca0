#pragma once

#include "config/siteprofile.h"
#include "library/sharerecord.h"

#include <QString>
#include <QStringList>
#include <QStringView>

// A line of text per share, written from a template the user can change: "{title}",
// "{url}" (the share URL), "{code}" (the extraction code), "{files}" (the file count) and
// "{sharecode}" are replaced by the share's fields. Any other "{name}" is copied as written.
namespace Library {

// "链接: {url}?pwd={code}", the query named by the site profile.
QString defaultShareTemplate(const Config::SiteProfile &profile);

// The template with every known placeholder replaced by the share's field, its control
// characters and line breaks as spaces (empty fields stay empty).
QString fillShareTemplate(QStringView shareTemplate, const ShareRecord &share);

// The placeholders of the template that are not known, each once, in the order they appear
// ("{name}" as written).
QStringList unknownPlaceholders(QStringView shareTemplate);

} // namespace Library
