#pragma once

#include <QString>
#include <functional>

namespace campanor {

// Shut down, restart or log off. `done` runs once the request has been
// answered or could not be made, never before it was sent: `accepted` says
// whether the system took it on, and `why` gives the system's reason when it
// did not (no privilege, an inhibitor, no service).
class Power {
  public:
    using Done = std::function<void(bool accepted, const QString& why)>;
    virtual ~Power() = default;
    virtual void ShutDownNow(Done done = {}) = 0;
    virtual void RestartNow(Done done = {}) = 0;
    virtual void LogOffNow(Done done = {}) = 0;
};

} // namespace campanor
