#ifndef ORVANE_H
#define ORVANE_H

/* The library's version. A minor version adds commands, arguments, reply
   keys, snapshot keys and event kinds and keeps every existing one; a major
   version may change or remove them, and changes the soname
   (libOrvaneNative.so.MAJOR). */
#define ORVANE_VERSION_MAJOR 0
#define ORVANE_VERSION_MINOR 3
#define ORVANE_VERSION_PATCH 0
#define ORVANE_VERSION_STRING "0.3.0"
/* One number that orders versions: 10000 * major + 100 * minor + patch. */
#define ORVANE_VERSION (ORVANE_VERSION_MAJOR * 10000 + ORVANE_VERSION_MINOR * 100 + ORVANE_VERSION_PATCH)

#ifdef __cplusplus
extern "C" {
#endif

/* Runs one JSON command on the host's main thread and returns the JSON reply.
   The reply is newly allocated; release it with orvane_free. request may be null. */
char* orvane_call(const char* request);

/* Releases a reply of orvane_call; null is ignored. */
void orvane_free(char* reply);

#ifdef __cplusplus
}
#endif

#endif
