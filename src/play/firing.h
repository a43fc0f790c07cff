// Hit-scan firing: the ray pattern of each weapon marched through the grid.
#pragma once

// Fires one shot of g_weapon at once.
void fire();
