#pragma once

#include <QString>

namespace campanor {

// Start with the system: an XDG autostart entry named Clock.desktop.
class AutoStart {
  public:
    virtual ~AutoStart() = default;
    virtual bool enable(const QString& programPath) = 0;
    virtual bool disable() = 0;
};

class XdgAutoStart : public AutoStart {
  public:
    bool enable(const QString& programPath) override;
    bool disable() override;
    static QString entryPath();
};

} // namespace campanor
