#include "ServicesPresenter.h"

#include "AppServices.h"

namespace vorlie {

void ServicesPresenter::componentComplete()
{
    if (AppServices *services = AppServices::of(this))
        bind(*services);
}

} // namespace vorlie
