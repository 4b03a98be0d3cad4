// The background sender that posts the telemetry outboxes.
#pragma once

void telemetry_start();
// Once per step: starts a send when new records are waiting.
void telemetry_pump();
