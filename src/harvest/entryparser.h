#pragma once

#include "config/siteprofile.h"
#include "harvest/resourceentry.h"

#include <QList>
#include <QStringView>

namespace Harvest {

// Cuts a listing or search-result page into entries, in page order, numbered from "1", at the
// profile's four markers.
//
// Each of the four markers cuts the whole page on its own; the i-th entry marker pairs with the
// i-th title, file-count and extraction-code marker wherever they stand, and a marker that
// occurs fewer than i times leaves its field empty. A field is the text after its marker up to
// the first "<" before the next occurrence of the same marker, empty when there is no "<" in
// between. The entry identifier is the first entryIdLength characters after the entry marker,
// whatever they are. Markers are exact and case-sensitive. A page without an entry marker gives
// nothing.
QList<ResourceEntry> parseEntries(QStringView page, const Config::SiteProfile &profile);

// A page that came with content but holds neither an entry marker nor one of the profile's
// empty-result wordings: rather than running out of entries, the site has most likely changed
// its layout.
bool isUnrecognisedPage(QStringView page, const Config::SiteProfile &profile);

// What the front ends tell the user of such a page.
inline constexpr QStringView kLayoutChangeHint = u"页面有内容，但既没有条目标记，也没有“没有资源”一类的提示："
                                                 u"网站的布局可能已经改变。请用 vorlen360-cli profile verify 检查站点配置";

} // namespace Harvest
