#include "windows/frm_query.h"

frm_query::frm_query(Program& program)
    : ConversationForm(program, {QStringLiteral("query"), QStringLiteral("WIN_QUERY_")}) {}

void frm_query::disp(const QString& txt, bool timestamp, const QString& col) {
    dispLine(txt, timestamp, col);
}
