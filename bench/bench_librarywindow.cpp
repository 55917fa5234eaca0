// The library window on a large library, timed offscreen: the first rows painted after the
// window opens, one filter change (the work after the search box's pause), a sort of every
// column, and the process's peak memory. Run: bench_librarywindow [ROWS] (200000 by default);
// the library is filled first in a process of its own, so its memory is not counted.
#include "gui/librarywindow.h"
#include "library/store.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

QTextStream out(stdout);

const QStringList kWords{u"纪录片"_s, u"电影"_s, u"合集"_s, u"高清"_s, u"教程"_s, u"音乐"_s, u"英语"_s, u"动画"_s,
                         u"Python"_s, u"考研"_s, u"小说"_s, u"软件"_s};

int fill(const QString &path, int rows)
{
    Library::Opened opened = Library::openStore(path);
    if (!opened.store)
        return out << opened.error << Qt::endl, 1;
    QElapsedTimer timer;
    timer.start();
    const QDateTime start = QDateTime::currentDateTime().addDays(-400);
    constexpr int kBatch = 10000;
    for (int first = 0; first < rows; first += kBatch) {
        qint64 run = 0;
        opened.store->startRun(Library::RunKind::Page, QString::number(first / kBatch), run);
        QList<Library::Sighting> batch;
        for (int i = first; i < std::min(rows, first + kBatch); ++i) {
            Library::Sighting s;
            const QString code = u"s/"_s + QString::number(i, 36);
            s.entry = {QString::number(i % 20 + 1),
                       kWords[i % kWords.size()] + u' ' + kWords[(i / 7) % kWords.size()] + u" 第"_s
                           + QString::number(i % 997) + u"集"_s,
                       QString::number(i % 300), code, u"id"_s + QString::number(i), QString::number(i % 9000, 36)};
            s.shareUrl = u"http://yunpan.test/"_s + code;
            s.page = first / kBatch;
            s.seenAt = start.addSecs(i * 60);
            batch.append(s);
        }
        if (const QString error = opened.store->recordBatch(run, batch); !error.isEmpty())
            return out << error << Qt::endl, 1;
        opened.store->endRun(run, u"rows"_s);
    }
    out << "filled " << rows << " rows in " << timer.elapsed() << " ms" << Qt::endl;
    return 0;
}

// Paints the view's rows now and returns the milliseconds since timer started.
qint64 painted(Gui::LibraryWindow &window, const QElapsedTimer &timer)
{
    window.view().viewport()->repaint();
    return timer.elapsed();
}

// Notes when the watched widget is first painted.
struct FirstPaint : QObject
{
    explicit FirstPaint(const QElapsedTimer &started) : timer(started) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && at < 0)
            at = timer.elapsed();
        return false;
    }
    const QElapsedTimer &timer;
    qint64 at = -1;
};

long peakKib()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

int measure(const QString &path)
{
    Library::Opened opened = Library::openStore(path);
    if (!opened.store)
        return out << opened.error << Qt::endl, 1;
    Gui::LibraryWindowSetup setup;
    setup.store = opened.store.get();
    setup.defaultTemplate = u"{url} {code}"_s;

    QElapsedTimer timer;
    {
        // What any first window costs here (fonts, style), for comparison.
        timer.start();
        QTableView empty;
        FirstPaint emptyPaint(timer);
        empty.viewport()->installEventFilter(&emptyPaint);
        empty.show();
        if (!QTest::qWaitFor([&] { return emptyPaint.at >= 0; }))
            return 1;
        out << "an empty table's first paint: " << emptyPaint.at << " ms" << Qt::endl;
    }
    timer.restart();
    Gui::LibraryWindow window(setup);
    FirstPaint firstPaint(timer);
    window.view().viewport()->installEventFilter(&firstPaint);
    window.show();
    if (!QTest::qWaitFor([&] { return firstPaint.at >= 0; }))
        return 1;
    out << "open to first rows painted: " << firstPaint.at << " ms";
    window.model().ids();
    out << ", all rows: " << timer.elapsed() << " ms (" << window.model().rowCount() << " rows)" << Qt::endl;

    // What the search box's pause ends in: the filter applied and the rows painted again. No
    // filter applies sooner than that pause after the window opened.
    QTest::qWait(Gui::LibraryWindow::kSearchDelayMs);
    auto *search = window.findChild<QLineEdit *>(u"search"_s);
    for (const QString &text : {u"纪"_s, u"纪录"_s, u"纪录片 第9"_s, u"Python"_s, QString()}) {
        search->setText(text);
        timer.restart();
        window.model().setFilter(window.filter());
        out << "filter \"" << text << "\": " << painted(window, timer) << " ms (" << window.model().rowCount() << " rows)" << Qt::endl;
    }

    QTest::qWait(3000); // the title order is built in the background once rows are shown
    for (int column = 0; column < Gui::LibraryModel::ColumnCount; ++column) {
        for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            timer.restart();
            window.view().sortByColumn(column, order);
            out << "sort " << window.model().headerData(column, Qt::Horizontal).toString()
                << (order == Qt::AscendingOrder ? " ascending: " : " descending: ") << painted(window, timer) << " ms";
            window.model().ids(); // the rows after the first ones
            out << ", all rows: " << timer.elapsed() << " ms" << Qt::endl;
        }
    }
    out << "peak memory: " << peakKib() / 1024 << " MiB" << Qt::endl;
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.value(1) == u"--measure")
        return measure(arguments.value(2));
    if (arguments.value(1) == u"--fill")
        return fill(arguments.value(2), arguments.value(3).toInt());

    const int rows = arguments.size() > 1 ? arguments.at(1).toInt() : 200000;
    const QTemporaryDir dir;
    const QString path = dir.filePath(u"library.sqlite"_s);
    for (const QStringList &step : {QStringList{u"--fill"_s, path, QString::number(rows)}, QStringList{u"--measure"_s, path}}) {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QCoreApplication::applicationFilePath(), step);
        if (!process.waitForFinished(-1) || process.exitCode() != 0)
            return 1;
    }
    return 0;
}
