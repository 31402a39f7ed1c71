#include "report/page.h"

namespace report {

QList<const Command *> Page::find(const QString &elementName) const
{
    QList<const Command *> found;
    for (const Command &command : commands) {
        if (command.element == elementName)
            found.append(&command);
    }
    return found;
}

} // namespace report
