#include "library/knownshares.h"

#include "library/sqlexec.h"

#include <QSqlQuery>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace Library {

bool isKnownShare(const Store &store, const QString &entryId, const QString &shareUrl)
{
    // NULLIF: an empty id or URL matches no share (shares without an entry id hold '').
    QSqlQuery query(store.database());
    return exec(query,
                u"SELECT 1 FROM shares WHERE key = NULLIF(?, '') OR key = NULLIF(?, '') OR entry_id = NULLIF(?, '') LIMIT 1"_s,
                {shareUrl, entryId, entryId})
        && query.next();
}

} // namespace Library
