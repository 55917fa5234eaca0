#include "gui/runlocks.h"

#include <QPushButton>

#include <utility>

namespace Gui {

RunLocks::RunLocks(Harvest::Harvester &harvester, const MainWindowControls &controls)
    : m_controls(controls)
{
    QObject::connect(&harvester, &Harvest::Harvester::runStarted, controls.searchButton,
                     [this](Harvest::RunKind kind) { lock(kind); });
    QObject::connect(&harvester, &Harvest::Harvester::finished, controls.searchButton,
                     [this](const Harvest::HarvestResult &result) { release(result); });
}

void RunLocks::lock(Harvest::RunKind kind)
{
    m_controls.searchButton->setEnabled(false);
    if (kind == Harvest::RunKind::Search) {
        m_pagingLocked = true;
        setPagingEnabled(false);
    }
    m_controls.exportButton->setEnabled(false);
}

void RunLocks::release(const Harvest::HarvestResult &result)
{
    if (result.outcome == Harvest::HarvestOutcome::Superseded)
        return;
    // A search leaves export usable even over an empty list; a listing harvest only with rows.
    if (result.outcome == Harvest::HarvestOutcome::Rows || result.kind == Harvest::RunKind::Search)
        m_controls.exportButton->setEnabled(true);
    if (std::exchange(m_pagingLocked, false))
        setPagingEnabled(true);
    m_controls.searchButton->setEnabled(true);
}

void RunLocks::setPagingEnabled(bool enabled)
{
    for (QPushButton *button : {m_controls.nextPageButton, m_controls.previousPageButton})
        button->setEnabled(enabled);
}

} // namespace Gui
