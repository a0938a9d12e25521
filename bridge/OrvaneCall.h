#pragma once

namespace orvane {

// Runs one request and returns a reply allocated with strdup.
char* orvaneCall(const char* request);
void orvaneFree(char* reply);

}  // namespace orvane
