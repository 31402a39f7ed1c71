#include "sheets/resources.h"

#include <QtGlobal>

static void initSheetResources()
{
    Q_INIT_RESOURCE(sheets);
}

namespace sheets {

void ensureResources()
{
    static const bool initialised = (initSheetResources(), true);
    Q_UNUSED(initialised);
}

} // namespace sheets
