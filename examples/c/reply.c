#include "reply.h"

cJSON* replyParse(const char* text) {
    if (!text) return NULL;
    cJSON* reply = cJSON_Parse(text);
    if (reply && !cJSON_IsObject(reply)) {
        cJSON_Delete(reply);
        return NULL;
    }
    return reply;
}

int replyOk(const cJSON* reply) {
    return cJSON_IsTrue(cJSON_GetObjectItemCaseSensitive(reply, "ok"));
}

const cJSON* replyData(const cJSON* reply) {
    return replyOk(reply) ? cJSON_GetObjectItemCaseSensitive(reply, "data") : NULL;
}

const char* replyError(const cJSON* reply) {
    if (!reply) return "(no reply object)";
    const char* error = cJSON_GetStringValue(cJSON_GetObjectItemCaseSensitive(reply, "error"));
    return error ? error : "(no error text)";
}
