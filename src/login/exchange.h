#pragma once

#include "login/loginanswer.h"
#include "login/loginform.h"
#include "config/endpoints.h"
#include "net/networkaccess.h"

#include <QObject>

// One login at the forum: the connectivity probe, the login POST and the reading of its answer.
namespace Login {

class Exchange : public QObject
{
    Q_OBJECT

public:
    explicit Exchange(const Config::Endpoints &endpoints, QObject *parent = nullptr);
    ~Exchange() override; // abandons a pending request

    // Probes the network (waiting for it while events are processed), then posts form and
    // returns while the forum answers. Emits finished exactly once per call: NoConnection when
    // the probe yields no text or the login request fails or times out; ForumFailure when the
    // answer passes 1 MiB or redirects to another origin (the form is not sent there);
    // otherwise the outcome the answer carries. A login still pending is abandoned first and
    // emits nothing more.
    void start(const LoginForm &form);

    // Ends the login under way, in its probe or its request; it emits nothing more.
    void cancel();

signals:
    // The status text once the request is under way.
    void statusChanged(const QString &text);
    void finished(const Login::LoginResult &result);

private:
    void readAnswer();

    QString m_forum;
    QString m_probe;
    std::chrono::milliseconds m_transferTimeout;
    Net::ReplyPtr m_reply; // the login request under way
    quint64 m_run = 0; // the newest start()
};

} // namespace Login
