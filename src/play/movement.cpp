// STUB: to be written.
#include "play/movement.h"
void normalize(Vec3&) {}
void movePlayer() {}
