/* A minimal host of OrvaneNative in C.
 *
 * Every orvane_call must come from the thread that runs the main run loop (here:
 * main). The library queues what the user does as events; a host drains them
 * with the "events" command after letting the run loop turn. Every reply is
 * released with orvane_free.
 *
 * On Linux the operating system is the simulated Mac of libOrvaneDesktop: the
 * host resets it to its default scene on the manual clock and lets time pass
 * with orvane_desktop_advance, where a real host would run its own loop. */
#include <pthread.h>
#include <stdio.h>
#include <string.h>

#include <orvane.h>
#include <orvane_desktop.h>

/* Sends one command, prints the reply, releases it. Returns 1 when the reply is ok. */
/* Replies have sorted keys: {"data":...,"ok":true} or {"error":"...","ok":false}. */
static int isOk(const char* reply) {
    static const char suffix[] = "\"ok\":true}";
    size_t length = reply ? strlen(reply) : 0;
    return length >= sizeof suffix - 1 && strcmp(reply + length - (sizeof suffix - 1), suffix) == 0;
}

static int call(const char* request) {
    char* reply = orvane_call(request);
    int ok = isOk(reply);
    printf("> %s\n< %s\n", request, reply ? reply : "(null)");
    orvane_free(reply);
    return ok;
}

/* Drains the event queue until it is empty. */
static void drainEvents(void) {
    for (;;) {
        char* reply = orvane_call("{\"command\":\"events\"}");
        int empty = reply && strcmp(reply, "{\"data\":[],\"ok\":true}") == 0;
        if (!empty) printf("events: %s\n", reply ? reply : "(null)");
        orvane_free(reply);
        if (empty) break;
    }
}

/* A call from any other thread is refused with a fixed reply. */
static void* offMainThread(void* unused) {
    (void)unused;
    char* reply = orvane_call("{\"command\":\"snapshot\"}");
    printf("from another thread: %s\n", reply ? reply : "(null)");
    orvane_free(reply);
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
    drainEvents();

    ok &= call("{\"command\":\"snapshot\"}");

    pthread_t thread;
    if (pthread_create(&thread, NULL, offMainThread, NULL) == 0) pthread_join(thread, NULL);

    ok &= call("{\"command\":\"stop\"}");
    return ok ? 0 : 1;
}
