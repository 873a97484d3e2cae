#include "db/dbresult.h"

#include "support/diagnostics.h"

DbResult execute(QSqlQuery& query)
{
    const DbResult result = DbResult::of(query, query.exec());
    if (!result)
        qCWarning(lcDb) << query.lastQuery() << "failed:" << result.error;
    return result;
}
