#pragma once

#include <QString>
#include <functional>

namespace campanor {

// The output the players are built on: CAMPANOR_AUDIO_SINK when set, else
// the operator's stored choice while it can play, else autoaudiosink.
namespace soundOutput {

// How long building a player waits for the stored output's check.
constexpr int kCheckWaitMs = 100;

// Takes the stored output (a sink description; empty for the default) for
// the players built from now on, and checks on a worker thread that it
// plays. One that does not is said once, through the as-run log and
// `missing`, and the default output serves instead.
void useStored(const QString& description, std::function<void(const QString&)> missing = {});

// The stored output when it is in use; empty for the default. A check still
// running is waited for up to kCheckWaitMs; an output still being checked
// after that is taken as it is.
QString storedInUse();

// Why a short sound does not reach the output a description names; empty
// when it does. Blocks for up to a second and a half.
QString failureOf(const QString& description);

} // namespace soundOutput

} // namespace campanor
