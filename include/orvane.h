#ifndef ORVANE_H
#define ORVANE_H

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
