#pragma once

#include "net/networkaccess.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>

// The forum's avatar of a numeric account: its address on the forum's picture store, and one
// probe of that address that tells a stored picture from an error page.
namespace Login {

// True for digits with an optional leading sign and at most one decimal point ("42", "-3",
// "1.5", ".5"); a user name, an empty text or a lone sign is not numeric.
bool isNumericAccount(const QString &text);

// forumBaseUrl + "uc_server/data/avatar/" + the uid padded with zeros to nine characters and
// cut 3/2/2/2 + "_avatar_middle.jpg". uid is used character by character, so "1.5" works; an
// empty uid or one of six characters or more has no address (the empty text).
QString avatarUrl(const QString &forumBaseUrl, const QString &uid);

struct AvatarResult
{
    QString uid;
    QByteArray picture; // the probe's bytes when pictureFormat() knows them; empty otherwise
};

// Probes one avatar address and reports once per lookUp() whether a picture is stored there.
// The bytes of the probe are the picture, so a stored avatar costs one request.
class AvatarLookup : public QObject
{
    Q_OBJECT

public:
    // Larger answers are not an avatar; the transfer stops there.
    static constexpr qint64 kLargestPicture = 1 << 20;

    AvatarLookup(QString forumBaseUrl, std::chrono::milliseconds transferTimeout, QObject *parent = nullptr);
    ~AvatarLookup() override;

    // Starts the probe of uid's avatar. A lookup still running is dropped: only the newest
    // reports. A uid without an address reports an empty picture at once, without a request.
    void lookUp(const QString &uid);

signals:
    void finished(const Login::AvatarResult &result);

private:
    void onProbeFinished();

    QString m_forumBaseUrl;
    std::chrono::milliseconds m_transferTimeout;
    QString m_uid;
    Net::ReplyPtr m_reply; // the probe under way
};

} // namespace Login
