#ifndef ORVANE_DESKTOP_H
#define ORVANE_DESKTOP_H

/* Scripting the simulated Mac from a host in any language: load a scene, let
   time pass, and act as the user or the system. Call on the main thread. */

#ifdef __cplusplus
extern "C" {
#endif

/* Replaces the whole simulated Mac with the scene (a JSON object as UTF-8 text;
   null gives the embedded default scene). manual non-zero selects the manual
   clock, zero the real one. Returns 1, or 0 when the text is not a JSON object
   (the desktop is then left as it was). */
int orvane_desktop_reset(const char* sceneJson, int manual);

/* Manual clock: runs every job falling due within the next seconds, in order.
   On the real clock it runs the main run loop for that long. */
void orvane_desktop_advance(double seconds);

/* Runs the main run loop for about the given real time. */
void orvane_desktop_run_for(double seconds);

/* Runs one scripting verb ("launch com.apple.Safari", "advance 0.5", "state" ...)
   and returns its JSON reply, {"ok":true,...} or {"ok":false,"error":"..."}.
   The reply is newly allocated; release it with orvane_desktop_free. Null only
   when memory ran out. */
char* orvane_desktop_verb(const char* line);

/* Writes a PNG picture of the simulated Mac's whole first screen, as a person
   at it would see it, at the screen's backing scale, to path (a file on this
   machine, not on the simulated disk). Returns 1, or 0 when there is no
   screen or the file cannot be written. The same as the verb "screenshot PATH". */
int orvane_desktop_screenshot(const char* path);

/* Releases a reply of orvane_desktop_verb; null is ignored. */
void orvane_desktop_free(char* reply);

#ifdef __cplusplus
}
#endif

#endif
