#include "orvane.h"

#include "bridge/OrvaneCall.h"

extern "C" __attribute__((visibility("default"))) char* orvane_call(const char* request) {
    return orvane::orvaneCall(request);
}

extern "C" __attribute__((visibility("default"))) void orvane_free(char* reply) {
    orvane::orvaneFree(reply);
}
