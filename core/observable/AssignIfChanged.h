#pragma once

namespace vorlie {

// Stores `value` and emits `changed` only when it differs from what `field`
// holds, so the observers of an observable object hear of real changes only.
template<typename Owner, typename T>
void assignIfChanged(Owner *owner, T &field, const T &value, void (Owner::*changed)())
{
    if (field == value)
        return;
    field = value;
    emit(owner->*changed)();
}

} // namespace vorlie
