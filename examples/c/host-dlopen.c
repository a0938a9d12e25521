/* A host that loads OrvaneNative at run time, as an application loads it from
 * its bundle: dlopen by soname, then dlsym for the two exports. The executable
 * is not linked against the library; the dynamic linker finds it through the
 * executable's run path (a bundle's own library folder), LD_LIBRARY_PATH or
 * the system's folders.
 *
 * Without libOrvaneDesktop's scripting API the simulated Mac starts from the
 * environment (ORVANE_SCENE, ORVANE_DISK, ORVANE_CLOCK). Each reply is read
 * with cJSON (reply.h). */
#include <dlfcn.h>
#include <stdio.h>

#include <orvane.h>

#include "reply.h"

typedef char* (*CallFunction)(const char*);
typedef void (*FreeFunction)(char*);

static CallFunction orvaneCall;
static FreeFunction orvaneFree;

/* Sends one command and returns its parsed reply (release with cJSON_Delete);
   prints the request and, when the reply failed, its error text. */
static cJSON* sendCommand(const char* request) {
    char* text = orvaneCall(request);
    cJSON* reply = replyParse(text);
    orvaneFree(text);
    printf("> %s: %s\n", request, replyOk(reply) ? "ok" : replyError(reply));
    return reply;
}

/* Sends one command; returns 1 when its reply is ok. */
static int call(const char* request) {
    cJSON* reply = sendCommand(request);
    int ok = replyOk(reply);
    cJSON_Delete(reply);
    return ok;
}

int main(void) {
    void* library = dlopen("libOrvaneNative.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        fprintf(stderr, "cannot load libOrvaneNative.so.0: %s\n", dlerror());
        return 2;
    }
    orvaneCall = (CallFunction)dlsym(library, "orvane_call");
    orvaneFree = (FreeFunction)dlsym(library, "orvane_free");
    if (!orvaneCall || !orvaneFree) {
        fprintf(stderr, "libOrvaneNative.so.0 lacks orvane_call or orvane_free\n");
        return 2;
    }
    printf("built against OrvaneNative %s\n", ORVANE_VERSION_STRING);

    int ok = call("{\"command\":\"start\"}");

    cJSON* snapshot = sendCommand("{\"command\":\"snapshot\"}");
    const cJSON* visible = cJSON_GetObjectItemCaseSensitive(replyData(snapshot), "visible");
    ok &= cJSON_IsArray(visible);
    printf("strip entries: %d\n", cJSON_GetArraySize(visible));
    cJSON_Delete(snapshot);

    /* Names are compared case-sensitively: this one fails, with an error text. */
    ok &= !call("{\"command\":\"Start\"}");

    ok &= call("{\"command\":\"stop\"}");
    /* The library stays loaded: it owns the run loop's sources until the process ends. */
    return ok ? 0 : 1;
}
