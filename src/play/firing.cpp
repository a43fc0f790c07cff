// STUB: to be written.
#include "play/firing.h"
void fire() {}
