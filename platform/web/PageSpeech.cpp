#include "platform/web/PageSpeech.h"

#include <emscripten.h>

namespace pw {

namespace {

// clang-format off
EM_JS(void, pw_page_say, (const char* line), {
    if (Module.say) Module.say(UTF8ToString(line));
});
// clang-format on

}  // namespace

void SayOnPage(const std::string& line) { pw_page_say(line.c_str()); }

}  // namespace pw
