/* A minimal host of OrvaneNative in C.
 *
 * Every orvane_call must come from the thread that runs the main run loop (here:
 * main). The library queues what the user does as events; a host drains them
 * with the "events" command after letting the run loop turn. Every reply is
 * released with orvane_free.
 *
 * On Linux the operating system is the simulated Mac of libOrvaneDesktop: the
 * host resets it to its default scene on the manual clock and lets time pass
 * with orvane_desktop_advance, where a real host would run its own loop.
 *
 * Each reply is read with cJSON (reply.h): "ok" says whether it succeeded,
 * "error" why not. */
#include <pthread.h>
#include <stdio.h>

#include <orvane.h>
#include <orvane_desktop.h>

#include "reply.h"

/* Sends one command, prints the reply and, when it failed, its error text;
   releases it. Returns 1 when the reply is ok. */
static int call(const char* request) {
    char* text = orvane_call(request);
    cJSON* reply = replyParse(text);
    int ok = replyOk(reply);
    printf("> %s\n< %s\n", request, text ? text : "(null)");
    if (!ok) printf("failed: %s\n", replyError(reply));
    cJSON_Delete(reply);
    orvane_free(text);
    return ok;
}

/* Drains the event queue, printing each event's kind and message. Returns 1
   when the "events" command succeeded. */
static int drainEvents(void) {
    char* text = orvane_call("{\"command\":\"events\"}");
    cJSON* reply = replyParse(text);
    const cJSON* events = replyData(reply);
    int ok = cJSON_IsArray(events);
    if (!ok) printf("events failed: %s\n", replyError(reply));
    const cJSON* event;
    cJSON_ArrayForEach(event, events) {
        const char* kind = cJSON_GetStringValue(cJSON_GetObjectItemCaseSensitive(event, "kind"));
        const char* message = cJSON_GetStringValue(cJSON_GetObjectItemCaseSensitive(event, "message"));
        printf("event: %s %s\n", kind ? kind : "?", message ? message : "");
    }
    cJSON_Delete(reply);
    orvane_free(text);
    return ok;
}

/* A call from any other thread is refused with a fixed reply; the thread
   stores 1 in *refused when it was. */
static void* offMainThread(void* refused) {
    char* text = orvane_call("{\"command\":\"snapshot\"}");
    cJSON* reply = replyParse(text);
    *(int*)refused = reply && !replyOk(reply);
    printf("from another thread: %s\n", replyOk(reply) ? "(answered)" : replyError(reply));
    cJSON_Delete(reply);
    orvane_free(text);
    return NULL;
}

int main(void) {
    if (!orvane_desktop_reset(NULL, 1)) return 1;

    int ok = call("{\"command\":\"start\"}");
    ok &= call("{\"command\":\"configure\",\"args\":{\"maxIcons\":4,\"pinned\":["
               "{\"id\":\"com.apple.Safari\",\"name\":\"Safari\",\"path\":\"/Applications/Safari.app\"},"
               "{\"id\":\"com.example.gone\",\"name\":\"Gone\",\"path\":\"/Applications/Gone.app\"}]}}");
    orvane_desktop_advance(0.5);

    /* Opening an application that is not installed becomes an "error" event. */
    ok &= call("{\"command\":\"launch\",\"args\":{\"id\":\"com.example.gone\",\"path\":\"/Applications/Gone.app\"}}");
    orvane_desktop_advance(0.5);
    ok &= drainEvents();

    ok &= call("{\"command\":\"snapshot\"}");

    /* Names are compared case-sensitively: this one fails, with an error text. */
    ok &= !call("{\"command\":\"Start\"}");

    pthread_t thread;
    int refused = 0;
    if (pthread_create(&thread, NULL, offMainThread, &refused) == 0) pthread_join(thread, NULL);
    ok &= refused;

    ok &= call("{\"command\":\"stop\"}");
    return ok ? 0 : 1;
}
