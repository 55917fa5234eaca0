#include "gui/librarybatch.h"
#include "gui/librarytexts.h"
#include "gui/librarywindow.h"
#include "library/store.h"
#include "support/demositerows.h"
#include "library/watches.h"
#include "support/libraryfill.h"
#include "support/recordedform.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;
using Gui::LibraryModel;

class LibraryWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void window();
    void modelReadsTheRestAfterTheFirstRows();
    void checkLinksOfTheSelection();
    void mainListMarksKnownShares();
    void watchesAreSources();
};

namespace {

const QDateTime kStart(QDate(2024, 5, 1), QTime(9, 30));

// The window's seams, recorded.
struct RecordedSeams
{
    QStringList questions;
    QList<QUrl> opened;
    QStringList messages;

    Gui::LibraryWindowSetup setup(Library::Store &store, const QString &statePath)
    {
        Gui::LibraryWindowSetup setup;
        setup.store = &store;
        setup.defaultTemplate = u"{title} {code}"_s;
        setup.statePath = statePath;
        setup.messageBox = [this](const QString &text, Gui::MessageIcon, const QString &) { messages.append(text); };
        setup.ask = [this](const QString &text, const QString &) {
            questions.append(text);
            return true;
        };
        setup.openUrl = [this](const QUrl &url) { opened.append(url); };
        setup.saveFile = [](const QString &, const QString &, const QString &) { return QString(); };
        return setup;
    }
};

QStringList titles(const LibraryModel &model)
{
    QStringList shown;
    for (int row = 0; row < model.rowCount(); ++row)
        shown.append(model.recordAt(row).title);
    return shown;
}

void trigger(QWidget &window, const char *action)
{
    window.findChild<QAction *>(QLatin1StringView(action))->trigger();
}

} // namespace

void LibraryWindowTest::window()
{
    TemporaryLibrary library;
    QVERIFY2(library.opened.store, qPrintable(library.opened.error));
    QList<Library::Sighting> sightings{TemporaryLibrary::sighting(u"纪录片 第10集"_s, u"s/10"_s, u"c10"_s, kStart),
                                       TemporaryLibrary::sighting(u"纪录片 第2集"_s, u"s/2"_s, u"c2"_s, kStart.addSecs(1))};
    for (int i = 0; i < 23; ++i)
        sightings.append(TemporaryLibrary::sighting(u"资源 %1"_s.arg(i), u"r/%1"_s.arg(i), u"r%1"_s.arg(i), kStart.addSecs(10 + i)));
    QVERIFY(library.record(sightings));

    RecordedSeams seams;
    const QString statePath = library.dir.filePath(u"state.ini"_s);
    auto *window = new Gui::LibraryWindow(seams.setup(library.store(), statePath));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    LibraryModel &model = window->model();
    QCOMPARE(model.rowCount(), 25);
    QCOMPARE(model.recordAt(0).title, u"资源 22"_s); // last seen first

    auto *search = window->findChild<QLineEdit *>(u"search"_s);
    for (const QChar c : u"纪录片"_s) // typed (keyClicks knows ASCII only)
        search->insert(c);
    QCOMPARE(model.rowCount(), 25); // the search waits for the typing to pause
    QTRY_COMPARE(model.rowCount(), 2);

    window->view().sortByColumn(LibraryModel::TitleColumn, Qt::AscendingOrder);
    QCOMPARE(titles(model), (QStringList{u"纪录片 第2集"_s, u"纪录片 第10集"_s})); // numbers by value

    window->view().selectAll();
    trigger(*window, "copy");
    QCOMPARE(QGuiApplication::clipboard()->text(), u"纪录片 第2集 c2\n纪录片 第10集 c10"_s);
    for (const Library::ShareRecord &share : library.store().records(model.ids()))
        QVERIFY(share.copiedAt.isValid());

    auto *shareTemplate = window->findChild<QLineEdit *>(u"template"_s);
    shareTemplate->setText(u"{title} {pwd} {code}"_s);
    QVERIFY(shareTemplate->toolTip().contains(u"{pwd}"_s));
    trigger(*window, "copy"); // an unknown placeholder is copied as written
    QVERIFY(QGuiApplication::clipboard()->text().startsWith(u"纪录片 第2集 {pwd} c2\n"_s));

    search->clear();
    QTRY_COMPARE(model.rowCount(), 25);
    window->view().selectAll();
    trigger(*window, "open");
    QCOMPARE(seams.questions.size(), 1);
    QCOMPARE(seams.opened.size(), Gui::LibraryBatch::kMostOpened);
    QCOMPARE(seams.opened.first(), QUrl(u"http://yunpan.test/s/2"_s)); // in the table's order

    window->view().selectRow(0);
    trigger(*window, "hide");
    QCOMPARE(model.rowCount(), 24);

    // The sort and the template come back with the next window.
    window->close();
    delete window;
    Gui::LibraryWindow reopened(seams.setup(library.store(), statePath));
    QCOMPARE(reopened.view().horizontalHeader()->sortIndicatorSection(), int(LibraryModel::TitleColumn));
    QCOMPARE(reopened.model().recordAt(0).title, u"纪录片 第10集"_s);
    QCOMPARE(reopened.findChild<QLineEdit *>(u"template"_s)->text(), u"{title} {pwd} {code}"_s);
    QVERIFY(seams.messages.isEmpty());
}

void LibraryWindowTest::modelReadsTheRestAfterTheFirstRows()
{
    TemporaryLibrary library;
    QList<Library::Sighting> sightings;
    const int count = LibraryModel::kFirstRows + 40;
    for (int i = 0; i < count; ++i) // every tenth one a 纪录片
        sightings.append(TemporaryLibrary::sighting((i % 10 ? u"资源 %1"_s : u"纪录片 %1"_s).arg(i), u"s/%1"_s.arg(i),
                                                    u"c"_s, kStart.addSecs(i)));
    QVERIFY(library.record(sightings));
    LibraryModel model(library.store());
    model.sort(LibraryModel::LastSeenColumn, Qt::AscendingOrder);
    QCOMPARE(model.rowCount(), LibraryModel::kFirstRows);
    QTRY_COMPARE(model.rowCount(), count);
    QCOMPARE(model.recordAt(count - 1).title, u"资源 %1"_s.arg(count - 1));

    Library::Query search;
    search.text = u"纪录"_s;
    model.setFilter(search); // the other filters are the same: the search runs on the ids held
    QCOMPARE(model.rowCount(), (count + 9) / 10);
    search.includeHidden = true; // read again: the first rows, then the rest
    model.setFilter(search);
    QCOMPARE(model.ids().size(), (count + 9) / 10);
    QCOMPARE(model.recordAt(model.rowCount() - 1).title, u"纪录片 %1"_s.arg((count - 1) / 10 * 10));
}

void LibraryWindowTest::checkLinksOfTheSelection()
{
    DemoSite::Server site(DemoSite::Options{.seed = 5});
    QVERIFY(site.start());
    const Config::Endpoints endpoints = DemoSiteRows::endpointsOf(site);
    const std::optional<DemoSite::Entry> live = DemoSiteRows::firstShareIn(site.catalog(), DemoSite::ShareState::Live);
    QVERIFY(live);
    TemporaryLibrary library;
    QVERIFY(library.record({TemporaryLibrary::sighting(u"有效"_s, QString::fromStdString(live->shareCode), u"c"_s, kStart, endpoints.sharePrefix),
                            TemporaryLibrary::sighting(u"未选"_s, u"s/x"_s, u"c"_s, kStart.addSecs(-1), endpoints.sharePrefix)}));
    RecordedSeams seams;
    Gui::LibraryWindowSetup setup = seams.setup(library.store(), {});
    setup.endpoints = &endpoints;
    Gui::LibraryWindow window(setup);
    auto *check = window.findChild<QAction *>(u"checkLinks"_s);
    QVERIFY(!check->isEnabled());
    window.view().selectRow(0); // last seen first: the live share
    QVERIFY(check->isEnabled());
    check->trigger();
    DemoSiteRows::stopSite(site);

    QCOMPARE(DemoSiteRows::shareVisits(site).size(), 1u);
    const LibraryModel &model = window.model();
    QCOMPARE(model.data(model.index(0, LibraryModel::LinkColumn)).toString(), Gui::linkStateText(Crawl::LinkState::Live));
    QVERIFY(model.data(model.index(1, LibraryModel::LinkColumn)).toString().isEmpty());
    QVERIFY(window.findChild<QLabel *>(u"status"_s)->text().contains(u'1'));
    QVERIFY(seams.messages.isEmpty());
}

void LibraryWindowTest::mainListMarksKnownShares()
{
    TemporaryLibrary library;
    QVERIFY(library.record({TemporaryLibrary::sighting(u"旧资源"_s, u"s/old"_s, u"c"_s, kStart)}));
    Config::Endpoints endpoints = Config::Endpoints::defaults();
    endpoints.sharePrefix = u"http://yunpan.test/"_s;
    RecordedForm f(endpoints, QTime(9, 5, 3), {}, {}, &library.store());
    f.form.resultList().append({{u"1"_s, u"旧资源"_s, u"1"_s, u"s/old"_s, u"id-old"_s, u"c"_s},
                                {u"2"_s, u"新资源"_s, u"1"_s, QString(), u"id-new"_s, u"d"_s}});
    // The second row's share is recorded after it came, as a run records it.
    QVERIFY(library.record({TemporaryLibrary::sighting(u"新资源"_s, u"s/new"_s, u"d"_s, QDateTime::currentDateTime())}));
    f.form.resultList().setShareCode(f.form.resultList().rowId(1), u"s/new"_s);

    const QAbstractItemModel *shown = f.child<QTreeView>("ListView1")->model();
    QCOMPARE(shown->data(shown->index(0, Harvest::TitleColumn), Qt::ToolTipRole).toString(), u"首次获取于 2024-05-01 09:30"_s);
    QVERIFY(shown->data(shown->index(0, Harvest::ShareCodeColumn), Qt::ForegroundRole).isValid());
    QCOMPARE(shown->data(shown->index(0, Harvest::TitleColumn)).toString(), u"旧资源"_s);
    QVERIFY(!shown->data(shown->index(1, Harvest::TitleColumn), Qt::ToolTipRole).isValid());
    QVERIFY(!shown->data(shown->index(1, Harvest::TitleColumn), Qt::ForegroundRole).isValid());
}

// The source filter offers each watch; choosing one shows the shares its runs found.
void LibraryWindowTest::watchesAreSources()
{
    TemporaryLibrary library;
    QVERIFY(library.record({TemporaryLibrary::sighting(u"页面资源"_s, u"s/page"_s, u"c"_s, kStart)}));
    for (const QString &name : {u"每日"_s, u"电影"_s}) {
        Library::Watch watch;
        watch.name = watch.keyword = name;
        QCOMPARE(Library::saveWatch(library.store(), watch), QString());
        qint64 run = 0;
        QCOMPARE(library.store().startRun(Library::RunKind::Watch, name, run), QString());
        QCOMPARE(library.store().record(run, TemporaryLibrary::sighting(name + u"资源"_s, u"s/"_s + name, u"c"_s, kStart)),
                 QString());
        QCOMPARE(library.store().endRun(run, u"rows"_s), QString());
    }
    RecordedSeams seams;
    Gui::LibraryWindow window(seams.setup(library.store(), {}));
    QCOMPARE(window.model().rowCount(), 3);
    auto *source = window.findChild<QComboBox *>(u"source"_s);
    const int watchItem = source->findText(u"监视：电影"_s);
    QVERIFY(watchItem > 0);
    source->setCurrentIndex(watchItem);
    QCOMPARE(titles(window.model()), QStringList{u"电影资源"_s});
    QVERIFY(!window.findChild<QLineEdit *>(u"sourceValue"_s)->isEnabled());
}

QTEST_MAIN(LibraryWindowTest)
#include "tst_librarywindow.moc"
