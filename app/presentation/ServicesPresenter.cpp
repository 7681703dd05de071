#include "ServicesPresenter.h"

#include "AppServices.h"

namespace vorlie {

void ServicesPresenter::componentComplete()
{
    AppServices *services = AppServices::of(this);
    if (!services) {
        // Without services a view shows nothing at all; say why.
        qWarning("%s was made by an engine that does not provide the app's services: it shows nothing",
                 metaObject()->className());
        return;
    }
    bind(*services);
}

} // namespace vorlie
