#include "bridge/OrvaneCall.h"

#include <cstdlib>
#include <cstring>

namespace orvane {

char* orvaneCall(const char* request) {
    return strdup("{\"error\":\"未知原生操作\",\"ok\":false}");
}

void orvaneFree(char* reply) { std::free(reply); }

}  // namespace orvane
