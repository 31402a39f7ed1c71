#include "app/resources.h"

#include "sheets/resources.h"

#include <QtGlobal>

static void initAppResources()
{
    Q_INIT_RESOURCE(app);
}

namespace app {

void ensureResources()
{
    static const bool initialised = (initAppResources(), true);
    Q_UNUSED(initialised);
    sheets::ensureResources();
}

} // namespace app
