#include "net/networkaccess.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QPointer>

namespace Net {

QNetworkAccessManager &networkManager()
{
    static QPointer<QNetworkAccessManager> manager;
    if (!manager) {
        Q_ASSERT(QCoreApplication::instance());
        manager = new QNetworkAccessManager(QCoreApplication::instance());
        // Every page is asked for fresh; the redirect policy a browser would follow.
        manager->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    }
    return *manager;
}

} // namespace Net
