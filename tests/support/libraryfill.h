#pragma once

#include "library/store.h"

#include <QTemporaryDir>
#include <QTest>

// A library in a temporary folder, filled through the store's own recording.
struct TemporaryLibrary
{
    TemporaryLibrary() : opened(Library::openStore(dir.filePath(QStringLiteral("library.sqlite")))) {}

    Library::Store &store() { return *opened.store; }

    // Records the sightings as one page run; false (and a test failure message) when it fails.
    bool record(const QList<Library::Sighting> &sightings)
    {
        qint64 run = 0;
        const QString started = store().startRun(Library::RunKind::Page, QStringLiteral("1"), run);
        const QString recorded = started.isEmpty() ? store().recordBatch(run, sightings) : started;
        if (!recorded.isEmpty())
            qWarning("recording failed: %s", qPrintable(recorded));
        return recorded.isEmpty() && store().endRun(run, QStringLiteral("rows")).isEmpty();
    }

    // A share with a share code under prefix, seen on page 1 at seenAt.
    static Library::Sighting sighting(const QString &title, const QString &code, const QString &extractionCode,
                                      const QDateTime &seenAt, const QString &prefix = QStringLiteral("http://yunpan.test/"))
    {
        Library::Sighting sighting;
        sighting.entry = {QStringLiteral("1"), title, QStringLiteral("1"), code, QStringLiteral("id-") + code, extractionCode};
        sighting.shareUrl = prefix + code;
        sighting.page = 1;
        sighting.seenAt = seenAt;
        return sighting;
    }

    QTemporaryDir dir;
    Library::Opened opened;
};
