#pragma once

#include <functional>

namespace campanor {

// Shut down, restart or log off. A refusal (no privilege, an inhibitor, no
// service) does nothing and reports nothing. `done` runs once the request
// has been answered or has failed, never before it was sent.
class Power {
  public:
    using Done = std::function<void()>;
    virtual ~Power() = default;
    virtual void ShutDownNow(Done done = {}) = 0;
    virtual void RestartNow(Done done = {}) = 0;
    virtual void LogOffNow(Done done = {}) = 0;
};

} // namespace campanor
