#pragma once

#include "harvest/harvester.h"
#include "library/recorder.h"

#include <QObject>
#include <QString>

#include <memory>

namespace Library {

class Store;

// Keeps every run of a harvester in the library: a run row per harvest or search, a sighting
// (one transaction) per row as its detail page is done with. Recording failures reach warn,
// once per run; the harvest never hears of them.
class HarvestRecording : public QObject
{
    Q_OBJECT

public:
    // store may be null (no library): then nothing is kept. sharePrefix makes the share URLs.
    HarvestRecording(Harvest::Harvester &harvester, Store *store, QString sharePrefix, Recorder::Warn warn,
                     QObject *parent = nullptr);
    ~HarvestRecording() override;

    void setSharePrefix(const QString &sharePrefix) { m_sharePrefix = sharePrefix; }

private:
    void start(Harvest::RunKind kind);
    void record(const Harvest::ResourceEntry &entry);
    void finish(const Harvest::HarvestResult &result);

    Harvest::Harvester &m_harvester;
    Store *m_store;
    QString m_sharePrefix;
    Recorder::Warn m_warn;
    std::unique_ptr<Recorder> m_run;
    Harvest::RunKind m_kind = Harvest::RunKind::Listing;
};

// "rows", "no entries", "listing failed", "superseded": how a run ended, as the library keeps it.
QString outcomeName(Harvest::HarvestOutcome outcome);

} // namespace Library
