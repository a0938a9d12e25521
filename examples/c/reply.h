/* Reading the replies of OrvaneNative with cJSON: {"ok":true,"data":...} or
 * {"ok":false,"error":"..."}. Shared by the example hosts. */
#ifndef EXAMPLE_REPLY_H
#define EXAMPLE_REPLY_H

#include <cJSON.h>

/* Parses a reply text. Returns the reply object (release it with cJSON_Delete),
   or null when the text is null, not JSON or not an object. */
cJSON* replyParse(const char* text);

/* 1 when the reply's "ok" is true, 0 otherwise (null included). */
int replyOk(const cJSON* reply);

/* The "data" of an ok reply, or null. */
const cJSON* replyData(const cJSON* reply);

/* The "error" text of a failed reply; a description of its own when the reply
   is missing or carries no text. Never null. */
const char* replyError(const cJSON* reply);

#endif
