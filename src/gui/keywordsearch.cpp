#include "gui/keywordsearch.h"

#include "gui/statusbar.h"
#include "harvest/keywordrefusal.h"

#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace Gui {

KeywordSearch::KeywordSearch(Harvest::Harvester &harvester, const MainWindowControls &controls, const MessageBoxSeam &messageBox)
    : m_harvester(harvester)
    , m_controls(controls)
    , m_messageBox(messageBox)
{
    QObject::connect(controls.searchButton, &QPushButton::clicked, controls.searchButton, [this] { search(); });
    QObject::connect(&harvester, &Harvest::Harvester::finished, controls.searchButton, [this](const Harvest::HarvestResult &result) {
        if (result.kind == Harvest::RunKind::Search && result.outcome == Harvest::HarvestOutcome::NoEntries)
            m_messageBox(u"未搜索到相关资源"_s, MessageIcon::Information, messageTitle());
    });
}

void KeywordSearch::search()
{
    // As typed: the search sends spaces and letter case unchanged.
    const QString keyword = m_controls.keywordEdit->text();
    if (const QString refusal = Harvest::keywordRefusal(keyword); !refusal.isEmpty()) {
        m_controls.statusBar->setPanelText(MainStatusPanel, refusal);
        m_messageBox(refusal, MessageIcon::Information, messageTitle());
        return;
    }
    m_harvester.searchKeyword(keyword);
}

} // namespace Gui
