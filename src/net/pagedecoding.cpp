#include "net/pagedecoding.h"

#include "text/gbk.h"

#include <QRegularExpression>

namespace Net {

namespace {

constexpr qsizetype kMetaWindow = 2048; // where pages put their <meta> charset

QByteArray charsetParameter(QByteArrayView text)
{
    // charset=gbk, charset="utf-8", charset='gb2312'
    static const QRegularExpression pattern(QStringLiteral(R"(charset\s*=\s*["']?\s*([A-Za-z0-9._:\-]+))"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(text));
    return match.hasMatch() ? match.captured(1).toLatin1().toLower() : QByteArray();
}

} // namespace

QByteArray declaredCharset(QByteArrayView contentType, QByteArrayView body)
{
    QByteArray charset = charsetParameter(contentType);
    if (charset.isEmpty())
        charset = charsetParameter(body.first(std::min(body.size(), kMetaWindow)));
    return charset;
}

QString decodePage(QByteArrayView contentType, QByteArrayView body)
{
    QByteArray charset = declaredCharset(contentType, body);
    // Pages that say gb2312 are written by GBK editors; GBK is its superset.
    if (charset == "gb2312" || charset == "x-gbk" || charset == "cp936")
        charset = "GBK";
    return Text::decode(body, charset);
}

} // namespace Net
