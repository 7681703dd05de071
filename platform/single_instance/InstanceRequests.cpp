#include "InstanceRequests.h"

namespace vorlie {

void InstanceRequests::deliver(const InstanceRequest &request)
{
    emit activateRequested(request.activationToken);
    if (request.kind == InstanceRequest::Kind::home)
        emit homeRequested();
    else if (request.kind == InstanceRequest::Kind::statusPicker)
        emit statusPickerRequested();
}

} // namespace vorlie
