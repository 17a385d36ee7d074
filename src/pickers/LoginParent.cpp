#include "LoginParent_p.h"

#include <QObject>

namespace VarnelQt5 {

bool insideReadOnlyLoginWidget(const QObject *picker)
{
    // The login label widget is the only parent that changes a picker's range;
    // it is not part of the library yet, so no parent is one.
    Q_UNUSED(picker);
    return false;
}

} // namespace VarnelQt5
