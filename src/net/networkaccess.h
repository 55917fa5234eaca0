#pragma once

#include <QtGlobal>

#include <chrono>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QUrl;

// The process's one network manager: one cookie store for every request and reused
// connections. Created on first use and owned by the application object, so it needs a
// QCoreApplication and goes away with it.
namespace Net {

QNetworkAccessManager &networkManager();

// A status line arrived and the transfer ran to its end: the answer's body is the page, whatever
// the status (Qt files 400, 401, 407, 418 and others under various errors). Without a status, or
// cut short after it (reset, timeout, abort, a body that breaks the protocol), there is no page.
bool isCompleteHttpAnswer(const QNetworkReply &reply);

// Owns a reply while a caller waits for it: on release its signals are cut, a running transfer
// is aborted and the reply is deleted later, when no signal of it is being delivered.
struct ReplyDeleter
{
    void operator()(QNetworkReply *reply) const;
};
using ReplyPtr = std::unique_ptr<QNetworkReply, ReplyDeleter>;

// The largest answer a page fetch takes (pages, the connectivity probe, the version file, the
// crawl's requests): no page the program reads comes near it.
inline constexpr qint64 kLargestPage = 16 << 20;

// Aborts reply as soon as more than limit bytes of its answer are held or announced, so a server
// that sends without end cannot fill the memory (the transfer timeout only catches silence). The
// reply then finishes as aborted and passedLimit() holds.
void limitAnswer(QNetworkReply &reply, qint64 limit);
bool passedLimit(const QNetworkReply &reply);

} // namespace Net

namespace Net {

// GETs url fresh (no cache, "If-Modified-Since: 0", the transfer timeout, kLargestPage) and waits for the
// answer in a nested event loop, which keeps a window alive meanwhile. QCoreApplication::exit()
// ends every running loop of the thread and makes later ones return at once, so the reply may
// come back unfinished: a closed window never leaves a caller waiting here.
ReplyPtr getPage(const QUrl &url, std::chrono::milliseconds transferTimeout);
// The same GET, sent without waiting: the caller connects to the reply's finished signal.
ReplyPtr startPage(const QUrl &url, std::chrono::milliseconds transferTimeout);

} // namespace Net
