#include "gui/librarylinkcheck.h"

#include "gui/librarymodel.h"
#include "library/linkrecheck.h"

#include <QAction>
#include <QLabel>
#include <QShortcut>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace Gui {

namespace {

QString summaryText(const Library::RecheckSummary &summary, int total)
{
    const int done = summary.checked + summary.fresh + summary.noLink + summary.givenUp;
    QString text = summary.stopped ? u"链接检查已停止 %1/%2"_s.arg(done).arg(total)
                                   : u"已检查链接 %1 个"_s.arg(summary.checked);
    if (summary.fresh > 0)
        text += u"，%1 个近期已检查"_s.arg(summary.fresh);
    if (summary.noLink > 0)
        text += u"，%1 个没有链接"_s.arg(summary.noLink);
    if (summary.givenUp > 0)
        text += u"，%1 个未检查（网站要求暂停过久）"_s.arg(summary.givenUp);
    return text;
}

} // namespace

LibraryLinkCheck::LibraryLinkCheck(Parts parts, QWidget &window)
    : QObject(&window)
    , m_parts(parts)
    , m_escape(new QShortcut(QKeySequence::Cancel, &window))
{
    m_escape->setEnabled(false);
    connect(m_escape, &QShortcut::activated, this, &LibraryLinkCheck::stop);
}

QString LibraryLinkCheck::run(const QList<Library::ShareRecord> &shares)
{
    if (isRunning() || !isAvailable())
        return {};
    const Config::Endpoints endpoints = *m_parts.endpoints;
    Crawl::StopSwitch stop;
    Crawl::Fetcher fetcher(Library::recheckPacing(endpoints), stop);
    Library::LinkRecheck recheck(m_parts.store, fetcher, endpoints.profile);

    m_stop = &stop;
    m_escape->setEnabled(true);
    const QString caption = m_parts.action.text();
    m_parts.action.setText(u"停止检查"_s);
    const int total = static_cast<int>(shares.size());
    m_parts.status.setText(u"正在检查链接 0/%1"_s.arg(total));
    const Library::RecheckSummary summary = recheck.run(shares, [&](const Library::RecheckProgress &step) {
        m_parts.status.setText(u"正在检查链接 %1/%2"_s.arg(step.done).arg(total));
        if (step.outcome == Library::RecheckOutcome::Checked)
            m_parts.model.rereadRecords();
    });
    m_stop = nullptr;
    m_escape->setEnabled(false);
    m_parts.action.setText(caption);
    m_parts.status.setText(summaryText(summary, total));
    emit finished();
    return summary.error;
}

void LibraryLinkCheck::stop()
{
    if (m_stop)
        m_stop->turnOn();
}

} // namespace Gui
