#pragma once

#include "ScriptedReply.h"

#include <QByteArray>
#include <chrono>

namespace vorlie::testing {

// A scripted answer of the fake service: this status and body, sent `delay` late.
inline fake::ScriptedReply reply(int status, QByteArray body = {}, std::chrono::milliseconds delay = std::chrono::milliseconds(0))
{
    fake::ScriptedReply r;
    r.status = status;
    r.body = std::move(body);
    r.delay = delay;
    return r;
}

// An answer that breaks the exchange the given way.
inline fake::ScriptedReply misbehaving(fake::ScriptedReply::Behaviour behaviour, int status = 200, QByteArray body = {})
{
    fake::ScriptedReply r = reply(status, std::move(body));
    r.behaviour = behaviour;
    return r;
}

// The service's own answer, only `delay` later.
inline fake::ScriptedReply delayedServiceAnswer(std::chrono::milliseconds delay)
{
    fake::ScriptedReply r;
    r.serviceAnswer = true;
    r.delay = delay;
    return r;
}

} // namespace vorlie::testing
