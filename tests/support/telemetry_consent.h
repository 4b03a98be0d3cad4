// Telemetry switched on with a fixed install id for one test, and off again after it.
#pragma once
#include "saves/settings.h"
#include "telemetry/events.h"

struct TelemetryConsent {
    TelemetryConsent() {
        settings.share_stats = 1;
        install_id_set("testid12");
    }
    ~TelemetryConsent() {
        settings.share_stats = 0;
        install_id_set("");
        install_id_forget();
    }
};
