#pragma once

#include "domain/StatusCatalogItem.h"
#include "sync/SyncSnapshot.h"

#include <vector>

namespace vorlie::sample {

// A complete, consistent signed-in world for views shown without the live
// service (design previews). Built once, on first use; "now" is that moment,
// so the relative times age afterwards like real data.
struct SampleData {
    User user;
    User partner;
    Status partnerStatus;
    Status ownStatus;
    Connection connection;
    MainPerson mainPerson;
    std::vector<StatusCatalogItem> catalog;
    SyncSnapshot snapshot;
    QString deviceId;
};

const SampleData &data();

} // namespace vorlie::sample
