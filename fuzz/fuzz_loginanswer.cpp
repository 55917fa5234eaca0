// The reading of any forum answer (GBK bytes, as they come off the wire): exactly one outcome,
// consistent with the markers and values that decided it, every text cut from the answer.
#include "login/loginanswer.h"
#include "text/gbk.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using Login::LoginOutcome;
    const QString answer = Text::fromGbk(QByteArrayView(data, static_cast<qsizetype>(size)));
    const Login::LoginResult result = Login::classifyAnswer(answer);
    const bool welcomed = answer.contains(u"欢迎您回来");
    bool consistent = false;
    switch (result.outcome) {
    case LoginOutcome::Success:
    case LoginOutcome::Banned:
        consistent = welcomed && !result.userName.isEmpty() && !result.userGroup.isEmpty();
        break;
    case LoginOutcome::LoginDataError:
        consistent = welcomed && (result.userName.isEmpty() || result.userGroup.isEmpty());
        break;
    case LoginOutcome::FailureText:
        consistent = !welcomed && answer.contains(u"失败") && !result.message.contains(u'<');
        break;
    case LoginOutcome::ForumMessage:
        consistent = !welcomed && !result.message.isEmpty();
        break;
    case LoginOutcome::ForumFailure:
        consistent = !welcomed && result.message.isEmpty();
        break;
    case LoginOutcome::NoConnection:
        break;
    }
    // The message, user name, group and uid are pieces of the answer, never longer than it.
    const qsizetype longest = std::max({result.message.size(), result.userName.size(), result.userGroup.size(),
                                        result.uid ? result.uid->size() : 0});
    if (!consistent || longest > answer.size())
        std::abort();
    return 0;
}
