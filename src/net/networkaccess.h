#pragma once

class QNetworkAccessManager;
class QNetworkReply;

// The process's one network manager: one cookie store for every request and reused
// connections. Created on first use and owned by the application object, so it needs a
// QCoreApplication and goes away with it.
namespace Net {

QNetworkAccessManager &networkManager();

// A status line arrived and the transfer ran to its end: the answer's body is the page, whatever
// the status (Qt files 400, 401, 407, 418 and others under various errors). Without a status, or
// cut short after it (reset, timeout, abort, a body that breaks the protocol), there is no page.
bool isCompleteHttpAnswer(const QNetworkReply &reply);

} // namespace Net
