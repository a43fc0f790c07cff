// STUB: to be written.
#include "world/contacts.h"
#include "world/grid.h"
void resolveContacts() { rebuildGrid(); }
