// Screen-space particles and map-cell markers.
#pragma once

// Throws up dust motes: 10, or 56 when wide.
void spawn_motes(bool wide);
// Marks a map cell where an urn broke; the oldest of 4 markers is dropped.
void marker_add(int x, int y);

// Drops every particle and marker.
void particles_reset();
