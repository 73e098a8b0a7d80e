// Replaces entries of the platform table for one test and puts the real ones back afterwards.
#pragma once
#include "shell/monitor.h"
#include "shell/platform.h"

class PlatformOverride {
public:
    PlatformOverride() : saved_(Platform) {}
    ~PlatformOverride()
    {
        Platform = saved_;
        ResetMonitorLookup();
    }
    PlatformOverride(const PlatformOverride&) = delete;
    PlatformOverride& operator=(const PlatformOverride&) = delete;

private:
    PlatformFunctions saved_;
};
