// STUB: to be written.
#include "play/score.h"
void addScore(int) {}
void showNotice(std::string) {}
