#include "report/layout.h"

namespace report {

Element *Band::find(const QString &elementName)
{
    for (Element &element : elements) {
        if (element.name == elementName)
            return &element;
    }
    return nullptr;
}

const Element *Band::find(const QString &elementName) const
{
    return const_cast<Band *>(this)->find(elementName);
}

Element *Layout::find(const QString &elementName)
{
    for (Band *band : {&header, &detail, &footer}) {
        if (Element *element = band->find(elementName))
            return element;
    }
    return nullptr;
}

const Element *Layout::find(const QString &elementName) const
{
    return const_cast<Layout *>(this)->find(elementName);
}

} // namespace report
