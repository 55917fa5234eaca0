#pragma once

#include "library/store.h"

#include <QDateTime>
#include <QString>

// A sighting of a share on listing page 0 at `at`; with a share code it is keyed by its share URL.
inline Library::Sighting librarySighting(const QString &title, const QString &shareCode, const QString &entryId = {},
                                         const QDateTime &at = QDateTime::currentDateTimeUtc())
{
    Library::Sighting sighting;
    sighting.entry = {QStringLiteral("1"), title, QStringLiteral("3"), shareCode, entryId, QStringLiteral("ab12")};
    if (!shareCode.isEmpty())
        sighting.shareUrl = QStringLiteral("http://127.0.0.1:1/yunpan/") + shareCode;
    sighting.page = 0;
    sighting.seenAt = at;
    return sighting;
}

// Records sightings as one run of kind Page; QVERIFY-friendly: true when all went in.
inline bool recordRun(Library::Store &store, const QList<Library::Sighting> &sightings)
{
    qint64 run = 0;
    QString error = store.startRun(Library::RunKind::Page, QStringLiteral("0"), run);
    if (error.isEmpty())
        error = store.recordBatch(run, sightings);
    if (error.isEmpty())
        error = store.endRun(run, QStringLiteral("rows"));
    if (!error.isEmpty())
        qWarning("recording failed: %s", qPrintable(error));
    return error.isEmpty();
}
