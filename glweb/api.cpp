// The entry points, generated from the table of commands, and the table that runs them.
#include "commands.h"

namespace glweb {
namespace {

using Run = void (*)(const Param*);

#define GLWEB_RUN_ROW(name, parameters, values) run##name,
#define GLWEB_PART_RUN_ROW(name) run##name,
constexpr Run kRuns[] = {
    GLWEB_COMMANDS(GLWEB_RUN_ROW, GLWEB_RUN_ROW, GLWEB_NO_ROW, GLWEB_PART_RUN_ROW)};
#undef GLWEB_RUN_ROW
#undef GLWEB_PART_RUN_ROW
static_assert(sizeof(kRuns) / sizeof(kRuns[0]) == static_cast<int>(Op::Count), "a run per op");

}  // namespace

void execute(const Param* command) {
    kRuns[command->head.op](command + 1);
}

// C linkage names the same functions as <GL/gl.h> declares, in whatever namespace.
#define GLWEB_COMMAND_ENTRY(name, parameters, values) \
    extern "C" void gl##name parameters { glweb::Submit<glweb::Op::name>() values; }
#define GLWEB_ENTRY(type, name, parameters, arguments) \
    extern "C" type gl##name parameters { return name arguments; }

GLWEB_COMMANDS(GLWEB_COMMAND_ENTRY, GLWEB_COMMAND_ENTRY, GLWEB_ENTRY, GLWEB_NO_ROW)

}  // namespace glweb
