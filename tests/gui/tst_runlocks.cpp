#include "gui/mainwindowcontrols.h"
#include "gui/runlocks.h"

#include <QPushButton>
#include <QTest>

using Harvest::HarvestOutcome;
using Harvest::RunKind;
using namespace Qt::StringLiterals;

// The events of runs as the harvester reports them: "L" / "S" a listing / search started,
// "L=outcome" / "S=outcome" one ended (R rows, N no entries, F failed, X superseded).
class TestRunLocks : public QObject
{
    Q_OBJECT

private slots:
    void buttonsFollowTheNewestRun_data()
    {
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("enabled"); // search, export, paging: 1 on, 0 off
        QTest::newRow("listing runs") << u"L"_s << u"001"_s;
        QTest::newRow("listing with rows") << u"L L=R"_s << u"111"_s;
        QTest::newRow("listing without rows") << u"L L=N"_s << u"101"_s;
        QTest::newRow("search runs") << u"S"_s << u"000"_s;
        QTest::newRow("search found nothing") << u"S S=N"_s << u"111"_s;
        QTest::newRow("search failed") << u"S S=F"_s << u"111"_s;
        QTest::newRow("listing supersedes search") << u"S L L=R S=X"_s << u"111"_s;
        QTest::newRow("superseded end changes nothing") << u"L L S=X"_s << u"001"_s;
    }
    void buttonsFollowTheNewestRun()
    {
        QFETCH(QString, events);
        QFETCH(QString, enabled);
        QWidget window;
        Harvest::ResultList list;
        const Gui::MainWindowControls controls = Gui::createMainWindowControls(window, list);
        for (QPushButton *button : {controls.searchButton, controls.exportButton, controls.nextPageButton, controls.previousPageButton})
            button->setEnabled(true);
        Harvest::Harvester harvester(list, {});
        const Gui::RunLocks locks(harvester, controls);

        for (const QString &event : events.split(u' ')) {
            const RunKind kind = event.startsWith(u'S') ? RunKind::Search : RunKind::Listing;
            if (event.size() == 1) {
                emit harvester.runStarted(kind);
                continue;
            }
            Harvest::HarvestResult result;
            result.kind = kind;
            const QChar outcome = event.back();
            result.outcome = outcome == u'R' ? HarvestOutcome::Rows
                : outcome == u'N'            ? HarvestOutcome::NoEntries
                : outcome == u'F'            ? HarvestOutcome::ListingFailed
                                             : HarvestOutcome::Superseded;
            emit harvester.finished(result);
        }
        QString states;
        for (QPushButton *button : {controls.searchButton, controls.exportButton, controls.nextPageButton})
            states += button->isEnabled() ? u'1' : u'0';
        QCOMPARE(states, enabled);
        QCOMPARE(controls.previousPageButton->isEnabled(), controls.nextPageButton->isEnabled());
    }
};

QTEST_MAIN(TestRunLocks)
#include "tst_runlocks.moc"
