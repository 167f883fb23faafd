#include "platform/web/PageSpeech.h"

#include "platform/web/PageContract.h"

namespace pw {

void SayOnPage(const std::string& line) { pw_page_say(line.c_str()); }

}  // namespace pw
