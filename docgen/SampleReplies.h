#pragma once

// Sample sessions of the guide for hosts, run through the library on the
// default scene of the simulated Mac with the manual clock, so that every
// reply the guide shows is one the library gives now.

#include <string>

namespace docgen {

// Each is a fenced code block of Markdown.
// Requests and replies, one per line ("request → reply"), long arrays of
// records shortened to their first record and "…".
std::string sampleReplies();
// A snapshot after configure with Safari pinned and hover on entry 0,
// wrapped at commas.
std::string sampleSnapshot();

}  // namespace docgen
