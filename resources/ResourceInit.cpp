#include "resources/KorvanaResources.h"

#include <QtCore/qglobal.h>
#include <mutex>

// Outside any namespace, as the resource compiler's registration function requires.
static void RegisterKorvanaResources() {
    Q_INIT_RESOURCE(korvana);
}

namespace korvana {

void InitResources() {
    static std::once_flag once;
    std::call_once(once, RegisterKorvanaResources);
}

}  // namespace korvana
