#include "login/avatarlookup.h"

#include "login/pictureformat.h"
#include "net/networkaccess.h"
#include "net/request.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace Login {

namespace {

constexpr qsizetype kLongestUid = 5;   // the store's paths hold nine digits, four of them fixed
constexpr qsizetype kPaddedLength = 9;

// A character of the uid as it stands in the path; only digits and "." are expected, anything
// else is percent-encoded so that it cannot leave its path segment.
QString segment(QStringView text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text.toString()));
}

} // namespace

bool isNumericAccount(const QString &text)
{
    static const QRegularExpression numeric(u"\\A[+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)\\z"_s);
    return numeric.match(text).hasMatch();
}

QString avatarUrl(const QString &forumBaseUrl, const QString &uid)
{
    if (uid.isEmpty() || uid.size() > kLongestUid)
        return {};
    const QString padded = QString(kPaddedLength - uid.size(), u'0') + uid;
    const QStringView digits(padded);
    return forumBaseUrl + u"uc_server/data/avatar/"_s + segment(digits.first(3)) + u'/' + segment(digits.sliced(3, 2))
        + u'/' + segment(digits.sliced(5, 2)) + u'/' + segment(digits.sliced(7, 2)) + u"_avatar_middle.jpg"_s;
}

AvatarLookup::AvatarLookup(QString forumBaseUrl, std::chrono::milliseconds transferTimeout, QObject *parent)
    : QObject(parent)
    , m_forumBaseUrl(std::move(forumBaseUrl))
    , m_transferTimeout(transferTimeout)
{
}

AvatarLookup::~AvatarLookup() = default;

void AvatarLookup::lookUp(const QString &uid)
{
    m_reply.reset(); // only the newest lookup reports
    m_uid = uid;
    const QUrl url(avatarUrl(m_forumBaseUrl, uid), QUrl::StrictMode);
    if (!url.isValid() || url.isRelative()) {
        emit finished({uid, {}});
        return;
    }
    m_reply.reset(Net::networkManager().get(Net::request(url, {.transferTimeout = m_transferTimeout})));
    Net::limitAnswer(*m_reply, kLargestPicture);
    connect(m_reply.get(), &QNetworkReply::finished, this, &AvatarLookup::onProbeFinished);
}

void AvatarLookup::onProbeFinished()
{
    const Net::ReplyPtr reply = std::move(m_reply);
    QByteArray bytes;
    // No error also means no more than kLargestPicture: limitAnswer aborts a larger answer.
    if (reply->error() == QNetworkReply::NoError) {
        bytes = reply->readAll();
        // Told by the bytes, not by the type the server names: an error page may call itself
        // an image, and only the four stored formats are decoded.
        if (!pictureFormat(bytes))
            bytes.clear();
    }
    emit finished({m_uid, bytes});
}

} // namespace Login
